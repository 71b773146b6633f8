// The range of point lines that becomes a tone list: between the two points selected in REAPER,
// within the project's time selection, or the whole envelope but its first point.
#include <string>
#include <string_view>
#include <utility>

#include "common/numbers.h"
#include "envelope/converter_window.h"

namespace envelope {
namespace {

constexpr forms::Colour kAutoRangeColour = 0xB3B3FF;

bool EndsWith(const std::string& line, std::string_view tail) {
  return line.size() >= tail.size() &&
         line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

void ConverterWindow::ParsePointTime() {
  ConverterState& s = state;
  const std::string& line = s.CurrentLine;
  s.ParsedPointTime.clear();
  // Behind every "PT ": the characters up to and including the next blank, or to the line end.
  for (size_t at = line.find("PT "); at != std::string::npos; at = line.find("PT ", at + 1)) {
    const size_t from = at + 3;
    const size_t blank = line.find(' ', from);
    const size_t to = blank == std::string::npos ? line.size() : blank + 1;
    s.ParsedPointTime += line.substr(from, to - from);
  }
}

void ConverterWindow::TakeMarkedPointRange() {
  ConverterState& s = state;
  enum class Failure { None, TooMany, NoneMarked, OneOnly };
  Failure failure = Failure::None;
  int selected = 0;
  // The envelope's first point line is never examined: a selected first point does not count.
  for (s.LineCursor = s.FirstPointLine + 1; s.LineCursor <= s.LastPointLine; ++s.LineCursor) {
    s.CurrentLine = ProjectLine(s, s.LineCursor);
    // REAPER ends the line of a selected point with its selection field: "... 0 1".
    if (!EndsWith(s.CurrentLine, "0 1")) continue;
    ++selected;
    if (selected == 1) {
      s.RangeStartLine = s.LineCursor;
    } else if (selected == 2) {
      s.RangeEndLine = s.LineCursor;
    } else {
      failure = Failure::TooMany;
      break;
    }
  }
  if (selected == 0) failure = Failure::NoneMarked;
  if (selected == 1) failure = Failure::OneOnly;
  if (failure == Failure::None) return;

  const char* text = "";
  switch (failure) {
    case Failure::TooMany:
      text =
          "Es wurden mehr als zwei Punkte markiert! Genau zwei Punkte als Anfang und Ende "
          "markieren!";
      break;
    case Failure::NoneMarked:
      text =
          "Es wurde überhaupt kein Punkt markiert! Genau zwei Punkte als Anfang und Ende "
          "markieren!";
      break;
    case Failure::OneOnly:
      text = "Es fehlt die zweite Markierung! Genau zwei Punkte als Anfang und Ende markieren!";
      break;
    case Failure::None:
      break;
  }
  ShowError(text);
  s.RangeError = true;
  ClearDisplayLists(true);
  s.RangeStartLine = 0;
  s.RangeEndLine = 0;
}

void ConverterWindow::TakeSelectionRange() {
  ConverterState& s = state;
  // Worked out afresh: nothing of an earlier run's selection or range is used.
  s.SelectionLine.clear();
  s.SelectionStart.clear();
  s.SelectionEnd.clear();
  bool valid = false;
  long startLine = 0, endLine = 0;

  // The line counters are wide: a project may have far more than 32767 lines.
  const long selection = s.Zl.Find("SELECTION", 1, s.ProjectLineCount).line;
  if (selection > 0) {
    s.SelectionLine = ProjectLine(s, selection);
    const std::string& line = s.SelectionLine;
    size_t i = line.find("SELECTION") + 9;
    while (i < line.size() && line[i] == ' ') ++i;
    const size_t startFrom = i;
    while (i < line.size() && line[i] != ' ') ++i;
    s.SelectionStart = line.substr(startFrom, i - startFrom);
    while (i < line.size() && line[i] == ' ') ++i;
    s.SelectionEnd = line.substr(i);
    valid = !s.SelectionStart.empty() && !s.SelectionEnd.empty();
  }
  if (valid) {
    double start = ProjectNumber(s.SelectionStart, s.SelectionLine);
    double end = ProjectNumber(s.SelectionEnd, s.SelectionLine);
    if (s.ValueTooLarge) return;
    if (start > end) std::swap(start, end);  // REAPER also saves selections end first
    bool endReached = false;
    for (s.LineCursor = s.FirstPointLine < 1 ? 1 : s.FirstPointLine;
         s.LineCursor <= s.LastPointLine; ++s.LineCursor) {
      s.CurrentLine = ProjectLine(s, s.LineCursor);
      ParsePointTime();
      const double time = ProjectNumber(s.ParsedPointTime, s.CurrentLine);
      if (s.ValueTooLarge) return;
      if (startLine == 0 && time >= start) startLine = s.LineCursor;
      // A point exactly at the selection's end is not in the range.
      if (time >= end) {
        endLine = s.LineCursor - 1;
        endReached = true;
        break;
      }
    }
    if (!endReached) endLine = s.LastPointLine;
    // At least two points: the comparison is of line numbers.
    valid = startLine > 0 && endLine > startLine;
  }
  if (valid) {
    s.RangeStartLine = startLine;
    s.RangeEndLine = endLine;
    return;
  }
  ShowError("Die Auswahlklammer (Selection) ist falsch oder nicht vorhanden");
  s.RangeError = true;
  ClearDisplayLists(false);  // Testlist keeps its contents
  s.RangeStartLine = 1;
  s.RangeEndLine = 2;
}

void ConverterWindow::TakeWholeEnvelopeRange() {
  ConverterState& s = state;
  FindPointLines();
  s.StoredStartLine = SettingValue::Number(static_cast<double>(s.FirstPointLine + 1));
  s.StoredStopLine = SettingValue::Number(static_cast<double>(s.LastPointLine));
  WriteStartStopFile(s.StoredStartLine.AsNumber(), s.StoredStopLine.AsNumber());
  if (s.AutoPoints) StartStoppLos.SetBackColour(kAutoRangeColour);
  // All points but the envelope's first.
  s.RangeStartLine = s.FirstPointLine + 1;
  s.RangeEndLine = s.LastPointLine;
  s.RangeError = false;
}

void ConverterWindow::CheckRangeBounds() {
  ConverterState& s = state;
  // ShowExtractedValues reads KL, which holds lines up to 10000, for every point of the range;
  // a tone list holds at most 2730 points.
  const long points = s.RangeEndLine - s.RangeStartLine + 1;
  if (s.RangeEndLine <= kTimbreLineCapacity && points <= kToneListPointCapacity) return;
  s.RangeTooLarge = true;
  ShowError("Der Bereich ist zu groß: höchstens " + std::to_string(kToneListPointCapacity) +
            " Punkte bis Zeile " + std::to_string(kTimbreLineCapacity) +
            " der Reaperdatei (Bereich: Zeilen " + std::to_string(s.RangeStartLine) + " bis " +
            std::to_string(s.RangeEndLine) + ")");
  ClearDisplayLists(true);
}

}  // namespace envelope
