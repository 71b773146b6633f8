// The random-composition generator: time points, loudness, pitches and formant frequencies drawn
// from the random panel's settings, listed in Testliste and written as the tone list Zufall.rsz.
#include "compiler/random_generator.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "common/errors.h"
#include "common/numbers.h"
#include "common/printed_line.h"
#include "compiler/compiler_window.h"

namespace compiler {
namespace {

using common::DoubleText;
using common::WholePart;

// The random list is held under this number while it is written.
constexpr int kRandomListFile = 7;

// A tone-list line must be shorter than this (the parser's limit).
constexpr int kParserLineLength = 32767;
// The line that holds value i of a row is 9 i - 5 + w characters long for a value w wide; the
// limit leaves room for values up to this width.
constexpr int kWidestValue = 32;

// The largest number the random source gives (just below 1).
const double kLargestDraw = std::nextafter(1.0, 0.0);

// Rounding to thousandths moves a candidate by less than this.
constexpr double kRejectMargin = 0.001;

// Zufzahl2's x for the random number r, from min up to max + 1, before its rounding.
double UnroundedOf(double min, double max, double r) { return (max - min + 1) * r + min; }

// The draw of Zufzahl2 for the random number r: x rounded to quanti decimals.
double Zufzahl2Of(double min, double max, double quanti, double r) {
  // 10 to the power of a whole number of decimals up to 22 is exact; the table spares the time
  // draw a power per candidate
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const bool tabled = quanti >= 0 && quanti <= 22 && quanti == std::floor(quanti);
  const double factor = tabled ? kPowers[static_cast<int>(quanti)] : std::pow(10.0, quanti);
  return common::RoundToStep(UnroundedOf(min, max, r), factor);
}

// x raised to y as the runtime computes it: a negative base with a broken exponent is error 5, a
// result beyond the double range error 6.
double Power(double x, double y) {
  if (x < 0 && y != std::floor(y)) common::Raise(common::kInvalidCall);
  const double r = std::pow(x, y);
  if (!std::isfinite(r)) common::Raise(common::kOverflow);
  return r;
}

// From the list's step 6 on a runtime error skips the step that raised it and the run goes on.
template <class F>
bool Step(F&& step) {
  return common::SkipOnRuntimeError(std::forward<F>(step));
}

// A repeat count as a whole number of points: rounded to the nearest (halves to the even
// neighbour) and at least 1; a count of 0 or below stores nothing (sine tones for the formants).
int RepeatCount(double value) {
  if (!(value > 0)) return 0;
  const double bounded = std::min(value, static_cast<double>(RandomComposition::kCapacity) + 1);
  return std::max(1, static_cast<int>(std::nearbyint(bounded)));
}

// Whether the time draw can still accept a candidate after the point `last`: candidates are
// thousandths from 0 to `largest`, and the smallest one above both lower bounds decides.
bool CanAcceptAfter(double last, double minGap, double maxGap, double largest) {
  const double lower = last + minGap;
  auto aboveLowerBounds = [&](double c) { return c > last && c >= lower; };
  double k = std::max(0.0, std::floor(std::max(lower, last) * 1000) - 1);
  for (int tries = 0; !aboveLowerBounds(k / 1000); ++tries) {
    if (tries == 8) return true;  // beyond the resolution of thousandths: let the draw decide
    ++k;
  }
  const double smallest = k / 1000;
  return smallest <= last + maxGap && smallest <= largest;
}

// t rounded to the time step (`steps` a second). A step so fine that t times it is beyond the
// double range leaves t as it is: to the last digit a double holds, t lies on the step.
double OnTheStep(double t, double steps) {
  const double rounded = common::RoundToStep(t, steps);
  return std::isfinite(rounded) ? rounded : t;
}

// Whether a value's text form fits its nine columns of a row between the blank before it (a
// minus sign takes that place) and the blank after it.
bool FitsColumn(double value) {
  return std::isfinite(value) &&
         DoubleText(value).size() <= kWidestRandomValue + (value < 0 ? 1 : 0);
}

// The frequency of a note (60 is the middle c), then rounded to tenths of a hertz. Each of the
// two steps fails where its result is beyond the double range and leaves `hz` as it was: a
// skipped step, taken without an exception, for the draw may fail so at every one of its tries.
void SetFrequency(double& hz, double note) {
  const double f = kMidiNoteZeroHz * std::pow(std::pow(2.0, 1.0 / 12), note);
  if (std::isfinite(f)) hz = f;
  const double tenths = WholePart(hz * 10 + 0.5) / 10;
  if (std::isfinite(tenths)) hz = tenths;
}

// One row of the list: the keyword in columns 1 to 4, value i from column 9 i - 4.
std::string Row(const char* keyword, const std::vector<double>& values, int n) {
  common::PrintedLine line;
  line.Text(keyword).Tab(5);
  for (int i = 1; i <= n; ++i) line.Double(values[static_cast<size_t>(i)]).Tab(9 * i + 5);
  return line.str();
}

}  // namespace

void RandomComposition::Clear() {
  for (std::vector<double>* list : {&T, &G, &L, &P, &K, &N}) list->assign(kCapacity + 1, 0.0);
  n = 0;
  endedAtLimit = false;
  tooWideTime = 0;
  tooWideValue.clear();
}

int RandomPointLimit(const BuildSettings& build) {
  const int byLineLength = (kParserLineLength - 1 + 5 - kWidestValue) / 9;
  return std::min({RandomComposition::kCapacity, build.PointCapacity, byLineLength});
}

double CompilerWindow::Zufzahl2(double min, double max, double quanti) {
  services.random.Reseed();
  return Zufzahl2Of(min, max, quanti, services.random.Next());
}

double CompilerWindow::Zufzahl(double min, double max) {
  services.random.Reseed();
  return WholePart((max - min + 1) * services.random.Next() + min);
}

void CompilerWindow::Zufallsliste_Click() {
  CompilerState& s = state;
  RandomComposition& c = composition;
  c.Clear();

  // 1-5: no trap here.
  HideSettingsPanel();
  if (s.PresetsLoaded) {
    frmDatei.SetCaption(kCaptionPrefix + s.ChosenListPath + "  -  Zufallsliste: " +
                        s.PresetFilePath);
    s.OriginNote = "Zufallsliste: " + s.PresetFilePath;
  } else {
    frmDatei.SetCaption(s.ChosenListPath.empty()
                            ? std::string("T A L V I K  -  Diese Reihe wurde mit einer "
                                          "Zufallsliste erzeugt")
                            : kCaptionPrefix + s.ChosenListPath +
                                  "  -  mit einer Zufallsliste erzeugt");
    s.OriginNote = "Mit einer Zufallsliste erzeugt.";
  }
  HideListLarge();
  ShowAndValidatePanel();
  frmDatei.SetDefaultButton(&Zufallsliste);

  // 6: from here on a failing step is skipped.
  // 7: the old list stays whole until the new one is complete. Its caption line may name a list
  // or preset file in any script: such a file is written in UTF-8 (the values are ASCII).
  Step([&] {
    files.OpenOutputReplacing(kRandomListFile, s.RandomListPath, platform::Encoding::Utf8OrCp1252);
  });

  // 8: time points, drawn until the whole seconds of the total duration are reached. The draw
  // also ends where the compiling build takes no more points, and where no candidate can pass
  // any more (the tries would all be rejected).
  {
    const double F = s.TimeQuantSteps;
    const int limit = RandomPointLimit(s.Build);
    const double largest = Zufzahl2Of(0, s.TotalDuration, 3, kLargestDraw);
    const double end = WholePart(s.TotalDuration);
    c.T[1] = 0;
    int i = 2;
    double last = 0;  // T(i - 1); ended and acceptable tell what the draw can still do after it
    bool ended = end == WholePart(last);
    bool acceptable = CanAcceptAfter(last, s.MinGap, s.MaxGap, largest);
    for (long tries = 0; tries != kTimeTries; ++tries) {
      if (ended) break;
      if (i > limit) {
        c.endedAtLimit = true;
        break;
      }
      if (!acceptable) break;
      // The candidate Zufzahl2(0, TotalDuration, 3) draws. Most fall far outside the window; one
      // farther from it than its rounding to thousandths could move it is rejected unrounded.
      services.random.Reseed();
      const double x = UnroundedOf(0, s.TotalDuration, services.random.Next());
      if (x < std::max(last, last + s.MinGap) - kRejectMargin ||
          x > last + s.MaxGap + kRejectMargin)
        continue;
      const double t = common::RoundToStep(x, 1000);
      if (t > last && t <= last + s.MaxGap && t >= last + s.MinGap) {
        const double time = OnTheStep(t, F);
        if (!FitsColumn(time)) {
          c.tooWideTime = time;
          break;
        }
        c.T[static_cast<size_t>(i)] = time;
        c.G[static_cast<size_t>(i)] = OnTheStep(t - last, F);
        last = c.T[static_cast<size_t>(i)];
        ended = end == WholePart(last);
        acceptable = CanAcceptAfter(last, s.MinGap, s.MaxGap, largest);
        ++i;
      }
    }
    c.n = i - 1;
  }
  int n = c.n;
  const auto at = [](int index) { return static_cast<size_t>(index); };

  // 9: loudness, evenly on the cube-root scale; silent at both ends.
  {
    double lo = 0, hi = 0;
    Step([&] { lo = WholePart(kLoudnessScale * Power(s.MinLoudness, 1.0 / 3)); });
    Step([&] { hi = WholePart(kLoudnessScale * Power(s.MaxLoudness, 1.0 / 3)); });
    for (int i = 1; i <= n; ++i) {
      const double v = Zufzahl2(lo, hi, 0);
      Step([&] { c.L[at(i)] = WholePart(Power(v / kLoudnessScale, 3)); });
    }
    c.L[at(1)] = 0;
    c.L[at(n)] = 0;
  }

  // 10-11: pitches, then formants, each held for its repeat count and moving by at most the
  // largest interval (on whole notes) from one accepted value to the next.
  const auto drawNotes = [&](double quant, double lowest, double highest, double maxInterval,
                             int repeat, long tryLimit, std::vector<double>& out) {
    const double Q = quant / 2;
    double f = 0;
    int i = 1;
    long tries = 0;
    do {
      if (tries == tryLimit) break;
      const double m = Zufzahl2(lowest, highest - 1, 4);
      const double m0 = WholePart(m + 0.5);
      // A quantisation of 0 would divide by zero: the note is then taken as drawn.
      const double q = Q == 0 ? m : WholePart(m * Q + 0.5) / Q;
      SetFrequency(f, q);
      const double d = i == 1 ? 0 : std::fabs(WholePart(c.N[at(i - 1)]) - m0);
      if (d <= maxInterval) {
        // Repeats past n are never used.
        for (int k = 0; k < repeat && i + k <= n; ++k) {
          c.N[at(i + k)] = m0;
          out[at(i + k)] = f;
        }
        i += repeat;
      }
      ++tries;
    } while (i <= n);
  };
  Step([&] {
    drawNotes(s.PitchQuant, s.LowestNote, s.HighestNote, s.MaxInterval, RepeatCount(s.PitchRepeat),
              kPitchTries, c.P);
  });
  const int formantRepeat = RepeatCount(s.FormantRepeat);
  Step([&] {
    drawNotes(s.FormantQuant, s.LowestFormant, s.HighestFormant, s.MaxFormantInterval,
              formantRepeat, kFormantTries, c.K);
  });

  // A loudness, pitch or formant frequency too wide for its column would break its row, and the
  // parser would read other values behind it: the list ends before the first point holding one,
  // silent at its new end as at any other.
  for (int i = 1; i <= n; ++i) {
    const std::pair<const char*, double> values[] = {
        {"die Lautstärke ", c.L[at(i)]}, {"die Tonhöhe ", c.P[at(i)]},
        {"die Formantfrequenz ", c.K[at(i)]}};
    for (const auto& [name, value] : values)
      if (c.tooWideValue.empty() && !FitsColumn(value))
        c.tooWideValue = name + DoubleText(value);
    if (!c.tooWideValue.empty()) {
      c.n = n = i - 1;
      if (n >= 1) c.L[at(n)] = 0;
      break;
    }
  }

  // 12: the listing, appended.
  {
    Testliste.AddItem("Datum: " + services.clock.DateText() + " - Uhrzeit: " +
                      services.clock.TimeText());
    Testliste.AddItem(DoubleText(n) + " Breakpoints hat der Computer berechnet:");
    if (c.endedAtLimit)
      Testliste.AddItem("Die Zufallsliste endet nach " + DoubleText(n) +
                        " Zeitpunkten: mehr kann " + s.Build.Name + " nicht umwandeln.");
    if (c.tooWideTime != 0)
      Testliste.AddItem("Die Zufallsliste endet nach " + DoubleText(n) +
                        " Zeitpunkten: der nächste Zeitpunkt " + DoubleText(c.tooWideTime) +
                        " passt nicht in seine Spalte der Tonverlaufsliste.");
    if (!c.tooWideValue.empty())
      Testliste.AddItem("Die Zufallsliste endet nach " + DoubleText(n) + " Zeitpunkten: " +
                        c.tooWideValue +
                        " des nächsten Zeitpunkts passt nicht in ihre Spalte der "
                        "Tonverlaufsliste.");
    Testliste.AddItem("");
    const std::string indent(5, ' ');
    for (int i = 1; i <= n; ++i) {
      Testliste.AddItem(indent + DoubleText(i));
      Testliste.AddItem(indent + "Zeitpunkt:         " + DoubleText(c.T[at(i)]));
      Testliste.AddItem(indent + "Abstand:           " + DoubleText(c.G[at(i)]));
      Testliste.AddItem(indent + "Gesamt-Lautstärke: " + DoubleText(c.L[at(i)]));
      Testliste.AddItem(indent + "Gesamt-Tonhöhe:    " + DoubleText(c.P[at(i)]));
      Testliste.AddItem(indent + "Formantfrequenz: " + DoubleText(c.K[at(i)]));
      Testliste.AddItem("");
    }
    Testliste.AddItem("");
    for (const char* line :
         {"Jetzt links den kleinen grünen und dann",
          "rechts den großen grauen Knopf (C) drücken, um die Musik",
          "zu hören. Den kleinen pinkfarbenen Knopf drücken, um die",
          "geschriebene Tonverlaufsliste anzusehen!",
          "Einfacher ist es aber, links den etwas größeren roten Knopf zu drücken, dann geht ",
          "alles automatisch! Erst sollte jedoch die Parameterliste (hier rechts) editiert "
          "werden."})
      Testliste.AddItem(line);
  }

  // 13: the file, line by line; a line that cannot be written is skipped.
  bool complete = true;
  const auto print = [&](const std::string& line) {
    complete = Step([&] { files.Print(kRandomListFile, line); }) && complete;
  };
  print(s.RandomListPath + ", geschrieben am " + services.clock.DateText() + ", " +
        services.clock.TimeText());
  print(frmDatei.caption());
  print("");
  print(Row("ZP", c.T, n));
  print(Row("LT  ", c.L, n));
  print(Row("HT  ", c.P, n));
  print(Row(formantRepeat >= 1 ? "KL  " : "--  ", c.K, n));
  print("");
  if (formantRepeat >= 1) {
    const std::pair<const char*, double> settings[] = {
        {"FUA ", s.FofFunction1},  {"FUB ", s.FofFunction2},  {"DEL ", s.FiveFoldDelay},
        {"ENTE ", s.DuckEffect},   {"FOM ", s.FormantFactor}, {"FRV ", s.FrequencyMultiplication}};
    for (const auto& [keyword, value] : settings)
      if (value != 0) print(common::PrintedLine().Text(keyword).Double(value).str());
  }
  print("");
  print("");

  // 14: a list that could not be written whole does not replace the one before.
  if (complete) Step([&] { files.Close(kRandomListFile); });
  else files.Discard(kRandomListFile);
}

}  // namespace compiler
