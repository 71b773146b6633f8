#include "csound/plugin_templates.h"

#include "csound/fixed_texts.h"

namespace csound {
namespace {

// The three lines in which the compiler's sustained-tone template differs from the converter's:
// the spelling in the sample note, the instrument number and the interval of the second sampler.
struct SustainedToneVariant {
  const char* sampleMust;  // ";Das zu spielende Sample {{SampleMust}} Samp100.wav heißen."
  const char* instrument;  // " Instr {{Instrument}}"
  const char* interval;    // "   kfrqx = ... * 4{{Interval}} ; oder ein anderes Intervall"
};
constexpr SustainedToneVariant kConverterVariant{"muß", "98", " * 1.5"};
constexpr SustainedToneVariant kCompilerVariant{"muss", "97", ""};

}  // namespace

std::vector<std::string> PluginTemplateLines(PluginTemplateKind kind, PluginTemplateOwner owner) {
  FixedTextFields fields;
  if (kind == PluginTemplateKind::SingleTone) {
    fields.texts = {{"PluginFile", "Default-Einzelton.plg"}, {"PluginButton", "e"}};
    return ExpandFixedText(kSingleTonePluginText, fields);
  }
  const SustainedToneVariant& v =
      owner == PluginTemplateOwner::Converter ? kConverterVariant : kCompilerVariant;
  fields.texts = {{"PluginFile", "Default-Dauerton.plg"}, {"PluginButton", "d"},
                  {"SampleMust", v.sampleMust}, {"Instrument", v.instrument},
                  {"Interval", v.interval}};
  return ExpandFixedText(kSustainedTonePluginText, fields);
}

void WritePluginTemplate(platform::FileTable& files, int fileNumber, std::string_view path,
                         PluginTemplateKind kind, PluginTemplateOwner owner) {
  const std::vector<std::string> lines = PluginTemplateLines(kind, owner);
  files.OpenOutputReplacing(fileNumber, path);
  for (const std::string& line : lines) files.Print(fileNumber, line);
  files.Close(fileNumber);
}

}  // namespace csound
