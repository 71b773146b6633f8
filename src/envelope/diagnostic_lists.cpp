// Listings of the reader's arrays into Testlist, for checking what the project reader and the
// point and marker readers found. No control runs them; they are called from code.
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/numbers.h"
#include "envelope/converter_window.h"

namespace envelope {
namespace {

constexpr forms::Colour kWhite = 0xFFFFFF;
constexpr int kEmptyLinesAfterList = 8;

std::string Number(long n) { return std::to_string(n); }
std::string Number(double v) { return common::DoubleText(v); }

// The heading lines, one empty line, the lines of the list (one per n from first to last, with
// LineCursor as the counter) and eight empty lines.
template <class Line>
void List(ConverterWindow& w, std::initializer_list<std::string> heading, long first, long last,
          Line line) {
  for (const std::string& text : heading) w.Testlist.AddItem(text);
  w.Testlist.AddItem("");
  ConverterState& s = w.state;
  for (s.LineCursor = first; s.LineCursor <= last; ++s.LineCursor)
    w.Testlist.AddItem(line(s.LineCursor));
  for (int n = 0; n < kEmptyLinesAfterList; ++n) w.Testlist.AddItem("");
}

}  // namespace

void ConverterWindow::ShowRelevantTimes() {
  ConverterState& s = state;
  Testlist.AddItem("Zeitwerte zwischen relevanten Punkten:");
  s.LineCursor = 0;
  for (s.CharCursor = s.RangeStartLine; s.CharCursor <= s.RangeEndLine; ++s.CharCursor) {
    ++s.LineCursor;
    Testlist.AddItem(Number(s.LineCursor) + " - " + Number(Element(s.ZP, s.CharCursor)));
  }
  Testlist.AddItem("");
  Testlist.AddItem("");
  Testlist.AddItem("Alle Zeitpunkte, an denen Marker stehen:");
  for (s.LineCursor = 1; s.LineCursor <= s.MarkerCount; ++s.LineCursor)
    Testlist.AddItem(Number(s.LineCursor) + " - " + Element(s.Markerzeiten, s.LineCursor));
}

void ConverterWindow::ShowLineArray() {
  ConverterState& s = state;
  Testlist.Clear();
  Testlist.SetBackColour(kWhite);
  List(*this,
       {"Inhalt des Feldes Zl(). In diesem Feld stehen die Zeilen " + Number(s.RangeStartLine) +
            " bis " + Number(s.RangeEndLine) + " aus der Datei",
        s.ProjectPath + " im Bereich der Lautstärkehüllkurve mit dem Namen " + s.TrackName + ".",
        "Sie enthalten den Teil der Lautstärkehüllkurve, der sich zwischen den beiden",
        "markierten Hüllkurvenpunkten befindet."},
       s.RangeStartLine, s.RangeEndLine,
       [&s](long n) {
         if (n < 0 || n > kProjectLineCapacity) common::Raise(common::kSubscriptOutOfRange);
         return Number(n) + std::string(s.Zl[static_cast<size_t>(n)]);
       });
}

void ConverterWindow::ShowMarkerLines() {
  ConverterState& s = state;
  List(*this,
       {"Feld Markerfeld() - komplette Zeileninhalte der Feldnummern 1 bis " +
        Number(static_cast<long>(s.MarkerCount))},
       1, s.MarkerCount, [&s](long m) { return Number(m) + Element(s.Markerfeld, m); });
}

void ConverterWindow::ShowMarkerTimesArray() {
  ConverterState& s = state;
  List(*this,
       {"Feld Markerzeiten() - alle gespeicherten Markerzeitwerte der Feldnummern 1 bis " +
        Number(static_cast<long>(s.MarkerCount))},
       1, s.MarkerCount,
       [&s](long m) { return "Feldnummer " + Number(m) + "  -  " + Element(s.Markerzeiten, m); });
}

void ConverterWindow::ShowMarkerFrequencies() {
  ConverterState& s = state;
  List(*this,
       {"Feld Markerfreq() - alle gespeicherten MarkerFrequenzwerte der Feldnummern 1 bis " +
        Number(static_cast<long>(s.MarkerCount))},
       1, s.MarkerCount, [&s](long m) { return Element(s.Markerfreq, m); });
}

void ConverterWindow::ShowPitchArray() {
  ConverterState& s = state;
  List(*this,
       {"Feld HT() - alle gespeicherten Tonhöhen der Feldnummern " + Number(s.RangeStartLine) +
        " bis " + Number(s.RangeEndLine)},
       s.RangeStartLine, s.RangeEndLine,
       [&s](long n) { return "Feldnummer " + Number(n) + "  -  " + Number(Element(s.HT, n)); });
}

void ConverterWindow::ListTimeArray() {
  ConverterState& s = state;
  List(*this,
       {"Inhalt des Feldes ZP(). Es enthält die Zeitwerte der Zeilen zwischen den beiden",
        "markierten Lautstärkekurvenpunkten, also den Zeilen " + Number(s.RangeStartLine) +
            " bis " + Number(s.RangeEndLine) + " in " + s.ProjectPath + "."},
       s.RangeStartLine, s.RangeEndLine,
       [&s](long n) { return "Feldnummer " + Number(n) + "  -  " + Number(Element(s.ZP, n)); });
}

void ConverterWindow::ListLoudnessArray() {
  ConverterState& s = state;
  List(*this,
       {"Inhalt des Feldes LT(). Es enthält die Lautstärkewerte aller Zeilen, die den",
        "Bereich zwischen den beiden markierten Punkten in dieser Kurve repräsentieren:"},
       s.RangeStartLine, s.RangeEndLine, [&s](long n) { return Number(Element(s.LT, n)); });
}

}  // namespace envelope
