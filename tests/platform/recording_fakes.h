// What the fake program starter and the scripted dialogs recorded, in the forms the window tests
// compare: the command lines started, the texts of the "FEHLER" messages, and a starter that also
// records the current folder at each start.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "platform/file_table.h"
#include "platform/program_start.h"

namespace platform_test {

class FolderRecordingStarter : public platform::FakeProgramStarter {
 public:
  double StartProgram(std::string_view commandLine, int windowStyle) override {
    folders.push_back(platform::CurrentFolder());
    return FakeProgramStarter::StartProgram(commandLine, windowStyle);
  }
  std::vector<std::string> folders;
};

inline std::vector<std::string> CommandLines(const platform::FakeProgramStarter& starter) {
  std::vector<std::string> lines;
  for (const auto& start : starter.starts) lines.push_back(start.commandLine);
  return lines;
}

// The texts of the messages shown so far; every one must carry the title "FEHLER".
inline std::vector<std::string> ErrorMessages(const platform::ScriptedDialogs& dialogs) {
  std::vector<std::string> texts;
  for (const auto& m : dialogs.messages) {
    EXPECT_EQ(m.title, "FEHLER");
    texts.push_back(m.text);
  }
  return texts;
}

}  // namespace platform_test
