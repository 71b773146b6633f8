// LoadCompilerSettings: "C:\Arbeit\Talvik.ini" in a temporary drive root into the nine settings
// boxes, their fields and the values of lines 10 to 13.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/codec.h"
#include "common/errors.h"
#include "compiler/build_settings.h"
#include "compiler/compiler_window.h"
#include "platform/clock.h"
#include "platform/drive_map.h"
#include "platform/program_start.h"
#include "platform/window_closing.h"
#include "tonelist/temp_drive_root.h"

namespace {

using compiler::CompilerState;
using compiler::CompilerWindow;

constexpr int kSettingsFile = 9;

// No windows at all; loading the settings never asks for any.
class NoWindows : public platform::WindowSystem {
 public:
  platform::WindowId First() override { return 0; }
  platform::WindowId Next(platform::WindowId) override { return 0; }
  std::string Title(platform::WindowId) override { return {}; }
  void SendClose(platform::WindowId) override {}
  void BringToFront(double) override {}
};

// Lines in the file's own code page (Windows-1252).
std::string FileText(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const std::string& line : lines) text += common::Utf8ToCp1252(line) + end;
  return text;
}

std::vector<std::string> GoodLines() {
  // Line 7 differs from its box's design text "0.01", so that loading it changes the box.
  return {"0.05 härter", "0.5x", "2", " 1.5", "3", "abc", "0.02", "1e-3", "50 ",
          " 1 ",         "3",    " -2 ", " 7 "};
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetDrives(platform::DriveMap(drive.root()));  // before the window's file table
    window = std::make_unique<CompilerWindow>(
        compiler::BuildSettings::TalvikTe(), compiler::CompilerServices{clock, starter, windows});
  }
  void TearDown() override { window.reset(); }

  int LoadError() {
    try {
      window->LoadCompilerSettings();
    } catch (const common::RuntimeError& e) {
      return e.number();
    }
    return 0;
  }

  testing_support::TempDriveRoot drive;
  platform::FixedClock clock{"10.12.2026", "08:00:00"};
  platform::FakeProgramStarter starter;
  NoWindows windows;
  std::unique_ptr<CompilerWindow> window;
};

// The nine boxes in the order of lines 1 to 9, with the field each one keeps.
const struct {
  const char* box;
  double CompilerState::*field;
} kBoxes[] = {
    {"Text45", &CompilerState::Hardness},    {"Text46", &CompilerState::Tempo},
    {"Text47", &CompilerState::FrequencyFactor}, {"Text58", &CompilerState::LoudnessFactor},
    {"Text48", &CompilerState::SettingFua},  {"Text49", &CompilerState::SettingFub},
    {"Text50", &CompilerState::SettingEnte}, {"Text51", &CompilerState::SettingDel},
    {"Text52", &CompilerState::SettingFom},
};

class GoodFileTest : public SettingsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(GoodFileTest, FillsBoxesFieldsAndValues) {
  drive.Write("Talvik.ini", FileText(GoodLines(), GetParam()));
  ASSERT_EQ(LoadError(), 0);
  const double boxFields[] = {0.05, 0.5, 2, 1.5, 3, 0, 0.02, 0.001, 50};
  const std::vector<std::string> lines = GoodLines();
  for (size_t i = 0; i < 9; ++i) {
    SCOPED_TRACE(kBoxes[i].box);
    EXPECT_EQ(window->Box(kBoxes[i].box).text(), lines[i]) << "the text unchanged";
    EXPECT_DOUBLE_EQ(window->state.*kBoxes[i].field, boxFields[i]);
  }
  EXPECT_EQ(window->state.SettingLtf, 1.0);
  EXPECT_EQ(window->state.SettingLts, 3.0);
  EXPECT_EQ(window->state.SettingHts, -2.0);
  EXPECT_EQ(window->state.FileNameCounter, 7);
  EXPECT_EQ(window->state.CurrentLine, " 7 ") << "each line is read into CurrentLine";
  EXPECT_FALSE(window->files.IsOpen(kSettingsFile));
}

INSTANTIATE_TEST_SUITE_P(LineEnds, GoodFileTest, ::testing::Values("\r\n", "\n", "\r"),
                         [](const auto& info) {
                           return std::string(info.param) == "\r\n" ? "CrLf"
                                  : std::string(info.param) == "\n" ? "Lf"
                                                                    : "Cr";
                         });

TEST_F(SettingsTest, FileNameCounterIsLeadingNumberRoundedHalvesToEven) {
  const struct {
    const char* line13;
    int counter;
  } cases[] = {
      {"3.5", 4},     {"2.5", 2},       {"7 Dateien", 7}, {"-2.5", -2}, {"4.4999", 4},
      {"32767", 32767}, {"-32768", -32768}, {"Zähler", 0},   {" 1 2", 12}, {"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line13);
    std::vector<std::string> lines = GoodLines();
    lines[12] = c.line13;
    drive.Write("Talvik.ini", FileText(lines));
    window->state.FileNameCounter = 99;
    ASSERT_EQ(LoadError(), 0);
    EXPECT_EQ(window->state.FileNameCounter, c.counter);
  }
}

TEST_F(SettingsTest, LinesTenToTwelveAreStrictNumbers) {
  const struct {
    const char* line;
    double value;
  } cases[] = {{"0.5", 0.5}, {"  -1.25  ", -1.25}, {"2e3", 2000}, {".5", 0.5}};
  for (int line = 10; line <= 12; ++line) {
    double CompilerState::*field = line == 10   ? &CompilerState::SettingLtf
                                   : line == 11 ? &CompilerState::SettingLts
                                                : &CompilerState::SettingHts;
    for (const auto& c : cases) {
      SCOPED_TRACE("line " + std::to_string(line) + ": \"" + c.line + "\"");
      std::vector<std::string> lines = GoodLines();
      lines[static_cast<size_t>(line - 1)] = c.line;
      drive.Write("Talvik.ini", FileText(lines));
      ASSERT_EQ(LoadError(), 0);
      EXPECT_DOUBLE_EQ(window->state.*field, c.value);
    }
  }
}

TEST_F(SettingsTest, FailuresAreRuntimeErrors) {
  const struct {
    const char* name;
    std::optional<std::vector<std::string>> lines;  // nullopt: no file
    int error;
  } cases[] = {
      {"missing file", std::nullopt, 53},
      {"empty file", std::vector<std::string>{}, 62},
      {"12 lines", [] { auto l = GoodLines(); l.pop_back(); return l; }(), 62},
      {"empty line 10", [] { auto l = GoodLines(); l[9] = ""; return l; }(), 13},
      {"blank line 10", [] { auto l = GoodLines(); l[9] = "   "; return l; }(), 13},
      {"abc in line 11", [] { auto l = GoodLines(); l[10] = "abc"; return l; }(), 13},
      {"0.5x in line 11", [] { auto l = GoodLines(); l[10] = "0.5x"; return l; }(), 13},
      {"comma in line 12", [] { auto l = GoodLines(); l[11] = "1,5"; return l; }(), 13},
      {"40000 in line 13", [] { auto l = GoodLines(); l[12] = "40000"; return l; }(), 6},
      {"-32769 in line 13", [] { auto l = GoodLines(); l[12] = "-32769"; return l; }(), 6},
      {"32767.5 in line 13", [] { auto l = GoodLines(); l[12] = "32767.5"; return l; }(), 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    window->files.Close(kSettingsFile);
    std::error_code ec;
    std::filesystem::remove(drive.Arbeit() / "Talvik.ini", ec);
    if (c.lines) drive.Write("Talvik.ini", FileText(*c.lines));
    EXPECT_EQ(LoadError(), c.error);
    // No trap: a file that was opened stays open after the failure.
    EXPECT_EQ(window->files.IsOpen(kSettingsFile), c.lines.has_value());
    if (c.lines && c.lines->size() >= 9) {
      EXPECT_EQ(window->Box("Text52").text(), (*c.lines)[8]) << "lines before the failure loaded";
    }
  }
}

TEST_F(SettingsTest, EmptyFirstLineOnlyEmptiesText45) {
  window->Box("Text45").SetText("0.07");
  ASSERT_EQ(window->state.Hardness, 0.07);
  std::vector<std::string> lines = GoodLines();
  lines[0] = "";
  drive.Write("Talvik.ini", FileText(lines));
  ASSERT_EQ(LoadError(), 0);
  EXPECT_EQ(window->Box("Text45").text(), "");
  EXPECT_EQ(window->state.Hardness, 0.0);
  EXPECT_EQ(window->Box("Text46").text(), "0.5x");
  EXPECT_EQ(window->state.Tempo, 0.5);
  EXPECT_EQ(window->state.FileNameCounter, 7);
}

TEST_F(SettingsTest, LinesAfterTheThirteenthAreNotRead) {
  std::vector<std::string> lines = GoodLines();
  lines.push_back("abc");
  lines.push_back("99999");
  drive.Write("Talvik.ini", FileText(lines));
  ASSERT_EQ(LoadError(), 0);
  EXPECT_EQ(window->state.FileNameCounter, 7);
  EXPECT_EQ(window->state.CurrentLine, " 7 ");
  EXPECT_FALSE(window->files.IsOpen(kSettingsFile));
}

}  // namespace
