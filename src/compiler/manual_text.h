// The compiler's built-in manual: its fixed lines, held once and embedded in the build.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace compiler {

// The version text that heads the manual.
inline constexpr std::string_view kManualVersionText =
    "TALVIK, Spezialversion für TESU - 10.10.2013";

// The manual's lines in order (an empty line is an empty entry); the first line is
// `versionText`, and three lines are joined with the tone list's base name and the work folder.
std::vector<std::string> ManualLines(std::string_view versionText,
                                     std::string_view toneListBaseName,
                                     std::string_view workFolder);

}  // namespace compiler
