// The score importer: the note lines "i01 ..." of the Csound score C:\Arbeit\Sample.sco become the
// tone list C:\Arbeit\Vuzov.rsz, three or five points a note written as bracket terms that the
// composer can edit, with an analysis of the notes in Testliste. The settings panel scales the
// notes; LTF, LTS and HTS are carried over from the previous Vuzov.rsz.
//
// Every field is checked before anything is written: a score that cannot be taken is reported
// (naming the line and the score), and Vuzov.rsz, its undo copy Rsz-Backup-0 and the notes of the
// last import stay as they were.
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "common/errors.h"
#include "common/numbers.h"
#include "common/printed_line.h"
#include "compiler/compiler_window.h"
#include "platform/file_table.h"
#include "tonelist/tone_list.h"

namespace compiler {
namespace {

using common::DoubleText;
using NoteEntry = CompilerState::NoteEntry;

constexpr int kScoreFile = tonelist::kToneListFile;
constexpr int kImportedListFile = 2;

// Step 5 of the import clears the note lists up to this index.
constexpr int kClearedEntries = 10000;
// The tab column of a point, 16 x c, is a 16-bit quantity.
constexpr int kMostColumns = 2047;
// A term longer than this would touch the next one, and the list's reader would lose a value.
constexpr size_t kLongestTerm = 15;

// The settings boxes as the importer reads them: the default a box gets when its text has the
// numeric prefix 0, and the name the panel shows for it.
const struct {
  const char* box;
  const char* defaultText;
  const char* shownAs;
} kImportSettings[] = {
    {"Text45", "0.05", "Härte"}, {"Text46", "1", "Tempo"},     {"Text47", "1", "Tonhöhe"},
    {"Text58", "1", "Lautstärke"}, {"Text48", "1", "FUA"},     {"Text49", "2", "FUB"},
    {"Text50", "0", "ENTE"},     {"Text51", "0.001", "DEL"},   {"Text52", "50", "FOM"},
};

// A score that cannot be taken; the text says where and why.
struct ImportFailure {
  std::string text;
};

// The sound settings and the values carried over from the previous list, as the listing and the
// list's last lines show them.
std::array<std::pair<const char*, double>, 5> SoundSettings(const CompilerState& s) {
  return {{{"FUA  ", s.SettingFua},
           {"FUB  ", s.SettingFub},
           {"ENTE ", s.SettingEnte},
           {"DEL  ", s.SettingDel},
           {"FOM  ", s.SettingFom}}};
}
std::array<std::pair<const char*, double>, 3> CarriedSettings(const CompilerState& s) {
  return {{{"LTF  ", s.SettingLtf}, {"LTS  ", s.SettingLts}, {"HTS  ", s.SettingHts}}};
}

double Value(const NoteEntry& e) { return e.value_or(0.0); }

// A sum or difference of the list's values without the binary leftover of the arithmetic
// (0.05 - 0.044 - 0.0001 is 0.0058999999999999999 in binary, and its 15-digit text would show
// that): nine decimals are more than any time or hardness of the list has.
double Clean(double value) { return common::RoundToStep(value, 1e9); }
std::string Form(const NoteEntry& e) { return e ? DoubleText(*e) : std::string(); }

NoteEntry& Entry(std::vector<NoteEntry>& list, int index) {
  return list.at(static_cast<size_t>(index));
}
const NoteEntry& Entry(const std::vector<NoteEntry>& list, int index) {
  static const NoteEntry empty;
  return index >= 0 && static_cast<size_t>(index) < list.size() ? list[static_cast<size_t>(index)]
                                                                  : empty;
}

// The words of a note line: runs of characters other than the blank (code 32).
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  for (char c : line) {
    if (c == ' ') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

// A note line: its first three non-blank characters are i, 0 and 1, and the third is followed by
// a blank or ends the line.
bool IsNoteLine(const std::string& line) {
  const char* const expected = "i01";
  int found = 0;
  for (size_t k = 0; k < line.size(); ++k) {
    if (line[k] == ' ') continue;
    if (line[k] != expected[found]) return false;
    if (++found == 3) return k + 1 == line.size() || line[k + 1] == ' ';
  }
  return false;
}

// Everything an import changes in the window besides what it shows, so that a failed import can
// leave it as it was.
struct ImportSnapshot {
  std::vector<NoteEntry> start, duration, pitch, loudness;
  std::int16_t noteCount;
  int counts[4];
  double fields[12];
  std::vector<std::string> boxTexts;
  std::vector<std::string> listing;  // Testliste: a failed import leaves no analysis behind

  static constexpr double CompilerState::*kFields[12] = {
      &CompilerState::Hardness,    &CompilerState::Tempo,      &CompilerState::FrequencyFactor,
      &CompilerState::LoudnessFactor, &CompilerState::SettingFua, &CompilerState::SettingFub,
      &CompilerState::SettingEnte, &CompilerState::SettingDel, &CompilerState::SettingFom,
      &CompilerState::SettingLtf,  &CompilerState::SettingLts, &CompilerState::SettingHts};

  explicit ImportSnapshot(CompilerWindow& w)
      : start(w.state.NoteStart),
        duration(w.state.NoteDuration),
        pitch(w.state.NotePitch),
        loudness(w.state.NoteLoudness),
        noteCount(w.state.NoteCount),
        counts{w.state.NoteStartCount, w.state.NoteDurationCount, w.state.NotePitchCount,
               w.state.NoteLoudnessCount} {
    for (int k = 0; k < 12; ++k) fields[k] = w.state.*kFields[k];
    for (const std::string& name : CompilerWindow::SettingsBoxNames())
      boxTexts.push_back(w.Box(name).text());
    listing = w.Testliste.items();
  }

  void Restore(CompilerWindow& w) {
    CompilerState& s = w.state;
    const std::vector<std::string>& names = CompilerWindow::SettingsBoxNames();
    for (size_t k = 0; k < names.size(); ++k) w.Box(names[k]).SetText(boxTexts[k]);
    for (int k = 0; k < 12; ++k) s.*kFields[k] = fields[k];
    s.NoteStart = std::move(start);
    s.NoteDuration = std::move(duration);
    s.NotePitch = std::move(pitch);
    s.NoteLoudness = std::move(loudness);
    s.NoteCount = noteCount;
    s.NoteStartCount = counts[0];
    s.NoteDurationCount = counts[1];
    s.NotePitchCount = counts[2];
    s.NoteLoudnessCount = counts[3];
    w.Testliste.Clear();
    for (std::string& item : listing) w.Testliste.AddItem(std::move(item));
  }
};

const char* const kUnchanged = "C:\\Arbeit\\Vuzov.rsz bleibt, wie sie war.";

// The failure of the note line being parsed.
ImportFailure LineFailure(const CompilerState& s, const std::string& reason) {
  return {"Die Partitur " + s.ToneListPath + " kann nicht übernommen werden.\nZeile " +
          std::to_string(s.LineIndex) + ": " + s.CurrentLine + "\n" + reason + "\n" + kUnchanged};
}

ImportFailure ScoreFailure(const CompilerState& s, const std::string& reason) {
  return {"Die Partitur " + s.ToneListPath + " kann nicht übernommen werden.\n" + reason + "\n" +
          kUnchanged};
}

}  // namespace

void CompilerWindow::WireScoreImporter() {
  forms::Button& button = Btn("Command14");
  button.SetCaption("3");
  button.SetToolTip(
      "aus Sample.sco die Tonverlaufsliste Vuzov.rsz herstellen, also Sample.sco ---> Vuzov.rsz | "
      "2. Funktion: die Beschriftung der weißen Felder übernehmen (LTF, LTS und HTS werden NICHT "
      "verändert!)");
  button.onClick = [this] { Command14_Click(); };
  const std::pair<const char*, const char*> switches[] = {
      {"Check1",
       "wenn das Häkchen entfernt wird, werden die Zeitwerte in Vuzov.rsz vor dem Überschreiben "
       "geschützt"},
      {"Check2",
       "wenn das Häkchen entfernt wird, werden die Tonhönen in Vuzov.rsz vor dem Überschreiben "
       "geschützt"},
      {"Check3",
       "wenn das Häkchen entfernt wird, werden die Lautstärken in Vuzov.rsz vor dem Überschreiben "
       "geschützt"},
  };
  for (const auto& [name, toolTip] : switches) {
    forms::CheckBox& box = Chk(name);
    box.SetToolTip(toolTip);
    box.SetValue(1);  // checked when the window opens
  }
  Chk("Check1").onClick = [this] { Check1_Click(); };
  Chk("Check2").onClick = [this] { Check2_Click(); };
  Chk("Check3").onClick = [this] { Check3_Click(); };
}

void CompilerWindow::Check1_Click() { state.ImportTimes = Chk("Check1").value() == 1; }
void CompilerWindow::Check2_Click() { state.ImportPitches = Chk("Check2").value() == 1; }
void CompilerWindow::Check3_Click() { state.ImportLoudness = Chk("Check3").value() == 1; }

bool CompilerWindow::Command14_Click() {
  CompilerState& s = state;

  // The previous list, for its LTF, LTS and HTS; a list that is not there yet counts as 1 each.
  // (Its undo copy is made only when the new list is complete, just before it is put in place.)
  s.ToneListPath = s.WorkFolder + "Vuzov" + ".rsz";
  s.ListLtf = s.ListLts = s.ListHts = tonelist::ToneValue::Integer(1);
  if (platform::FileExists(s.ToneListPath)) {
    try {
      files.OpenInput(kScoreFile, s.ToneListPath);
      tonelist::ReadToneListLines(s, files);
      tonelist::ParseToneList(s);
      files.Close(kScoreFile);
    } catch (const common::RuntimeError& e) {
      files.Close(kScoreFile);
      ShowError("Die bisherige Tonverlaufsliste " + s.ToneListPath + " kann nicht gelesen werden (" +
                e.text() + "); ihre Werte LTF, LTS und HTS gehen in die neue Liste ein.\n" +
                kUnchanged);
      return false;
    }
  }

  HideRandomPanel();
  ShowListSmall();
  Check1_Click();
  Check2_Click();
  Check3_Click();

  ImportSnapshot before(*this);
  try {
    const int cleared = std::min(kClearedEntries, static_cast<int>(s.NoteStart.size()) - 1);
    for (int i = 1; i <= cleared; ++i) {
      if (s.ImportTimes) Entry(s.NoteStart, i) = Entry(s.NoteDuration, i) = 0.0;
      if (s.ImportPitches) Entry(s.NotePitch, i) = 0.0;
      if (s.ImportLoudness) Entry(s.NoteLoudness, i) = 0.0;
    }
    s.NoteStartCount = s.NoteDurationCount = s.NotePitchCount = s.NoteLoudnessCount = 0;

    ShowSettingsPanel();

    s.ToneListPath = s.WorkFolder + "Sample" + ".sco";
    // Only the score's own lines are scanned: an empty score leaves none.
    s.LineCount = 0;
    try {
      files.OpenInput(kScoreFile, s.ToneListPath);
      tonelist::ReadToneListLines(s, files);
      files.Close(kScoreFile);
    } catch (const common::RuntimeError& e) {
      files.Close(kScoreFile);
      if (e.number() == common::kSubscriptOutOfRange)
        throw ScoreFailure(s, "Sie hat mehr als " + std::to_string(s.PointCapacity) +
                                  " Zeilen; " + s.Build.Name + " liest höchstens so viele.");
      throw ScoreFailure(s, "Sie kann nicht gelesen werden: " + e.text() + ".");
    }
    ScanScoreForNotes();
  } catch (const ImportFailure& failure) {
    files.Discard(kImportedListFile);
    before.Restore(*this);
    ShowError(failure.text);
    return false;
  } catch (const common::RuntimeError& e) {
    files.Discard(kImportedListFile);
    before.Restore(*this);
    ShowError(s.ImportListPath + " konnte nicht geschrieben werden: " + e.text() + "\n" +
              kUnchanged);
    return false;
  }

  SaveCompilerSettingsOrReport();
  return true;
}

void CompilerWindow::ScanScoreForNotes() {
  CompilerState& s = state;
  s.NoteCount = 0;
  s.NoteStartCount = s.NoteDurationCount = s.NotePitchCount = 0;
  noteLines_.clear();
  for (s.LineIndex = 1; s.LineIndex <= s.LineCount; ++s.LineIndex) {
    const std::string& line = s.ToneListLines[static_cast<size_t>(s.LineIndex)];
    if (!IsNoteLine(line)) continue;
    ++s.NoteCount;
    s.CurrentLine = line;
    noteLines_.push_back(s.LineIndex);
    ParseNoteLine();
  }
  if (s.NoteCount == 0)
    throw ScoreFailure(s, "Sie enthält keine Notenzeile des Instruments i01 (\"i01\" gefolgt von "
                          "einem Leerzeichen und den Feldern Beginn, Dauer, Tonhöhe, Amplitude).");
  // The list is one voice: each note begins after the one before it. Chords and notes out of
  // their time order would give time points that run backwards.
  if (s.ImportTimes)
    for (int i = 2; i <= s.NoteCount; ++i) {
      const double before = Value(Entry(s.NoteStart, i - 1)), start = Value(Entry(s.NoteStart, i));
      if (start > before) continue;
      s.LineIndex = noteLines_[static_cast<size_t>(i - 1)];
      s.CurrentLine = s.ToneListLines[static_cast<size_t>(s.LineIndex)];
      throw LineFailure(s, "Diese Note beginnt nicht nach der Note davor (Beginn " +
                               DoubleText(before) + "): der Import übernimmt eine einzige Stimme, "
                               "deren Noten nacheinander beginnen; Akkorde und Noten außer der "
                               "Reihe kann er nicht lesen.");
    }
  WriteImportedToneList();
}

void CompilerWindow::ParseNoteLine() {
  CompilerState& s = state;
  Check1_Click();
  Check2_Click();
  Check3_Click();

  // The fields are checked before any of them is stored.
  const std::vector<std::string> words = Words(s.CurrentLine);
  if (words[0] != "i01")
    throw LineFailure(s, "Die Instrumentnummer muss ohne Leerzeichen als \"i01\" geschrieben sein.");
  if (words.size() < 5)
    throw LineFailure(s, "Die Notenzeile hat nur " + std::to_string(words.size()) +
                             " Felder; gebraucht werden fünf: i01, Beginn, Dauer, Tonhöhe und "
                             "Amplitude.");
  const char* const fieldNames[] = {"", "", "der Beginn", "die Dauer", "die Tonhöhe", "die Amplitude"};
  double values[6] = {};
  for (int k = 2; k <= 5; ++k) {
    const std::string& word = words[static_cast<size_t>(k - 1)];
    const std::string what = "Feld " + std::to_string(k) + " (" + fieldNames[k] + ", \"" + word + "\")";
    if (!common::IsStrictNumber(word))
      throw LineFailure(s, what + " ist keine einfache Zahl. Csound-Kurzschreibweisen wie . + < ~, "
                               "Ausdrücke, Makros und Dezimalkommas kann der Import nicht lesen.");
    try {
      values[k] = common::StrictNumber(word);
    } catch (const common::RuntimeError&) {
      throw LineFailure(s, what + " ist zu groß.");
    }
  }
  if (!(values[3] > 0)) throw LineFailure(s, "Die Dauer " + words[2] + " ist nicht größer als 0.");
  if (values[5] < 0) throw LineFailure(s, "Die Amplitude " + words[4] + " ist negativ.");

  s.NoteFieldNumber = 0;
  for (const std::string& word : words) {
    s.CurrentWord = word;
    ++s.NoteFieldNumber;
    switch (s.NoteFieldNumber) {
      case 2:
        ++s.NoteStartCount;
        if (s.ImportTimes) Entry(s.NoteStart, s.NoteStartCount) = values[2];
        break;
      case 3:
        ++s.NoteDurationCount;
        if (s.ImportTimes) Entry(s.NoteDuration, s.NoteDurationCount) = values[3];
        break;
      case 4:
        ++s.NotePitchCount;
        if (s.ImportPitches) Entry(s.NotePitch, s.NotePitchCount) = values[4];
        break;
      case 5:
        VelocityToLoudness();
        if (s.ImportLoudness)
          Entry(s.NoteLoudness, s.NoteLoudnessCount) = common::StrictNumber(s.CurrentWord);
        break;
      default:
        break;
    }
  }
}

void CompilerWindow::VelocityToLoudness() {
  CompilerState& s = state;
  const double loudness = std::pow(common::StrictNumber(s.CurrentWord), 3.6) / 2e11;
  if (!std::isfinite(loudness))
    throw LineFailure(s, "Die Amplitude " + s.CurrentWord + " ist zu groß.");
  s.CurrentWord = DoubleText(loudness);
  ++s.NoteLoudnessCount;
}

void CompilerWindow::WriteImportedToneList() {
  CompilerState& s = state;
  ReadImportSettings();
  s.ColumnWidth = 16;
  // The list is opened before the notes are listed and checked: one that cannot be written is the
  // failure reported, whatever the notes give.
  files.OpenOutputReplacing(kImportedListFile, s.ImportListPath);
  const std::string moment = services.clock.TimeText() + " " + services.clock.DateText();
  files.Print(kImportedListFile, moment + " - vuzov.rsz, hergestellt mit talvik aus sample.sco");
  ListImportedNotes(moment);
  CheckImportedNotes();
  WriteImportedRows();
}

void CompilerWindow::ReadImportSettings() {
  CompilerState& s = state;

  // Defaults for boxes without a leading number; every other box must hold a number.
  for (const auto& setting : kImportSettings) {
    const std::string& text = Box(setting.box).text();
    bool usable = true;
    try {
      usable = common::LeadingNumber(text) == 0 || common::IsStrictNumber(text);
    } catch (const common::RuntimeError&) {
      usable = false;
    }
    if (!usable)
      throw ScoreFailure(s, std::string("Das Einstellungsfeld ") + setting.shownAs + " enthält \"" +
                                text + "\": keine Zahl (mit dem Punkt als Dezimaltrennzeichen).");
  }
  const std::pair<const char*, const tonelist::ToneValue*> carried[] = {
      {"LTF", &s.ListLtf}, {"LTS", &s.ListLts}, {"HTS", &s.ListHts}};
  double carriedValues[3] = {};
  for (int k = 0; k < 3; ++k) {
    try {
      carriedValues[k] = carried[k].second->AsNumber();
    } catch (const common::RuntimeError&) {
      throw ScoreFailure(s, std::string("Der Wert ") + carried[k].first + " in " + s.ImportListPath +
                                " (\"" + carried[k].second->text() + "\") ist keine Zahl.");
    }
  }
  for (const auto& setting : kImportSettings) {
    forms::TextBox& box = Box(setting.box);
    if (common::LeadingNumber(box.text()) == 0) box.SetText(setting.defaultText);
  }

  auto number = [this](const char* box) { return common::StrictNumber(Box(box).text()); };
  if (!(number("Text46") > 0))
    throw ScoreFailure(s, "Das Einstellungsfeld Tempo enthält \"" + Box("Text46").text() +
                              "\": das Tempo muss größer als 0 sein.");
  s.Hardness = number("Text45");
  s.Tempo = 0.5 / number("Text46");  // the time factor
  s.FrequencyFactor = number("Text47");
  s.LoudnessFactor = number("Text58");
  s.SettingFua = number("Text48");
  s.SettingFub = number("Text49");
  s.SettingEnte = number("Text50");
  s.SettingDel = number("Text51");
  s.SettingFom = number("Text52");
  s.SettingLtf = carriedValues[0];
  s.SettingLts = carriedValues[1];
  s.SettingHts = carriedValues[2];
}

void CompilerWindow::ListImportedNotes(const std::string& moment) {
  CompilerState& s = state;
  const double timeFactor = s.Tempo;

  for (const std::string& line :
       {std::string(), std::string(), moment,
        "Aus " + s.ToneListPath + " wird " + s.ImportListPath + " hergestellt.", std::string()})
    Testliste.AddItem(line);

  Testliste.AddItem("Die Analyse der Datei " + s.ToneListPath + " ist beendet! ");
  s.ColumnPad = std::string(14, ' ');
  const std::string& pad = s.ColumnPad;
  Testliste.AddItem("Nr" + pad + "ZT" + pad + "DT" + pad + "HT" + pad + "LT");
  Testliste.AddItem("");

  for (int i = 1; i <= s.NoteCount; ++i) {
    NoteEntry& start = Entry(s.NoteStart, i);
    NoteEntry& duration = Entry(s.NoteDuration, i);
    NoteEntry& pitch = Entry(s.NotePitch, i);
    NoteEntry& loudness = Entry(s.NoteLoudness, i);
    if (s.ImportTimes) {
      start = common::RoundToStep(Value(start) * timeFactor, 1000);
      duration = common::RoundToStep(Value(duration) * timeFactor, 1000);
    }
    if (s.ImportPitches) pitch = common::RoundToStep(Value(pitch) / 2 * s.FrequencyFactor, 100);
    if (s.ImportLoudness) loudness = common::RoundToStep(Value(loudness) * s.LoudnessFactor, 1);
    Testliste.AddItem(DoubleText(i) + pad + Form(start) + pad + Form(duration) + pad + Form(pitch) +
                      pad + Form(loudness));
  }

  for (const std::string& line :
       {std::string(), std::string(),
        "Der Inhalt der Datei " + s.ImportListPath + " kann jetzt mit dem Editor",
        std::string("beliebig verändert werden. Dazu die goldene Taste (zwischen 3 und 4) drücken "
                    "und 'Vuzov.rsz' auswählen."),
        std::string("Dann die orangefarbene Taste (4) drücken, um Dozudava.sco und Dozudava.orc "
                    "herzustellen und Csound zu starten."),
        std::string(), std::string()})
    Testliste.AddItem(line);
  for (const auto& [keyword, value] : SoundSettings(s))
    Testliste.AddItem(keyword + DoubleText(value));
  for (const std::string& line :
       {std::string(), "Härte:   " + DoubleText(s.Hardness),
        "Tempo:   " + DoubleText(1 / (2 * timeFactor)),
        "Gesamt-Tonhöhe: " + DoubleText(s.FrequencyFactor),
        "Gesamt-Lautstärke: " + DoubleText(s.LoudnessFactor), std::string(),
        std::string("Die folgenden Werte"), std::string("sind nur direkt in"),
        std::string("Vuzov.rsz änderbar:"),
        "LTF  " + DoubleText(s.SettingLtf) + " (FOF-Lautstärke)",
        "LTS  " + DoubleText(s.SettingLts) + " (Sample-Lautstärke)",
        "HTS  " + DoubleText(s.SettingHts) + " (Sample-Tonhöhe)", std::string(), std::string()})
    Testliste.AddItem(line);
}

void CompilerWindow::CheckImportedNotes() {
  const CompilerState& s = state;

  // A list whose every loudness is 0 would render silence: most likely the score keeps its
  // amplitude in another field than the fifth.
  if (s.ImportLoudness) {
    bool audible = false;
    for (int i = 1; i <= s.NoteCount && !audible; ++i) audible = Value(Entry(s.NoteLoudness, i)) > 0;
    if (!audible)
      throw ScoreFailure(s, "Alle " + std::to_string(s.NoteCount) + " Noten ergeben die Lautstärke "
                            "0: die Liste bliebe stumm. Der Import liest die Amplitude aus dem "
                            "fünften Feld (i01, Beginn, Dauer, Tonhöhe, Amplitude).");
  }

  // The rows must stay readable by the list's reader in this build.
  int columns = 1;
  for (int i = 1; i <= s.NoteCount; ++i) columns += IsGapNote(i) ? 5 : 3;
  const int most = std::min(kMostColumns, s.PointCapacity);
  if (columns > most)
    throw ScoreFailure(s, "Ihre " + std::to_string(s.NoteCount) + " Noten ergeben " +
                              std::to_string(columns) + " Punkte; " + s.Build.Name +
                              " liest höchstens " + std::to_string(most) +
                              " Punkte einer Tonverlaufsliste.");
}

void CompilerWindow::WriteImportedRows() {
  const CompilerState& s = state;
  WriteNoteNumberRow();
  WriteTimeRow();
  WriteLoudnessRow();
  WritePitchRow();
  WriteFormantRow();

  files.Print(kImportedListFile, "");
  for (const auto& [keyword, value] : SoundSettings(s))
    files.Print(kImportedListFile, keyword + DoubleText(value));
  files.Print(kImportedListFile, "");
  for (const auto& [keyword, value] : CarriedSettings(s))
    files.Print(kImportedListFile, keyword + DoubleText(value));
  files.Print(kImportedListFile, "");

  // The list is complete: the previous one becomes the undo copy, then the new one takes its place.
  try {
    BackupToneListForUndo();
  } catch (const common::RuntimeError& e) {
    throw ImportFailure{"Die Sicherheitskopie C:\\Arbeit\\Rsz-Backup-0 der bisherigen Liste "
                        "konnte nicht angelegt werden: " + e.text() + "\n" + kUnchanged};
  }
  files.Close(kImportedListFile);
}

bool CompilerWindow::IsGapNote(int i) const {
  const CompilerState& s = state;
  const double start = Value(Entry(s.NoteStart, i));
  const double duration = Value(Entry(s.NoteDuration, i));
  const double next = Value(Entry(s.NoteStart, i + 1));
  return start + duration < next - 0.001;
}

void CompilerWindow::PrintColumn(common::PrintedLine& row, const std::string& term) {
  CompilerState& s = state;
  if (term.size() > kLongestTerm) {
    const int note = noteOfColumn_;
    throw ScoreFailure(s, "Note " + std::to_string(note) + " (Zeile " +
                              std::to_string(noteLines_.at(static_cast<size_t>(note - 1))) +
                              ") ergibt den Wert " + term + ", der für eine Spalte von " +
                              s.ImportListPath + " zu lang ist (höchstens " +
                              std::to_string(kLongestTerm) + " Zeichen).");
  }
  row.Tab(s.ColumnWidth * s.ColumnIndex).Text(term);
  ++s.ColumnIndex;
}

// Walks the notes as the five rows do: `note(i, gap)` gives note i's terms (3 for a legato note, 5
// for a gap note), `closing` the term of the closing column.
template <class NoteTerms, class Closing>
void CompilerWindow::WriteRow(const char* keyword, NoteTerms note, Closing closing) {
  CompilerState& s = state;
  common::PrintedLine row;
  row.Text(keyword);
  s.ColumnIndex = 1;
  for (int i = 1; i <= s.NoteCount; ++i) {
    noteOfColumn_ = i;
    for (const std::string& term : note(i, IsGapNote(i))) PrintColumn(row, term);
  }
  noteOfColumn_ = s.NoteCount;
  PrintColumn(row, closing());
  files.Print(kImportedListFile, row.str());
}

void CompilerWindow::WriteNoteNumberRow() {
  CompilerState& s = state;
  files.Print(kImportedListFile, "");
  common::PrintedLine row;
  s.ColumnIndex = 1;
  for (int i = 1; i <= s.NoteCount; ++i) {
    row.Tab(s.ColumnWidth * s.ColumnIndex).Integer(i);
    s.ColumnIndex = static_cast<std::int16_t>(s.ColumnIndex + (IsGapNote(i) ? 5 : 3));
  }
  row.Tab(s.ColumnWidth * s.ColumnIndex).Text(" e");
  files.Print(kImportedListFile, row.str());
}

void CompilerWindow::WriteTimeRow() {
  const CompilerState& s = state;
  const double h = s.Hardness;
  const std::string H = DoubleText(h);
  WriteRow(
      "ZP",
      [&](int i, bool gap) {
        const NoteEntry& startEntry = Entry(s.NoteStart, i);
        const NoteEntry& durationEntry = Entry(s.NoteDuration, i);
        const NoteEntry& nextEntry = Entry(s.NoteStart, i + 1);
        const double start = Value(startEntry), duration = Value(durationEntry);
        const double next = Value(nextEntry);
        // An entry never filled (times not yet imported) is written as no characters.
        const std::string S = Form(startEntry), D = Form(durationEntry), N = Form(nextEntry);
        const std::string end = DoubleText(start + duration);
        const bool nextMissing = next == 0;  // 0 or empty
        std::vector<std::string> terms = {"[" + S + "+0.00]", "[" + S + "+" + H + "]"};
        if (!gap) {
          terms.push_back(nextMissing ? "[" + end + "-" + H + "]" : "[" + N + "-" + H + "]");
          return terms;
        }
        terms.push_back("[" + S + "+" + D + "]");
        terms.push_back("[" + S + "+" + DoubleText(Clean(duration + h)) + "]");
        if (nextMissing) {
          terms.push_back("[" + end + "-" + H + "]");
        } else if (next - h > start + duration + h) {
          terms.push_back("[" + N + "-" + H + "]");
        } else {
          // The gap leaves no more than twice H: the release ends a ten-thousandth of a second
          // after the end of the attack's mirror.
          const double x = common::RoundToStep(start + duration + 2 * h - next, 1000);
          terms.push_back("[" + N + "-" + DoubleText(Clean(h - x - 0.0001)) + "]");
        }
        return terms;
      },
      [&] {
        if (s.NoteCount == 0) return std::string("[0+0.00]");
        const double start = Value(Entry(s.NoteStart, s.NoteCount));
        const double duration = Value(Entry(s.NoteDuration, s.NoteCount));
        return "[" + DoubleText(start + duration) + "+0.00]";
      });
}

void CompilerWindow::WriteLoudnessRow() {
  const CompilerState& s = state;
  WriteRow(
      "LT",
      [&](int i, bool gap) {
        const std::string on = "[" + Form(Entry(s.NoteLoudness, i)) + "*1.00]";
        const std::string off = "[" + Form(Entry(s.NoteLoudness, i)) + "*0.00]";
        std::vector<std::string> terms = {i == 1 ? std::string("[0*1.00]") : on, on, on};
        if (gap) terms.insert(terms.end(), {off, off});
        return terms;
      },
      [] { return std::string("[0*1.00]"); });
}

void CompilerWindow::WritePitchRow() { WritePitchTermRow("HT", true); }

// The formant frequency starts equal to the pitch, and a gap note's last column does not take the
// following note's value.
void CompilerWindow::WriteFormantRow() { WritePitchTermRow("KL", false); }

void CompilerWindow::WritePitchTermRow(const char* keyword, bool gapEndsOnNextPitch) {
  const CompilerState& s = state;
  auto pitch = [&](int i) { return "[" + Form(Entry(s.NotePitch, i)) + "*1.00]"; };
  WriteRow(
      keyword,
      [&](int i, bool gap) {
        std::vector<std::string> terms = {pitch(i), ".", "."};
        if (gap) terms.insert(terms.end(), {".", gapEndsOnNextPitch ? pitch(i + 1) : "."});
        return terms;
      },
      [] { return std::string("."); });
}

void CompilerWindow::ListOpenFileToList() {
  while (!files.Eof(kScoreFile)) Testliste.AddItem(files.LineInput(kScoreFile));
}

}  // namespace compiler
