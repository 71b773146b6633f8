// Numbers the compiler window's boxes cannot use, in the nine settings boxes and the 22 input
// boxes of the random panel: refused where they come in, with a message naming the box; the
// previous value holds, and nothing of them is saved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/errors.h"
#include "random_fixture.h"

namespace compiler_test {
namespace {

using compiler::CompilerState;

struct BoxCase {
  const char* box;
  const char* name;  // as the message names the box
  double CompilerState::*field;
  bool panel;  // an input box of the random panel: its click validates it
};

const BoxCase kBoxes[] = {
    {"Text45", "Härte", &CompilerState::Hardness, false},
    {"Text46", "Tempo", &CompilerState::Tempo, false},
    {"Text47", "Tonhöhe", &CompilerState::FrequencyFactor, false},
    {"Text58", "Lautstärke", &CompilerState::LoudnessFactor, false},
    {"Text48", "FUA", &CompilerState::SettingFua, false},
    {"Text49", "FUB", &CompilerState::SettingFub, false},
    {"Text50", "ENTE", &CompilerState::SettingEnte, false},
    {"Text51", "DEL", &CompilerState::SettingDel, false},
    {"Text52", "FOM", &CompilerState::SettingFom, false},
    {"Text3", "Gesamtdauer", &CompilerState::TotalDuration, true},
    {"Text2", "kleinster Zeitabstand", &CompilerState::MinGap, true},
    {"Text1", "größter Zeitabstand", &CompilerState::MaxGap, true},
    {"Text4", "Zeit-Quantisierung", &CompilerState::TimeQuantSteps, true},
    {"Text9", "kleinste Lautstärke", &CompilerState::MinLoudness, true},
    {"Text10", "größte Lautstärke", &CompilerState::MaxLoudness, true},
    {"Text13", "tiefster Ton", &CompilerState::LowestNote, true},
    {"Text14", "höchster Ton", &CompilerState::HighestNote, true},
    {"Text16", "größtes Intervall (Tonhöhe)", &CompilerState::MaxInterval, true},
    {"Text17", "Tonhöhenquantisierung", &CompilerState::PitchQuant, true},
    {"Text23", "Tonhöhenwiederholung", &CompilerState::PitchRepeat, true},
    {"Text32", "tiefste Formantfreq.", &CompilerState::LowestFormant, true},
    {"Text31", "höchste Formantfreq.", &CompilerState::HighestFormant, true},
    {"Text30", "größtes Intervall (Formantfrequenz)", &CompilerState::MaxFormantInterval, true},
    {"Text29", "Frequenzquantisierung", &CompilerState::FormantQuant, true},
    {"Text20", "Frequenzwiederholung", &CompilerState::FormantRepeat, true},
    {"Text39", "erste FOF-Funktion", &CompilerState::FofFunction1, true},
    {"Text40", "zweite FOF-Funktion", &CompilerState::FofFunction2, true},
    {"Text41", "Fünffach-Delay", &CompilerState::FiveFoldDelay, true},
    {"Text42", "Enteneffekt", &CompilerState::DuckEffect, true},
    {"Text43", "Formantfaktor", &CompilerState::FormantFactor, true},
    {"Text44", "Frequenzvervielfachung", &CompilerState::FrequencyMultiplication, true},
};

// Beyond the double range, beyond half of it (twice it, or the span between two such numbers,
// is no number), and a number with letters after it.
const char* const kTooLarge[] = {"1e999", "-1e999", "1.797e308", "-9e307", "1e400x"};

class BoxNumbersTest : public RandomWindowTest {
 protected:
  BoxNumbersTest() {
    window->Command11_Click();  // the panel's fields from its start texts
    // the settings boxes' fields from texts that differ from the loaded ones (a field holds 0
    // until its box first changes)
    for (const BoxCase& b : kBoxes)
      if (!b.panel) Box(b.box).SetText("0.7");
    window->SaveCompilerSettings();
  }

  // Types the text into the box (and clicks it, in the panel); the messages it gave.
  std::vector<platform::ScriptedDialogs::Message> Enter(const BoxCase& b, const char* text) {
    dialogs.messages.clear();
    try {
      Box(b.box).SetText(text);
      if (b.panel) Box(b.box).Click();
    } catch (const common::RuntimeError& e) {
      ADD_FAILURE() << "runtime error " << e.number();
    }
    return dialogs.messages;
  }
};

TEST_F(BoxNumbersTest, ANumberTooLargeIsRefusedWithAMessageAndThePreviousValueHolds) {
  const std::string settings = root.Read("c/Arbeit/Talvik.ini");
  for (const BoxCase& b : kBoxes) {
    for (const char* text : kTooLarge) {
      SCOPED_TRACE(std::string(b.box) + " " + text);
      const double before = window->state.*b.field;
      const std::string shown = Box(b.box).text();
      const auto messages = Enter(b, text);
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0].title, "FEHLER");
      EXPECT_EQ(messages[0].text, "Die Zahl \"" + std::string(text) + "\" im Feld \"" + b.name +
                                      "\" ist zu groß. Es gilt weiter der bisherige Wert.");
      EXPECT_EQ(window->state.*b.field, before);
      EXPECT_EQ(Box(b.box).text(), shown);
    }
  }
  // What a save writes is what the boxes held before.
  window->SaveCompilerSettings();
  EXPECT_EQ(root.Read("c/Arbeit/Talvik.ini"), settings);
}

// The time step's field holds its reciprocal, and the smallest gap bounds the step: a step or
// gap so close to 0 that it has no reciprocal is refused as too small.
TEST_F(BoxNumbersTest, AStepOrGapWithoutAReciprocalIsRefusedAsTooSmall) {
  const BoxCase& gap = kBoxes[10];
  const BoxCase& step = kBoxes[12];
  for (const BoxCase* b : {&gap, &step}) {
    for (const char* text : {"1e-310", "4.9e-324", "-1e-310"}) {
      SCOPED_TRACE(std::string(b->box) + " " + text);
      const double before = window->state.*b->field;
      const std::string shown = Box(b->box).text();
      const auto messages = Enter(*b, text);
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0].text, "Die Zahl \"" + std::string(text) + "\" im Feld \"" + b->name +
                                      "\" ist zu klein. Es gilt weiter der bisherige Wert.");
      EXPECT_EQ(window->state.*b->field, before);
      EXPECT_EQ(Box(b->box).text(), shown);
    }
  }
  // The smallest step that has one is taken.
  EXPECT_TRUE(Enter(step, "1e-308").empty());
  EXPECT_EQ(window->state.TimeQuantSteps, 1e308);
}

// Before a row was ever validated its field holds 0: a refused number leaves 0 to the row's rule.
TEST_F(BoxNumbersTest, ARefusedFirstStepLeavesTheRuleOfNoNumber) {
  Start(compiler::BuildSettings::TalvikTe());
  EXPECT_EQ(Enter(kBoxes[12], "1e-310").size(), 1u);
  EXPECT_EQ(Box("Text4").text(), "0.0001");
  EXPECT_EQ(window->state.TimeQuantSteps, 10000);
}

// A settings file holding a number too large is read whole: that box keeps its text, the lines
// behind it are read, and the pass goes on (it used to end with error 6 before writing).
TEST_F(BoxNumbersTest, ASettingsFileWithANumberTooLargeIsReadWhole) {
  root.Write("c/Arbeit/Talvik.ini",
             "0.05\r\n1e999\r\n3\r\n1\r\n1\r\n2\r\n0.01\r\n0.001\r\n60\r\n"
             " 1 \r\n 1 \r\n 1 \r\n 4 \r\n");
  const std::string refused =
      "Die Zahl \"1e999\" im Feld \"Tempo\" ist zu groß. Es gilt weiter der bisherige Wert.";
  dialogs.messages.clear();
  window->LoadCompilerSettings();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, refused);
  EXPECT_EQ(Box("Text46").text(), "0.7");
  EXPECT_EQ(window->state.Tempo, 0.7);
  EXPECT_EQ(window->state.FrequencyFactor, 3);
  EXPECT_EQ(window->state.SettingFom, 60);
  EXPECT_EQ(window->state.FileNameCounter, 4);

  dialogs.messages.clear();
  Start(compiler::BuildSettings::TalvikTe());  // a new program's pass: the box's design text
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, refused);
  EXPECT_EQ(Box("Text46").text(), "1");
  EXPECT_EQ(window->state.Tempo, 1);
  EXPECT_EQ(window->state.FileNameCounter, 4);
}

// A preset line the row cannot use ends the reading there, as a line that cannot be read does;
// the rows before it are loaded, the panel is validated, and the window goes on.
TEST_F(BoxNumbersTest, APresetWithANumberTooLargeLoadsTheRowsBeforeIt) {
  root.Write("c/Arbeit/Gross.prs", "20\r\n0.1\r\n1e999\r\n0.001\r\n");
  dialogs.chosenFiles.push_back("C:\\Arbeit\\Gross.prs");
  dialogs.messages.clear();
  window->Command12_Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "Die Zahl \"1e999\" im Feld \"größter Zeitabstand\" ist zu groß. Es gilt weiter der "
            "bisherige Wert.");
  EXPECT_EQ(Box("Text3").text(), "20");
  EXPECT_EQ(Box("Text2").text(), "0.1");
  EXPECT_EQ(Box("Text1").text(), "0.2");
  EXPECT_EQ(Box("Text4").text(), "0.0001");
  EXPECT_EQ(window->state.MaxGap, 0.2);
  EXPECT_TRUE(window->state.PresetsLoaded);
}

}  // namespace
}  // namespace compiler_test
