// The one QApplication of the test program (run under QT_QPA_PLATFORM=offscreen), and a way to
// act on the modal dialog that a blocking call is about to show.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "temp_folder.h"

namespace gui_test {

inline QApplication& App() {
  // Qt keeps the file dialog's history among the user's settings ($XDG_CONFIG_HOME, else
  // ~/.config/QtProject.conf): the test program's go to a folder of its own.
  static const testing_support::TempFolder settings("ormila-gui-settings");
  static const bool settingsSet = setenv("XDG_CONFIG_HOME", settings.path().c_str(), 1) == 0;
  (void)settingsSet;
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: tearing Qt down from a static destructor after main() is not safe.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Runs `act` on the first modal widget that shows up while a dialog's own event loop runs. A
// dialog that `act` leaves open is a failure, and is closed so that the test goes on.
inline void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer(&App());
  QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    timer->stop();
    timer->deleteLater();
    act(modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible()) {
      ADD_FAILURE() << "the dialog was left open";
      dialog->reject();
    }
  });
  timer->start(10);
}

// The folder for the pictures kept for review: one per font configuration, since the GUI tests
// run under several at once and must not write the same file.
inline std::filesystem::path ReviewFolder() {
  const char* fonts = std::getenv("FONTCONFIG_FILE");
  const std::string config =
      fonts && *fonts ? std::filesystem::path(fonts).parent_path().filename().string() : "";
  std::filesystem::path folder = std::filesystem::path(ORMILA_BINARY_DIR) / "gui_review";
  if (!config.empty()) folder /= config;
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace gui_test
