// Start-up, the settings file "Tesu.ini", the settings boxes and their display.
#include <cmath>
#include <vector>

#include "common/errors.h"
#include "common/numbers.h"
#include "common/printed_line.h"
#include "envelope/converter_window.h"
#include "platform/dialogs.h"
#include "platform/file_table.h"

namespace envelope {
namespace {

constexpr int kSettingsFile = 1;  // the same number for reading and writing (see SaveSettings)
// The file holds names the composer chose (project, track, sample path), which REAPER and the
// file system give in any script: read as UTF-8 when it is valid UTF-8, else as Windows-1252;
// written in Windows-1252 when every character has a place there, else in UTF-8.
constexpr platform::Encoding kSettingsEncoding = platform::Encoding::Utf8OrCp1252;

constexpr forms::Colour kWhite = 0xFFFFFF;
constexpr forms::Colour kPaleGrey = 0xF4F4F4;
constexpr forms::Colour kGrey = 0xC0C0C0;
constexpr forms::Colour kSampleOn = 0xE1C8C8;
constexpr forms::Colour kMasterOn = 0x8080FF;


}  // namespace

void ConverterWindow::ConnectSettingsBoxes() {
  for (int i = 1; i <= 16; ++i) Text[i]->onChange = [this, i] { TextChanged(i); };
}

void ConverterWindow::TextChanged(int box) {
  ConverterState& s = state;
  const std::string& text = Text[box]->text();
  switch (box) {
    case 1:
      s.ProjectName = text;
      s.ProjectPath = s.WorkFolder + s.ProjectName + ".rpp";
      SaveSettings();
      frmDatei.SetCaption(BoxCaption());
      services.clipboard.SetText(text + ".wav");
      break;
    case 2:
      s.TrackName = text;
      SaveSettings();
      frmDatei.SetCaption(BoxCaption());
      break;
    case 3:
      s.Sine = text;
      if (s.Sine != "j" && s.Sine != "ja") s.Sine = "n";
      if (s.Sine == "ja") s.Sine = "j";
      ShowSineMode();
      SaveSettings();
      break;
    default: {
      // Boxes 4 to 16 hold the settings of lines 4 to 16.
      SettingValue& current = s.*(kSettingSlots[box - 4].current);
      const double number = common::LeadingNumberOrInfinity(text);
      if (!std::isfinite(number)) {
        // A number too large for the tone list: the box keeps its value as it was, unsaved.
        ShowError("Die Zahl \"" + text + "\" im Feld \"" + BoxLabel[box]->caption() +
                  "\" ist zu groß. Es gilt weiter der bisherige Wert.");
        return;
      }
      current = SettingValue::Number(number);
      if (box == 10) ShowSampleMode();
      SaveSettings();
      if (box == 15 || box == 16)
        Text[box]->SetBackColour(SettingNumber(current) > 0 ? kMasterOn : kPaleGrey);
      break;
    }
  }
}

void ConverterWindow::Form_Load() {
  ConverterState& s = state;
  // 1.
  s.VersionText = "v5.31";
  s.WorkFolder = "C:\\Arbeit\\";
  s.VariationMaximum = {0.01, 0.1, 1.0, 10.0};
  s.VariationActive = false;
  s.RunStarted = false;
  for (forms::Button* b : {&Variation, &Variation2}) {
    b->SetEnabled(false);
    b->SetBackColour(kWhite);
  }
  Tempo.SetText("1");

  // 2-6, with the trap whose landing point is the closing of the settings file (7).
  try {
    files.OpenInput(kSettingsFile, SettingsFilePath(), kSettingsEncoding);
    s.PreviousProjectName = files.LineInput(kSettingsFile);
    Text[1]->SetText(s.PreviousProjectName);
    s.PreviousTrackName = files.LineInput(kSettingsFile);
    Text[2]->SetText(s.PreviousTrackName);
    s.SineStored = files.LineInput(kSettingsFile);
    Text[3]->SetText(s.SineStored == "j" ? "j" : "n");
    for (int i = 0; i < kSlotCount; ++i) {
      s.*(kSettingSlots[i].stored) = files.LineInput(kSettingsFile);
      Text[i + 4]->SetText(s.*(kSettingSlots[i].stored));
    }
    s.SamplePath = files.LineInput(kSettingsFile);
    platform::CopyFile(s.SamplePath, "c:\\Arbeit\\Samp100.wav");
    s.SampleCopyPath = "c:\\Arbeit\\Samp100.wav";
    ExtractSampleName(s.SamplePath);
    Text[17]->SetText(s.SampleName);
    s.SnapshotCounter = SettingValue::Number(common::LeadingNumber(files.LineInput(kSettingsFile)));

    // 4: the current values become the stored texts.
    s.ProjectName = s.PreviousProjectName;
    s.TrackName = s.PreviousTrackName;
    s.Sine = s.SineStored;
    ShowSineMode();
    for (int i = kFofSlots; i < kScalingSlots; ++i) s.*(kSettingSlots[i].current) = SettingValue::Text(s.*(kSettingSlots[i].stored));
    ShowSampleMode();
    for (int i = kScalingSlots; i < kSlotCount; ++i) s.*(kSettingSlots[i].current) = SettingValue::Text(s.*(kSettingSlots[i].stored));
    // 5-6.
    s.ProjectPath = s.WorkFolder + s.ProjectName + ".rpp";
    frmDatei.SetCaption(RunCaption());
  } catch (const common::RuntimeError&) {
    // A missing or short settings file, or a sample that cannot be copied: go on with what
    // was read, without a message.
  }
  // 7.
  files.Close(kSettingsFile);

  // 8.
  s.ToneListPath = s.WorkFolder + "Tesu" + ".rsz";
  s.SkipDialogue = false;
  s.InfoPage = 0;
  s.FrequencyError = false;
  s.ComparisonToneRunning = false;
  s.UseStartStopPoints = true;
  s.WithAudioEditor = true;
  Command7.SetBackColour(0xDFDFDF);
  StartStoppFix.SetBackColour(0xE0E0E0);
  s.StartStopFixState = false;
  PRFix.SetBackColour(0xB3B3FF);
  s.PointResetLocked = true;

  // 9: the first run needs the templates and the start/stop file.
  try {
    WriteProjectTemplates();
    StartStoppLos_Click();
  } catch (const common::RuntimeError& e) {
    // The question about the folder only where the folder is missing: a protected template or
    // a full disk has its cause named alone.
    ShowError("Die Vorlagen Grundtext1 bis Grundtext4 und " + StartStopFilePath() +
              " konnten nicht geschrieben werden (" + e.text() + ")." +
              (e.number() == common::kPathNotFound
                   ? " Gibt es den Ordner " + s.WorkFolder + "?"
                   : std::string()));
  }
}

void ConverterWindow::SaveSettings() {
  ConverterState& s = state;
  bool opened = false;
  try {
    files.OpenOutputReplacing(kSettingsFile, SettingsFilePath(), kSettingsEncoding);
    opened = true;
    files.Print(kSettingsFile, s.ProjectName);
    s.PreviousProjectName = s.ProjectName;
    files.Print(kSettingsFile, s.TrackName);
    s.PreviousTrackName = s.TrackName;
    files.Print(kSettingsFile, s.Sine);
    for (const SettingSlot& slot : kSettingSlots) {
      common::PrintedLine line;
      tonelist::PrintAsHeld(line, s.*(slot.current));
      files.Print(kSettingsFile, line.str());
    }
    files.Print(kSettingsFile, s.SamplePath);
    common::PrintedLine counter;
    tonelist::PrintAsHeld(counter, s.SnapshotCounter);
    files.Print(kSettingsFile, counter.str());
    files.Close(kSettingsFile);
  } catch (const common::RuntimeError&) {
    // Failures are ignored; while the file is open for reading nothing is written. A new text
    // that failed half-way is dropped, and the old file stays whole.
    if (opened) files.Discard(kSettingsFile);
  }
}

void ConverterWindow::ShowSineMode() {
  const bool sine = state.Sine == "j";
  for (int i = 4; i <= 8; ++i) Text[i]->SetBackColour(sine ? kGrey : kPaleGrey);
  Label9.SetCaption(sine ? "Sinus-Lautstärkefaktor" : "FOF-Lautstärkefaktor");
}

void ConverterWindow::ShowSampleMode() {
  const forms::Colour c = SettingNumber(state.SampleLoudnessFactor) == 0 ? kPaleGrey : kSampleOn;
  for (forms::Control* control :
       std::initializer_list<forms::Control*>{Text[10], Text[11], &Command11, &Command12})
    control->SetBackColour(c);
}

void ConverterWindow::ExtractSampleName(const std::string& samplePath) {
  // The file name after the last "\" without its last four characters (the extension). A Linux
  // path ("/") is cut the same way, and a name shorter than four characters is shown whole.
  const size_t slash = samplePath.find_last_of("\\/");
  std::string name = slash == std::string::npos ? samplePath : samplePath.substr(slash + 1);
  // Count characters, not the bytes of UTF-8.
  std::vector<size_t> starts;
  for (size_t i = 0; i < name.size(); ++i)
    if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80) starts.push_back(i);
  if (starts.size() >= 4) name.resize(starts[starts.size() - 4]);
  state.SampleName = name;
}

std::string ConverterWindow::RunCaption() const {
  return "Ormila " + state.VersionText + "      Gelesene Datei: " + state.ProjectName +
         ".rpp      Spur: " + state.TrackName;
}

std::string ConverterWindow::BoxCaption() const {
  return "Ormila " + state.VersionText + " - Reaper-Datei:  " + state.ProjectPath +
         " - Spurname:  " + state.TrackName;
}

}  // namespace envelope
