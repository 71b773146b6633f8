// The input dialogue with scripted answers: the forms A and B, Cancel, the take rule, the master
// prompts and the settings file it saves.
#include <gtest/gtest.h>

#include "common/errors.h"
#include "converter_fixture.h"

namespace envelope_test {
namespace {

using envelope::SettingValue;
using Answer = std::optional<std::string>;

const std::string kSettings =
    "Kleid\r\nR-01\r\nn\r\n1\r\n2\r\n0.01\r\n0.001\r\n50\r\n 1 \r\n 0 \r\n 1 \r\n1\r\n1\r\n1\r\n0\r\n"
    "60\r\nC:\\Arbeit\\Cello-A.wav\r\n 3 \r\n";

class DialogueTest : public ConverterTest {
 protected:
  void SetUp() override {
    root.Write("c/Arbeit/Tesu.ini", kSettings);
    root.Write("c/Arbeit/Cello-A.wav", "RIFF");
    window->Form_Load();
  }
  envelope::ConverterState& s() { return window->state; }
  // Runs the dialogue with the answers; true when it ended the program.
  bool Ask(std::initializer_list<Answer> answers) {
    dialogs.answers.assign(answers.begin(), answers.end());
    dialogs.questions.clear();
    try {
      window->AskRunSettings();
    } catch (const common::ProgramEnd&) {
      return true;
    }
    EXPECT_TRUE(dialogs.answers.empty()) << "answers left over";
    return false;
  }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> p;
    for (const auto& q : dialogs.questions) {
      EXPECT_EQ(q.title, "EINGABE");
      EXPECT_EQ(q.defaultAnswer, "");
      p.push_back(q.prompt);
    }
    return p;
  }
};

TEST_F(DialogueTest, ReturnEverywhereKeepsTheStoredValues) {
  window->Text[4]->SetText("7");  // a box changes only the current value
  ASSERT_FALSE(Ask({"", "", "", ""}));
  EXPECT_EQ(Prompts(), (std::vector<std::string>{
                           "Reaper-Datei (.rpp) angeben  (Return = Kleid)",
                           "Spurnamen angeben  (Return = R-01)", "Sinus erzeugen?  (Return = n)",
                           "weitere Einstellungen?  (Return = nein)"}));
  EXPECT_EQ(s().ProjectName, "Kleid");
  EXPECT_EQ(s().Fua, SettingValue::Text("1"));
  EXPECT_EQ(s().FofLoudnessFactor, SettingValue::Text(" 1 "));
  EXPECT_EQ(s().MasterTimbre, SettingValue::Text("60"));
  EXPECT_EQ(ReadArbeit("Tesu.ini"), kSettings);
}

TEST_F(DialogueTest, FormBKeepsTheLoudnessFactorsAndRestoresTheRest) {
  window->Text[9]->SetText("2");   // LTF now the number 2
  window->Text[12]->SetText("5");  // overall loudness 5, restored by the dialogue
  ASSERT_FALSE(Ask({"Anders", "", "j", std::nullopt}));  // Cancel on 4B counts as Return
  EXPECT_EQ(s().ProjectName, "Anders");
  EXPECT_EQ(s().PreviousProjectName, "Anders") << "SaveSettings stores the project name";
  EXPECT_EQ(s().Sine, "j");
  EXPECT_EQ(s().SineStored, "j");
  EXPECT_EQ(s().FofLoudnessFactor, SettingValue::Number(2));
  EXPECT_EQ(s().OverallLoudness, SettingValue::Text("1"));
  EXPECT_EQ(s().Fom, SettingValue::Text("50"));
  EXPECT_EQ(ReadArbeit("Tesu.ini"),
            "Anders\r\nR-01\r\nj\r\n1\r\n2\r\n0.01\r\n0.001\r\n50\r\n 2 \r\n 0 \r\n 1 \r\n1\r\n1\r\n1\r\n0\r\n"
            "60\r\nC:\\Arbeit\\Cello-A.wav\r\n 3 \r\n");
}

TEST_F(DialogueTest, FormAWithMoreSettingsTakesAnswersAndCountsCancelAsReturn) {
  ASSERT_FALSE(Ask({"", "", "", "j", "3", std::nullopt, "", "0.02", "", "2,5", "", "0.5",
                    "0.8", "", "2", "440", ""}));
  const std::vector<std::string> prompts = Prompts();
  ASSERT_EQ(prompts.size(), 17u);
  EXPECT_EQ(prompts[4], "neuer Wert für FUA?  (Return = 1)");
  EXPECT_EQ(prompts[9], "neuer Wert für den fof-Lautstärkefaktor?  (Return =  1 )");
  EXPECT_EQ(prompts[12], "Lautstärkefaktor angeben (Return = 1)");
  EXPECT_EQ(prompts[14], "Klangfrequenzfaktor angeben (Return = 1)");
  EXPECT_EQ(prompts[15], "Mastertonhöhe angeben, z.B. 440\r\n(Return = 0)");
  EXPECT_EQ(prompts[16], "Masterklangfrequenz angeben (Return = 60\r\n0 = keine)");
  EXPECT_EQ(s().Fua, SettingValue::Text("3"));
  EXPECT_EQ(s().FuaStored, "3");
  EXPECT_EQ(s().Fub, SettingValue::Text("2")) << "Cancel counts as Return";
  EXPECT_EQ(s().Del, SettingValue::Text("0.02"));
  EXPECT_EQ(s().FofLoudnessFactor, SettingValue::Text("2,5")) << "answers are not checked";
  EXPECT_EQ(s().SampleFrequencyFactor, SettingValue::Text("0.5"));
  EXPECT_EQ(s().OverallLoudness, SettingValue::Text("0.8"));
  EXPECT_EQ(s().TimbreMultiplier, SettingValue::Text("2"));
  EXPECT_EQ(s().MasterPitch, SettingValue::Text("440"));
  EXPECT_EQ(s().MasterPitchStored, "440");
  EXPECT_EQ(s().MasterTimbre, SettingValue::Text("60"));
}

TEST_F(DialogueTest, SineModeSkipsTheTimbreFactor) {
  ASSERT_FALSE(Ask({"", "", "j", "ja", "", "", "", ""}));
  const std::vector<std::string> prompts = Prompts();
  ASSERT_EQ(prompts.size(), 8u);
  EXPECT_EQ(prompts[4], "Lautstärkefaktor angeben (Return = 1)");
  EXPECT_EQ(prompts[5], "Tonhöhenfaktor angeben (Return = 1)");
  EXPECT_EQ(prompts[6].rfind("Mastertonhöhe", 0), 0u);
  EXPECT_EQ(s().TimbreMultiplier, SettingValue::Text("1"));
}

TEST_F(DialogueTest, MasterPromptForms) {
  struct Case {
    const char* typedPitch;  // into Text15 before the dialogue ("" leaves it)
    const char* storedTimbre;
    const char* pitchPrompt;
    const char* timbrePrompt;
  };
  const Case cases[] = {
      {"440", "60", "Mastertonhöhe angeben (Return = 0\r\n0 = keine)",
       "Masterklangfrequenz angeben (Return = 60\r\n0 = keine)"},
      {"0.5", "0", "Mastertonhöhe angeben, z.B. 440\r\n(Return = 0)",
       "Masterklangfrequenz angeben, z.B. 50 \r\n (Return = 0)"},
      {"", "", "Mastertonhöhe angeben, z.B. 440\r\n(Return = 0)",
       "Masterklangfrequenz angeben, z.B. 50 \r\n (Return = )"},
  };
  for (const Case& c : cases) {
    if (*c.typedPitch) window->Text[15]->SetText(c.typedPitch);
    s().MasterTimbreStored = c.storedTimbre;
    ASSERT_FALSE(Ask({"", "", "x", "j", "", "", "", "", ""}));
    const std::vector<std::string> prompts = Prompts();
    ASSERT_EQ(prompts.size(), 9u);
    EXPECT_EQ(prompts[7], c.pitchPrompt) << c.typedPitch;
    EXPECT_EQ(prompts[8], c.timbrePrompt) << c.storedTimbre;
    window->Text[15]->SetText("0");
  }
}

TEST_F(DialogueTest, CancelOnAnEarlyQuestionEndsTheProgram) {
  for (size_t question = 0; question < 4; ++question) {
    std::vector<Answer> answers(question, std::string());
    answers.push_back(std::nullopt);
    dialogs.answers.assign(answers.begin(), answers.end());
    s().ProjectName = "vorher";
    bool ended = false;
    try {
      window->AskRunSettings();
    } catch (const common::ProgramEnd&) {
      ended = true;
    }
    EXPECT_TRUE(ended) << "question " << question + 1;
    EXPECT_EQ(ReadArbeit("Tesu.ini"), kSettings) << "nothing is saved";
  }
}

}  // namespace
}  // namespace envelope_test
