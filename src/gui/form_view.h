// One generic Qt window that shows any forms::Form: a widget per control, placed at the control's
// twips (15 to a pixel), kept in step with the model by observing the controls, and passing user
// input back to the model (typing -> TextBox::SetText, click -> the click handler).
#pragma once

#include <QScrollArea>
#include <QWidget>
#include <exception>
#include <functional>
#include <unordered_map>

#include "forms/form.h"

namespace gui {

class FormView : public QWidget {
 public:
  // Builds the widgets of the controls the form has now; the form must outlive the view's use
  // (observers left on the controls do nothing once the view is gone).
  explicit FormView(forms::Form& form, QWidget* parent = nullptr);

  // The widget that shows the control, or nullptr.
  QWidget* WidgetOf(const forms::Control& control) const;

  // Receives an exception thrown by a handler run from user input. The default prints it to
  // stderr and quits the application with exit code 1 (a program end quits with its status).
  std::function<void(std::exception_ptr)> onError;

  // Runs f, passing an exception it throws to onError instead of into Qt's event loop.
  void Guarded(const std::function<void()>& f);

  // Orders the tab walk by the controls' tab indexes (controls without a tab stop are skipped).
  void OrderFocusChain();

 protected:
  // Return presses the form's default button.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  forms::Form& form_;
  std::unordered_map<const forms::Control*, QWidget*> widgets_;
};

// The top-level window of a view on screen: the view whole where the screen has room for it, and
// with scroll bars where the form is taller or wider than the screen's free area (the info pages'
// tall list on a small screen). It carries the form's caption.
class ScreenFrame : public QScrollArea {
 public:
  explicit ScreenFrame(FormView* view);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fit();
};

}  // namespace gui
