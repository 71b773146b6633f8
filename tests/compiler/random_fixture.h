// A compiler window after its first pass on a temporary drive, with a random source whose draws
// the test scripts or seeds, and scripted dialogs: the random panel's and generator's tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "common/errors.h"
#include "compiler/compiler_window.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/drive_map.h"
#include "platform/program_start.h"
#include "platform/recording_fakes.h"
#include "platform/temp_drive_root.h"
#include "platform/window_closing.h"

namespace compiler_test {

// Draws the scripted values first; after them a seeded engine's uniform draws, or (unseeded)
// the last scripted value again. Counts reseeds and draws.
class TestRandom : public platform::RandomSource {
 public:
  void Script(std::vector<double> values) {
    script_ = std::move(values);
    next_ = 0;
  }
  void Seed(unsigned long long seed) {
    engine_.seed(seed);
    seeded_ = true;
  }
  void Reseed() override { ++reseeds; }
  double Next() override {
    ++draws;
    if (next_ < script_.size()) return script_[next_++];
    if (seeded_) return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
    return script_.empty() ? 0.0 : script_.back();
  }
  long reseeds = 0;
  long draws = 0;

 private:
  std::vector<double> script_;
  size_t next_ = 0;
  std::mt19937_64 engine_;
  bool seeded_ = false;
};

// Runs f and tells whether it ended the program; a return or a runtime error is a failure.
inline bool EndsTheProgram(const std::function<void()>& f) {
  try {
    f();
  } catch (const common::ProgramEnd&) {
    return true;
  } catch (const common::RuntimeError& e) {
    ADD_FAILURE() << "runtime error " << e.number() << " instead of the program's end";
    return false;
  }
  ADD_FAILURE() << "returned instead of ending the program";
  return false;
}

class RandomWindowTest : public ::testing::Test {
 protected:
  RandomWindowTest() {
    root.MakeFolder("c/Arbeit");
    platform::SetDrives(platform::DriveMap(root.root()));
    root.Write("c/Arbeit/Talvik.ini",
               "0.05\r\n1\r\n1\r\n1\r\n1\r\n2\r\n0.01\r\n0.001\r\n50\r\n 1 \r\n 1 \r\n 1 \r\n 0 \r\n");
    Start(compiler::BuildSettings::TalvikTe());
  }
  ~RandomWindowTest() override { platform::SetDrives(platform::DriveMap::FromEnvironment()); }

  // A fresh window of the build after its first pass (whose program end is caught here): the
  // panel holds its start texts and the paths are set. Starts and close messages are forgotten.
  // The scripted dialogs also take the window's messages.
  compiler::CompilerWindow& Start(const compiler::BuildSettings& build) {
    window = std::make_unique<compiler::CompilerWindow>(
        build, compiler::CompilerServices{clock, starter, windows, random, dialogs, dialogs});
    EXPECT_TRUE(EndsTheProgram([&] { window->Form_Load(); }));
    starter.starts.clear();
    starter.folders.clear();
    windows.closeMessages.clear();
    return *window;
  }

  forms::TextBox& Box(const std::string& name) { return window->Box(name); }
  // The input box of panel row 1 to 22.
  forms::TextBox& Row(int row) { return window->Box(compiler::CompilerWindow::PanelRowBoxes(row).second); }
  // Types the texts into the input boxes of rows 1 to 22 (nullptr leaves a row as it is).
  void Type(const std::vector<const char*>& texts) {
    for (size_t k = 0; k < texts.size(); ++k)
      if (texts[k]) Row(static_cast<int>(k) + 1).SetText(texts[k]);
  }
  std::vector<std::string> RowTexts() {
    std::vector<std::string> texts;
    for (int row = 1; row <= 22; ++row) texts.push_back(Row(row).text());
    return texts;
  }
  // The entries Testliste got from the given count on.
  std::vector<std::string> ListFrom(size_t first) const {
    const auto& items = window->Testliste.items();
    return {items.begin() + static_cast<std::ptrdiff_t>(first), items.end()};
  }

  platform_test::TempDriveRoot root;
  platform::FixedClock clock{"10.12.2026", "08:15:00"};
  platform_test::FolderRecordingStarter starter;
  platform::FakeWindowSystem windows;
  platform::ScriptedDialogs dialogs;
  TestRandom random;
  std::unique_ptr<compiler::CompilerWindow> window;
};

}  // namespace compiler_test
