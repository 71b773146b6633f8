// CompilerState: the fields of the compiler window that the pass, the parser and the writers use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/build_settings.h"
#include "tonelist/tone_list.h"

namespace compiler {

struct CompilerState : tonelist::ToneListState {
  explicit CompilerState(const BuildSettings& build)
      : tonelist::ToneListState(build.PointCapacity),
        Build(build),
        NoteStart(static_cast<size_t>(build.ImportCapacity) + 1),
        NoteDuration(static_cast<size_t>(build.ImportCapacity) + 1),
        NotePitch(static_cast<size_t>(build.ImportCapacity) + 1),
        NoteLoudness(static_cast<size_t>(build.ImportCapacity) + 1) {}

  const BuildSettings& Build;

  // Paths and names.
  std::string WorkFolder;
  std::string ToneListBaseName;
  std::string OutputBaseName;
  std::string ToneListPath;
  std::string ImportListPath;
  std::string ScorePath;
  std::string OrchestraPath;
  std::string BatchPath;
  std::string RandomListPath;

  // Compile request and origin.
  bool ChosenListFlag = false;
  std::string ChosenListPath;
  std::int16_t InitDone = 0;
  bool PresetsLoaded = false;
  std::string PresetFilePath;
  std::string SourceDescription;
  std::string OriginNote;

  // The version line of the manual; set by FillManualList.
  std::string VersionText;

  // The first glide duration and the start-time offset of the score.
  std::string MinGlideText;

  // Settings panel fields, kept up to date by the nine boxes' change handlers.
  double Hardness = 0, Tempo = 0, FrequencyFactor = 0, LoudnessFactor = 0;
  double SettingFua = 0, SettingFub = 0, SettingEnte = 0, SettingDel = 0, SettingFom = 0;
  // Read from the settings file, lines 10 to 13.
  double SettingLtf = 0, SettingLts = 0, SettingHts = 0;
  std::int16_t FileNameCounter = 0;

  // Random panel: the 22 input boxes' values after validation (TimeQuantSteps is 1 / time step),
  // and the file name the preset dialog returned.
  double TotalDuration = 0, MinGap = 0, MaxGap = 0, TimeQuantSteps = 0;
  double MinLoudness = 0, MaxLoudness = 0;
  double LowestNote = 0, HighestNote = 0, MaxInterval = 0, PitchQuant = 0, PitchRepeat = 0;
  double LowestFormant = 0, HighestFormant = 0, MaxFormantInterval = 0, FormantQuant = 0,
         FormantRepeat = 0;
  double FofFunction1 = 0, FofFunction2 = 0, FiveFoldDelay = 0, DuckEffect = 0,
         FormantFactor = 0, FrequencyMultiplication = 0;
  std::string DialogFileName;

  // Score importer: the three switches of Check1 to Check3, the notes of the last import (entries
  // 1 to ImportCapacity; an entry never filled is empty: 0 in arithmetic, no characters as text)
  // with their running indices, and the layout of the written rows.
  using NoteEntry = std::optional<double>;
  bool ImportTimes = false, ImportPitches = false, ImportLoudness = false;
  std::int16_t NoteCount = 0;
  std::vector<NoteEntry> NoteStart, NoteDuration, NotePitch, NoteLoudness;
  int NoteStartCount = 0, NoteDurationCount = 0, NotePitchCount = 0, NoteLoudnessCount = 0;
  std::int16_t NoteFieldNumber = 0;
  int ColumnWidth = 16;
  std::int16_t ColumnIndex = 0;
  std::string ColumnPad = std::string(14, ' ');
};

}  // namespace compiler
