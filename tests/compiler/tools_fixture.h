// A compiler window after its first pass on a temporary drive, for the tests of its tools:
// workflow and tool buttons, the settings writer and the score importer. The scripted dialogs
// answer the file dialogs and take the messages; the current folder is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <string>
#include <vector>

#include "common/codec.h"
#include "random_fixture.h"

namespace compiler_test {

// The lines, each ended by CR LF.
inline std::string CrLf(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Compares bytes with tests/data/golden/compiler/<name> byte for byte. ORMILA_UPDATE_GOLDEN=1
// rewrites the file instead (then read it against what it must hold before committing it).
inline void ExpectCompilerGolden(const std::string& name, const std::string& bytes) {
  const std::filesystem::path path =
      std::filesystem::path(ORMILA_TEST_DATA) / "golden" / "compiler" / name;
  if (const char* u = std::getenv("ORMILA_UPDATE_GOLDEN"); u && std::string(u) == "1") {
    std::ofstream(path, std::ios::binary) << bytes;
    std::cout << "[golden] rewrote " << path << "\n";
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing golden file " << path << " (ORMILA_UPDATE_GOLDEN=1 writes it)";
  const std::string golden((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, golden) << "differs from " << path;
}

class ToolsTest : public RandomWindowTest {
 protected:
  ToolsTest() : cwd_(std::filesystem::current_path()) {}
  ~ToolsTest() override { std::filesystem::current_path(cwd_); }

  compiler::CompilerState& s() { return window->state; }
  forms::Button& Button(const std::string& name) { return window->Btn(name); }

  // Files of C:\Arbeit\ as bytes (the system's files are Windows-1252).
  void WriteArbeit(const std::string& name, const std::string& bytes) {
    root.Write("c/Arbeit/" + name, bytes);
  }
  std::string ReadArbeit(const std::string& name) { return root.Read("c/Arbeit/" + name); }
  bool ArbeitHas(const std::string& name) {
    return std::filesystem::exists(root / ("c/Arbeit/" + name));
  }
  void WriteScore(std::initializer_list<std::string> lines) { WriteArbeit("Sample.sco", CrLf(lines)); }

  std::vector<std::string> StartLines() const { return platform_test::CommandLines(starter); }
  // The texts of the messages shown so far, all titled "FEHLER".
  std::vector<std::string> Messages() const { return platform_test::ErrorMessages(dialogs); }

 private:
  std::filesystem::path cwd_;
};

}  // namespace compiler_test
