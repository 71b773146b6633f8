// The folder of real REAPER projects and Csound scores written by other people, read in place
// (../shared/corpus beside the checkout). ORMILA_CORPUS_DIR points the tests at another folder.
// A plain clone has no such folder: the tests that need it skip and say which folder is missing.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testing_support {

inline std::string CorpusFolder() {
  const char* dir = std::getenv("ORMILA_CORPUS_DIR");
  return dir && *dir ? std::string(dir) : std::string(ORMILA_CORPUS);
}

inline bool CorpusPresent() { return std::filesystem::is_directory(CorpusFolder()); }

inline std::string CorpusMissingText() {
  return "corpus folder " + CorpusFolder() + " not found: tests that read real projects are skipped";
}

}  // namespace testing_support

// Skips the current test when the corpus folder is absent (use in a test body or SetUp).
#define ORMILA_REQUIRE_CORPUS()                                                   \
  do {                                                                            \
    if (!::testing_support::CorpusPresent())                                      \
      GTEST_SKIP() << ::testing_support::CorpusMissingText();                     \
  } while (0)
