// Ormila: the envelope converter's window on screen.
#include <QApplication>
#include <exception>
#include <iostream>

#include "common/errors.h"
#include "envelope/converter_window.h"
#include "gui/dialogs.h"
#include "gui/form_view.h"
#include "gui/runtime_error_box.h"
#include "platform/clock.h"
#include "platform/program_start.h"
#include "platform/x11_windows.h"

namespace {

// Ends the program the way an untrapped error or "End" does; returns the exit status.
int EndWith(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const common::ProgramEnd& end) {
    return end.exitStatus;
  } catch (const common::RuntimeError& e) {
    return gui::ReportRuntimeError("Ormila", e);
  } catch (const std::exception& e) {
    std::cerr << "Ormila: " << e.what() << std::endl;
    return 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  platform::SystemProgramStarter starter;
  gui::QtDialogs dialogs;
  envelope::ConverterWindow window(
      {platform::ProcessClock(), starter, platform::DesktopWindows(), dialogs, dialogs, dialogs, dialogs});
  try {
    window.Form_Load();
  } catch (...) {
    return EndWith(std::current_exception());
  }
  auto* view = new gui::FormView(window.frmDatei);
  view->onError = [&app](std::exception_ptr error) { app.exit(EndWith(error)); };
  gui::ScreenFrame frame(view);
  frame.show();
  return app.exec();
}
