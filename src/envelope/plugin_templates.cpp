// The buttons "e" and "d": write a plug-in template whole and open it in the text editor. The
// templates' texts are shared with the compiler window (src/csound/plugin_templates.h).
#include "common/errors.h"
#include "csound/plugin_templates.h"
#include "envelope/converter_window.h"
#include "platform/program_start.h"

namespace envelope {
namespace {

constexpr int kPluginTemplateFile = 5;

void WriteAndOpen(ConverterWindow& w, csound::PluginTemplateKind kind, const std::string& path,
                  const std::string& editorPath) {
  try {
    csound::WritePluginTemplate(w.files, kPluginTemplateFile, path, kind,
                                csound::PluginTemplateOwner::Converter);
  } catch (const common::RuntimeError& e) {
    w.files.Discard(kPluginTemplateFile);
    w.ShowError("Die Datei " + path + " konnte nicht geschrieben werden: " + e.text());
    return;
  }
  w.StartOrReport("C:\\Arbeit\\Editor\\NoteTab.exe " + editorPath, platform::kMinimizedFocus);
}

}  // namespace

void ConverterWindow::Command16_Click() {
  WriteAndOpen(*this, csound::PluginTemplateKind::SingleTone, "c:\\Arbeit\\Default-Einzelton.plg",
               "C:\\Arbeit\\Default-Einzelton.plg");
}

void ConverterWindow::Command17_Click() {
  WriteAndOpen(*this, csound::PluginTemplateKind::SustainedTone,
               "c:\\Arbeit\\Default-Dauerton.plg", "C:\\Arbeit\\Default-Dauerton.plg");
}

}  // namespace envelope
