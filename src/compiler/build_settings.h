// The constants in which the four compiler deliverables differ; everything else is one code.
#pragma once

#include <string>

namespace compiler {

enum class ScoreModeKind {
  Full,               // build A: orchestra and score written whole
  SecondPartRewrite,  // build B: only the score's second part is rewritten
};

struct BuildSettings {
  std::string Name;  // "TalvikTe" ... "TalvikTe4"
  int PointCapacity;
  int ImportCapacity;
  std::string BatchFileName;     // written
  std::string BatchFileToStart;  // started
  ScoreModeKind ScoreMode;

  static const BuildSettings& TalvikTe();
  static const BuildSettings& TalvikTe2();
  static const BuildSettings& TalvikTe3();
  static const BuildSettings& TalvikTe4();
};

}  // namespace compiler
