// The random panel: its validators, showing it, its tool tips, the preset files, and the buttons
// that compile the random list through the pass (which ends the program).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/errors.h"
#include "random_fixture.h"

namespace compiler_test {
namespace {

using compiler::CompilerWindow;

const std::vector<std::string> kStartTexts = {"10", "0.05", "0.2", "0.0001", "0", "50000",
                                              "48", "84", "127", "2", "4", "20", "40", "127",
                                              "2", "0", "0", "0", "0", "0", "0", "0"};

// The fields of rows 1 to 22 (row 4: TimeQuantSteps, the reciprocal of the step).
std::vector<double> Fields(const compiler::CompilerState& s) {
  return {s.TotalDuration,  s.MinGap,         s.MaxGap,       s.TimeQuantSteps,
          s.MinLoudness,    s.MaxLoudness,    s.LowestNote,   s.HighestNote,
          s.MaxInterval,    s.PitchQuant,     s.PitchRepeat,  s.LowestFormant,
          s.HighestFormant, s.MaxFormantInterval, s.FormantQuant, s.FormantRepeat,
          s.FofFunction1,   s.FofFunction2,   s.FiveFoldDelay, s.DuckEffect,
          s.FormantFactor,  s.FrequencyMultiplication};
}

using RandomPanelTest = RandomWindowTest;

TEST_F(RandomPanelTest, StartTextsValidateUnchanged) {
  EXPECT_EQ(RowTexts(), kStartTexts);
  window->Command11_Click();
  EXPECT_EQ(RowTexts(), kStartTexts);
  EXPECT_EQ(Fields(window->state),
            (std::vector<double>{10, 0.05, 0.2, 10000, 0, 50000, 48, 84, 127, 2, 4, 20, 40, 127, 2,
                                 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(RandomPanelTest, ShowingThePanelMakesItsBoxesVisibleAndWalkableAndHidesTheList) {
  window->Testliste.AddItem("bleibt");
  Box("Text45").SetVisible(true);
  window->Command11_Click();
  for (int n = 1; n <= 44; ++n) EXPECT_TRUE(Box("Text" + std::to_string(n)).visible()) << n;
  for (int row = 1; row <= 22; ++row) {
    const auto [caption, value] = CompilerWindow::PanelRowBoxes(row);
    EXPECT_TRUE(Box(value).tabStop()) << value;
    EXPECT_FALSE(Box(caption).tabStop()) << caption;
  }
  for (const char* name : {"Command3", "Command1", "Command5", "Command4"})
    EXPECT_FALSE(window->Btn(name).tabStop()) << name;
  EXPECT_FALSE(Box("Text45").visible());  // the settings panel is hidden
  // white on white, large: the list keeps its entries unreadable
  EXPECT_EQ(window->Testliste.foreColour(), 0xFFFFFF);
  EXPECT_EQ(window->Testliste.backColour(), 0xFFFFFF);
  EXPECT_EQ(window->Testliste.fontSize(), 10);
  EXPECT_TRUE(window->Testliste.fontBold());
  EXPECT_EQ(window->Testliste.items().back(), "bleibt");
}

// Rows typed, then the panel shown: what each box shows and what its field holds.
struct ValidationCase {
  const char* name;
  std::vector<const char*> typed;  // rows 1.. (nullptr: start text)
  int row;
  std::string shown;
  double field;
  friend void PrintTo(const ValidationCase& c, std::ostream* os) { *os << c.name; }
};

class PanelValidation : public RandomWindowTest,
                        public ::testing::WithParamInterface<ValidationCase> {};

TEST_P(PanelValidation, ShowsAndHolds) {
  const ValidationCase& c = GetParam();
  window->Command11_Click();  // the fields as the start texts give them
  Type(c.typed);
  window->Command11_Click();
  EXPECT_EQ(Row(c.row).text(), c.shown);
  EXPECT_DOUBLE_EQ(Fields(window->state)[static_cast<size_t>(c.row - 1)], c.field);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PanelValidation,
    ::testing::Values(
        ValidationCase{"EmptyLargestGapBecomesSmallestPlusAThousandth", {nullptr, nullptr, ""},
                       3, "0.051", 0.051},
        // the largest gap is tested against the smallest as it stood before
        ValidationCase{"LargestGapTestedAgainstThePreviousSmallest", {nullptr, "0.5", "0.2"}, 3,
                       "0.2", 0.2},
        ValidationCase{"SmallestGapTakenAfterTheLargest", {nullptr, "0.5", "0.2"}, 2, "0.5", 0.5},
        ValidationCase{"TotalBelowTheLargestGapBecomesTwice", {"0.1"}, 1, "0.4", 0.4},
        ValidationCase{"StepAboveTheSmallestGap", {nullptr, nullptr, nullptr, "1"}, 4, "0.05",
                       20},
        ValidationCase{"StepAboveAHalfSecond", {nullptr, "0.8", "0.9", "0.7"}, 4, "0.5", 2},
        ValidationCase{"StepZero", {nullptr, nullptr, nullptr, "0"}, 4, "0.0001", 10000},
        ValidationCase{"FormantRepeatShowsItsValue",
                       {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "2abc"},
                       16, "2", 2},
        ValidationCase{"PlainRowKeepsWhatWasTyped",
                       {nullptr, nullptr, nullptr, nullptr, "12.50x"}, 5, "12.50x", 12.5},
        ValidationCase{"RepeatBelowOneBecomesOne",
                       {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, "0.5"},
                       11, "1", 1},
        ValidationCase{"RepeatOfOneAndAHalfStaysAsTyped",
                       {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, "1.50"},
                       11, "1.50", 1.5}),
    [](const auto& info) { return std::string(info.param.name); });

// A text without a numeric prefix counts as 0 and is then treated by its row's rule.
TEST_F(RandomPanelTest, TextsWithoutANumberTakeTheirRowsRule) {
  window->Command11_Click();
  for (int row = 1; row <= 22; ++row) Row(row).SetText("x");
  window->Command11_Click();
  const compiler::CompilerState& s = window->state;
  // row 3 first: 0 -> MinGap 0.05 -> 0.051; row 2 -> 0.001; row 1 -> 2 x 0.051; row 4 -> 0.0001
  const std::vector<double> expected = {0.102, 0.001, 0.051, 10000, 0, 0, 0, 0, 1, 0, 1,
                                        0,     0,     1,     0,     0, 0, 0, 0, 0, 0, 0};
  const std::vector<double> fields = Fields(s);
  for (size_t k = 0; k < expected.size(); ++k) EXPECT_DOUBLE_EQ(fields[k], expected[k]) << k + 1;
  const std::vector<std::string> shown = {"0.102", "0.001", "0.051", "0.0001", "x", "x", "x", "x",
                                          "1",     "x",     "1",     "x",     "x", "1", "x", "0",
                                          "0",     "0",     "0",     "0",     "0", "0"};
  EXPECT_EQ(RowTexts(), shown);
}

// A click into an input box validates its own row, and only that one.
TEST_F(RandomPanelTest, AClickIntoAnInputBoxValidatesItsRow) {
  window->Command11_Click();
  for (int row = 1; row <= 22; ++row) {
    const std::vector<double> before = Fields(window->state);
    Row(row).SetText("7");
    Row(row).Click();
    const std::vector<double> after = Fields(window->state);
    for (int other = 1; other <= 22; ++other) {
      if (other == row) continue;
      EXPECT_EQ(after[static_cast<size_t>(other - 1)], before[static_cast<size_t>(other - 1)])
          << "a click into row " << row << " changed row " << other;
    }
    // row 4: the step 7 is above the smallest gap and becomes it
    const double expected = row == 4 ? 1 / window->state.MinGap : 7;
    EXPECT_DOUBLE_EQ(after[static_cast<size_t>(row - 1)], expected) << row;
    Row(row).SetText(kStartTexts[static_cast<size_t>(row - 1)]);
    Row(row).Click();
  }
}

TEST_F(RandomPanelTest, ToolTipsOfTheRows) {
  const auto captionTip = [&](int row) { return Box(CompilerWindow::PanelRowBoxes(row).first).toolTip(); };
  EXPECT_EQ(captionTip(1), "Werte in Sekunden angeben!");
  EXPECT_EQ(captionTip(2), "Werte in Sekunden angeben!");
  EXPECT_EQ(captionTip(5), "Lautstärkewerte werden mit Zahlen zwischen 0 und ca. 60000 angegeben");
  EXPECT_EQ(captionTip(11),
            "1 = zu jedem Zeitpunkt eine neue Tonhöhe, 2 = nach jeweils zwei Zeitpunkten eine "
            "neue Tonhöhe, 3 = nach drei Zeitpunkten, ...");
  EXPECT_EQ(captionTip(17), "1, 2, 3, 4 usw.; nur ganze Zahlen! - Keine Zufallsfunktion!");
  EXPECT_EQ(captionTip(22), "0 bis über 1000 - Keine Zufallsfunktion!");
  for (int row = 1; row <= 22; ++row) EXPECT_FALSE(captionTip(row).empty()) << row;
  for (int row = 1; row <= 22; ++row) {
    const std::string tip = Row(row).toolTip();
    if (row >= 7 && row <= 10) EXPECT_EQ(tip, "Tonhöhe") << row;
    else if (row >= 12 && row <= 15) EXPECT_EQ(tip, "Formantfrequenz") << row;
    else if (row == 11) EXPECT_EQ(tip, "Tonhöhenwiederholung");
    else if (row == 16)
      EXPECT_EQ(tip, "Wenn nur Sinustöne erzeugt werden sollen, muß her 0 stehen. 1, 2, 3, ... = "
                     "FOF-Generator");
    else EXPECT_EQ(tip, "") << row;
  }
  EXPECT_EQ(window->Btn("Command12").toolTip(), "gespeicherte Zufalls-Presets laden");
  EXPECT_EQ(window->Btn("Command13").toolTip(), "Zufalls-Presets abspeichern");
}

TEST_F(RandomPanelTest, MovingTheMouseOverThePictureHidesIt) {
  forms::PictureBox& picture = window->Pic("Picture2");
  ASSERT_TRUE(picture.visible());
  picture.MouseMove();
  EXPECT_FALSE(picture.visible());
}

// ---- Presets ----------------------------------------------------------------------------------

TEST_F(RandomPanelTest, SavedPresetsAreTheBoxTextsAsTyped) {
  Type({"12", nullptr, nullptr, "0.0010", nullptr, nullptr, nullptr, nullptr, nullptr, "1.0"});
  root.Write("c/Arbeit/Dunkel.prs", "alt\r\n");
  dialogs.chosenFiles = {"C:\\Arbeit\\Dunkel.prs"};
  window->Command13_Click();

  std::string expected;
  for (const std::string& text : RowTexts()) expected += text + "\r\n";
  EXPECT_EQ(root.Read("c/Arbeit/Dunkel.prs"), expected);
  EXPECT_NE(expected.find("\r\n0.0010\r\n"), std::string::npos);  // the step as typed
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  const auto& request = dialogs.fileRequests[0];
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.title, "Presets");
  EXPECT_EQ(request.filter, "Preset|*.prs");
  EXPECT_EQ(request.initialFolder, "C:\\Arbeit\\");
  EXPECT_EQ(request.defaultExtension, "prs");
  EXPECT_EQ(window->state.DialogFileName, "C:\\Arbeit\\Dunkel.prs");
  // saving neither validates nor counts as loaded presets
  EXPECT_EQ(Row(1).text(), "12");
  EXPECT_DOUBLE_EQ(window->state.TotalDuration, 0);
  EXPECT_FALSE(window->state.PresetsLoaded);
  EXPECT_EQ(window->state.PresetFilePath, "");
}

// Load and save ask for one set-up of the preset dialog: a name typed without an extension gets
// "prs", and the open dialog's name box starts with "*.prs".
TEST_F(RandomPanelTest, PresetDialogsAskForThePresetSetUp) {
  struct Case {
    const char* button;
    void (CompilerWindow::*click)();
    bool save;
    const char* fileName;  // nullptr: the save dialog takes no start name
  };
  for (const Case& c : {Case{"Command12", &CompilerWindow::Command12_Click, false, "*.prs"},
                        Case{"Command13", &CompilerWindow::Command13_Click, true, nullptr}}) {
    SCOPED_TRACE(c.button);
    dialogs.fileRequests.clear();
    (window.get()->*c.click)();  // the empty queue cancels the dialog
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    const auto& request = dialogs.fileRequests[0];
    EXPECT_EQ(request.save, c.save);
    EXPECT_EQ(request.title, "Presets");
    EXPECT_EQ(request.filter, "Preset|*.prs");
    EXPECT_EQ(request.initialFolder, "C:\\Arbeit\\");
    EXPECT_EQ(request.defaultExtension, "prs");
    if (c.fileName) {
      EXPECT_EQ(request.fileName, c.fileName);
    }
  }
}

TEST_F(RandomPanelTest, SavingAndLoadingBackGivesTheSameValues) {
  Type({"12.0", "0.10", "0.30", "0.001", "100", "40000", "50", "70", "5", "4", "2.50", "30",
        "45", "7", "1", "3", "2", "3", "0.01", "1.5", "55", "2"});
  window->Command11_Click();
  const std::vector<double> fields = Fields(window->state);
  dialogs.chosenFiles = {"C:\\Arbeit\\Hell.prs", "C:\\Arbeit\\Hell.prs"};
  window->Command13_Click();
  for (int row = 1; row <= 22; ++row) Row(row).SetText("99");
  window->Command11_Click();

  window->Command12_Click();
  EXPECT_EQ(Fields(window->state), fields);
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"12", "0.1", "0.3", "0.001", "100", "40000",
                                                  "50", "70", "5", "4", "2.50", "30", "45", "7",
                                                  "1", "3", "2", "3", "0.01", "1.5", "55", "2"}));
  EXPECT_TRUE(window->state.PresetsLoaded);
  EXPECT_EQ(window->state.PresetFilePath, "C:\\Arbeit\\Hell.prs");
  EXPECT_FALSE(dialogs.fileRequests.back().save);
  EXPECT_EQ(dialogs.fileRequests.back().title, "Presets");
  EXPECT_TRUE(Row(1).visible());  // the load shows the panel
}

TEST_F(RandomPanelTest, ShortDialogNamesDoNothingMore) {
  Type({"33"});
  dialogs.chosenFiles = {"*.prs", "x.prs"};
  window->Command12_Click();
  EXPECT_EQ(window->state.PresetFilePath, "*.prs");
  EXPECT_FALSE(window->state.PresetsLoaded);
  EXPECT_EQ(Row(1).text(), "33");
  EXPECT_FALSE(Row(1).visible());
  window->Command13_Click();
  EXPECT_FALSE(std::filesystem::exists(root / "c/Arbeit/x.prs"));
  // Cancel gives an empty name, which is short as well
  window->Command12_Click();
  EXPECT_EQ(window->state.PresetFilePath, "");
  EXPECT_FALSE(window->state.PresetsLoaded);
}

TEST_F(RandomPanelTest, AShortPresetFileLoadsTheRowsItHas) {
  root.Write("c/Arbeit/Kurz.prs", "20\r\n0.1\r\n0.5\r\n");
  dialogs.chosenFiles = {"C:\\Arbeit\\Kurz.prs", "C:\\Arbeit\\Kurz.prs"};
  window->Command12_Click();
  EXPECT_EQ(RowTexts()[0], "20");
  EXPECT_EQ(RowTexts()[2], "0.5");
  EXPECT_EQ(RowTexts()[4], "0");  // kept
  EXPECT_DOUBLE_EQ(window->state.MaxGap, 0.5);
  EXPECT_DOUBLE_EQ(window->state.TimeQuantSteps, 10000);  // validated again from the boxes
  EXPECT_TRUE(window->state.PresetsLoaded);
  // the file was closed: loading it again works
  Row(1).SetText("1");
  window->Command12_Click();
  EXPECT_EQ(Row(1).text(), "20");
}

TEST_F(RandomPanelTest, APresetLineThatIsNoNumberEndsTheReadingThere) {
  std::string file;
  for (int row = 1; row <= 22; ++row) file += (row == 11 ? std::string("vier") : "3") + "\r\n";
  root.Write("c/Arbeit/Fehler.prs", file);
  dialogs.chosenFiles = {"C:\\Arbeit\\Fehler.prs"};
  window->Command12_Click();
  EXPECT_EQ(Row(10).text(), "3");
  EXPECT_EQ(Row(11).text(), "4");   // kept its start text
  EXPECT_EQ(Row(12).text(), "20");  // not reached
  EXPECT_TRUE(window->state.PresetsLoaded);
}

// A preset file that cannot be opened loads nothing: not even its name.
TEST_F(RandomPanelTest, APresetFileThatCannotBeOpenedSetsNothing) {
  std::string file;
  for (int row = 1; row <= 22; ++row) file += "5\r\n";
  root.Write("c/Arbeit/Alt.prs", file);
  dialogs.chosenFiles = {"C:\\Arbeit\\Alt.prs", "C:\\Arbeit\\Fehlt.prs"};
  window->Command12_Click();
  ASSERT_TRUE(window->state.PresetsLoaded);
  Row(1).SetText("77");
  window->Command12_Click();
  EXPECT_EQ(window->state.PresetFilePath, "C:\\Arbeit\\Alt.prs");
  EXPECT_TRUE(window->state.PresetsLoaded);
  EXPECT_EQ(Row(1).text(), "77");
  EXPECT_EQ(window->state.DialogFileName, "C:\\Arbeit\\Fehlt.prs");
}

TEST_F(RandomPanelTest, ASaveThatCannotBeWrittenIsAnUntrappedError) {
  dialogs.chosenFiles = {"C:\\Fehlt\\x.prs"};
  EXPECT_EQ(platform_test::ErrorOf([&] { window->Command13_Click(); }), common::kPathNotFound);
}

// ---- Compiling the random list ------------------------------------------------------------

TEST_F(RandomPanelTest, DirektstartCompilesTheRandomListAndNothingRunsBehindThePass) {
  random.Seed(7);
  window->Zufallsliste_Click();
  ASSERT_TRUE(std::filesystem::exists(root / "c/Arbeit/Zufall.rsz"));
  const size_t before = window->Testliste.items().size();
  EXPECT_TRUE(EndsTheProgram([&] { window->Direktstart_Click(); }));

  const compiler::CompilerState& s = window->state;
  EXPECT_TRUE(s.ChosenListFlag);
  EXPECT_EQ(s.ChosenListPath, "C:\\Arbeit\\Zufall.rsz");
  EXPECT_EQ(s.ToneListPath, "C:\\Arbeit\\Zufall.rsz");
  EXPECT_EQ(window->frmDatei.caption(), "T A L V I K  -  Tonverlaufsliste: C:\\Arbeit\\Zufall.rsz");
  EXPECT_EQ(s.OriginNote, "");
  EXPECT_EQ(s.PointCount, window->composition.n);
  ASSERT_EQ(starter.starts.size(), 1u);  // the pass's own Command5_Click
  EXPECT_EQ(starter.starts[0].commandLine, "C:\\Arbeit\\cs06b.bat");
  const std::vector<std::string> after = ListFrom(before);
  EXPECT_EQ(std::count(after.begin(), after.end(), std::string(106, '=')), 0)
      << "the listing behind the pass ran";
  EXPECT_NE(root.Read("c/Arbeit/Dozudava.sco").find("Hergestellt mit T A L V I K  -  Tonverlaufsliste: C:\\Arbeit\\Zufall.rsz"),
            std::string::npos);
}

TEST_F(RandomPanelTest, PowerDrawsCompilesAndEndsWithOneBatchStart) {
  random.Seed(11);
  Type({"3"});
  root.Write("c/Arbeit/Zufall.rsz", "alt\r\n");
  EXPECT_TRUE(EndsTheProgram([&] { window->Btn("Command10").Click(); }));
  const std::string list = root.Read("c/Arbeit/Zufall.rsz");
  EXPECT_EQ(list.rfind("C:\\Arbeit\\Zufall.rsz, geschrieben am 10.12.2026, 08:15:00\r\n", 0), 0u);
  EXPECT_EQ(window->state.ToneListPath, "C:\\Arbeit\\Zufall.rsz");
  EXPECT_EQ(window->state.PointCount, window->composition.n);
  EXPECT_EQ(starter.starts.size(), 1u) << "Command5_Click behind the pass ran";
  const auto& items = window->Testliste.items();
  EXPECT_EQ(std::count(items.begin(), items.end(), std::string(106, '=')), 0);
}

TEST_F(RandomPanelTest, PresetsNameTheCompiledList) {
  std::string file;
  for (const std::string& text : kStartTexts) file += text + "\r\n";
  root.Write("c/Arbeit/Start.prs", file);
  dialogs.chosenFiles = {"C:\\Arbeit\\Start.prs"};
  window->Command12_Click();
  random.Seed(3);
  EXPECT_TRUE(EndsTheProgram([&] { window->Command10_Click(); }));
  EXPECT_EQ(window->frmDatei.caption(),
            "T A L V I K  -  Tonverlaufsliste: C:\\Arbeit\\Zufall.rsz  -  Zufallsliste: "
            "C:\\Arbeit\\Start.prs");
  EXPECT_EQ(window->state.OriginNote, "Zufallsliste: C:\\Arbeit\\Start.prs");
}

TEST_F(RandomPanelTest, AdoptRandomListCompilesTheWrittenList) {
  root.Write("c/Arbeit/Zufall.rsz", "ZP 0 1.5\r\nHT 220 330\r\nLT 0 0\r\n");
  EXPECT_TRUE(EndsTheProgram([&] { window->AdoptRandomList(); }));
  EXPECT_EQ(window->state.ToneListPath, "C:\\Arbeit\\Zufall.rsz");
  EXPECT_EQ(window->state.PointCount, 2);
  EXPECT_EQ(starter.starts.size(), 1u);
}

}  // namespace
}  // namespace compiler_test
