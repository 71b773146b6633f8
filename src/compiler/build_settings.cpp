#include "compiler/build_settings.h"

namespace compiler {

const BuildSettings& BuildSettings::TalvikTe() {
  static const BuildSettings s{"TalvikTe", 10000, 100000, "cs06b.bat", "C:\\Arbeit\\cs06b.bat",
                               ScoreModeKind::Full};
  return s;
}
const BuildSettings& BuildSettings::TalvikTe2() {
  static const BuildSettings s{"TalvikTe2", 1000, 10000, "cs06b.bat", "C:\\Arbeit\\cs06b2.bat",
                               ScoreModeKind::Full};
  return s;
}
const BuildSettings& BuildSettings::TalvikTe3() {
  static const BuildSettings s{"TalvikTe3", 1000, 10000, "cs06b3.bat", "C:\\Arbeit\\cs06b3.bat",
                               ScoreModeKind::SecondPartRewrite};
  return s;
}
const BuildSettings& BuildSettings::TalvikTe4() {
  static const BuildSettings s{"TalvikTe4", 1000, 10000, "cs06b.bat", "C:\\Arbeit\\cs06b2.bat",
                               ScoreModeKind::SecondPartRewrite};
  return s;
}

}  // namespace compiler
