// The one QApplication of the test program (run under QT_QPA_PLATFORM=offscreen), and a way to
// act on the modal dialog that a blocking call is about to show.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace gui_test {

inline QApplication& App() {
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

// Runs `act` on the first modal widget that shows up while a dialog's own event loop runs.
inline void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer(&App());
  QObject::connect(timer, &QTimer::timeout, timer, [timer, act = std::move(act)] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
    }
  });
  timer->start(10);
}

}  // namespace gui_test
