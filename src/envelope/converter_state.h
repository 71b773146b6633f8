// ConverterState: the fields of the envelope converter's window that its procedures share.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.h"
#include "envelope/project_lines.h"
#include "tonelist/tone_value.h"

namespace envelope {

// A setting holds a text (as read or typed), a number (set by its box) or nothing.
using SettingValue = tonelist::ToneValue;

// Array bounds of the project reader and the point arrays.
inline constexpr long kProjectLineCapacity = 1000000;
inline constexpr int kMarkerCapacity = 12000;
inline constexpr int kMarkerTimeCapacity = 120000;
inline constexpr int kPointLineCapacity = 12000;    // ZP, LT, HT and the read copies
inline constexpr int kTimbreLineCapacity = 10000;   // KL
// The k-th value of a tone-list line stands at column 12 k, a signed 16-bit number.
inline constexpr int kToneListPointCapacity = 2730;

struct ConverterState {
  ConverterState();

  std::string VersionText;
  std::string WorkFolder;
  std::string ProjectName, PreviousProjectName, ProjectPath;
  std::string TrackName, PreviousTrackName;
  std::string ToneListPath;
  std::string SamplePath, SampleCopyPath, SampleName;
  SettingValue SnapshotCounter;
  std::array<double, 4> VariationMaximum{};  // time, loudness, pitch, timbre

  bool SkipDialogue = false;
  int CompilerMode = 0;  // 0 or 2
  bool WithAudioEditor = false;
  bool UseStartStopPoints = false;
  bool AutoPoints = false;
  bool PointResetLocked = false;  // always the opposite of AutoPoints
  bool RunStarted = false;
  int InfoPage = 0;  // 0 normal view, 1..4 info pages, -1 copy run
  bool VariationActive = false;
  bool ComparisonToneRunning = false;
  bool StartStopFixState = false;

  // Settings: the current value (used by runs and writers) and the stored text (offered by the
  // input dialogue), in the settings file's line order.
  std::string Sine, SineStored;
  SettingValue Fua, Fub, Ente, Del, Fom;
  SettingValue FofLoudnessFactor, SampleLoudnessFactor, SampleFrequencyFactor;
  SettingValue OverallLoudness, PitchMultiplier, TimbreMultiplier, MasterPitch, MasterTimbre;
  std::string FuaStored, FubStored, EnteStored, DelStored, FomStored;
  std::string FofLoudnessFactorStored, SampleLoudnessFactorStored, SampleFrequencyFactorStored;
  std::string OverallLoudnessStored, PitchMultiplierStored, TimbreMultiplierStored;
  std::string MasterPitchStored, MasterTimbreStored;

  // The run: stored range of the start/stop file, the project of the last "Cso1" run, error flags.
  SettingValue StoredStartLine, StoredStopLine;
  SettingValue LastRunProjectName;  // Unset before the first run
  bool ProjectMissing = false, TrackMissing = false, RangeError = false;
  bool NotPointLine = false, NoMarkerFound = false, FrequencyError = false;
  // Failures the reader reports beyond the ones above: no volume envelope, no point line,
  // no envelope end, a range the arrays, the tone list or the build to be started cannot hold.
  bool EnvelopeMissing = false, RangeTooLarge = false;
  // A number of the project (point, selection, marker) too large for the converter's values.
  bool ValueTooLarge = false;

  // The project as read.
  ProjectLines Zl;  // 1..ProjectLineCount
  long ProjectLineCount = 0;
  std::string CurrentLine;
  long LineCursor = 0;
  long CharCursor = 0;
  long TrackLine = 0, EnvelopeLine = 0, FirstPointLine = 0, LastPointLine = 0;
  std::vector<std::string> Markerfeld;  // 1..MarkerCount
  std::int16_t MarkerCount = 0;

  // The range.
  long RangeStartLine = 0, RangeEndLine = 0;
  std::string SelectionLine, SelectionStart, SelectionEnd;
  std::string ParsedPointTime;

  // Point values indexed by project line number, and the values as last read.
  std::vector<double> ZP, LT, HT, KL;
  std::vector<double> ZPRead, LTRead, HTRead, KLRead;
  std::vector<std::string> Markerzeiten, Markerfreq;
  long ValueFieldStart = 0;

  // Variation editor: the strengths of the four sliders (time, loudness, pitch, timbre); whether
  // the last run converted its range completely (tone list written), which the keys and Var1/Var2
  // need; the point lines whose values a run of PointLinesProject has read.
  std::array<double, 4> VariationStrength{};
  bool RangeConverted = false;
  std::vector<bool> PointLineRead = std::vector<bool>(kPointLineCapacity + 1);
  std::string PointLinesProject;

  // Copies and snapshots.
  double CopyDistance = 0;
  std::string CopyProjectPath;
  double CopyStart = 0, CopyEnd = 0, CopyOffset = 0;
  std::string SnapshotProjectPath;
  std::string SnapshotWavPath, SnapshotToneListPath, SnapshotSettingsPath;
  std::string SavedOrchestraPath, SavedScorePath, SavedWavPath;
};

// The current value and the stored text of each setting of the settings file's lines 4 to 16, in
// line order: FUA, FUB, ENTE, DEL, FOM, LTF, LTS, HTS, overall loudness, pitch and timbre
// multiplier, master pitch, master timbre.
struct SettingSlot {
  SettingValue ConverterState::*current;
  std::string ConverterState::*stored;
};
inline constexpr SettingSlot kSettingSlots[13] = {
    {&ConverterState::Fua, &ConverterState::FuaStored},
    {&ConverterState::Fub, &ConverterState::FubStored},
    {&ConverterState::Ente, &ConverterState::EnteStored},
    {&ConverterState::Del, &ConverterState::DelStored},
    {&ConverterState::Fom, &ConverterState::FomStored},
    {&ConverterState::FofLoudnessFactor, &ConverterState::FofLoudnessFactorStored},
    {&ConverterState::SampleLoudnessFactor, &ConverterState::SampleLoudnessFactorStored},
    {&ConverterState::SampleFrequencyFactor, &ConverterState::SampleFrequencyFactorStored},
    {&ConverterState::OverallLoudness, &ConverterState::OverallLoudnessStored},
    {&ConverterState::PitchMultiplier, &ConverterState::PitchMultiplierStored},
    {&ConverterState::TimbreMultiplier, &ConverterState::TimbreMultiplierStored},
    {&ConverterState::MasterPitch, &ConverterState::MasterPitchStored},
    {&ConverterState::MasterTimbre, &ConverterState::MasterTimbreStored}};
// Index ranges of kSettingSlots: the FOF parameters, the loudness and frequency factors of the
// tone list, and the factor block.
inline constexpr int kFofSlots = 0, kFactorSlots = 5, kScalingSlots = 8, kSlotCount = 13;

// Element n of an array of the state; an index outside it is error 9, never a read beyond it.
template <class T>
const T& Element(const std::vector<T>& values, long n) {
  if (n < 0 || static_cast<size_t>(n) >= values.size()) common::Raise(common::kSubscriptOutOfRange);
  return values[static_cast<size_t>(n)];
}

// Line n of the project as read; empty beyond the lines of the last project read (Zl keeps
// lines of an earlier, longer project there, which no search may see).
inline std::string_view ProjectLine(const ConverterState& s, long n) {
  return n >= 1 && n <= s.ProjectLineCount ? s.Zl[static_cast<size_t>(n)] : std::string_view();
}

// A setting's value by its leading number; a number too large for a double (a text "1e999" of the
// settings file or the input dialogue) counts as an infinity of its sign instead of failing.
double SettingNumber(const SettingValue& value);

}  // namespace envelope
