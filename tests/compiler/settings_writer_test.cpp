// The settings panel and SaveCompilerSettings: the boxes' design texts, tool tips and change
// handlers, the file the writer makes, and the round trip through LoadCompilerSettings.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/codec.h"
#include "common/errors.h"
#include "tools_fixture.h"

namespace compiler_test {
namespace {

using SettingsWriterTest = ToolsTest;

const std::vector<std::string> kBoxes = {"Text45", "Text46", "Text47", "Text58", "Text48",
                                         "Text49", "Text50", "Text51", "Text52"};

// A window whose pass has not run: the boxes hold their design texts.
std::unique_ptr<compiler::CompilerWindow> FreshWindow(platform::Clock& clock,
                                                      platform::ProgramStarter& starter,
                                                      platform::WindowSystem& windows) {
  return std::make_unique<compiler::CompilerWindow>(
      compiler::BuildSettings::TalvikTe(), compiler::CompilerServices{clock, starter, windows});
}

TEST_F(SettingsWriterTest, DesignTextsToolTipsAndFieldsBeforeTheFirstChange) {
  auto fresh = FreshWindow(clock, starter, windows);
  std::vector<std::string> texts;
  for (const std::string& box : kBoxes) texts.push_back(fresh->Box(box).text());
  EXPECT_EQ(texts, (std::vector<std::string>{"0.05", "1", "1", "1", "1", "2", "0.01", "0.001", "50"}));
  EXPECT_EQ(fresh->state.Hardness, 0) << "a field holds 0 until its box first changes";
  EXPECT_EQ(fresh->state.SettingFom, 0);
  EXPECT_EQ(fresh->Box("Text45").toolTip(),
            "z.B. 0.001, 0.005, 0.01, 0.1 - danach erneut die Taste 3 drücken");
  EXPECT_EQ(fresh->Box("Text58").toolTip(),
            "Gesamt-Lautstärke, z.B. 0.75, 0.5, 1-5, 2, 4 - danach erneut die Taste 3 drücken");
  EXPECT_EQ(fresh->Box("Text48").toolTip(), "");
  std::vector<std::string> labels;
  for (int n = 53; n <= 57; ++n) labels.push_back(fresh->Box("Text" + std::to_string(n)).text());
  EXPECT_EQ(labels, (std::vector<std::string>{"FUA", "FUB", "ENTE", "DEL", "FOM"}));
  EXPECT_EQ(fresh->Box("Text55").toolTip(),
            "Grundeinstellung für den Klang: Enteneffekt. Einstellen, dann erneut die Taste 3 drücken!");
  EXPECT_EQ(fresh->Lbl("Label18").toolTip(), "z.B. 0.001, 0.005, 0.01, 0.1");

  // A save right after start writes the design texts.
  fresh->SaveCompilerSettings();
  EXPECT_EQ(ReadArbeit("Talvik.ini"),
            CrLf({"0.05", "1", "1", "1", "1", "2", "0.01", "0.001", "50", " 0 ", " 0 ", " 0 ", " 0 "}));
}

TEST_F(SettingsWriterTest, EachBoxKeepsItsFieldAtTheLeadingNumber) {
  const struct {
    const char* text;
    double tempo;
  } cases[] = {{"0.5x", 0.5}, {"abc", 0}, {"", 0}, {"2", 2}, {" 1.5", 1.5}, {"0,5", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Box("Text46").SetText("7");
    Box("Text46").SetText(c.text);
    EXPECT_EQ(s().Tempo, c.tempo);
  }
}

TEST_F(SettingsWriterTest, LinesTenToThirteenArePrintedNumbers) {
  s().SettingLtf = 1;
  s().SettingLts = 3;
  s().SettingHts = -2;
  s().FileNameCounter = 7;
  Box("Text46").SetText("0,5");  // saved as typed
  window->SaveCompilerSettings();
  EXPECT_EQ(ReadArbeit("Talvik.ini"),
            CrLf({"0.05", "0,5", "1", "1", "1", "2", "0.01", "0.001", "50", " 1 ", " 3 ", "-2 ", " 7 "}));
  EXPECT_FALSE(window->files.IsOpen(9));
}

TEST_F(SettingsWriterTest, WhatIsSavedLoadsBackEqual) {
  const std::vector<std::string> texts = {"0.005 härter", "2", " 0.125", "1-5", "3", "4", "0",
                                          "1e-3", "50 "};
  for (size_t k = 0; k < kBoxes.size(); ++k) Box(kBoxes[k]).SetText(texts[k]);
  s().SettingLtf = 0.07;
  s().SettingLts = 1.5;
  s().SettingHts = -0.25;
  s().FileNameCounter = -32768;
  window->SaveCompilerSettings();

  auto fresh = FreshWindow(clock, starter, windows);
  fresh->LoadCompilerSettings();
  for (size_t k = 0; k < kBoxes.size(); ++k)
    EXPECT_EQ(fresh->Box(kBoxes[k]).text(), texts[k]) << kBoxes[k];
  EXPECT_EQ(fresh->state.Hardness, 0.005);
  EXPECT_EQ(fresh->state.SettingLtf, 0.07);
  EXPECT_EQ(fresh->state.SettingLts, 1.5);
  EXPECT_EQ(fresh->state.SettingHts, -0.25);
  EXPECT_EQ(fresh->state.FileNameCounter, -32768);
  EXPECT_EQ(fresh->state.Tempo, 2);
  // and saved again it is the same file
  const std::string first = ReadArbeit("Talvik.ini");
  fresh->SaveCompilerSettings();
  EXPECT_EQ(ReadArbeit("Talvik.ini"), first);
}

TEST_F(SettingsWriterTest, AFailedSaveReachesTheCallerAndKeepsTheOldFile) {
  // Talvik.ini cannot be replaced: a folder of that name with something in it stands there.
  std::filesystem::remove(root / "c/Arbeit/Talvik.ini");
  root.Write("c/Arbeit/Talvik.ini/drin", "x");
  EXPECT_NE(platform_test::ErrorOf([&] { window->SaveCompilerSettings(); }), 0);
  EXPECT_FALSE(window->files.IsOpen(9));
  EXPECT_EQ(root.Read("c/Arbeit/Talvik.ini/drin"), "x");
  // the next save can open the file number again
  std::filesystem::remove_all(root / "c/Arbeit/Talvik.ini");
  window->SaveCompilerSettings();
  EXPECT_TRUE(ArbeitHas("Talvik.ini"));
}

}  // namespace
}  // namespace compiler_test
