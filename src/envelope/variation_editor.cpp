// The variation editor: four sliders set how strongly the keys "Z", "D", "L", "H" and "K" change
// the times, levels, pitches and timbres of the range's points in memory; the reset keys bring
// back the values as read, and "Var1" and "Var2" write the tone list from the changed values and
// start a compiler build, without reading the project again.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/errors.h"
#include "common/numbers.h"
#include "envelope/converter_window.h"
#include "platform/clock.h"
#include "platform/window_closing.h"

namespace envelope {
namespace {

constexpr forms::Colour kWhite = 0xFFFFFF;
constexpr forms::Colour kRunColour = 0xFFC0C0;
constexpr forms::Colour kCso1Locked = 0xB3B3FF;  // StartStoppFix red: "Cso1" is disabled
constexpr double kSliderTop = 32767;

// The entries of VariationMaximum and VariationStrength.
enum Kind { kTime = 0, kLoudness = 1, kPitch = 2, kTimbre = 3 };

// A key draws again while its change has turned a value negative that was not negative before,
// at most this often; then the value stays as it was before the press.
constexpr int kMaxRedraws = 1000;

// One draw: a whole number from -49 to 50.
double Draw(platform::RandomSource& random) {
  return std::floor(random.Next() * 100) + 1 - 50;
}

// Line n of a point array as a key may use it: a line of the range, or one whose values a run of
// this project has read; nullptr for any other line, which counts as 0.
double* Held(ConverterState& s, std::vector<double>& values, long n) {
  if (n < 0 || static_cast<size_t>(n) >= values.size()) return nullptr;
  const bool inRange = n >= s.RangeStartLine && n <= s.RangeEndLine;
  const size_t i = static_cast<size_t>(n);
  const bool read = i < s.PointLineRead.size() && s.PointLineRead[i];
  return inRange || read ? &values[i] : nullptr;
}

double Seen(ConverterState& s, std::vector<double>& values, long n) {
  const double* v = Held(s, values, n);
  return v ? *v : 0;
}

// The times keep rising: a time not above that of the line before becomes that time + 0.001 s.
void KeepRising(ConverterState& s, long i) {
  const double before = Seen(s, s.ZP, i - 1);
  double& time = s.ZP[static_cast<size_t>(i)];
  if (!(time > before)) time = before + 0.001;
}

// Applies one random step to a value. A value that was not negative and has turned negative gets
// further steps, each on the value the last one left (a second negative factor turns it back);
// a value negative before the press gets one step only, so that no press can go on for ever. A
// value that has grown beyond the number range stays as it was before the press.
template <class Step>
double Vary(double before, Step step) {
  double value = step(before);
  if (before >= 0) {
    for (int redraws = 0; value < 0; ++redraws) {
      if (redraws == kMaxRedraws) return before;
      value = step(value);
    }
  }
  return std::isfinite(value) ? value : before;
}

// The keys "D", "L", "H" and "K" act on a range from line 1 on, "Z" on one from line 2 on; each
// only when the last run converted that range completely.
bool MayVary(const ConverterState& s, long lowestStart) {
  return s.RangeStartLine >= lowestStart && s.RangeConverted;
}

// What every variation key does before it changes the first point: the run buttons are locked so
// that no run silently replaces the varied values.
void BeginVariation(ConverterWindow& w) {
  w.state.VariationActive = true;
  w.Command3.SetBackColour(kWhite);
  w.Command3.SetEnabled(false);
  w.StartStoppFix.SetBackColour(kCso1Locked);
  w.Command19.SetBackColour(kWhite);
  w.Command19.SetEnabled(false);
}

// "H" and "K": x := x * 2^(e / 100) to two decimals, e := Int(r * strength + 1).
void VaryFrequencies(ConverterWindow& w, std::vector<double>& values, double strength) {
  ConverterState& s = w.state;
  if (!MayVary(s, 1)) return;
  w.services.random.Reseed();
  BeginVariation(w);
  for (s.LineCursor = s.RangeStartLine; s.LineCursor <= s.RangeEndLine; ++s.LineCursor) {
    double& x = values[static_cast<size_t>(s.LineCursor)];
    x = Vary(x, [&](double v) {
      const double e = std::floor(Draw(w.services.random) * strength + 1);
      return common::RoundToStep(v * std::pow(2.0, e / 100), 100);
    });
  }
  w.ShowExtractedValues();
}

// A reset key: the values of the range as the last run read them.
void Reset(ConverterWindow& w, std::vector<double>& values, const std::vector<double>& read) {
  ConverterState& s = w.state;
  if (!s.RangeConverted) return;
  for (s.LineCursor = s.RangeStartLine; s.LineCursor <= s.RangeEndLine; ++s.LineCursor) {
    const size_t i = static_cast<size_t>(s.LineCursor);
    values[i] = read[i];
  }
  w.ShowExtractedValues();
}

void SetStrength(ConverterWindow& w, Kind kind, const forms::ScrollBar& slider) {
  ConverterState& s = w.state;
  s.VariationStrength[kind] = slider.value() / kSliderTop * s.VariationMaximum[kind];
  w.frmDatei.SetCaption(w.RunCaption() + "      " +
                        common::DoubleText(s.VariationStrength[kind]));
}

// "Var1" (mode 0) and "Var2" (mode 2): the tone list from the values in memory and the build.
void StartVariedBuild(ConverterWindow& w, int mode) {
  ConverterState& s = w.state;
  s.CompilerMode = mode;
  if (!s.RunStarted || !s.RangeConverted) return;
  if (!w.ToneListSettingsComplete()) return;
  if (!w.ChosenBuildTakesRange()) return;
  if (!w.ToneListValuesFit("Ein variierter Wert passt nicht mehr")) return;
  if (!w.WriteToneListOrReport()) return;
  platform::CloseWindowsByTitle(w.services.windows, "Dozudava.wav - Cool Edit");
  w.StartCompilerBuild();
  w.FindPointLines();
  s.StoredStartLine = SettingValue::Number(static_cast<double>(s.FirstPointLine + 1));
  s.StoredStopLine = SettingValue::Number(static_cast<double>(s.LastPointLine));
  w.WriteStartStopFile(s.StoredStartLine.AsNumber(), s.StoredStopLine.AsNumber());
  if (mode == 0) {
    w.Command3.SetBackColour(kRunColour);
    w.Command3.SetEnabled(true);
    w.StartStoppFix.SetBackColour(kWhite);
  }
  w.Command19.SetBackColour(kRunColour);
  w.Command19.SetEnabled(true);
}

}  // namespace

void ConverterWindow::CreateVariationControls() {
  for (forms::ScrollBar* slider : {&VScroll1, &VScroll2, &VScroll3, &VScroll4}) {
    slider->SetRange(0, static_cast<int>(kSliderTop));
    slider->SetSteps(328, 3277);
  }
  VScroll1.onChange = [this] { VScroll1_Change(); };
  VScroll2.onChange = [this] { VScroll2_Change(); };
  VScroll3.onChange = [this] { VScroll3_Change(); };
  VScroll4.onChange = [this] { VScroll4_Change(); };

  Tempo.SetToolTip(
      "Tempo eintragen (1 = Originaltempo, 2 = doppelte Dauer, also halbes Tempo). Dann 'Z' "
      "drücken!");
  Z_Enter1.SetCaption("Z");
  Z_Enter1.SetToolTip(
      "Eingabebestätigung für Zeitpunkte, die mit der Zeitpunkteskalierung berechnet wurden "
      "(linkes Textfeld <> 1), oder für Zufallszeitpunkte (Variationsstärke vorher mit dem "
      "Schieberegler einstellen)");
  Z_Enter2.SetCaption("D");
  Z_Enter2.SetToolTip("Tondauern verringern");
  L_Enter.SetCaption("L");
  L_Enter.SetToolTip(
      "Lautstärkewerte mit der Zufallsfunktion verändern - mit dem Schieberegler stellt man die "
      "Stärke der Variationen ein");
  H_Enter.SetCaption("H");
  H_Enter.SetToolTip(
      "Tonhöhenwerte mit der Zufallsfunktion verändern - mit dem Schieberegler stellt man die "
      "Stärke der Variationen ein");
  K_Enter.SetCaption("K");
  K_Enter.SetToolTip(
      "Klangwerte mit der Zufallsfunktion verändern - mit dem Schieberegler stellt man die "
      "Stärke der Variationen ein");
  for (forms::Button* reset : {&Z_Reset, &L_Reset, &H_Reset, &K_Reset}) {
    reset->SetCaption("R");
    reset->SetToolTip("Reset");
  }
  Variation.SetToolTip("Csound-Start - das Ergebnis mit variierten Werten  zur Probe anhören");
  Variation2.SetToolTip(
      "Csound-Start - das Ergebnis mit variierten Werten  zur Probe anhören - die Orc-datei und "
      "ein Teil der Sco-Datei bleibt erhalten");

  Z_Enter1.onClick = [this] { Z_Enter1_Click(); };
  Z_Enter2.onClick = [this] { Z_Enter2_Click(); };
  L_Enter.onClick = [this] { L_Enter_Click(); };
  H_Enter.onClick = [this] { H_Enter_Click(); };
  K_Enter.onClick = [this] { K_Enter_Click(); };
  Z_Reset.onClick = [this] { Z_Reset_Click(); };
  L_Reset.onClick = [this] { L_Reset_Click(); };
  H_Reset.onClick = [this] { H_Reset_Click(); };
  K_Reset.onClick = [this] { K_Reset_Click(); };
  Variation.onClick = [this] { Variation_Click(); };
  Variation2.onClick = [this] { Variation2_Click(); };
}

void ConverterWindow::VScroll1_Change() { SetStrength(*this, kTime, VScroll1); }
void ConverterWindow::VScroll2_Change() { SetStrength(*this, kLoudness, VScroll2); }
void ConverterWindow::VScroll3_Change() { SetStrength(*this, kPitch, VScroll3); }
void ConverterWindow::VScroll4_Change() { SetStrength(*this, kTimbre, VScroll4); }

void ConverterWindow::NotePointLinesRead() {
  ConverterState& s = state;
  // Values that a run of another project left in the arrays are not this project's.
  if (s.PointLinesProject != s.ProjectPath) {
    s.PointLineRead.assign(s.PointLineRead.size(), false);
    s.PointLinesProject = s.ProjectPath;
  }
  for (long n = std::max(s.RangeStartLine, 0L);
       n <= s.RangeEndLine && static_cast<size_t>(n) < s.PointLineRead.size(); ++n)
    s.PointLineRead[static_cast<size_t>(n)] = true;
}

void ConverterWindow::Z_Enter1_Click() {
  ConverterState& s = state;
  if (s.RangeStartLine <= 1) {
    ShowExtractedValues();
    return;
  }
  if (!MayVary(s, 2)) return;
  // The tempo factor must be a number above 0: 0 would put every time on the range's first
  // point, a negative factor would make the times fall.
  double tempo = 0;
  try {
    tempo = common::LeadingNumber(Tempo.text());
  } catch (const common::RuntimeError&) {
    tempo = 0;
  }
  if (!(tempo > 0)) {
    ShowError("Im Tempofeld muss eine Zahl größer als 0 stehen (1 = Originaltempo, 2 = doppelte "
              "Dauer). Es wurde nichts verändert.");
    return;
  }
  services.random.Reseed();
  BeginVariation(*this);
  const double strength = s.VariationStrength[kTime];
  const size_t first = static_cast<size_t>(s.RangeStartLine);
  for (s.LineCursor = s.RangeStartLine; s.LineCursor <= s.RangeEndLine; ++s.LineCursor) {
    const size_t i = static_cast<size_t>(s.LineCursor);
    if (tempo != 1) {
      // Time scaling about the range's first point.
      s.ZP[i] = s.ZP[first] + tempo * (s.ZP[i] - s.ZP[first]);
    } else {
      s.ZP[i] = s.ZP[i] + common::RoundToStep(Draw(services.random) * strength, 10000);
      KeepRising(s, s.LineCursor);
    }
  }
  ShowExtractedValues();
}

void ConverterWindow::Z_Enter2_Click() {
  ConverterState& s = state;
  if (!MayVary(s, 1)) return;
  BeginVariation(*this);
  for (s.LineCursor = s.RangeStartLine; s.LineCursor <= s.RangeEndLine; ++s.LineCursor) {
    const long i = s.LineCursor;
    double& time = s.ZP[static_cast<size_t>(i)];
    // The last sounding point before a silence, and the silent point after it, come earlier.
    if (s.LT[static_cast<size_t>(i)] != 0 && Seen(s, s.LT, i + 1) == 0) {
      const double p = Seen(s, s.ZP, i - 1);
      time -= (time - p) / 10;
      if (double* next = Held(s, s.ZP, i + 1)) *next -= (time - p) / 10;
    }
    KeepRising(s, i);
  }
  ShowExtractedValues();
}

void ConverterWindow::L_Enter_Click() {
  ConverterState& s = state;
  if (!MayVary(s, 1)) return;
  services.random.Reseed();
  BeginVariation(*this);
  const double strength = s.VariationStrength[kLoudness];
  for (s.LineCursor = s.RangeStartLine; s.LineCursor <= s.RangeEndLine; ++s.LineCursor) {
    double& level = s.LT[static_cast<size_t>(s.LineCursor)];
    level = Vary(level, [&](double v) {
      const double f = Draw(services.random) * strength + 1;
      return common::RoundToStep(v * f, 1000000);
    });
  }
  ShowExtractedValues();
}

void ConverterWindow::H_Enter_Click() {
  VaryFrequencies(*this, state.HT, state.VariationStrength[kPitch]);
}

void ConverterWindow::K_Enter_Click() {
  VaryFrequencies(*this, state.KL, state.VariationStrength[kTimbre]);
}

void ConverterWindow::Z_Reset_Click() { Reset(*this, state.ZP, state.ZPRead); }
void ConverterWindow::L_Reset_Click() { Reset(*this, state.LT, state.LTRead); }
void ConverterWindow::H_Reset_Click() { Reset(*this, state.HT, state.HTRead); }
void ConverterWindow::K_Reset_Click() { Reset(*this, state.KL, state.KLRead); }

void ConverterWindow::Variation_Click() { StartVariedBuild(*this, 0); }
void ConverterWindow::Variation2_Click() { StartVariedBuild(*this, 2); }

}  // namespace envelope
