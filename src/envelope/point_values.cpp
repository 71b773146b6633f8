// Point values and marker frequencies: the time and level of every point of the range from its
// point line, and its pitch and timbre from the marker at the same time (or from the point before).
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.h"
#include "common/numbers.h"
#include "envelope/converter_window.h"

namespace envelope {
namespace {

// The last project line whose point all four working arrays can hold (KL is the shortest).
constexpr long kLastHeldLine = kTimbreLineCapacity;
// Marker times and names are looked for within the first 100 characters of the line.
constexpr size_t kMarkerScanLength = 100;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte index of the line's last character (0 for an empty line).
size_t LastCharacterStart(const std::string& line) {
  if (line.empty()) return 0;
  size_t i = line.size() - 1;
  while (i > 0 && IsContinuationByte(line[i])) --i;
  return i;
}

// Byte index behind the first `count` characters of the line (the line's length when shorter).
size_t ByteLimit(const std::string& line, size_t count) {
  size_t i = 0;
  for (size_t chars = 0; i < line.size() && chars < count; ++chars) {
    ++i;
    while (i < line.size() && IsContinuationByte(line[i])) ++i;
  }
  return i;
}

// The characters from `from` up to the next blank, without it, never the line's last character.
std::string FieldBeforeLastCharacter(const std::string& line, size_t from, size_t* stop) {
  const size_t last = LastCharacterStart(line);
  size_t i = std::min(from, line.size());
  while (i < last && line[i] != ' ') ++i;
  if (stop) *stop = i;
  return i > from ? line.substr(from, i - from) : std::string();
}

// Keep rule: while the variation editor's values are shown (InfoPage not 0 and VariationActive),
// a value read from the project does not replace the working value.
bool KeepsWorkingValues(const ConverterState& s) { return s.InfoPage != 0 && s.VariationActive; }

// The time field of a marker line: behind "MARKER " (which must begin within the first 100
// characters) the marker number up to a blank, then the time up to and including the next blank.
struct MarkerTimeField {
  bool found = false;        // "MARKER " within the first 100 characters
  std::string time;          // with its trailing blank
  size_t next = 0;           // byte index behind the time's blank
  bool hasBlank = false;     // the time is followed by a blank
  bool beyondLimit = false;  // the scan ended beyond the 100th character
};

MarkerTimeField ScanMarkerTime(const std::string& line) {
  MarkerTimeField f;
  const size_t limit = ByteLimit(line, kMarkerScanLength);
  const size_t at = line.find("MARKER ");
  if (at == std::string::npos || at >= limit) {
    // The scan ran to the 100th character or to the line's end.
    f.beyondLimit = line.size() > limit;
    return f;
  }
  f.found = true;
  size_t i = at + 7;
  while (i < line.size() && line[i] != ' ') ++i;  // the marker number
  if (i < line.size()) ++i;
  const size_t from = i;
  while (i < line.size() && line[i] != ' ') ++i;
  f.hasBlank = i < line.size();
  f.next = f.hasBlank ? i + 1 : i;
  f.time = line.substr(from, f.next - from);
  // The last byte the scan looked at: the time's blank, or the line's last byte.
  const size_t lastExamined = f.hasBlank ? i : line.size() - 1;
  f.beyondLimit = lastExamined >= limit;
  return f;
}

}  // namespace

double ConverterWindow::ProjectNumber(std::string_view field, const std::string& lineText) {
  ConverterState& s = state;
  const double number = common::LeadingNumberOrInfinity(field);
  if (std::isfinite(number)) return number;
  if (!s.ValueTooLarge) {
    long number = 0;
    for (long n = 1; n <= s.ProjectLineCount && number == 0; ++n)
      if (ProjectLine(s, n) == lineText) number = n;
    std::string where = number > 0 ? "Zeile " + std::to_string(number) + " der Reaperdatei "
                                   : "Eine Zeile der Reaperdatei ";
    std::string value(field);
    while (!value.empty() && value.back() == ' ') value.pop_back();
    ShowError(where + s.ProjectPath + " enthält eine zu große Zahl (" + value +
              "): " + lineText.substr(std::min(lineText.find_first_not_of(' '), lineText.size())));
  }
  s.ValueTooLarge = true;
  return 0;
}

void ConverterWindow::ReadPointValues() {
  ConverterState& s = state;
  // Lines beyond the arrays are not read (CheckRangeBounds stops a run before that).
  const long last = std::min(s.RangeEndLine, kLastHeldLine);
  for (s.LineCursor = std::max(s.RangeStartLine, 1L); s.LineCursor <= last; ++s.LineCursor) {
    s.CurrentLine = ProjectLine(s, s.LineCursor);
    ParsePointTimeField();
    if (!s.NotPointLine) ParsePointValueField();
  }
}

void ConverterWindow::ParsePointTimeField() {
  ConverterState& s = state;
  const std::string& line = s.CurrentLine;
  std::string time;
  const size_t at = line.find("PT ");
  if (at == std::string::npos) {
    s.NotPointLine = true;
  } else {
    size_t stop = 0;
    time = FieldBeforeLastCharacter(line, at + 3, &stop);
    s.ValueFieldStart = static_cast<long>(stop) + 2;  // 1-based position behind the blank
  }
  const long p = s.LineCursor;
  if (p < 0 || p > kPointLineCapacity) return;
  const size_t i = static_cast<size_t>(p);
  if (!KeepsWorkingValues(s)) s.ZP[i] = ProjectNumber(time, line);
  s.ZPRead[i] = s.ZP[i];
}

void ConverterWindow::ParsePointValueField() {
  ConverterState& s = state;
  const size_t from = s.ValueFieldStart >= 1 ? static_cast<size_t>(s.ValueFieldStart - 1) : 0;
  const std::string value = FieldBeforeLastCharacter(s.CurrentLine, from, nullptr);
  const long p = s.LineCursor;
  if (p < 0 || p > kPointLineCapacity) return;
  const size_t i = static_cast<size_t>(p);
  if (!KeepsWorkingValues(s)) s.LT[i] = ProjectNumber(value, s.CurrentLine);
  s.LTRead[i] = s.LT[i];
}

void ConverterWindow::ReadMarkers() {
  ConverterState& s = state;
  for (int m = 1; m <= s.MarkerCount; ++m) {
    s.CurrentLine = s.Markerfeld[static_cast<size_t>(m)];
    if (s.NoMarkerFound) break;
    ParseMarkerTime(m);
    ParseMarkerName(m);
  }
}

void ConverterWindow::ParseMarkerTime(int m) {
  ConverterState& s = state;
  if (m < 1 || m > kMarkerTimeCapacity) return;
  const MarkerTimeField f = ScanMarkerTime(s.CurrentLine);
  // A line without "MARKER " keeps an empty time, which matches no point.
  s.Markerzeiten[static_cast<size_t>(m)] = f.time;
  if (f.beyondLimit) s.NoMarkerFound = true;
}

void ConverterWindow::ParseMarkerName(int m) {
  ConverterState& s = state;
  if (m < 1 || m > kMarkerCapacity) return;
  const std::string& line = s.CurrentLine;
  std::string& name = s.Markerfreq[static_cast<size_t>(m)];
  name.clear();  // no name of an earlier project stays behind
  const size_t limit = ByteLimit(line, kMarkerScanLength);
  bool quoted = false;
  // Positions 1 to 100: the text between a double quote and the next one (or the line end); a
  // later quoted text that begins within the first 100 positions replaces an earlier one.
  for (size_t i = 0; i < limit; ++i) {
    if (line[i] != '"') continue;
    quoted = true;
    size_t close = line.find('"', i + 1);
    if (close == std::string::npos) close = line.size();
    name = line.substr(i + 1, close - i - 1);
    i = close;
  }
  if (quoted) return;
  // Today's REAPER quotes a name only when it holds a blank or is empty ("MARKER 2 7.25 440 0 0 1
  // B {...}"): without a quote the name is the word behind the time field.
  const MarkerTimeField f = ScanMarkerTime(line);
  if (!f.found || !f.hasBlank) return;
  const size_t end = std::min(line.find(' ', f.next), line.size());
  name = line.substr(f.next, end - f.next);
}

void ConverterWindow::AssignMarkerFrequencies() {
  ConverterState& s = state;
  const bool keep = KeepsWorkingValues(s);
  const long last = std::min(s.RangeEndLine, kLastHeldLine);
  // Each marker's time rounded as the points' times are, read once for all points; none for a
  // marker that matches no point.
  std::vector<std::optional<double>> markerTimes(
      static_cast<size_t>(std::max<int>(s.MarkerCount, 0)) + 1);
  for (int m = 1; m <= s.MarkerCount; ++m) {
    const std::string& time = s.Markerzeiten[static_cast<size_t>(m)];
    // A marker without a time (its line has no "MARKER ") matches no point; an empty one
    // would read as 0 s.
    if (time.empty()) continue;
    // A marker with an empty name (REAPER's region ends are such markers) gives no
    // frequencies: the point is one without a marker and keeps those of the point before.
    if (s.Markerfreq[static_cast<size_t>(m)].empty()) continue;
    const double markerTime = ProjectNumber(time, s.Markerfeld[static_cast<size_t>(m)]);
    if (s.ValueTooLarge) return;
    markerTimes[static_cast<size_t>(m)] = common::RoundToStep(markerTime, 10000);
  }
  for (long p = std::max(s.RangeStartLine, 1L); p <= last; ++p) {
    const size_t i = static_cast<size_t>(p);
    const double pointTime = common::RoundToStep(s.ZP[i], 10000);
    bool matched = false;
    for (int m = 1; m <= s.MarkerCount; ++m) {
      const std::optional<double>& time = markerTimes[static_cast<size_t>(m)];
      if (!time || *time != pointTime) continue;
      const std::string& name = s.Markerfreq[static_cast<size_t>(m)];
      const std::string& markerLine = s.Markerfeld[static_cast<size_t>(m)];
      matched = true;
      // The first word is the pitch, the next one (after one or more blanks) the timbre.
      const size_t blank = name.find(' ');
      const std::string pitchWord = name.substr(0, blank);
      if (!keep) s.HT[i] = ProjectNumber(pitchWord, markerLine);
      if (s.ValueTooLarge) return;
      if (s.HT[i] == 0)
        ShowError("Frequenzmarker enthält Buchstaben oder sonstige Zeichen außer Zahlen");
      std::string timbreWord;
      if (blank != std::string::npos) {
        const size_t from = std::min(name.find_first_not_of(' ', blank), name.size());
        timbreWord = name.substr(from, name.find(' ', from) - from);
      }
      if (!keep) s.KL[i] = ProjectNumber(timbreWord, markerLine);
      if (s.ValueTooLarge) return;
      // A single number gives the same frequency for pitch and timbre.
      if (s.KL[i] == 0) s.KL[i] = s.HT[i];
    }
    if (p == s.RangeStartLine && (!matched || s.HT[i] == 0)) {
      ShowError(
          "Beim ersten Kurvenwert steht kein Frequenzmarker oder die Frequenzangabe ist ungültig!");
      s.FrequencyError = true;
    }
    if (!matched) {
      // Whatever the keep rule says: a marker's frequencies hold until the next marker.
      s.HT[i] = s.HT[i - 1];
      s.KL[i] = s.KL[i - 1];
    }
    s.HTRead[i] = s.HT[i];
    s.KLRead[i] = s.KL[i];
  }
}

}  // namespace envelope
