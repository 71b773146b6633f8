// Start-up from "Tesu.ini", the settings boxes and their handlers, and SaveSettings.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/codec.h"
#include "converter_fixture.h"

namespace envelope_test {
namespace {

using envelope::SettingValue;

std::string Crlf(std::initializer_list<std::string> lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

// A settings file as the converter writes it, with a sample named on line 17.
const std::string kSettings = Crlf({"Kleid", "R-01", "n", "1", "2", "0.01", "0.001", "50", " 1 ",
                                    " 0 ", " 1 ", "1", "1", "1", "0", "0",
                                    "C:\\Arbeit\\Cello-A.wav", " 3 "});

class SettingsTest : public ConverterTest {
 protected:
  void WriteSettings(const std::string& bytes) { root.Write("c/Arbeit/Tesu.ini", bytes); }
  void WriteSample() { root.Write("c/Arbeit/Cello-A.wav", "RIFF-Probe"); }
  envelope::ConverterState& s() { return window->state; }
};

TEST_F(SettingsTest, StartUpTakesTheStoredTextsAndLeavesTheFileAsItWas) {
  WriteSettings(kSettings);
  WriteSample();
  window->Form_Load();

  EXPECT_EQ(ReadArbeit("Tesu.ini"), kSettings) << "loading does not rewrite the file";
  EXPECT_EQ(s().ProjectName, "Kleid");
  EXPECT_EQ(s().TrackName, "R-01");
  EXPECT_EQ(s().ProjectPath, "C:\\Arbeit\\Kleid.rpp");
  EXPECT_EQ(s().Fua, SettingValue::Text("1"));
  EXPECT_EQ(s().FofLoudnessFactor, SettingValue::Text(" 1 "));
  EXPECT_EQ(s().MasterTimbre, SettingValue::Text("0"));
  EXPECT_EQ(s().SnapshotCounter, SettingValue::Number(3));
  EXPECT_EQ(s().SampleCopyPath, "c:\\Arbeit\\Samp100.wav");
  EXPECT_EQ(ReadArbeit("Samp100.wav"), "RIFF-Probe");
  EXPECT_EQ(window->Text[17]->text(), "Cello-A");
  EXPECT_EQ(window->Text[3]->text(), "n");
  EXPECT_EQ(window->Text[9]->text(), " 1 ");
  EXPECT_EQ(window->frmDatei.caption(),
            "Ormila v5.31      Gelesene Datei: Kleid.rpp      Spur: R-01");
  EXPECT_EQ(window->Label9.caption(), "FOF-Lautstärkefaktor");
  EXPECT_EQ(window->Text[10]->backColour(), 0xF4F4F4) << "no sample mixed in (LTS 0)";
  // The clipboard got the project name by the start-up's change of Text1.
  EXPECT_EQ(dialogs.clipboard, "Kleid.wav");
  // The start-up wrote the start/stop file and the templates.
  EXPECT_EQ(ReadArbeit("Tesu2.ini"), " 0 \r\n 0 \r\n");
  EXPECT_TRUE(std::filesystem::exists(root / "c/Arbeit/Grundtext1"));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(window->Variation.enabled());
  EXPECT_EQ(window->PRFix.backColour(), 0xB3B3FF);
  EXPECT_TRUE(s().UseStartStopPoints);
  EXPECT_TRUE(s().WithAudioEditor);
  EXPECT_TRUE(s().PointResetLocked);
  EXPECT_FALSE(s().AutoPoints);
}

// Templates that cannot be written at start-up: the message names the cause, and asks for the
// work folder only when that is missing.
TEST_F(SettingsTest, TemplatesThatCannotBeWrittenAtStartUpNameTheCause) {
  struct Case {
    const char* name;
    std::function<void(ConverterTest&)> fault;
    const char* message;
  };
  const Case cases[] = {
      {"no work folder", [](ConverterTest& t) { std::filesystem::remove_all(t.root / "c/Arbeit"); },
       "Die Vorlagen Grundtext1 bis Grundtext4 und C:\\Arbeit\\Tesu2.ini konnten nicht "
       "geschrieben werden (Pfad nicht gefunden). Gibt es den Ordner C:\\Arbeit\\?"},
      {"a protected template",
       [](ConverterTest& t) {
         t.root.Write("c/Arbeit/Grundtext3", "eigene Vorlage\r\n");
         std::filesystem::permissions(t.root / "c/Arbeit/Grundtext3", std::filesystem::perms(0444));
       },
       "Die Vorlagen Grundtext1 bis Grundtext4 und C:\\Arbeit\\Tesu2.ini konnten nicht "
       "geschrieben werden (Fehler beim Zugriff auf Pfad/Datei)."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NewWindow();
    dialogs.messages.clear();
    c.fault(*this);
    window->Form_Load();
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
  }
  EXPECT_EQ(ReadArbeit("Grundtext3"), "eigene Vorlage\r\n");
}

TEST_F(SettingsTest, BoxChangesRoundTripThroughTheFile) {
  WriteSettings(kSettings);
  WriteSample();
  window->Form_Load();
  window->Text[4]->SetText("3");
  // Only box 4's value changed, now a number printed with its blanks.
  std::string expected = kSettings;
  expected.replace(expected.find("n\r\n1\r\n") + 3, 1, " 3 ");
  EXPECT_EQ(ReadArbeit("Tesu.ini"), expected);

  // A new program start reads it back to the same values.
  auto again = std::make_unique<envelope::ConverterWindow>(
      envelope::ConverterServices{clock, starter, windowSystem, dialogs, dialogs, dialogs});
  again->Form_Load();
  EXPECT_EQ(again->state.Fua, SettingValue::Text(" 3 "));
  EXPECT_EQ(ReadArbeit("Tesu.ini"), expected);
}

// A name outside Windows-1252 (a track, project or sample folder named in Cyrillic, as REAPER and
// the file system give them) makes the settings file UTF-8, and the next start finds it again.
TEST_F(SettingsTest, NamesOutsideWindows1252ReachTheNextStart) {
  const std::string name = "Глиссандо";
  const std::string example = platform_test::ReadHostFile(
      std::filesystem::path(ORMILA_SOURCE_DIR) / "examples" / "Gleiten.rpp");
  // The run of the window started again: it finds the project and the track, and the tone list
  // names them.
  const auto runFinds = [](SettingsTest& t, const std::string& named) {
    t.window->Command3.Click();
    EXPECT_TRUE(t.Messages().empty());
    ASSERT_EQ(t.starter.starts.size(), 1u);
    EXPECT_NE(t.ReadArbeit("Tesu.rsz").find(named), std::string::npos) << t.ReadArbeit("Tesu.rsz");
  };
  struct Case {
    const char* label;
    std::function<void(SettingsTest&)> enter;  // in the first window
    std::function<void(SettingsTest&)> found;  // in the window started again
  };
  const Case cases[] = {
      {"track",
       [&](SettingsTest& t) {
         std::string project = example;
         project.replace(project.find("NAME Glissando"), 14, "NAME " + name);
         t.root.Write("c/Arbeit/Gleiten.rpp", project);
         t.window->Text[2]->SetText(name);
       },
       [&](SettingsTest& t) {
         EXPECT_EQ(t.window->Text[2]->text(), name);
         runFinds(t, "Hüllkurve: " + name);
       }},
      {"project",
       [&](SettingsTest& t) {
         t.root.Write("c/Arbeit/" + name + ".rpp", example);
         t.window->Text[1]->SetText(name);
       },
       [&](SettingsTest& t) {
         EXPECT_EQ(t.window->Text[1]->text(), name);
         EXPECT_EQ(t.window->state.ProjectPath, "C:\\Arbeit\\" + name + ".rpp");
         runFinds(t, "Reaperdatei: " + name + ".rpp");
       }},
      {"sample",
       [&](SettingsTest& t) {
         t.root.Write("c/Звуки/Виолончель.wav", "RIFF-Виолончель");
         t.dialogs.chosenFiles.push_back("C:\\Звуки\\Виолончель.wav");
         t.window->Command11_Click();
         t.root.Write("c/Arbeit/Samp100.wav", "alt");
       },
       [](SettingsTest& t) {
         EXPECT_EQ(t.window->state.SamplePath, "C:\\Звуки\\Виолончель.wav");
         EXPECT_EQ(t.ReadArbeit("Samp100.wav"), "RIFF-Виолончель") << "copied at the start";
         EXPECT_EQ(t.window->Text[17]->text(), "Виолончель");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    NewWindow();
    StartWithExample();
    c.enter(*this);
    const std::string saved = ReadArbeit("Tesu.ini");
    EXPECT_TRUE(common::IsValidUtf8(saved));
    EXPECT_EQ(saved.find('?'), std::string::npos) << saved;
    NewWindow();
    starter.starts.clear();
    window->Form_Load();
    c.found(*this);
    EXPECT_EQ(ReadArbeit("Tesu.ini"), saved) << "loading does not rewrite the file";
  }
}

// Umlauts: a settings file in Windows-1252 is saved again byte for byte as it was; one that an
// editor saved in UTF-8 (with LF line ends) is read as umlauts, not as two characters each.
TEST_F(SettingsTest, UmlautsAreReadFromWindows1252AndFromUtf8) {
  std::string text = kSettings;  // UTF-8 inside the program
  text.replace(text.find("Kleid"), 5, "Müller");
  text.replace(text.find("R-01"), 4, "Größe");
  text.replace(text.find("Cello-A"), 7, "Glöckchen");
  const std::string windows1252 = common::Utf8ToCp1252(text);
  std::string editor = text;
  for (size_t at; (at = editor.find("\r\n")) != std::string::npos;) editor.erase(at, 1);
  for (const std::string& bytes : {windows1252, editor}) {
    SCOPED_TRACE(bytes == editor ? "UTF-8" : "Windows-1252");
    NewWindow();
    WriteSettings(bytes);
    root.Write("c/Arbeit/Glöckchen.wav", "RIFF-Glocke");
    std::filesystem::remove(root / "c/Arbeit/Samp100.wav");
    window->Form_Load();
    EXPECT_EQ(window->Text[1]->text(), "Müller");
    EXPECT_EQ(window->Text[2]->text(), "Größe");
    EXPECT_EQ(window->Text[17]->text(), "Glöckchen");
    EXPECT_EQ(ReadArbeit("Samp100.wav"), "RIFF-Glocke");
    window->SaveSettings();
    EXPECT_EQ(ReadArbeit("Tesu.ini"), windows1252);
  }
}

TEST_F(SettingsTest, FirstStartWithoutFileWritesAComplete18LineFileOnTheFirstChange) {
  window->Form_Load();
  EXPECT_FALSE(std::filesystem::exists(root / "c/Arbeit/Tesu.ini"));
  EXPECT_EQ(window->Text[1]->text(), "");
  window->Text[1]->SetText("Neu");
  EXPECT_EQ(ReadArbeit("Tesu.ini"), Crlf({"Neu", "", "", "", "", "", "", "", "", "", "", "", "",
                                          "", "", "", "", ""}));
  EXPECT_EQ(window->frmDatei.caption(),
            "Ormila v5.31 - Reaper-Datei:  C:\\Arbeit\\Neu.rpp - Spurname:  ");
  EXPECT_EQ(dialogs.clipboard, "Neu.wav");
}

TEST_F(SettingsTest, EmptySampleLineEndsTheReadingAtTheCopy) {
  std::string settings = kSettings;
  settings.replace(settings.find("C:\\Arbeit\\Cello-A.wav"), std::string("C:\\Arbeit\\Cello-A.wav").size(), "");
  WriteSettings(settings);
  window->Form_Load();
  // Lines 1 to 16 reached their boxes; the values are the numbers their handlers set.
  EXPECT_EQ(window->Text[8]->text(), "50");
  EXPECT_EQ(s().Fom, SettingValue::Number(50));
  EXPECT_TRUE(s().SnapshotCounter.IsUnset());
  EXPECT_EQ(s().SampleCopyPath, "");
  EXPECT_EQ(window->frmDatei.caption(),
            "Ormila v5.31 - Reaper-Datei:  C:\\Arbeit\\Kleid.rpp - Spurname:  R-01")
      << "the run caption is not set";
  EXPECT_EQ(ReadArbeit("Tesu.ini"), settings);
}

struct SineCase {
  const char* typed;
  const char* sine;
  forms::Colour fuaColour;
  const char* label;
};

TEST_F(SettingsTest, SineBoxMapsItsText) {
  window->Form_Load();
  for (const SineCase& c : {SineCase{"ja", "j", 0xC0C0C0, "Sinus-Lautstärkefaktor"},
                            SineCase{"j", "j", 0xC0C0C0, "Sinus-Lautstärkefaktor"},
                            SineCase{"J", "n", 0xF4F4F4, "FOF-Lautstärkefaktor"},
                            SineCase{"nein", "n", 0xF4F4F4, "FOF-Lautstärkefaktor"}}) {
    window->Text[3]->SetText(c.typed);
    EXPECT_EQ(s().Sine, c.sine) << c.typed;
    EXPECT_EQ(window->Text[3]->text(), c.typed);
    EXPECT_EQ(window->Text[4]->backColour(), c.fuaColour) << c.typed;
    EXPECT_EQ(window->Label9.caption(), c.label) << c.typed;
  }
}

TEST_F(SettingsTest, StoredJaCountsAsFofAfterStartUp) {
  std::string settings = kSettings;
  settings.replace(settings.find("\r\nn\r\n") + 2, 1, "ja");
  WriteSettings(settings);
  WriteSample();
  window->Form_Load();
  EXPECT_EQ(window->Text[3]->text(), "n");
  EXPECT_EQ(s().Sine, "ja");
}

TEST_F(SettingsTest, NumberBoxesTakeTheNumericPrefix) {
  window->Form_Load();
  struct Case {
    int box;
    const char* text;
    double value;
  };
  const Case cases[] = {{12, "2,5", 2}, {12, ".5", 0.5}, {13, "x", 0}, {14, "", 0}, {5, "7 Hz", 7}};
  SettingValue envelope::ConverterState::*fields[] = {
      nullptr, nullptr, nullptr, nullptr, &envelope::ConverterState::Fua,
      &envelope::ConverterState::Fub, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
      &envelope::ConverterState::OverallLoudness, &envelope::ConverterState::PitchMultiplier,
      &envelope::ConverterState::TimbreMultiplier};
  for (const Case& c : cases) {
    window->Text[c.box]->SetText("vorher");
    window->Text[c.box]->SetText(c.text);
    EXPECT_EQ(s().*fields[c.box], SettingValue::Number(c.value)) << c.box << " " << c.text;
  }
}

TEST_F(SettingsTest, MasterBoxesShowWhetherTheyAreOn) {
  window->Form_Load();
  window->Text[15]->SetText("440");
  EXPECT_EQ(window->Text[15]->backColour(), 0x8080FF);
  window->Text[15]->SetText("0");
  EXPECT_EQ(window->Text[15]->backColour(), 0xF4F4F4);
  window->Text[16]->SetText("50");
  EXPECT_EQ(window->Text[16]->backColour(), 0x8080FF);
  window->Text[16]->SetText("");
  EXPECT_EQ(window->Text[16]->backColour(), 0xF4F4F4);
}

TEST_F(SettingsTest, SampleLoudnessColoursTheSampleControls) {
  window->Form_Load();
  window->Text[10]->SetText("0.5");
  EXPECT_EQ(window->Text[11]->backColour(), 0xE1C8C8);
  EXPECT_EQ(window->Command12.backColour(), 0xE1C8C8);
  window->Text[10]->SetText("0");
  EXPECT_EQ(window->Command11.backColour(), 0xF4F4F4);
}

TEST_F(SettingsTest, SampleNames) {
  const std::pair<const char*, const char*> cases[] = {{"C:\\Arbeit\\Cello-A.wav", "Cello-A"},
                                                       {"D:\\Klang\\Holz\\b3.wav", "b3"},
                                                       {"/home/k/Klavier.wav", "Klavier"},
                                                       {"C:\\Arbeit\\Müll", ""},
                                                       {"C:\\Arbeit\\Glöcküß.wav", "Glöcküß"},
                                                       {"b.w", "b.w"}};
  for (const auto& [path, name] : cases) {
    window->ExtractSampleName(path);
    EXPECT_EQ(s().SampleName, name) << path;
  }
}

// A sample without any write bit (from a CD, an archive, a read-only share) is copied at one
// start; when Tesu.ini names another sample at the next start, that one replaces the working
// copy, and the reading goes on to the snapshot counter behind it.
TEST_F(SettingsTest, AWriteProtectedSampleLeavesItsWorkingCopyReplaceable) {
  root.Write("d/CD/Cello-A.wav", "RIFF-CD");
  std::filesystem::permissions(root / "d/CD/Cello-A.wav", std::filesystem::perms(0444));
  const std::string arbeit = "C:\\Arbeit\\Cello-A.wav";
  std::string fromCd = kSettings;
  fromCd.replace(fromCd.find(arbeit), arbeit.size(), "D:\\CD\\Cello-A.wav");
  WriteSettings(fromCd);
  window->Form_Load();
  ASSERT_EQ(ReadArbeit("Samp100.wav"), "RIFF-CD");

  WriteSettings(kSettings);  // names C:\Arbeit\Cello-A.wav
  WriteSample();
  NewWindow();
  window->Form_Load();
  EXPECT_EQ(ReadArbeit("Samp100.wav"), "RIFF-Probe");
  EXPECT_EQ(s().SnapshotCounter, SettingValue::Number(3)) << "the counter line was read";
  EXPECT_EQ(window->Text[17]->text(), "Cello-A");
}

}  // namespace
}  // namespace envelope_test
