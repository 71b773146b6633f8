// What the composer sees of the captions in a view: for every control, whether its caption (a
// text box: its text) shows whole in the widget, with the widget's font, at the control's size.
#pragma once

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <string>
#include <vector>

#include "forms/form.h"
#include "gui/form_view.h"

namespace gui_test {

// The room the widget's style leaves for its text, and the size the text needs in the widget's
// font; an empty size where the widget shows no caption.
struct TextRoom {
  QRect room;
  QSize need;
};

inline TextRoom RoomOf(const QWidget* w) {
  const QFontMetrics metrics(w->font());
  if (auto* push = qobject_cast<const QPushButton*>(w)) {
    QStyleOptionButton opt;
    opt.initFrom(push);
    opt.text = push->text();
    if (push->isDefault()) opt.features |= QStyleOptionButton::DefaultButton;
    return {push->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, push),
            push->text().isEmpty() ? QSize() : metrics.size(Qt::TextShowMnemonic, push->text())};
  }
  if (auto* check = qobject_cast<const QCheckBox*>(w)) {
    QStyleOptionButton opt;
    opt.initFrom(check);
    opt.text = check->text();
    return {check->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, check),
            check->text().isEmpty() ? QSize() : metrics.size(Qt::TextShowMnemonic, check->text())};
  }
  if (auto* label = qobject_cast<const QLabel*>(w)) {
    const QRect room = label->contentsRect();
    const int flags = static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect need = metrics.boundingRect(room, flags, label->text());
    // The text starts at the room's corner; what lies beyond the room is cut.
    return {room, label->text().isEmpty() ? QSize() : QSize(need.right() - room.left() + 1,
                                                            need.bottom() - room.top() + 1)};
  }
  if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
    opt.state |= QStyle::State_Sunken;
    // QLineEdit paints its text 2 pixels in from the sides of its contents.
    const QRect room = edit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit).adjusted(2, 0, -2, 0);
    return {room, edit->text().isEmpty() ? QSize()
                                         : QSize(metrics.horizontalAdvance(edit->text()), metrics.height())};
  }
  return {};
}

// Whether another control shown above the widget covers a part of its text, which the room
// `room` of `need` holds as the widget's style places it (centred in a button, else at the start
// of the line, vertically centred).
inline bool Covered(const QWidget* w, const QRect& room, const QSize& need) {
  const QWidget* parent = w->parentWidget();
  if (!parent || !w->isVisible()) return false;
  const bool centred = qobject_cast<const QPushButton*>(w) != nullptr;
  const QSize size = need.boundedTo(room.size());
  QRect text(QPoint(), size);
  text.moveCenter(room.center());
  if (!centred) text.moveLeft(room.left());
  for (const QPoint& p : {text.topLeft(), text.topRight(), text.bottomLeft(), text.bottomRight(),
                          text.center()}) {
    const QWidget* at = parent->childAt(w->mapToParent(p));
    if (at && at != w && !w->isAncestorOf(at)) return true;
  }
  return false;
}

// The controls of the form whose captions are cut, covered by another control, or shown smaller
// than 6 points, with what they need and have.
inline std::vector<std::string> CutCaptions(const gui::FormView& view, const forms::Form& form) {
  std::vector<std::string> cut;
  for (const auto& control : form.controls()) {
    const QWidget* w = view.WidgetOf(*control);
    if (!w) continue;
    const TextRoom r = RoomOf(w);
    if (r.need.isEmpty()) continue;
    const double points = w->font().pointSizeF();
    const bool covered = Covered(w, r.room, r.need);
    if (r.need.width() > r.room.width() || r.need.height() > r.room.height() || points < 5.99 ||
        covered) {
      cut.push_back(control->name() + (control->index() >= 0 ? "(" + std::to_string(control->index()) + ")" : "") +
                    " \"" + w->property("text").toString().toStdString() + "\" needs " +
                    std::to_string(r.need.width()) + "x" + std::to_string(r.need.height()) + " in " +
                    std::to_string(r.room.width()) + "x" + std::to_string(r.room.height()) + " at " +
                    std::to_string(points) + " pt" + (covered ? ", covered" : ""));
    }
  }
  return cut;
}

}  // namespace gui_test
