// The two plug-in templates: default plug-in files (orchestra part, score part, description)
// that the user edits and renames for the plug-in inserter. The converter and the compiler window
// both write them; the compiler's sustained-tone template differs in three lines, kept as data in
// plugin_templates.cpp.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_table.h"

namespace csound {

enum class PluginTemplateKind {
  SingleTone,     // "Default-Einzelton.plg", a percussion module (sections numbered 1)
  SustainedTone,  // "Default-Dauerton.plg", a double sampler (sections numbered 2)
};

// Which window writes the template.
enum class PluginTemplateOwner { Converter, Compiler };

// The template's lines (without their CR LF): 85 for the single tone, 66 for the sustained tone.
std::vector<std::string> PluginTemplateLines(PluginTemplateKind kind, PluginTemplateOwner owner);

// Writes the template whole to `path` under file number `fileNumber` (opened for output beside
// the target and put in place when closed). Errors are raised as runtime errors.
void WritePluginTemplate(platform::FileTable& files, int fileNumber, std::string_view path,
                         PluginTemplateKind kind, PluginTemplateOwner owner);

}  // namespace csound
