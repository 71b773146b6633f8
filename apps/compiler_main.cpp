// A compiler build: creates the window object, whose load handler runs the pass and ends.
#include "common/errors.h"
#include "compiler/compiler_window.h"
#include "gui/runtime_error_box.h"
#include "platform/clock.h"
#include "platform/program_start.h"
#include "platform/x11_windows.h"

#define ORMILA_STRINGIFY2(x) #x
#define ORMILA_STRINGIFY(x) ORMILA_STRINGIFY2(x)

int main() {
  const compiler::BuildSettings& build = compiler::BuildSettings::ORMILA_BUILD();
  platform::SystemProgramStarter starter;
  compiler::CompilerServices services{platform::ProcessClock(), starter,
                                      platform::DesktopWindows()};
  try {
    compiler::CompilerWindow window(build, services);
    window.Form_Load();
  } catch (const common::ProgramEnd& end) {
    return end.exitStatus;
  } catch (const common::RuntimeError& error) {
    return gui::ReportRuntimeError(ORMILA_STRINGIFY(ORMILA_BUILD), error);
  }
  return 0;
}
