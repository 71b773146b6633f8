// The REAPER project reader: the project's lines, the named track, its volume envelope, the
// envelope's first and last point line, and the marker lines. Every item is the first line,
// searching forward, that contains a fixed text; REAPER's block nesting is not parsed.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "common/errors.h"
#include "envelope/converter_window.h"
#include "platform/drive_map.h"
#include "platform/file_table.h"

namespace envelope {
namespace {

// The project file's number while it is open; no other file of the converter uses it.
constexpr int kProjectFile = 6;

// Something of the name exists that is no file (a folder, a pipe, a device).
bool ExistsButIsNoFile(std::string_view path) {
  const std::filesystem::path host = platform::Drives().ToHost(path);
  std::error_code ec;
  return std::filesystem::exists(host, ec) && !std::filesystem::is_regular_file(host, ec);
}

bool Contains(std::string_view line, std::string_view text) {
  return line.find(text) != std::string_view::npos;
}

// The searches through the whole file find their line in one pass over the project's text; the
// cursors are then left where a line-by-line search from line `from` leaves them when it finds
// nothing: behind the last line, with that line as the current one.
void LeaveCursorsBehindLastLine(ConverterState& s, long from) {
  if (from > s.ProjectLineCount) {
    s.LineCursor = from;
    return;
  }
  s.LineCursor = s.ProjectLineCount + 1;
  s.CurrentLine = ProjectLine(s, s.ProjectLineCount);
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
    const std::string_view line = ProjectLine(s, n);
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
    // The whole text is taken in one piece; Zl's lines are views into it.
    bool more = false;
    const long count = s.Zl.Take(files.InputRest(kProjectFile), kProjectLineCapacity, more);
    s.LineCursor = count;
    s.ProjectLineCount = count;
    if (count > 0) s.CurrentLine = s.Zl[static_cast<size_t>(count)];
    // Zl holds lines 1 to 1000000; a longer project cannot be read.
    if (more) common::Raise(common::kSubscriptOutOfRange);
    files.Close(kProjectFile);
  } catch (const common::RuntimeError&) {
    ShowError(s.ProjectPath +
              (ExistsButIsNoFile(s.ProjectPath) ? " ist keine Datei." : " existiert nicht."));
    s.ProjectMissing = true;
    Testlist.Clear();  // cleared only: its colour stays
    ClearDisplayLists(false);
    files.Close(kProjectFile);
  }
}

void ConverterWindow::FindTrackByName() {
  ConverterState& s = state;
  const std::string& name = s.TrackName;
  // Only a line with "NAME" can qualify. The name may stand at the position of the line's first
  // "NAME" or anywhere behind it; a longer name that begins with TrackName matches too, and an
  // empty TrackName matches at "NAME" itself. The first qualifying line wins.
  for (long from = 1;;) {
    const ProjectLines::Found word = s.Zl.Find("NAME", from, s.ProjectLineCount);
    if (word.line == 0) break;
    const std::string_view line = s.Zl[static_cast<size_t>(word.line)];
    const size_t at = line.find(name, word.at);
    if (at != std::string_view::npos) {
      s.LineCursor = word.line;
      s.CurrentLine = line;
      s.CharCursor = static_cast<long>(at) + 1;
      s.TrackLine = word.line;
      return;
    }
    from = word.line + 1;
  }
  LeaveCursorsBehindLastLine(s, 1);
  // The character cursor stands on the last character of the last line that has one.
  for (long n = s.ProjectLineCount; n >= 1; --n) {
    if (!ProjectLine(s, n).empty()) {
      s.CharCursor = static_cast<long>(ProjectLine(s, n).size());
      break;
    }
  }
  ShowError("Spur mit Namen " + s.TrackName + " existiert nicht im Reaperfile " + s.ProjectName);
  ClearDisplayLists(true);
  s.TrackMissing = true;
}

void ConverterWindow::FindVolumeEnvelope() {
  ConverterState& s = state;
  const long from = s.TrackLine < 1 ? 1 : s.TrackLine;
  const long found = s.Zl.Find("<VOLENV2", from, s.ProjectLineCount).line;
  if (found > 0) {
    s.LineCursor = found;
    s.CurrentLine = s.Zl[static_cast<size_t>(found)];
    s.EnvelopeLine = found;
    return;
  }
  LeaveCursorsBehindLastLine(s, from);
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
  // Implementer's note: Markerfeld holds 12000 markers; the markers behind the 12000th are not
  // stored (and so never matched), instead of running past the array.
  for (long from = 1; s.MarkerCount < kMarkerCapacity;) {
    const ProjectLines::Found marker = s.Zl.Find("MARKER", from, s.ProjectLineCount);
    if (marker.line == 0) break;
    const std::string_view line = s.Zl[static_cast<size_t>(marker.line)];
    // A line in which "MARKER" occurs twice is entered twice.
    for (size_t at = marker.at; at != std::string_view::npos && s.MarkerCount < kMarkerCapacity;
         at = line.find("MARKER", at + 1)) {
      ++s.MarkerCount;
      s.Markerfeld[static_cast<size_t>(s.MarkerCount)] = line;
    }
    from = marker.line + 1;
  }
  LeaveCursorsBehindLastLine(s, 1);
}

}  // namespace envelope
