// A compiler window fixture (Base) shown by the Qt view under the offscreen platform; what the
// view reports (the program's end, a runtime error) is collected in `errors`.
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <exception>
#include <memory>
#include <vector>

#include "gui/form_view.h"
#include "gui/qt_app.h"

namespace gui_test {

template <class Base>
class CompilerView : public Base {
 protected:
  CompilerView() {
    App();
    view = std::make_unique<gui::FormView>(this->window->frmDatei);
    view->onError = [this](std::exception_ptr e) { errors.push_back(e); };
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  }
  ~CompilerView() override { view.reset(); }

  template <class W>
  W* Widget(const forms::Control& c) {
    W* w = qobject_cast<W*>(view->WidgetOf(c));
    EXPECT_NE(w, nullptr) << c.name();
    return w;
  }

  std::unique_ptr<gui::FormView> view;
  std::vector<std::exception_ptr> errors;
};

}  // namespace gui_test
