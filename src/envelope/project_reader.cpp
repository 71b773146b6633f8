// The REAPER project reader: the project's lines, the named track, its volume envelope, the
// envelope's first and last point line, and the marker lines. Every item is the first line,
// searching forward, that contains a fixed text; REAPER's block nesting is not parsed.
#include <string>
#include <string_view>

#include "common/errors.h"
#include "envelope/converter_window.h"
#include "platform/file_table.h"

namespace envelope {
namespace {

// The project file's number while it is open; no other file of the converter uses it.
constexpr int kProjectFile = 6;

bool Contains(const std::string& line, std::string_view text) {
  return line.find(text) != std::string::npos;
}

// Line n of the project as read; beyond the project's lines an empty text (Zl keeps lines of
// an earlier, longer project there, which no search may see).
const std::string& ProjectLine(const ConverterState& s, long n) {
  static const std::string kNone;
  return n >= 1 && n <= s.ProjectLineCount ? s.Zl[static_cast<size_t>(n)] : kNone;
}

// The envelope block behind the head on EnvelopeLine: the first line containing "PT " and the
// first line ending with ">" (0 when not found). The search never goes beyond the project's last
// line. The end line itself does not count as a point line.
struct EnvelopeBlock {
  long firstPoint = 0;
  long end = 0;
  long lastExamined = 0;
};

EnvelopeBlock ScanEnvelopeBlock(const ConverterState& s) {
  EnvelopeBlock block;
  if (s.EnvelopeLine < 1) return block;
  for (long n = s.EnvelopeLine + 1; n <= s.ProjectLineCount; ++n) {
    const std::string& line = ProjectLine(s, n);
    block.lastExamined = n;
    // An empty line has no last character and does not end the block.
    if (!line.empty() && line.back() == '>') {
      block.end = n;
      break;
    }
    if (block.firstPoint == 0 && Contains(line, "PT ")) block.firstPoint = n;
  }
  return block;
}

}  // namespace

void ConverterWindow::LoadProjectLines() {
  ConverterState& s = state;
  try {
    // REAPER writes UTF-8; a file that is not valid UTF-8 is read as Windows-1252.
    files.OpenInput(kProjectFile, s.ProjectPath, platform::Encoding::Utf8OrCp1252);
    s.LineCursor = 0;
    s.ProjectLineCount = 0;
    while (!files.Eof(kProjectFile)) {
      s.CurrentLine = files.LineInput(kProjectFile);
      // Zl holds lines 1 to 1000000; a longer project cannot be read.
      if (s.LineCursor >= kProjectLineCapacity) common::Raise(common::kSubscriptOutOfRange);
      ++s.LineCursor;
      s.Zl[static_cast<size_t>(s.LineCursor)] = s.CurrentLine;
      s.ProjectLineCount = s.LineCursor;
    }
    files.Close(kProjectFile);
  } catch (const common::RuntimeError&) {
    ShowError(s.ProjectPath + " existiert nicht.");
    s.ProjectMissing = true;
    Testlist.Clear();  // cleared only: its colour stays
    ClearDisplayLists(false);
    files.Close(kProjectFile);
  }
}

void ConverterWindow::FindTrackByName() {
  ConverterState& s = state;
  const std::string& name = s.TrackName;
  for (s.LineCursor = 1; s.LineCursor <= s.ProjectLineCount; ++s.LineCursor) {
    s.CurrentLine = ProjectLine(s, s.LineCursor);
    const std::string& line = s.CurrentLine;
    // The name may stand at the position of "NAME" or anywhere behind it; a longer name that
    // begins with TrackName matches too, and an empty TrackName matches at "NAME" itself.
    bool behindName = false;
    bool found = false;
    for (size_t at = 0; at < line.size(); ++at) {
      s.CharCursor = static_cast<long>(at) + 1;
      if (line.compare(at, 4, "NAME") == 0) behindName = true;
      if (behindName && line.compare(at, name.size(), name) == 0) {
        s.TrackLine = s.LineCursor;
        found = true;
        break;
      }
    }
    if (found) return;  // the first qualifying line wins
  }
  ShowError("Spur mit Namen " + s.TrackName + " existiert nicht im Reaperfile " + s.ProjectName);
  ClearDisplayLists(true);
  s.TrackMissing = true;
}

void ConverterWindow::FindVolumeEnvelope() {
  ConverterState& s = state;
  for (s.LineCursor = s.TrackLine < 1 ? 1 : s.TrackLine; s.LineCursor <= s.ProjectLineCount;
       ++s.LineCursor) {
    s.CurrentLine = ProjectLine(s, s.LineCursor);
    if (Contains(s.CurrentLine, "<VOLENV2")) {
      s.EnvelopeLine = s.LineCursor;
      return;
    }
  }
  // No volume envelope at or after the track line: an envelope line of an earlier project would
  // point into lines that mean something else here, so none is kept.
  s.EnvelopeLine = 0;
  s.EnvelopeMissing = true;
}

void ConverterWindow::FindPointLines() {
  ConverterState& s = state;
  const EnvelopeBlock block = ScanEnvelopeBlock(s);
  s.LineCursor = block.lastExamined;
  s.CurrentLine = ProjectLine(s, block.lastExamined);
  if (block.firstPoint > 0 && block.end > 0) {
    s.FirstPointLine = block.firstPoint;
    s.LastPointLine = block.end - 1;
    return;
  }
  // No envelope, no point line or no end of the block: no point lines at all.
  s.FirstPointLine = 0;
  s.LastPointLine = 0;
  s.EnvelopeMissing = true;
}

void ConverterWindow::ReportEnvelopeProblem() {
  const ConverterState& s = state;
  if (!s.EnvelopeMissing) return;
  std::string text;
  if (s.EnvelopeLine < 1) {
    text = "Die Spur " + s.TrackName + " hat keine Lautstärke-Hüllkurve (<VOLENV2) in " +
           s.ProjectName + ".rpp";
  } else if (ScanEnvelopeBlock(s).end == 0) {
    text = "Die Lautstärke-Hüllkurve der Spur " + s.TrackName +
           " ist nicht abgeschlossen (kein \">\")";
  } else {
    text = "Die Lautstärke-Hüllkurve der Spur " + s.TrackName + " hat keine Punkte";
  }
  ShowError(text);
  ClearDisplayLists(true);
}

void ConverterWindow::CollectMarkers() {
  ConverterState& s = state;
  s.MarkerCount = 0;
  for (s.LineCursor = 1; s.LineCursor <= s.ProjectLineCount; ++s.LineCursor) {
    s.CurrentLine = ProjectLine(s, s.LineCursor);
    // A line in which "MARKER" occurs twice is entered twice.
    for (size_t at = s.CurrentLine.find("MARKER"); at != std::string::npos;
         at = s.CurrentLine.find("MARKER", at + 1)) {
      // Implementer's note: Markerfeld holds 12000 markers; the markers behind the 12000th are
      // not stored (and so never matched), instead of running past the array.
      if (s.MarkerCount >= kMarkerCapacity) break;
      ++s.MarkerCount;
      s.Markerfeld[static_cast<size_t>(s.MarkerCount)] = s.CurrentLine;
    }
  }
}

}  // namespace envelope
