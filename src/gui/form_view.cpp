#include "gui/form_view.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOption>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <iostream>
#include <utility>
#include <vector>

#include "common/errors.h"

namespace gui {
namespace {

int Pixels(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

QString Q(const std::string& s) { return QString::fromStdString(s); }

QColor ToQColor(forms::Colour c) { return QColor(forms::Red(c), forms::Green(c), forms::Blue(c)); }

// Back colour in every colour group; fore colour only where the control is enabled, so that a
// disabled control keeps the style's greyed text.
void SetColours(QWidget& w, forms::Colour back, forms::Colour fore) {
  QPalette p = w.palette();
  for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
    p.setColor(role, ToQColor(back));
  for (auto group : {QPalette::Active, QPalette::Inactive})
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      p.setColor(group, role, ToQColor(fore));
  w.setPalette(p);
}

// The focus policy a widget of its kind has, kept when the view first sees it.
constexpr const char* kOwnFocusPolicy = "ormilaOwnFocusPolicy";

// A control without a tab stop is left out of the tab walk but still takes the focus when clicked.
void ApplyTabStop(const forms::Control& c, QWidget& w) {
  QVariant own = w.property(kOwnFocusPolicy);
  if (!own.isValid()) {
    own = static_cast<int>(w.focusPolicy());
    w.setProperty(kOwnFocusPolicy, own);
  }
  const auto policy = static_cast<Qt::FocusPolicy>(own.toInt());
  if (c.tabStop()) w.setFocusPolicy(policy);
  else w.setFocusPolicy((policy & Qt::ClickFocus) ? Qt::ClickFocus : Qt::NoFocus);
}

// What every control has.
void ApplyCommon(const forms::Control& c, QWidget& w) {
  w.setGeometry(Pixels(c.left()), Pixels(c.top()), Pixels(c.width()), Pixels(c.height()));
  w.setToolTip(Q(c.toolTip()));
  w.setEnabled(c.enabled());
  ApplyTabStop(c, w);
  SetColours(w, c.backColour(), c.foreColour());
  w.setVisible(c.visible());
}

// The fixed-pitch font of the lists, chosen by name so that they look the same on every machine
// that has it (the install step provides it): Liberation Mono has the widths of Courier New, the
// font the lists and their tables were laid out in.
constexpr const char* kFixedPitchFamily = "Liberation Mono";

// The control's font. A Courier font is shown in the fixed-pitch font above; where that is
// missing, the desktop's choice of a fixed-pitch font for Courier New keeps the columns.
QFont ModelFont(const forms::Control& c) {
  static const bool haveFixedPitchFamily = QFontDatabase::hasFamily(kFixedPitchFamily);
  const QString name = Q(c.fontName());
  QFont font(name);
  if (name.startsWith("Courier", Qt::CaseInsensitive)) {
    if (haveFixedPitchFamily) font.setFamily(kFixedPitchFamily);
    else font.setStyleHint(QFont::TypeWriter);
  }
  font.setPointSizeF(c.fontSize());
  font.setBold(c.fontBold());
  return font;
}

// Whether `text` shows whole in the widget when it has font `f`: the room is what the widget's
// style leaves for its text.
bool ShowsWholeInButton(const QAbstractButton& b, QStyleOptionButton& opt, QStyle::SubElement room,
                        const QFont& f, const QString& text) {
  opt.initFrom(&b);
  opt.fontMetrics = QFontMetrics(f);
  opt.text = text;
  const QRect rect = b.style()->subElementRect(room, &opt, &b);
  const QSize need = QFontMetrics(f).size(Qt::TextShowMnemonic, text);
  return need.width() <= rect.width() && need.height() <= rect.height();
}
bool ShowsWhole(const QPushButton& b, const QFont& f, const QString& text) {
  QStyleOptionButton opt;
  if (b.isDefault()) opt.features |= QStyleOptionButton::DefaultButton;
  if (b.autoDefault()) opt.features |= QStyleOptionButton::AutoDefaultButton;
  return ShowsWholeInButton(b, opt, QStyle::SE_PushButtonContents, f, text);
}
bool ShowsWhole(const QLabel& l, const QFont& f, const QString& text) {
  const QRect room = l.contentsRect();
  const int flags = static_cast<int>(l.alignment()) | (l.wordWrap() ? Qt::TextWordWrap : 0);
  const QRect need = QFontMetrics(f).boundingRect(room, flags, text);
  return room.contains(need);
}
bool ShowsWhole(const QCheckBox& c, const QFont& f, const QString& text) {
  if (text.isEmpty()) return true;
  QStyleOptionButton opt;
  return ShowsWholeInButton(c, opt, QStyle::SE_CheckBoxContents, f, text);
}
bool ShowsWhole(const QLineEdit& e, const QFont& f, const QString& text) {
  QStyleOptionFrame opt;  // as QLineEdit sets it up for painting
  opt.initFrom(&e);
  opt.rect = e.contentsRect();
  opt.lineWidth = e.hasFrame() ? e.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, &e) : 0;
  opt.midLineWidth = 0;
  opt.state |= QStyle::State_Sunken;
  const QRect room = e.style()->subElementRect(QStyle::SE_LineEditContents, &opt, &e)
                         .marginsRemoved(e.textMargins());
  constexpr int kLineEditTextMargin = 2;  // QLineEdit keeps this much on each side of the text
  const QFontMetrics metrics(f);
  return metrics.horizontalAdvance(text) <= room.width() - 2 * kLineEditTextMargin &&
         metrics.height() <= room.height();
}

// No caption is made smaller than this to fit.
constexpr double kSmallestFontSize = 6;

// The control's font where the text shows whole in it; else the largest smaller one in which it
// does, a little narrower where that helps, down to kSmallestFontSize; and narrower still where
// even that size is too wide.
template <class W>
QFont FittingFont(const W& w, const QFont& font, const QString& text) {
  if (text.isEmpty() || w.width() <= 0 || w.height() <= 0 || ShowsWhole(w, font, text)) return font;
  QFont f(font);
  for (const auto& stretches : {std::initializer_list<int>{QFont::Unstretched, QFont::SemiCondensed},
                                std::initializer_list<int>{QFont::Condensed}}) {
    for (double size = font.pointSizeF(); size >= kSmallestFontSize; size -= 0.25) {
      f.setPointSizeF(size);
      for (int stretch : stretches) {
        f.setStretch(stretch);
        if (ShowsWhole(w, f, text)) return f;
      }
    }
  }
  return f;  // the smallest and narrowest
}

// Gives the widget the control's font, fitted to `text` (see FittingFont); the fit is computed
// again only when the font, the text or the size changed.
template <class W>
void ApplyFont(const forms::Control& c, W& w, const QString& text) {
  const QFont font = ModelFont(c);
  const QString key = font.key() + QLatin1Char('|') + text + QLatin1Char('|') +
                      QString::number(w.width()) + QLatin1Char('x') + QString::number(w.height());
  if (w.property("ormilaFittedFor").toString() == key) return;
  w.setProperty("ormilaFittedFor", key);
  w.setFont(FittingFont(w, font, text));
}

// Runs `f` for every event of the given type that reaches `widget`, which still handles the event
// itself afterwards.
void OnEvent(QWidget& widget, QEvent::Type type, std::function<void(QEvent&)> f) {
  class Hook : public QObject {
   public:
    Hook(QObject* parent, QEvent::Type type, std::function<void(QEvent&)> f)
        : QObject(parent), type_(type), f_(std::move(f)) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == type_) f_(*event);
      return false;
    }

   private:
    QEvent::Type type_;
    std::function<void(QEvent&)> f_;
  };
  widget.installEventFilter(new Hook(&widget, type, std::move(f)));
}

// Per control type: Wire sets the widget up once and passes user input to the model; Apply makes
// the widget show the model's state (without feeding a change back).

void Wire(FormView& view, forms::TextBox& box, QLineEdit& edit) {
  // Every change of the text reaches the model, whichever way it came: typed, pasted, undone, or
  // set by assistive technology (which sets the text as the program would). The model's own
  // changes come through Apply with the signals blocked, so they do not echo back.
  QObject::connect(&edit, &QLineEdit::textChanged, &edit, [&view, &box](const QString& text) {
    view.Guarded([&] { box.SetText(text.toStdString()); });
  });
  // A click into the box: the left button released over it.
  OnEvent(edit, QEvent::MouseButtonRelease, [&view, &box, &edit](QEvent& event) {
    const auto& mouse = static_cast<QMouseEvent&>(event);
    if (mouse.button() == Qt::LeftButton && edit.rect().contains(mouse.position().toPoint()))
      view.Guarded([&] { box.Click(); });
  });
}
// The text the program gave the box last: its font is fitted to it, not to what the user types.
constexpr const char* kProgramText = "ormilaProgramText";

void Apply(const forms::TextBox& box, QLineEdit& edit) {
  if (edit.text() != Q(box.text())) {
    const QSignalBlocker block(edit);
    edit.setText(Q(box.text()));
    edit.setCursorPosition(0);  // a text from the program shows from its start
    edit.setProperty(kProgramText, edit.text());
  }
  ApplyFont(box, edit, edit.property(kProgramText).toString());
}

void Wire(FormView& view, forms::Button& button, QPushButton& push) {
  QObject::connect(&push, &QPushButton::clicked, &push,
                   [&view, &button] { view.Guarded([&] { button.Click(); }); });
}
void Apply(const forms::Button& button, QPushButton& push) {
  push.setText(Q(button.caption()));
  push.setDefault(button.isDefault());
  ApplyFont(button, push, push.text());
}

void Wire(FormView& view, forms::Label& model, QLabel& label) {
  label.setTextFormat(Qt::PlainText);
  label.setWordWrap(true);
  label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label.setAutoFillBackground(true);
  label.setMouseTracking(true);  // moves without a pressed button reach the label too
  // the mouse moving over a label reaches its model
  OnEvent(label, QEvent::MouseMove,
          [&view, &model](QEvent&) { view.Guarded([&] { model.MouseMove(); }); });
}
void Apply(const forms::Label& model, QLabel& label) {
  label.setText(Q(model.caption()));
  ApplyFont(model, label, label.text());
}

void Wire(FormView& view, forms::ListBox& list, QListWidget& widget) {
  QObject::connect(&widget, &QListWidget::itemClicked, &widget,
                   [&view, &list, &widget](QListWidgetItem* item) {
                     view.Guarded([&] {
                       list.SetListIndex(widget.row(item));
                       list.Click();
                     });
                   });
}
void Apply(const forms::ListBox& list, QListWidget& widget) {
  widget.setFont(ModelFont(list));
  const auto& items = list.items();
  // The view sees every change: an AddItem adds one entry behind the ones it shows, which is
  // appended alone (rebuilding the whole list at every entry made long texts slow to show).
  const int shown = widget.count();
  const bool appended =
      shown < list.ListCount() &&
      (shown == 0 || (widget.item(0)->text() == Q(items[0]) &&
                      widget.item(shown - 1)->text() == Q(items[static_cast<size_t>(shown - 1)])));
  if (appended) {
    for (size_t i = static_cast<size_t>(shown); i < items.size(); ++i) widget.addItem(Q(items[i]));
  } else {
    bool same = shown == list.ListCount();
    for (int i = 0; same && i < shown; ++i) same = widget.item(i)->text() == Q(items[i]);
    if (!same) {
      widget.clear();
      for (const std::string& item : items) widget.addItem(Q(item));
    }
  }
  if (widget.currentRow() != list.listIndex()) widget.setCurrentRow(list.listIndex());
}

void Wire(FormView& view, forms::ScrollBar& bar, QScrollBar& widget) {
  // Like the model's change event: the value is passed on when the thumb is released.
  widget.setTracking(false);
  QObject::connect(&widget, &QScrollBar::valueChanged, &widget, [&view, &bar](int value) {
    view.Guarded([&] { bar.SetValue(value); });
  });
}
void Apply(const forms::ScrollBar& bar, QScrollBar& widget) {
  widget.setFont(ModelFont(bar));
  const QSignalBlocker block(widget);  // setRange and setValue emit valueChanged
  widget.setOrientation(bar.height() > bar.width() ? Qt::Vertical : Qt::Horizontal);
  widget.setRange(bar.min(), bar.max());
  widget.setSingleStep(bar.smallChange());
  widget.setPageStep(bar.largeChange());
  widget.setValue(bar.value());
}

void Wire(FormView& view, forms::CheckBox& box, QCheckBox& widget) {
  widget.setAutoFillBackground(true);
  // clicked comes from the user only; a greyed box becomes checked by a click.
  QObject::connect(&widget, &QCheckBox::clicked, &widget, [&view, &box](bool checked) {
    view.Guarded([&] { box.SetValue(checked ? 1 : 0); });
  });
}
void Apply(const forms::CheckBox& box, QCheckBox& widget) {
  widget.setText(Q(box.caption()));
  widget.setTristate(box.value() == 2);
  widget.setCheckState(box.value() == 1   ? Qt::Checked
                       : box.value() == 2 ? Qt::PartiallyChecked
                                          : Qt::Unchecked);
  ApplyFont(box, widget, widget.text());
}

void Wire(FormView& view, forms::PictureBox& model, QLabel& picture) {
  // A picture is the ground of the controls placed over it: it never covers them.
  picture.lower();
  picture.setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  picture.setAutoFillBackground(true);
  picture.setMouseTracking(true);
  OnEvent(picture, QEvent::MouseMove,
          [&view, &model](QEvent&) { view.Guarded([&] { model.MouseMove(); }); });
}
void Apply(const forms::PictureBox& model, QLabel& picture) { picture.setFont(ModelFont(model)); }

// The widget of type W for a control of type C (nullptr when the control is not a C), kept in
// step with the control; the observer does nothing once the widget is gone.
template <class C, class W>
QWidget* Bind(FormView& view, forms::Control& control) {
  auto* model = dynamic_cast<C*>(&control);
  if (!model) return nullptr;
  auto* widget = new W(&view);
  Wire(view, *model, *widget);
  auto update = [model, guard = QPointer<W>(widget)](forms::Control&) {
    if (!guard) return;
    ApplyCommon(*model, *guard);
    Apply(*model, *guard);
  };
  update(*model);
  model->Observe(std::move(update));
  return widget;
}

// The one place that says which widget shows which control.
QWidget* BindAny(FormView& view, forms::Control& c) {
  for (auto bind : {&Bind<forms::TextBox, QLineEdit>, &Bind<forms::Button, QPushButton>,
                    &Bind<forms::Label, QLabel>, &Bind<forms::ListBox, QListWidget>,
                    &Bind<forms::ScrollBar, QScrollBar>, &Bind<forms::CheckBox, QCheckBox>,
                    &Bind<forms::PictureBox, QLabel>})
    if (QWidget* w = bind(view, c)) return w;
  return nullptr;
}

void ApplyForm(const forms::Form& form, QWidget& window) {
  window.setWindowTitle(Q(form.caption()));
  window.resize(Pixels(form.width()), Pixels(form.height()));
  window.setEnabled(form.enabled());
  window.setAutoFillBackground(true);
  SetColours(window, form.backColour(), form.foreColour());
}

// Prints what went wrong and quits the event loop with exit code 1; a program end quits with its
// own status and prints nothing.
void QuitOnError(std::exception_ptr error) {
  int status = 1;
  try {
    std::rethrow_exception(error);
  } catch (const common::ProgramEnd& end) {
    status = end.exitStatus;
  } catch (const std::exception& e) {
    std::cerr << e.what() << std::endl;
  } catch (...) {
    std::cerr << "unbekannter Fehler" << std::endl;
  }
  QCoreApplication::exit(status);
}

}  // namespace

FormView::FormView(forms::Form& form, QWidget* parent) : QWidget(parent), form_(form) {
  onError = QuitOnError;
  for (const auto& control : form.controls()) {
    QWidget* w = BindAny(*this, *control);
    if (!w) continue;
    widgets_[control.get()] = w;
    // A changed tab index reorders the tab walk.
    control->Observe([guard = QPointer<FormView>(this), tabIndex = control->tabIndex()](
                         forms::Control& c) mutable {
      if (!guard || c.tabIndex() == tabIndex) return;
      tabIndex = c.tabIndex();
      guard->OrderFocusChain();
    });
  }
  OrderFocusChain();
  ApplyForm(form, *this);
  form.Observe([&form, guard = QPointer<FormView>(this)](forms::Control&) {
    if (guard) ApplyForm(form, *guard);
  });
}

void FormView::OrderFocusChain() {
  // By tab index; controls of the same index in the order the form made them.
  std::vector<std::pair<int, QWidget*>> chain;
  for (const auto& control : form_.controls())
    if (QWidget* w = WidgetOf(*control)) chain.emplace_back(control->tabIndex(), w);
  std::stable_sort(chain.begin(), chain.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1].second, chain[i].second);
}

QWidget* FormView::WidgetOf(const forms::Control& control) const {
  auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : it->second;
}

void FormView::Guarded(const std::function<void()>& f) {
  try {
    f();
  } catch (...) {
    (onError ? onError : QuitOnError)(std::current_exception());
  }
}

ScreenFrame::ScreenFrame(FormView* view) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(false);
  setWidget(view);
  setWindowTitle(view->windowTitle());
  connect(view, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
  view->installEventFilter(this);
  Fit();
}

bool ScreenFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == widget() && event->type() == QEvent::Resize) Fit();
  return QScrollArea::eventFilter(watched, event);
}

void ScreenFrame::Fit() {
  const QSize want = widget()->size();
  QSize room = want;
  if (QScreen* s = screen()) {
    // The free area less the window manager's title bar and frame.
    constexpr int kDecoration = 48;
    const QSize free = s->availableGeometry().size() - QSize(kDecoration / 4, kDecoration);
    room = want.boundedTo(free);
    // A cut height brings a vertical scroll bar: the width makes room for it where it can.
    if (room.height() < want.height())
      room.setWidth(std::min(want.width() + verticalScrollBar()->sizeHint().width(), free.width()));
  }
  resize(room);
}

void FormView::keyPressEvent(QKeyEvent* event) {
  const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  forms::Button* button = form_.defaultButton();
  if (isReturn && button && button->enabled() && button->visible()) {
    event->accept();
    Guarded([button] { button->Click(); });
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace gui
