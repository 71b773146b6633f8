// The REAPER projects the converter writes from the current range: the copy ("Copy"), which holds
// the range twice in a row, and the snapshot project, which holds it once at its own times. Both
// are the four templates with the range's markers, the track name and its points between them.
#include <functional>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/numbers.h"
#include "envelope/converter_window.h"
#include "platform/dialogs.h"
#include "platform/file_table.h"

namespace envelope {
namespace {

constexpr forms::Colour kWhite = 0xFFFFFF;

// One run through the range: the time a line's rounded time t is written at, and which of the
// range's lines is written as a selected point.
struct RangePass {
  std::function<double(double)> time;
  bool selectFirst;
  bool selectLast;
};

// A range line's time: four decimals, half up.
double RoundedTime(const ConverterState& s, long i) {
  return common::RoundToStep(s.ZP[static_cast<size_t>(i)], 10000);
}

// The factor that brings the loudest point of the range to 2. A range without a positive level
// has no loudest point: its levels are written as 0.
double LevelScale(const ConverterState& s) {
  double peak = 0;
  for (long i = s.RangeStartLine; i <= s.RangeEndLine; ++i)
    if (s.LT[static_cast<size_t>(i)] > peak) peak = s.LT[static_cast<size_t>(i)];
  return peak > 0 ? 2.0 / peak : 0.0;
}

// A value of ZP, LT or HT at a project line, 0 outside the arrays.
double ValueAt(const std::vector<double>& values, long line) {
  return line >= 0 && line < static_cast<long>(values.size()) ? values[static_cast<size_t>(line)]
                                                               : 0.0;
}

// The reason the lines are no whole REAPER project, empty when they are one. A line that begins
// with "<" (after its indent) opens a block and a line ">" closes the last one open; the project
// is the block of its first line, which only its last line closes. A template cut short (a disk
// that was full when it was written) leaves blocks open.
std::string BlockFault(const std::vector<std::string>& lines) {
  size_t last = lines.size();  // behind the last line that is not blank
  while (last > 0 && lines[last - 1].find_first_not_of(' ') == std::string::npos) --last;
  int opened = 0, closed = 0;
  bool firstOpens = false, endsEarly = false;
  for (size_t n = 0; n < last; ++n) {
    const std::string& line = lines[n];
    const size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    if (line[first] == '<') ++opened;
    else if (line.compare(first, std::string::npos, ">") == 0) ++closed;
    else continue;
    if (n == 0) firstOpens = opened == 1;
    if (opened <= closed && n + 1 < last) endsEarly = true;
  }
  if (opened != closed)
    return std::to_string(opened) + " Blöcke geöffnet, " + std::to_string(closed) +
           " geschlossen";
  if (!firstOpens) return "die erste Zeile öffnet keinen Block";
  if (endsEarly) return "der Projektblock endet vor der letzten Zeile";
  return {};
}

// A generated project: the four templates with the range's markers, the track name and its
// points between them, checked to be whole before anything is written.
class GeneratedProject {
 public:
  GeneratedProject(ConverterWindow& w, std::vector<RangePass> passes)
      : w_(w), passes_(std::move(passes)) {}

  // The lines as they will be written; raises when a template cannot be read, when the range
  // lies beyond the arrays, or when the lines are no whole project (error 75, naming the reason).
  std::vector<std::string> Lines() {
    const ConverterState& s = w_.state;
    // The arrays hold project lines up to KL's bound; a range beyond them cannot be written.
    if (s.RangeStartLine <= s.RangeEndLine &&
        (s.RangeStartLine < 1 || s.RangeEndLine > kTimbreLineCapacity))
      common::Raise(common::kSubscriptOutOfRange);
    const double scale = LevelScale(s);
    std::vector<std::string> lines;
    AddTemplate(lines, "Grundtext1");
    int marker = 0;
    for (const RangePass& pass : passes_) {
      for (long i = s.RangeStartLine; i <= s.RangeEndLine; ++i) {
        const size_t n = static_cast<size_t>(i);
        const bool changed =
            i == s.RangeStartLine || s.HT[n] != s.HT[n - 1] || s.KL[n] != s.KL[n - 1];
        if (!changed) continue;
        lines.push_back("  MARKER " + std::to_string(++marker) + " " +
                        common::DoubleText(pass.time(RoundedTime(s, i))) + "  \"" +
                        common::DoubleText(s.HT[n]) + "  " + common::DoubleText(s.KL[n]) +
                        "\" 0");
      }
    }
    AddTemplate(lines, "Grundtext2");
    lines.push_back("    NAME \"R-01\"");
    AddTemplate(lines, "Grundtext3");
    // The lead-in point carries the level of the range's last point.
    lines.push_back("      PT 0.5 " + common::DoubleText(ValueAt(s.LT, s.RangeEndLine) * scale) +
                    " 0");
    for (const RangePass& pass : passes_) {
      for (long i = s.RangeStartLine; i <= s.RangeEndLine; ++i) {
        const size_t n = static_cast<size_t>(i);
        const bool selected = (pass.selectFirst && i == s.RangeStartLine) ||
                              (pass.selectLast && i == s.RangeEndLine);
        lines.push_back("      PT " + common::DoubleText(pass.time(RoundedTime(s, i))) + " " +
                        common::DoubleText(s.LT[n] * scale) + (selected ? " 0 0 1" : " 0"));
      }
    }
    AddTemplate(lines, "Grundtext4");
    const std::string fault = BlockFault(lines);
    if (!fault.empty())
      throw common::RuntimeError(
          common::kPathFileAccessError,
          "die Vorlagen Grundtext1 bis Grundtext4 in " + s.WorkFolder +
              " ergeben kein ganzes REAPER-Projekt: " + fault +
              "; beim nächsten Start schreibt Ormila sie neu");
    return lines;
  }

  // `beforePuttingInPlace` runs when the new project is complete beside its target, before it
  // replaces the target; when it fails, the new project is dropped. Nothing is written when the
  // lines cannot be made.
  void Write(const std::string& path, const std::function<void()>& beforePuttingInPlace = {}) {
    const std::vector<std::string> lines = Lines();
    const int out = w_.files.FreeFile();
    w_.files.OpenOutputReplacing(out, path);
    try {
      for (const std::string& line : lines) w_.files.Print(out, line);
      if (beforePuttingInPlace) beforePuttingInPlace();
    } catch (const common::RuntimeError&) {
      // The project is written whole or not at all: an older file of the name stays as it was.
      w_.files.Discard(out);
      throw;
    }
    w_.files.Close(out);
  }

 private:
  // Every line of the template (also a last one stored without a line end).
  void AddTemplate(std::vector<std::string>& lines, const char* name) {
    const int in = w_.files.FreeFile();
    w_.files.OpenInput(in, w_.state.WorkFolder + name);
    try {
      while (!w_.files.Eof(in)) lines.push_back(w_.files.LineInput(in));
    } catch (const common::RuntimeError&) {
      w_.files.Close(in);
      throw;
    }
    w_.files.Close(in);
  }

  ConverterWindow& w_;
  std::vector<RangePass> passes_;
};

GeneratedProject SnapshotProject(ConverterWindow& w) {
  // The range once, at its own times one second later; its first and last point selected.
  return GeneratedProject(w, {{[](double t) { return t + 1.0; }, true, true}});
}

}  // namespace

bool ConverterWindow::LastRunSucceeded() const {
  const ConverterState& s = state;
  // RangeConverted: the run went through to its tone list (a stop that sets no flag, such as an
  // empty setting or a value too wide, leaves it clear).
  return s.RangeConverted &&
         !(s.ProjectMissing || s.TrackMissing || s.RangeError || s.NotPointLine ||
           s.NoMarkerFound || s.FrequencyError || s.EnvelopeMissing || s.RangeTooLarge ||
           s.ValueTooLarge);
}

void ConverterWindow::WriteSnapshotProject() {
  SnapshotProject(*this).Write(state.SnapshotProjectPath);
}

void ConverterWindow::CheckSnapshotProject() {
  SnapshotProject(*this).Lines();
}

void ConverterWindow::WriteCopyProject() {
  // The range from 2 s on, then again CopyOffset later; the first point of the first copy and
  // the last point of the second are selected. A copy of the same name that exists already may
  // have been edited: once the new one is complete, the old one is kept as "...c.rpp-bak".
  const ConverterState& s = state;
  GeneratedProject(*this,
                   {{[&s](double t) { return t - s.CopyStart + 2; }, true, false},
                    {[&s](double t) { return t - s.CopyStart + 2 + s.CopyOffset; }, false, true}})
      .Write(s.CopyProjectPath, [&s] {
        if (platform::FileExists(s.CopyProjectPath))
          platform::CopyFile(s.CopyProjectPath, s.CopyProjectPath + "-bak");
      });
}

void ConverterWindow::kopieren_Click() {
  ConverterState& s = state;
  // 1. A distance that is not a number stops the copy before anything is run or written.
  if (!common::IsStrictNumber(Abstandstext.text())) {
    ShowError("Der Abstand \"" + Abstandstext.text() +
              "\" ist keine Zahl. Bitte den Abstand der Kopie in Sekunden eintragen.");
    return;
  }
  s.CopyDistance = common::StrictNumber(Abstandstext.text());
  if (s.CopyDistance < 0) {
    s.CopyDistance = 0;
    Abstandstext.SetText("0");
  }
  // 2. A run for fresh values that starts no compiler build.
  s.InfoPage = -1;
  const int errorsBefore = ErrorsShown();
  Command3_Click();
  // 3-4.
  s.CopyProjectPath = "c:\\Arbeit\\" + Text[1]->text() + "c" + ".rpp";
  s.CopyStart = ValueAt(s.ZP, s.RangeStartLine);
  s.CopyEnd = ValueAt(s.ZP, s.RangeEndLine);
  s.CopyOffset = (s.CopyEnd - s.CopyStart) + s.CopyDistance;
  // 5. Only the values of a run that went through are copied. A run that has reported its own
  // failure gets no second message; one that stopped silently (a bad point line) gets this one.
  if (!LastRunSucceeded()) {
    if (ErrorsShown() == errorsBefore)
      ShowError("Der Lauf ist nicht fehlerfrei zu Ende gegangen: " + s.CopyProjectPath +
                " wurde nicht geschrieben.");
    return;
  }
  // The project is written first; the name box and the clipboard change only when it is there.
  try {
    WriteCopyProject();
  } catch (const common::RuntimeError& e) {
    ShowError(s.CopyProjectPath + " konnte nicht geschrieben werden (" + e.text() + ").");
    return;
  }
  Testlist.Clear();
  Testlist.SetBackColour(kWhite);
  Testlist.AddItem("");
  Testlist.AddItem(s.CopyProjectPath + " wurde geschrieben.");
  Testlist.AddItem("");
  Text[1]->SetText(Text[1]->text() + "c");
  services.clipboard.SetText(Text[1]->text());
}

void ConverterWindow::ConnectCopyButton() {
  kopieren.onClick = [this] { kopieren_Click(); };
}

}  // namespace envelope
