// A tiny control model: the state the programs talk about (texts, captions, colours, positions in
// twips, fonts, visibility) and the change/click semantics they rely on. A view observes the
// controls and never owns state.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace forms {

// The window system's colour value &HBBGGRR: red in the lowest byte.
using Colour = std::int32_t;
constexpr Colour Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }
constexpr int Red(Colour c) { return c & 0xFF; }
constexpr int Green(Colour c) { return (c >> 8) & 0xFF; }
constexpr int Blue(Colour c) { return (c >> 16) & 0xFF; }

constexpr Colour kWindowBackground = 0xFFFFFF;
constexpr Colour kButtonFace = 0xC0C0C0;
constexpr Colour kBlack = 0x000000;

class Control {
 public:
  Control(std::string name, int index = -1) : name_(std::move(name)), index_(index) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  int index() const { return index_; }  // -1 when not part of a control array

  // Observers are told after every change of the control's state.
  using Observer = std::function<void(Control&)>;
  void Observe(Observer observer) { observers_.push_back(std::move(observer)); }

  const std::string& toolTip() const { return toolTip_; }
  void SetToolTip(std::string s) { Assign(toolTip_, std::move(s)); }
  bool visible() const { return visible_; }
  void SetVisible(bool v) { Assign(visible_, v); }
  bool enabled() const { return enabled_; }
  void SetEnabled(bool v) { Assign(enabled_, v); }
  bool tabStop() const { return tabStop_; }
  void SetTabStop(bool v) { Assign(tabStop_, v); }
  int tabIndex() const { return tabIndex_; }
  void SetTabIndex(int v) { Assign(tabIndex_, v); }

  Colour backColour() const { return backColour_; }
  void SetBackColour(Colour c) { Assign(backColour_, c); }
  Colour foreColour() const { return foreColour_; }
  void SetForeColour(Colour c) { Assign(foreColour_, c); }

  // Position and size in twips.
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void SetLeft(int v) { Assign(left_, v); }
  void SetTop(int v) { Assign(top_, v); }
  void SetWidth(int v) { Assign(width_, v); }
  void SetHeight(int v) { Assign(height_, v); }
  void Move(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Notify();
  }

  const std::string& fontName() const { return fontName_; }
  void SetFontName(std::string s) { Assign(fontName_, std::move(s)); }
  double fontSize() const { return fontSize_; }
  void SetFontSize(double v) { Assign(fontSize_, v); }
  bool fontBold() const { return fontBold_; }
  void SetFontBold(bool v) { Assign(fontBold_, v); }

 protected:
  template <class T, class U>
  void Assign(T& field, U&& value) {
    if (field == value) return;
    field = std::forward<U>(value);
    Notify();
  }
  void Notify() {
    for (auto& o : observers_) o(*this);
  }

 private:
  std::string name_;
  int index_;
  std::vector<Observer> observers_;
  std::string toolTip_;
  bool visible_ = true, enabled_ = true, tabStop_ = true;
  int tabIndex_ = 0;
  Colour backColour_ = kWindowBackground, foreColour_ = kBlack;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::string fontName_ = "MS Sans Serif";
  double fontSize_ = 8.25;
  bool fontBold_ = false;
};

// Giving the box a new text from code runs its change handler at once, before the assignment
// returns, and only when the text actually changes.
class TextBox : public Control {
 public:
  using Control::Control;
  const std::string& text() const { return text_; }
  void SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    Notify();
    if (onChange) onChange();
  }
  std::function<void()> onChange;
  // A click into the box; other procedures call the handler directly as well.
  void Click() {
    if (onClick) onClick();
  }
  std::function<void()> onClick;

 private:
  std::string text_;
};

class Button : public Control {
 public:
  using Control::Control;
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string s) { Assign(caption_, std::move(s)); }
  bool isDefault() const { return default_; }
  void SetDefault(bool v) { Assign(default_, v); }
  // What a press does; other procedures call the handler directly as well.
  void Click() {
    if (onClick) onClick();
  }
  std::function<void()> onClick;

 private:
  std::string caption_;
  bool default_ = false;
};

class Label : public Control {
 public:
  using Control::Control;
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string s) { Assign(caption_, std::move(s)); }
  // What the mouse moving over the label does.
  void MouseMove() {
    if (onMouseMove) onMouseMove();
  }
  std::function<void()> onMouseMove;

 private:
  std::string caption_;
};

class ListBox : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& items() const { return items_; }
  int ListCount() const { return static_cast<int>(items_.size()); }
  void AddItem(std::string item) {
    items_.push_back(std::move(item));
    Notify();
  }
  void Clear() {
    if (items_.empty() && listIndex_ == -1) return;
    items_.clear();
    listIndex_ = -1;
    Notify();
  }
  int listIndex() const { return listIndex_; }
  void SetListIndex(int i) { Assign(listIndex_, i); }
  void Click() {
    if (onClick) onClick();
  }
  std::function<void()> onClick;

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

// Setting the value from code runs the change handler when the value changes.
class ScrollBar : public Control {
 public:
  using Control::Control;
  int value() const { return value_; }
  void SetValue(int v) {
    if (v == value_) return;
    value_ = v;
    Notify();
    if (onChange) onChange();
  }
  int min() const { return min_; }
  int max() const { return max_; }
  void SetRange(int min, int max) {
    min_ = min;
    max_ = max;
    Notify();
  }
  int smallChange() const { return smallChange_; }
  int largeChange() const { return largeChange_; }
  void SetSteps(int small, int large) {
    smallChange_ = small;
    largeChange_ = large;
    Notify();
  }
  std::function<void()> onChange;

 private:
  int value_ = 0, min_ = 0, max_ = 32767, smallChange_ = 1, largeChange_ = 1;
};

// Value 0 unchecked, 1 checked, 2 greyed; a change of value runs the click handler.
class CheckBox : public Control {
 public:
  using Control::Control;
  const std::string& caption() const { return caption_; }
  void SetCaption(std::string s) { Assign(caption_, std::move(s)); }
  int value() const { return value_; }
  void SetValue(int v) {
    if (v == value_) return;
    value_ = v;
    Notify();
    if (onClick) onClick();
  }
  std::function<void()> onClick;

 private:
  std::string caption_;
  int value_ = 0;
};

class PictureBox : public Control {
 public:
  using Control::Control;
  const std::string& picture() const { return picture_; }
  void SetPicture(std::string s) { Assign(picture_, std::move(s)); }
  // The mouse moved over the picture.
  void MouseMove() {
    if (onMouseMove) onMouseMove();
  }
  std::function<void()> onMouseMove;

 private:
  std::string picture_;
};

}  // namespace forms
