// The score importer: Sample.sco's "i01" note lines to Vuzov.rsz, its analysis in Testliste, the
// settings it takes and writes, the point plan of gap and legato notes, and the checks that stop a
// score it cannot take before anything is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/codec.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "tonelist/tone_list.h"
#include "tools_fixture.h"

namespace compiler_test {
namespace {

class ScoreImporterTest : public ToolsTest {
 protected:
  // The two-note example: a gap note, then the last note, legato.
  void WriteTwoNotes() { WriteScore({"f1 0 4096 10 1", "i01 0 2 880 10000", "i01 3 1 660 10000", "e"}); }

  // The physical lines of Vuzov.rsz.
  std::vector<std::string> ListLines() {
    std::vector<std::string> lines;
    const std::string text = common::Cp1252ToUtf8(ReadArbeit("Vuzov.rsz"));
    size_t from = 0;
    for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
      lines.push_back(text.substr(from, at - from));
    return lines;
  }
  // The line of Vuzov.rsz that begins with the keyword.
  std::string Row(const std::string& keyword) {
    for (const std::string& line : ListLines())
      if (line.rfind(keyword + " ", 0) == 0) return line;
    ADD_FAILURE() << "no row " << keyword;
    return {};
  }
  // What stands at column c (from 1) up to the next blank.
  static std::string At(const std::string& row, int column) {
    if (static_cast<int>(row.size()) < column) return "<beyond the row>";
    const std::string rest = row.substr(static_cast<size_t>(column - 1));
    return rest.substr(0, rest.find(' '));
  }
  std::vector<std::string> Columns(const std::string& keyword, int count) {
    const std::string row = Row(keyword);
    std::vector<std::string> terms;
    for (int c = 1; c <= count; ++c) terms.push_back(At(row, 16 * c));
    return terms;
  }
  // The whole list read back by the compiler's parser.
  void ParseBack() {
    s().LineCount = 0;
    window->files.OpenInput(tonelist::kToneListFile, "C:\\Arbeit\\Vuzov.rsz");
    tonelist::ReadToneListLines(s(), window->files);
    window->files.Close(tonelist::kToneListFile);
    tonelist::ParseToneList(s());
  }
  // The value of an imported list entry as the analysis shows it.
  static std::string Shown(const compiler::CompilerState::NoteEntry& e) {
    return e ? common::DoubleText(*e) : "<empty>";
  }
};

TEST_F(ScoreImporterTest, TheTwoNoteExampleWithAllItsColumns) {
  WriteTwoNotes();
  const size_t shownBefore = window->Testliste.items().size();
  ASSERT_TRUE(window->Command14_Click());
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Columns("ZP", 9),
            (std::vector<std::string>{"[0+0.00]", "[0+0.05]", "[0+1]", "[0+1.05]", "[1.5-0.05]",
                                      "[1.5+0.00]", "[1.5+0.05]", "[2-0.05]", "[2+0.00]"}));
  EXPECT_EQ(Columns("LT", 9),
            (std::vector<std::string>{"[0*1.00]", "[1256*1.00]", "[1256*1.00]", "[1256*0.00]",
                                      "[1256*0.00]", "[1256*1.00]", "[1256*1.00]", "[1256*1.00]",
                                      "[0*1.00]"}));
  EXPECT_EQ(Columns("HT", 9), (std::vector<std::string>{"[440*1.00]", ".", ".", ".", "[330*1.00]",
                                                        "[330*1.00]", ".", ".", "."}));
  EXPECT_EQ(Columns("KL", 9), (std::vector<std::string>{"[440*1.00]", ".", ".", ".", ".",
                                                        "[330*1.00]", ".", ".", "."}));
  const std::vector<std::string> lines = ListLines();
  ASSERT_GE(lines.size(), 3u);
  // The number row: number items at the notes' first columns, " e" at the closing column.
  EXPECT_EQ(lines[2], std::string(15, ' ') + " 1 " + std::string(77, ' ') + " 2 " +
                          std::string(45, ' ') + " e");
  ExpectCompilerGolden("vuzov-two-notes.rsz", ReadArbeit("Vuzov.rsz"));
  std::string listing;
  for (const std::string& item : ListFrom(shownBefore)) listing += item + "\n";
  ExpectCompilerGolden("vuzov-two-notes-listing.txt", common::Utf8ToCp1252(listing));

  // What the list's reader makes of it: nine points, the FOF sound, LTF, LTS and HTS 1.
  ParseBack();
  EXPECT_EQ(s().PointCount, 9);
  EXPECT_TRUE(s().FofMode);
  const float times[] = {0, 0.05f, 1, 1.05f, 1.45f, 1.5f, 1.55f, 1.95f, 2};
  for (int i = 1; i <= 9; ++i) EXPECT_FLOAT_EQ(s().TimePoints[static_cast<size_t>(i)], times[i - 1]) << i;
  EXPECT_EQ(s().Loudnesses[4], tonelist::ToneValue::Number(0));
  EXPECT_EQ(s().Pitches[5], tonelist::ToneValue::Number(330));
}

TEST_F(ScoreImporterTest, TheImportLeavesBackupPanelSettingsAndPaths) {
  WriteArbeit("Vuzov.rsz", CrLf({"ZP 0 1", "LTF  2.5", "LTS  0.5", "HTS  -1"}));
  WriteTwoNotes();
  ASSERT_TRUE(window->Command14_Click());
  EXPECT_EQ(ReadArbeit("Rsz-Backup-0"), CrLf({"ZP 0 1", "LTF  2.5", "LTS  0.5", "HTS  -1"}));
  // LTF, LTS and HTS carried over from the previous list
  const std::vector<std::string> lines = ListLines();
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 7, lines.end()),
            (std::vector<std::string>{"", "FUA  1", "FUB  2", "ENTE 0.01", "DEL  0.001", "FOM  50",
                                      "", "LTF  2.5", "LTS  0.5", "HTS  -1", ""}));
  EXPECT_EQ(lines[0], "08:15:00 10.12.2026 - vuzov.rsz, hergestellt mit talvik aus sample.sco");
  EXPECT_EQ(s().SettingLtf, 2.5);
  EXPECT_EQ(s().SettingHts, -1);
  EXPECT_EQ(s().ToneListPath, "C:\\Arbeit\\Sample.sco");
  EXPECT_DOUBLE_EQ(s().Tempo, 0.5) << "the field holds the time factor";
  EXPECT_EQ(Box("Text46").text(), "1");
  // the settings panel shown, the list small and readable
  for (int n = 45; n <= 58; ++n) EXPECT_TRUE(Box("Text" + std::to_string(n)).visible()) << n;
  EXPECT_TRUE(window->Lbl("Label18").visible());
  for (const char* label : {"Label1", "Label4", "Label16"}) EXPECT_FALSE(window->Lbl(label).visible());
  EXPECT_EQ(window->Testliste.foreColour(), 0);
  EXPECT_EQ(window->Testliste.fontSize(), 8);
  EXPECT_FALSE(window->Testliste.fontBold());
  // the settings file written from the panel, with the carried values
  EXPECT_EQ(ReadArbeit("Talvik.ini"),
            CrLf({"0.05", "1", "1", "1", "1", "2", "0.01", "0.001", "50", " 2.5 ", " 0.5 ", "-1 ",
                  " 0 "}));
  EXPECT_FALSE(window->files.IsOpen(1));
  EXPECT_FALSE(window->files.IsOpen(2));
}

TEST_F(ScoreImporterTest, AMissingPreviousListCountsAsOneAndLeavesNoBackup) {
  WriteTwoNotes();
  s().ListLtf = tonelist::ToneValue::Text("7");  // left from an earlier parse
  ASSERT_TRUE(window->Command14_Click());
  EXPECT_FALSE(ArbeitHas("Rsz-Backup-0"));
  const std::vector<std::string> lines = ListLines();
  EXPECT_EQ(std::vector<std::string>(lines.end() - 4, lines.end()),
            (std::vector<std::string>{"LTF  1", "LTS  1", "HTS  1", ""}));
}

TEST_F(ScoreImporterTest, EmptySettingsBoxesTakeTheirDefaults) {
  for (const char* box : {"Text45", "Text46", "Text47", "Text58", "Text48", "Text49", "Text50",
                          "Text51", "Text52"})
    Box(box).SetText("");
  Box("Text47").SetText("abc");  // no leading number: the default as well
  WriteTwoNotes();
  ASSERT_TRUE(window->Command14_Click());
  std::vector<std::string> texts;
  for (const char* box : {"Text45", "Text46", "Text47", "Text58", "Text48", "Text49", "Text50",
                          "Text51", "Text52"})
    texts.push_back(Box(box).text());
  EXPECT_EQ(texts, (std::vector<std::string>{"0.05", "1", "1", "1", "1", "2", "0", "0.001", "50"}));
  const std::string nineLines = CrLf({"0.05", "1", "1", "1", "1", "2", "0", "0.001", "50"});
  EXPECT_EQ(ReadArbeit("Talvik.ini").substr(0, nineLines.size()), nineLines);
  EXPECT_EQ(s().SettingEnte, 0);
}

// A failed import leaves the list box as it was: no analysis of a list that was not written.
TEST_F(ScoreImporterTest, AFailedImportLeavesTheListingAndNamesTheFileThatFailed) {
  window->Testliste.Clear();
  window->Testliste.AddItem("vorher");
  Box("Text46").SetText("-1");
  WriteScore({"i01 0 2 880 10000"});
  EXPECT_FALSE(window->Command14_Click());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("Das Einstellungsfeld Tempo enthält \"-1\": das Tempo muss größer "
                               "als 0 sein."),
            std::string::npos)
      << Messages()[0];
  EXPECT_EQ(window->Testliste.items(), std::vector<std::string>{"vorher"});

  // The undo copy cannot be made (a folder stands in its place): the message names it.
  dialogs.messages.clear();
  Box("Text46").SetText("1");
  WriteArbeit("Vuzov.rsz", CrLf({"ZP 0 1"}));
  std::filesystem::create_directories(root / "c/Arbeit/Rsz-Backup-0/besetzt");
  EXPECT_FALSE(window->Command14_Click());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("Die Sicherheitskopie C:\\Arbeit\\Rsz-Backup-0 der bisherigen "
                                "Liste konnte nicht angelegt werden", 0),
            0u)
      << Messages()[0];
  EXPECT_EQ(ReadArbeit("Vuzov.rsz"), CrLf({"ZP 0 1"}));
  EXPECT_EQ(window->Testliste.items(), std::vector<std::string>{"vorher"});
}

// Pitches are halved and kept to hundredths, times to thousandths.
TEST_F(ScoreImporterTest, PitchesToHundredthsAndTimesToThousandths) {
  WriteScore({"i01 0.0012 2 261.6256 10000", "i01 3.0017 1 523.2511 10000"});
  ASSERT_TRUE(window->Command14_Click());
  EXPECT_EQ(Shown(s().NotePitch[1]), "130.81");
  EXPECT_EQ(Shown(s().NotePitch[2]), "261.63");
  EXPECT_EQ(Shown(s().NoteStart[1]), "0.001");
  EXPECT_EQ(Shown(s().NoteStart[2]), "1.501");
}

TEST_F(ScoreImporterTest, TheSettingsScaleTimesPitchesAndLoudness) {
  Box("Text45").SetText("0.01");  // hardness
  Box("Text46").SetText("2");     // tempo: time factor 0.25
  Box("Text47").SetText("0.5");   // overall pitch
  Box("Text58").SetText("2");     // overall loudness
  WriteScore({"i01 0 4 880 20000", "i01 4 2 440 1000"});
  ASSERT_TRUE(window->Command14_Click());
  EXPECT_EQ(Shown(s().NoteStart[2]), "1");
  EXPECT_EQ(Shown(s().NoteDuration[1]), "1");
  EXPECT_EQ(Shown(s().NotePitch[1]), "220");
  EXPECT_EQ(Shown(s().NoteLoudness[1]), "30458") << "15229.2 doubled";
  EXPECT_EQ(Shown(s().NoteLoudness[2]), "1") << "0.315 doubled";
  // legato: the first note holds until H before the second
  EXPECT_EQ(Columns("ZP", 4), (std::vector<std::string>{"[0+0.00]", "[0+0.01]", "[1-0.01]", "[1+0.00]"}));
  const auto& items = window->Testliste.items();
  EXPECT_NE(std::find(items.begin(), items.end(), "Tempo:   2"), items.end());
  EXPECT_NE(std::find(items.begin(), items.end(), "Gesamt-Tonhöhe: 0.5"), items.end());
  EXPECT_NE(std::find(items.begin(), items.end(),
                      "1" + std::string(14, ' ') + "0" + std::string(14, ' ') + "1" +
                          std::string(14, ' ') + "220" + std::string(14, ' ') + "30458"),
            items.end());
}

TEST_F(ScoreImporterTest, GapsAndLegatoByTheMillisecond) {
  const struct {
    const char* name;
    const char* second;       // the second note line (the first is i01 0 2 ...: S 0, D 1)
    std::vector<std::string> firstNote;  // the terms of the first note's columns
  } cases[] = {
      {"the tight gap", "i01 2.16 2 440 10000",
       {"[0+0.00]", "[0+0.05]", "[0+1]", "[0+1.05]", "[1.08-0.0299]"}},
      // 0.05 - 0.043 - 0.0001 has a binary leftover that its 15-digit text would show
      {"a tight gap of 0.043", "i01 2.114 2 440 10000",
       {"[0+0.00]", "[0+0.05]", "[0+1]", "[0+1.05]", "[1.057-0.0069]"}},
      {"a tight gap of 0.044", "i01 2.112 2 440 10000",
       {"[0+0.00]", "[0+0.05]", "[0+1]", "[0+1.05]", "[1.056-0.0059]"}},
      {"a wide gap", "i01 4 2 440 10000",
       {"[0+0.00]", "[0+0.05]", "[0+1]", "[0+1.05]", "[2-0.05]"}},
      {"a millisecond is legato", "i01 2.002 2 440 10000", {"[0+0.00]", "[0+0.05]", "[1.001-0.05]"}},
      {"an overlap is legato", "i01 1 2 440 10000", {"[0+0.00]", "[0+0.05]", "[0.5-0.05]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteScore({"i01 0 2 880 10000", c.second});
    ASSERT_TRUE(window->Command14_Click());
    EXPECT_EQ(Columns("ZP", static_cast<int>(c.firstNote.size())), c.firstNote);
    EXPECT_EQ(At(Row("ZP"), 16 * (static_cast<int>(c.firstNote.size()) + 1)),
              "[" + Shown(s().NoteStart[2]) + "+0.00]")
        << "the second note begins in the next column";
  }
}

TEST_F(ScoreImporterTest, LinesOfOtherKindsAreSkippedAndTheAmplitudeIsReadWhole) {
  WriteScore({"; i01 0 1 440 10000", "i010 0 1 440 10000", "i02 0 1 440 10000",
              "i01\t0 1 440 10000", "f1 0 4096 10 1", "   i01 0 1 440 10000", "i01 1 1 440 5000 7 x",
              "i01"});
  // "i01" alone is a note line without fields: reported, see the failures below
  ASSERT_FALSE(window->Command14_Click());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("Zeile 8: i01\n"), std::string::npos) << Messages()[0];

  dialogs.messages.clear();
  WriteScore({"; i01 0 1 440 10000", "i010 0 1 440 10000", "i02 0 1 440 10000",
              "i01\t0 1 440 10000", "f1 0 4096 10 1", "   i01 0 1 440 10000", "i01 1 1 440 5000 7 x"});
  ASSERT_TRUE(window->Command14_Click());
  EXPECT_EQ(s().NoteCount, 2);
  EXPECT_EQ(Shown(s().NoteLoudness[1]), "1256") << "10000, not 1000";
  EXPECT_EQ(Shown(s().NoteLoudness[2]), "104") << "5000: 103.6";
  EXPECT_EQ(Shown(s().NoteStart[2]), "0.5");
}

TEST_F(ScoreImporterTest, WithCheck1UncheckedASecondImportKeepsTheTimes) {
  WriteScore({"i01 0 2 880 10000", "i01 3 1 660 10000"});
  ASSERT_TRUE(window->Command14_Click());
  window->Chk("Check1").SetValue(0);
  EXPECT_FALSE(s().ImportTimes);
  WriteScore({"i01 10 8 440 20000", "i01 30 4 220 1000"});
  ASSERT_TRUE(window->Command14_Click());
  EXPECT_EQ(Shown(s().NoteStart[2]), "1.5") << "not scaled again";
  EXPECT_EQ(Shown(s().NoteDuration[1]), "1");
  EXPECT_EQ(Shown(s().NotePitch[1]), "220");
  EXPECT_EQ(Shown(s().NoteLoudness[2]), "0");
  EXPECT_EQ(Columns("ZP", 5),
            (std::vector<std::string>{"[0+0.00]", "[0+0.05]", "[0+1]", "[0+1.05]", "[1.5-0.05]"}));
  EXPECT_EQ(Columns("HT", 1), std::vector<std::string>{"[220*1.00]"});
}

// Times never imported in this run are empty entries: the time row writes them as no characters
// ([+0.00], not [0+0.00]) and computes with them as 0, so every note counts as legato.
TEST_F(ScoreImporterTest, WithCheck1UncheckedBeforeTheFirstImportTheTimesAreEmpty) {
  window->Chk("Check1").SetValue(0);
  WriteScore({"i01 0 2 880 10000", "i01 3 1 660 10000"});
  ASSERT_TRUE(window->Command14_Click());
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Shown(s().NoteStart[1]), "<empty>");
  EXPECT_EQ(Row("ZP"), "ZP             [+0.00]         [+0.05]         [0-0.05]        [+0.00]  "
                       "       [+0.05]         [0-0.05]        [0+0.00]");
  EXPECT_EQ(Columns("HT", 4),
            (std::vector<std::string>{"[440*1.00]", ".", ".", "[330*1.00]"}));
}

// A kind taken off before it was ever imported has only empty entries: every term and the
// analysis show them as no characters, and the arithmetic takes them as 0.
TEST_F(ScoreImporterTest, AKindNeverImportedIsEmptyInEveryColumnAndInTheAnalysis) {
  const std::string pad(14, ' ');
  const struct {
    const char* box;  // cleared before the first import
    std::vector<std::string> lt, ht, kl;  // the first six columns
    std::string analysis;  // of note 1
  } cases[] = {
      {"Check1",
       {"[0*1.00]", "[1256*1.00]", "[1256*1.00]", "[1256*1.00]", "[1256*1.00]", "[1256*1.00]"},
       {"[440*1.00]", ".", ".", "[330*1.00]", ".", "."},
       {"[440*1.00]", ".", ".", "[330*1.00]", ".", "."},
       "1" + pad + pad + pad + "440" + pad + "1256"},
      {"Check2",
       {"[0*1.00]", "[1256*1.00]", "[1256*1.00]", "[1256*0.00]", "[1256*0.00]", "[1256*1.00]"},
       {"[*1.00]", ".", ".", ".", "[*1.00]", "[*1.00]"},
       {"[*1.00]", ".", ".", ".", ".", "[*1.00]"},
       "1" + pad + "0" + pad + "1" + pad + pad + "1256"},
      {"Check3",
       {"[0*1.00]", "[*1.00]", "[*1.00]", "[*0.00]", "[*0.00]", "[*1.00]"},
       {"[440*1.00]", ".", ".", ".", "[330*1.00]", "[330*1.00]"},
       {"[440*1.00]", ".", ".", ".", ".", "[330*1.00]"},
       "1" + pad + "0" + pad + "1" + pad + "440" + pad},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    Start(compiler::BuildSettings::TalvikTe());  // a new program: nothing imported yet
    window->Chk(c.box).SetValue(0);
    WriteScore({"i01 0 2 880 10000", "i01 3 1 660 10000"});
    ASSERT_TRUE(window->Command14_Click());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Columns("LT", 6), c.lt);
    EXPECT_EQ(Columns("HT", 6), c.ht);
    EXPECT_EQ(Columns("KL", 6), c.kl);
    const auto& items = window->Testliste.items();
    EXPECT_NE(std::find(items.begin(), items.end(), c.analysis), items.end());
  }
}

// ---- Scores the importer cannot take -------------------------------------------------------

TEST_F(ScoreImporterTest, AScoreItCannotTakeIsReportedAndChangesNothing) {
  const struct {
    const char* name;
    std::vector<std::string> score;  // empty: no score file at all
    std::string says;                // part of the message
  } cases[] = {
      {"a carried field", {"i01 0 1 440 10000", "i01 1 . 440 10000"},
       "Zeile 2: i01 1 . 440 10000\nFeld 3 (die Dauer, \".\") ist keine einfache Zahl."},
      {"a plus", {"i01 0 1 440 10000", "i01 + 1 440 10000"}, "Feld 2 (der Beginn, \"+\")"},
      {"a ramp", {"i01 0 1 < 10000"}, "Feld 4 (die Tonhöhe, \"<\")"},
      {"a random value", {"i01 0 1 440 ~"}, "Feld 5 (die Amplitude, \"~\")"},
      {"an expression", {"i01 [1+2] 1 440 10000"}, "Feld 2 (der Beginn, \"[1+2]\")"},
      {"a macro", {"i01 0 1 $PITCH 10000"}, "Feld 4 (die Tonhöhe, \"$PITCH\")"},
      {"a decimal comma", {"i01 0 0,5 440 10000"}, "Feld 3 (die Dauer, \"0,5\")"},
      {"four fields", {"i01 0 1 440 10000", "  i01 1 1 440"},
       "Zeile 2:   i01 1 1 440\nDie Notenzeile hat nur 4 Felder"},
      {"a negative amplitude", {"i01 0 1 440 -5"}, "Die Amplitude -5 ist negativ."},
      {"a zero duration", {"i01 0 0 440 10000"}, "Die Dauer 0 ist nicht größer als 0."},
      {"a held note", {"i01 0 -1 440 10000"}, "Die Dauer -1 ist nicht größer als 0."},
      {"a spaced instrument", {"i 01 0 1 440 10000"}, "ohne Leerzeichen als \"i01\""},
      // one voice only: a chord, or notes out of their time order, would run time backwards
      {"a chord", {"i01 0 1 440 10000", "i01 0 1 550 10000"},
       "Zeile 2: i01 0 1 550 10000\nDiese Note beginnt nicht nach der Note davor (Beginn 0)"},
      {"notes out of order", {"i01 2 1 440 10000", "i01 1 1 550 10000"},
       "Zeile 2: i01 1 1 550 10000\nDiese Note beginnt nicht nach der Note davor (Beginn 2)"},
      {"every note silent", {"i01 0 1 440 100", "i01 1 1 550 50"},
       "Alle 2 Noten ergeben die Lautstärke 0: die Liste bliebe stumm."},
      {"no note line", {"f1 0 4096 10 1", "i1 0 1 440 10000", "e"},
       "Sie enthält keine Notenzeile des Instruments i01"},
      {"an empty score", {}, "Sie enthält keine Notenzeile"},
      {"no score", {}, "Sie kann nicht gelesen werden: Datei nicht gefunden."},
  };
  // A previous import and list that must survive every failure.
  WriteArbeit("Vuzov.rsz", CrLf({"ZP 0 1", "LTF  1"}));
  WriteArbeit("Rsz-Backup-0", "das vorige Backup\r\n");
  WriteScore({"i01 0 2 880 10000"});
  ASSERT_TRUE(window->Command14_Click());
  const std::string list = ReadArbeit("Vuzov.rsz");
  const std::string backup = ReadArbeit("Rsz-Backup-0");
  const std::string settings = ReadArbeit("Talvik.ini");
  Box("Text46").SetText("2");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.messages.clear();
    std::error_code ec;
    std::filesystem::remove(root / "c/Arbeit/Sample.sco", ec);
    if (std::string(c.name) == "an empty score") WriteArbeit("Sample.sco", "");
    else if (!c.score.empty()) {
      std::string text;
      for (const std::string& line : c.score) text += line + "\r\n";
      WriteArbeit("Sample.sco", text);
    }
    EXPECT_FALSE(window->Command14_Click());
    ASSERT_EQ(Messages().size(), 1u);
    const std::string message = Messages()[0];
    EXPECT_EQ(message.rfind("Die Partitur C:\\Arbeit\\Sample.sco kann nicht übernommen werden.\n", 0), 0u)
        << message;
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
    EXPECT_NE(message.find("C:\\Arbeit\\Vuzov.rsz bleibt, wie sie war."), std::string::npos);
    EXPECT_EQ(ReadArbeit("Vuzov.rsz"), list);
    EXPECT_EQ(ReadArbeit("Rsz-Backup-0"), backup);
    EXPECT_EQ(ReadArbeit("Talvik.ini"), settings);
    EXPECT_FALSE(window->files.IsOpen(1));
    EXPECT_FALSE(window->files.IsOpen(2));
    // the notes of the last good import and the fields are as they were
    EXPECT_EQ(s().NoteCount, 1);
    EXPECT_EQ(Shown(s().NoteDuration[1]), "1");
    EXPECT_EQ(Shown(s().NoteStart[2]), "0");
    EXPECT_EQ(Box("Text46").text(), "2");
    EXPECT_EQ(s().Tempo, 2) << "the field follows its box again";
  }
}

TEST_F(ScoreImporterTest, SettingsAndPreviousValuesThatAreNoNumbersAreReported) {
  WriteTwoNotes();
  Box("Text46").SetText("1x");
  EXPECT_FALSE(window->Command14_Click());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("Das Einstellungsfeld Tempo enthält \"1x\""), std::string::npos)
      << Messages()[0];
  EXPECT_FALSE(ArbeitHas("Vuzov.rsz"));
  EXPECT_EQ(Box("Text45").text(), "0.05");

  dialogs.messages.clear();
  Box("Text46").SetText("1");
  WriteArbeit("Vuzov.rsz", CrLf({"LTS  laut"}));
  EXPECT_FALSE(window->Command14_Click());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("Der Wert LTS in C:\\Arbeit\\Vuzov.rsz (\"laut\") ist keine Zahl."),
            std::string::npos)
      << Messages()[0];
  EXPECT_EQ(ReadArbeit("Vuzov.rsz"), CrLf({"LTS  laut"}));
  EXPECT_FALSE(ArbeitHas("Rsz-Backup-0"));

  dialogs.messages.clear();
  WriteArbeit("Vuzov.rsz", CrLf({"ZP [1/0]"}));
  EXPECT_FALSE(window->Command14_Click());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("Die bisherige Tonverlaufsliste C:\\Arbeit\\Vuzov.rsz kann nicht "
                                "gelesen werden (Division durch Null)",
                                0),
            0u)
      << Messages()[0];
  EXPECT_FALSE(window->files.IsOpen(1));
}

TEST_F(ScoreImporterTest, MoreThanTheBuildCanReadIsReported) {
  Start(compiler::BuildSettings::TalvikTe2());  // 1000 lines and points
  std::string score;
  for (int i = 0; i < 400; ++i) score += "i01 " + std::to_string(i) + " 1 440 10000\r\n";
  WriteArbeit("Sample.sco", score);
  EXPECT_FALSE(window->Command14_Click());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("Ihre 400 Noten ergeben 1201 Punkte; TalvikTe2 liest höchstens 1000 "
                               "Punkte einer Tonverlaufsliste."),
            std::string::npos)
      << Messages()[0];
  EXPECT_FALSE(ArbeitHas("Vuzov.rsz"));

  dialogs.messages.clear();
  for (int i = 400; i < 1001; ++i) score += "; Zeile " + std::to_string(i) + "\r\n";
  WriteArbeit("Sample.sco", score);
  EXPECT_FALSE(window->Command14_Click());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("Sie hat mehr als 1000 Zeilen; TalvikTe2 liest höchstens so viele."),
            std::string::npos)
      << Messages()[0];
  EXPECT_FALSE(window->files.IsOpen(1));

  // 333 legato notes are 1000 points: the most this build reads
  dialogs.messages.clear();
  score.clear();
  for (int i = 0; i < 333; ++i) score += "i01 " + std::to_string(i) + " 1 440 10000\r\n";
  WriteArbeit("Sample.sco", score);
  EXPECT_TRUE(window->Command14_Click()) << (Messages().empty() ? "" : Messages()[0]);
  ParseBack();
  EXPECT_EQ(s().PointCount, 1000);
}

TEST_F(ScoreImporterTest, AValueTooLongForItsColumnIsReported) {
  WriteScore({"i01 0 1 440 10000", "i01 200000.5 1 440 10000"});
  EXPECT_FALSE(window->Command14_Click());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("Note 1 (Zeile 1) ergibt den Wert [100000.25-0.05], der für eine "
                               "Spalte von C:\\Arbeit\\Vuzov.rsz zu lang ist"),
            std::string::npos)
      << Messages()[0];
  EXPECT_FALSE(ArbeitHas("Vuzov.rsz"));
}

// ---- MIDI-POWER: import, then compile ------------------------------------------------------

TEST_F(ScoreImporterTest, MidiPowerCompilesOnlyAfterAGoodImport) {
  WriteScore({"i01 0 1 . 10000"});
  const std::string scoreBefore = ReadArbeit("Dozudava.sco");  // of the first pass
  window->Command31_Click();  // returns: nothing compiled
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_TRUE(starter.starts.empty());
  EXPECT_EQ(ReadArbeit("Dozudava.sco"), scoreBefore);

  WriteTwoNotes();
  EXPECT_TRUE(EndsTheProgram([&] { window->Command31_Click(); }));
  EXPECT_EQ(s().ToneListPath, "C:\\Arbeit\\Vuzov.rsz");
  EXPECT_TRUE(s().ChosenListFlag);
  EXPECT_EQ(s().PointCount, 9);
  EXPECT_EQ(StartLines(), std::vector<std::string>{"C:\\Arbeit\\cs06b.bat"});
  EXPECT_NE(ReadArbeit("Dozudava.sco").find("Vuzov.rsz"), std::string::npos);
}

}  // namespace
}  // namespace compiler_test
