// A form: caption, visibility, size, the default button and the controls it carries.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/controls.h"

namespace forms {

class Form : public Control {
 public:
  explicit Form(std::string name) : Control(std::move(name)) {}

  const std::string& caption() const { return caption_; }
  void SetCaption(std::string s) { Assign(caption_, std::move(s)); }

  // Creates a control owned by the form; the reference stays valid as long as the form.
  template <class T>
  T& Add(std::string name, int index = -1) {
    auto control = std::make_unique<T>(std::move(name), index);
    T& ref = *control;
    controls_.push_back(std::move(control));
    return ref;
  }

  const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }
  // The control of that name (and index), or nullptr.
  Control* Find(const std::string& name, int index = -1) const;

  // The button that Return presses: at most one button of the form is the default one.
  Button* defaultButton() const;
  void SetDefaultButton(Button* button);

 private:
  std::string caption_;
  std::vector<std::unique_ptr<Control>> controls_;
};

}  // namespace forms
