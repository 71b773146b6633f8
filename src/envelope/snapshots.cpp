// Keeping results by number: "Snapshot" keeps the rendered sound, the tone list, the settings and
// a REAPER project of the envelope as TesuN.wav/.rsz/.inv/.rpp, "S" keeps the Csound orchestra,
// score and sound as TesuN.orc/.sco/.wav. Every kept sound adds a line to the CDP mix file.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "common/errors.h"
#include "common/numbers.h"
#include "envelope/converter_window.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/drive_map.h"
#include "platform/file_table.h"

namespace envelope {
namespace {

constexpr const char* kRenderedWave = "C:\\Arbeit\\Dozudava.wav";
constexpr const char* kSubmixBatchPath = "c:\\Arbeit\\CDP-Plug.plc";

// The extensions of the files a kept set may have; a number is free when none of them exists.
constexpr const char* kSetExtensions[] = {".wav", ".rsz", ".inv", ".rpp", ".orc", ".sco"};

// "Tesu" and the number in its text form.
std::string SetName(double n) { return "Tesu" + common::DoubleText(n); }

std::string SetPath(double n, const char* extension) {
  return "c:\\Arbeit\\" + SetName(n) + extension;
}

bool SetNumberInUse(double n) {
  for (const char* extension : kSetExtensions)
    if (platform::FileExists(SetPath(n, extension))) return true;
  return false;
}

// The smallest number above the counter whose set files do not exist yet: a kept set is never
// overwritten, also when the counter was not read at start-up.
double NextSetNumber(const SettingValue& counter) {
  double n = common::WholePart(counter.AsLeadingNumber() + 1);
  while (SetNumberInUse(n)) ++n;
  return n;
}

std::uint32_t LittleEndian32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

// A wave file as a finished render leaves it: "RIFF", "WAVE", and a RIFF size that covers the
// whole file. While Csound is still writing, the header does not yet count the sound data.
bool WaveIsComplete(std::string_view path) {
  const std::filesystem::path host = platform::Drives().ToHost(path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(host, ec)) return false;
  const std::uintmax_t size = std::filesystem::file_size(host, ec);
  if (ec || size < 12) return false;
  char header[12];
  std::ifstream in(host, std::ios::binary);
  if (!in.read(header, sizeof header)) return false;
  if (std::string_view(header, 4) != "RIFF" || std::string_view(header + 8, 4) != "WAVE")
    return false;
  const std::uintmax_t covered = std::uintmax_t{LittleEndian32(header + 4)} + 8;
  return covered == size || covered + 1 == size;  // an odd last chunk may keep its pad byte
}

// The line of the CDP mix file for a kept sound: the file, start 0.00, two channels, level 1
// left and level 1 right.
std::string MixLine(const std::string& wavePath) {
  return wavePath + "    0.00    2    1    L    1    R";
}

// clang-format off
constexpr std::string_view kSubmixBatchText[] = {
    "Rem",
    "Rem  Mischen aller Klänge der Mixdatei mit CDP (submix mix)",
    "Rem",
    "Rem  Aufruf:  submix mix  Mixdatei  Ausgabedatei  [-sStart] [-eEnde] [-gFaktor] [-a]",
    "Rem    -sStart   erst ab dieser Zeit der Mixdatei mischen (Sekunden)",
    "Rem    -eEnde    nur bis zu dieser Zeit der Mixdatei mischen (Sekunden)",
    "Rem    -gFaktor  Gesamtlautstärke der Mischung (0 bis 1), gegen Übersteuerung",
    "Rem    -a        anderer Mischalgorithmus (etwas langsamer, übersteuert seltener)",
    "Rem",
    "Rem  Spalten der Mixdatei (eine Zeile je Klang):",
    "Rem    Klangdatei  Startzeit  Kanäle  Pegel  Position  [Pegel  Position]",
    "Rem    Position: L (links), R (rechts), C (Mitte) oder eine Zahl von -1 bis 1",
    "Rem  Beispiele:",
    "Rem    c:\\Arbeit\\Tesu1.wav    0.00    2    1    L    1    R",
    "Rem    c:\\Arbeit\\Tesu2.wav    1.50    1    0.5    C",
    "Rem",
    "Rem  Die Mixdatei C:\\Arbeit\\mix-ormila.txt schreiben die Knöpfe 'Snapshot' und 'S'",
    "Rem  von Ormila: jeder gespeicherte Klang ergibt eine Zeile am Ende der Datei.",
    "Rem",
    "     C:\\cdpr7\\_cdp\\_cdprogs\\submix mix  C:\\Arbeit\\mix-ormila.txt    c:\\arbeit\\outfile.wav   -g0.2  -a",
    "",
    "Rem  Das Ergebnis steht in c:\\arbeit\\outfile.wav.",
    "Rem",
};
// clang-format on

}  // namespace

void ConverterWindow::CreateSnapshotButtons() {
  Command4.SetCaption("Snapshot");
  Command4.SetToolTip(
      "Snapshot: Die Dateien Tesu.wav, Tesu.rsz und Tesu.ini unter neuem Namen speichern - der "
      "neue Name steht im Clipboard! - Zusätzlich wird eine Reaperdatei geschrieben - seit Januar "
      "2019 auch noch eine Mixdarei (mix-ormila.txt)");
  Csoundstore.SetCaption("S");
  Csoundstore.SetToolTip(
      "Snapshot: Die Dateien Tesu.wav, Tesu.rsz und Tesu.ini unter neuem Namen speichern - der "
      "neue Name steht im Clipboard! - Zusätzlich wird eine Reaperdatei geschrieben, und eine "
      "Mixdatei (mix-ormila.txt) wird geschrieben");
  Command4.onClick = [this] { Command4_Click(); };
  Csoundstore.onClick = [this] { Csoundstore_Click(); };
}

namespace {

// Runs the steps of a keep in order; the first that fails shows its message and stops the rest,
// and what was done before stays done.
class KeepSteps {
 public:
  explicit KeepSteps(ConverterWindow& w) : w_(w) {}
  bool ok() const { return ok_; }

  void Copy(const std::string& source, const std::string& target) {
    Run([&] { platform::CopyFile(source, target); },
        source + " konnte nicht nach " + target + " kopiert werden");
  }
  void AppendMixLine(const std::string& wavePath) {
    Run(
        [&] {
          const int f = w_.files.FreeFile();
          try {
            w_.files.OpenAppend(f, w_.MixFilePath());
            w_.files.Print(f, MixLine(wavePath));
            w_.files.Close(f);
          } catch (const common::RuntimeError&) {
            w_.files.Discard(f);
            throw;
          }
        },
        "Die Zeile für " + wavePath + " konnte nicht an " + w_.MixFilePath() +
            " angehängt werden");
  }
  void WriteSnapshotProject() {
    Run([&] { w_.WriteSnapshotProject(); },
        w_.state.SnapshotProjectPath + " konnte nicht geschrieben werden");
  }

 private:
  template <class Step>
  void Run(Step step, const std::string& failure) {
    if (!ok_) return;
    try {
      step();
    } catch (const common::RuntimeError& e) {
      ok_ = false;
      w_.ShowError(failure + " (" + e.text() + ").");
    }
  }

  ConverterWindow& w_;
  bool ok_ = true;
};

// A keep needs a finished render: a missing or half-written sound stops it before anything.
bool RenderedWaveReady(ConverterWindow& w) {
  if (WaveIsComplete(kRenderedWave)) return true;
  w.ShowError(std::string(kRenderedWave) +
              (platform::FileExists(kRenderedWave)
                   ? " ist noch nicht fertig geschrieben (läuft Csound noch?). Nichts gespeichert."
                   : " existiert nicht. Nichts gespeichert."));
  return false;
}

}  // namespace

void ConverterWindow::Command4_Click() {
  ConverterState& s = state;
  if (!s.RunStarted) return;
  // The project of the snapshot is written from the values of the last run: they must be whole.
  if (!LastRunSucceeded()) {
    ShowError(
        "Der letzte Lauf ist nicht fehlerfrei zu Ende gegangen: kein Snapshot geschrieben.");
    return;
  }
  if (!RenderedWaveReady(*this)) return;
  // The set ends with its REAPER project: one that cannot be made whole stops the snapshot
  // before anything is copied or counted.
  try {
    CheckSnapshotProject();
  } catch (const common::RuntimeError& e) {
    ShowError("Das Snapshot-Projekt kann nicht geschrieben werden (" + e.text() +
              "). Nichts gespeichert.");
    return;
  }
  // 1.
  const double n = NextSetNumber(s.SnapshotCounter);
  s.SnapshotCounter = SettingValue::Number(n);
  KeepSteps steps(*this);
  // 2-3: the mix line follows the copy of its sound.
  s.SnapshotWavPath = SetPath(n, ".wav");
  steps.Copy(kRenderedWave, s.SnapshotWavPath);
  steps.AppendMixLine(s.SnapshotWavPath);
  if (!steps.ok()) return;
  // 4.
  SaveSettings();
  // 5-7.
  s.SnapshotToneListPath = SetPath(n, ".rsz");
  steps.Copy("C:\\Arbeit\\Tesu.rsz", s.SnapshotToneListPath);
  s.SnapshotSettingsPath = SetPath(n, ".inv");
  steps.Copy("C:\\Arbeit\\Tesu.ini", s.SnapshotSettingsPath);
  s.SnapshotProjectPath = SetPath(n, ".rpp");
  steps.WriteSnapshotProject();
  if (!steps.ok()) return;
  // 8-9.
  const std::string name = SetName(n) + ".wav";
  services.clipboard.SetText(name);
  Testlist.Clear();
  Testlist.AddItem("Datei " + s.SnapshotWavPath + " und");
  Testlist.AddItem("Datei " + s.SnapshotToneListPath + " und");
  Testlist.AddItem("Datei " + s.SnapshotSettingsPath + " und");
  Testlist.AddItem("Datei " + s.SnapshotProjectPath + " geschrieben.");
  Testlist.AddItem("Im Zwischenspeicher steht " + name + ".");
}

void ConverterWindow::Csoundstore_Click() {
  ConverterState& s = state;
  if (!RenderedWaveReady(*this)) return;
  // 1-2.
  const double n = NextSetNumber(s.SnapshotCounter);
  s.SnapshotCounter = SettingValue::Number(n);
  SaveSettings();
  // 3-5: the mix line follows the copy of its sound.
  KeepSteps steps(*this);
  s.SavedOrchestraPath = SetPath(n, ".orc");
  steps.Copy("C:\\Arbeit\\Dozudava.orc", s.SavedOrchestraPath);
  s.SavedScorePath = SetPath(n, ".sco");
  steps.Copy("C:\\Arbeit\\Dozudava.sco", s.SavedScorePath);
  s.SavedWavPath = SetPath(n, ".wav");
  steps.Copy(kRenderedWave, s.SavedWavPath);
  steps.AppendMixLine(s.SavedWavPath);
  if (!steps.ok()) return;
  // 6-7.
  const std::string name = SetName(n) + ".wav";
  services.clipboard.SetText(name);
  Testlist.Clear();
  Testlist.AddItem("");
  Testlist.AddItem("Dateien " + s.SavedOrchestraPath + ", " + s.SavedScorePath + " ");
  Testlist.AddItem("und " + s.SavedWavPath + " geschrieben.");
}

void ConverterWindow::WriteSubmixBatch() {
  const int f = files.FreeFile();
  files.OpenOutputReplacing(f, kSubmixBatchPath);
  try {
    files.Print(f, "Rem  CDP-Mixbatch, geschrieben von Ormila " + state.VersionText);
    files.Print(f, "Rem  " + services.clock.TimeText() + "  " + services.clock.DateText());
    for (std::string_view line : kSubmixBatchText) files.Print(f, line);
    files.Close(f);
  } catch (const common::RuntimeError&) {
    files.Discard(f);
    throw;
  }
}

}  // namespace envelope
