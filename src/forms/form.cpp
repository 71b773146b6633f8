#include "forms/form.h"

namespace forms {

Control* Form::Find(const std::string& name, int index) const {
  for (const auto& c : controls_)
    if (c->name() == name && c->index() == index) return c.get();
  return nullptr;
}

Button* Form::defaultButton() const {
  for (const auto& c : controls_)
    if (auto* b = dynamic_cast<Button*>(c.get()); b && b->isDefault()) return b;
  return nullptr;
}

void Form::SetDefaultButton(Button* button) {
  for (const auto& c : controls_)
    if (auto* b = dynamic_cast<Button*>(c.get()); b && b != button) b->SetDefault(false);
  if (button) button->SetDefault(true);
}

}  // namespace forms
