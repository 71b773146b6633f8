// The fixed texts of the converter's info pages, kept as data (one .cpp per text, embedded in the
// build; the format is that of csound/fixed_texts.h). The reference tables are shared with the
// compiler's window: csound::ReferenceTableLines().
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace envelope {

extern const std::string_view kManualText;          // manual_text.cpp
extern const std::string_view kSettingsLegendText;  // settings_legend_text.cpp

// The 192 lines of the user manual; the title line ends in `versionText`.
std::vector<std::string> ManualLines(const std::string& versionText);
// The 24 lines of the legend of the settings file Tesu.ini.
std::vector<std::string> SettingsLegendLines();

}  // namespace envelope
