// The fixed texts of the Csound writers, kept as data (one .cpp per text, embedded in the build),
// and the small expander that turns one into printed lines.
//
// A fixed text is a raw string literal that begins with a line end (dropped) and ends each line
// with "\n"; trailing blanks are part of the text. Inside a line:
//   {{Name}}    a text item: the text field Name, written unchanged;
//   {{#Name}}   a number item: the number field Name in its double text form, one blank before it
//               when it is not negative and one after it (Overview, printed line);
// at the start of a line:
//   {{?Name}}   the line is written only when the flag Name is true,
//   {{!Name}}   only when it is false (the prefix itself is not written);
// and a line that is exactly
//   {{>Name}}   stands for the lines of the sub-text Name ("Instrument97", "PluginInfo").
// A name that the fields do not hold is a programming error (std::logic_error).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace csound {

extern const std::string_view kSineOrchestraText;  // sine_orchestra_text.cpp
extern const std::string_view kFofOrchestraText;   // fof_orchestra_text.cpp
extern const std::string_view kInstrument97Text;   // instrument97_text.cpp (shared by both)
extern const std::string_view kRenderBatchText;    // render_batch_text.cpp
extern const std::string_view kSingleTonePluginText;     // single_tone_plugin_text.cpp
extern const std::string_view kSustainedTonePluginText;  // sustained_tone_plugin_text.cpp
extern const std::string_view kPluginInfoText;           // plugin_info_text.cpp (shared by both)
extern const std::string_view kReferenceTableText;       // reference_table_text.cpp

struct FixedTextFields {
  std::map<std::string, std::string, std::less<>> texts;
  std::map<std::string, double, std::less<>> numbers;
  std::map<std::string, bool, std::less<>> flags;
};

// The printed lines of a fixed text (without their CR LF).
std::vector<std::string> ExpandFixedText(std::string_view text, const FixedTextFields& fields);

// The 34 lines of the reference tables, shown by the converter's info pages and the compiler's
// "LT-HT" button.
std::vector<std::string> ReferenceTableLines();

}  // namespace csound
