// The four project templates "Grundtext1" to "Grundtext4" written at every start.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/errors.h"
#include "envelope/converter_fixture.h"
#include "write_faults.h"

namespace envelope_test {
namespace {

const char* const kNames[] = {"Grundtext1", "Grundtext2", "Grundtext3", "Grundtext4"};

// Lines counted by their CR LF ends, a last line without one included.
size_t LineCount(const std::string& bytes) {
  size_t n = 0, pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find("\r\n", pos);
    ++n;
    if (end == std::string::npos) break;
    pos = end + 2;
  }
  return n;
}

class ProjectTemplatesTest : public ConverterTest {
 protected:
  void SetUp() override { window->state.WorkFolder = "C:\\Arbeit\\"; }
};

TEST_F(ProjectTemplatesTest, TheFourTemplatesMatchTheirGoldenFilesByteForByte) {
  struct Case {
    const char* name;
    size_t lines;
    bool finalLineEnd;
  };
  const Case cases[] = {{"Grundtext1", 125, false},
                        {"Grundtext2", 1, false},
                        {"Grundtext3", 26, false},
                        {"Grundtext4", 10, true}};
  window->WriteProjectTemplates();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string written = ReadArbeit(c.name);
    EXPECT_EQ(written, GoldenBytes(c.name));
    EXPECT_EQ(LineCount(written), c.lines);
    EXPECT_EQ(written.ends_with("\r\n"), c.finalLineEnd);
  }
  EXPECT_TRUE(ReadArbeit("Grundtext1").starts_with("<REAPER_PROJECT 0.1  3.71 \r\n"));
}

TEST_F(ProjectTemplatesTest, TemplatesAreRewrittenWholeAndIdenticalFromRunToRun) {
  for (const char* name : kNames)
    root.Write(std::string("c/Arbeit/") + name, std::string(5000, 'x') + "\r\n");
  window->WriteProjectTemplates();
  std::string first[4];
  for (int i = 0; i < 4; ++i) {
    first[i] = ReadArbeit(kNames[i]);
    EXPECT_EQ(first[i], GoldenBytes(kNames[i])) << kNames[i];
  }
  window->WriteProjectTemplates();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ReadArbeit(kNames[i]), first[i]) << kNames[i];
}

// Each template goes under the next free file number: files the window holds open stay open.
TEST_F(ProjectTemplatesTest, TemplatesUseTheNextFreeFileNumbers) {
  root.Write("c/Arbeit/Eingabe.txt", "a\r\n");
  window->files.OpenOutput(1, "C:\\Arbeit\\Ausgabe1.txt");
  window->files.OpenInput(2, "C:\\Arbeit\\Eingabe.txt");
  window->files.OpenOutput(3, "C:\\Arbeit\\Ausgabe3.txt");
  window->files.OpenOutput(5, "C:\\Arbeit\\Ausgabe5.txt");
  window->WriteProjectTemplates();
  for (int number : {1, 2, 3, 5}) EXPECT_TRUE(window->files.IsOpen(number)) << number;
  EXPECT_FALSE(window->files.IsOpen(4));
  EXPECT_EQ(window->files.LineInput(2), "a");
  for (const char* name : kNames) EXPECT_EQ(ReadArbeit(name), GoldenBytes(name)) << name;
}

// A write that a full disk cuts short (here a file-size limit of 1000 bytes, in a child process
// of its own) fails with a runtime error, and no template is left cut: each one stands whole as
// it stood before, or not at all, and nothing is left beside them.
TEST_F(ProjectTemplatesTest, AWriteCutShortLeavesNoTemplateCut) {
  for (const bool before : {true, false}) {
    SCOPED_TRACE(before ? "whole templates from an earlier start" : "no templates yet");
    for (const char* name : kNames) std::filesystem::remove(root / "c/Arbeit" / name);
    if (before) window->WriteProjectTemplates();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of ending the process
      const rlimit limit{1000, 1000};
      setrlimit(RLIMIT_FSIZE, &limit);
      _exit(platform_test::ErrorOf([&] { window->WriteProjectTemplates(); }));
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_TRUE(WEXITSTATUS(status) == common::kDeviceIoError ||
                WEXITSTATUS(status) == common::kDiskFull)
        << "exit " << WEXITSTATUS(status);
    for (const char* name : kNames) {
      if (before) EXPECT_EQ(ReadArbeit(name), GoldenBytes(name)) << name;
      else EXPECT_FALSE(std::filesystem::exists(root / "c/Arbeit" / name)) << name;
    }
    EXPECT_EQ(testing_support::BesideLeftovers(root / "c/Arbeit"), std::vector<std::string>{});
  }
}

// No trap of its own: a work folder that does not exist raises to the caller.
TEST_F(ProjectTemplatesTest, AMissingWorkFolderRaisesPathNotFound) {
  window->state.WorkFolder = "C:\\Fehlt\\";
  int error = 0;
  try {
    window->WriteProjectTemplates();
  } catch (const common::RuntimeError& e) {
    error = e.number();
  }
  EXPECT_EQ(error, common::kPathNotFound);
}

}  // namespace
}  // namespace envelope_test
