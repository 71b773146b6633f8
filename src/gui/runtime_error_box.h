// The runtime's standard error message: a message box when a display is present, always stderr.
#pragma once

#include <string>

namespace common {
class RuntimeError;
}

namespace gui {

// Shows "Laufzeitfehler 'N':" and the text under the program's title and returns the exit status
// the program ends with (non-zero).
int ReportRuntimeError(const std::string& programTitle, const common::RuntimeError& error);

// True when a window system is reachable (X11 or Wayland, and not Qt's offscreen platform).
bool DisplayAvailable();

}  // namespace gui
