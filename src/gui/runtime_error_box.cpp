#include "gui/runtime_error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "common/errors.h"

namespace gui {

bool DisplayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && std::strcmp(platform, "offscreen") == 0) return false;
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

int ReportRuntimeError(const std::string& programTitle, const common::RuntimeError& error) {
  std::cerr << programTitle << ": " << "Laufzeitfehler '" << error.number()
            << "': " << error.text() << std::endl;
  if (DisplayAvailable()) {
    int argc = 1;
    std::string name = programTitle;
    char* argv[] = {name.data(), nullptr};
    if (QApplication::instance() == nullptr) {
      QApplication app(argc, argv);
      QMessageBox::critical(nullptr, QString::fromStdString(programTitle),
                            QString::fromStdString(error.Message()));
    } else {
      QMessageBox::critical(nullptr, QString::fromStdString(programTitle),
                            QString::fromStdString(error.Message()));
    }
  }
  return 1;
}

}  // namespace gui
