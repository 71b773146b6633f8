// The random-composition generator's working lists and limits.
#pragma once

#include <string>
#include <vector>

#include "compiler/build_settings.h"

namespace compiler {

// The working lists of one run of Zufallsliste_Click, indices 1 to kCapacity (index 0 unused),
// all 0 at the start of every run.
struct RandomComposition {
  static constexpr int kCapacity = 10000;

  std::vector<double> T;  // time point i in seconds; T(1) = 0
  std::vector<double> G;  // gap from point i - 1 to point i; G(1) stays 0
  std::vector<double> L;  // loudness
  std::vector<double> P;  // pitch frequency in Hz, one decimal
  std::vector<double> K;  // formant frequency in Hz, one decimal
  std::vector<double> N;  // whole MIDI note of the last accepted pitch or formant
  int n = 0;              // time points of the run
  // The run's time draw stopped because the compiling build takes no more points.
  bool endedAtLimit = false;
  // The time draw stopped before a time too wide for its nine columns of the list (0: it did
  // not); such a time would break the row, and the parser would lose every point behind it.
  double tooWideTime = 0;
  // The list ends before a point whose loudness, pitch or formant frequency is too wide for its
  // column: which value that is, with its text form, as the listing names it (empty: none).
  std::string tooWideValue;

  void Clear();
};

// The widest text form of a value that is not negative which a row's nine columns hold between
// its two blanks (a minus sign takes the place of the blank before it).
inline constexpr size_t kWidestRandomValue = 7;

// Try limits of the three rejection draws.
inline constexpr long kTimeTries = 10'000'000;
inline constexpr long kPitchTries = 500'000;
inline constexpr long kFormantTries = 50'000;
// Loudness is drawn evenly on the scale 1351 x cube root.
inline constexpr double kLoudnessScale = 1351;
inline constexpr double kMidiNoteZeroHz = 8.17579891;

// The most time points a random list may hold so that `build` compiles all of them: its point
// capacity, and rows that stay below the tone-list parser's line length of 32,767 characters
// (a row of n values is 9 n + 4 characters long); never more than the working lists hold.
int RandomPointLimit(const BuildSettings& build);

}  // namespace compiler
