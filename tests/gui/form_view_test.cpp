#include "gui/form_view.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/errors.h"
#include "gui/qt_app.h"
#include "gui/whole_captions.h"

namespace {

using gui_test::App;

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A small window: a text box and a button whose handlers record, a default button, a list box,
// a label, a scroll bar and a check box.
class FormViewTest : public ::testing::Test {
 protected:
  FormViewTest() {
    App();
    form.SetCaption("Hüllkurven-Test");
    form.Move(0, 0, 6000, 4500);
    text.Move(120, 120, 3000, 285);
    text.onChange = [this] { log.push_back("change:" + text.text()); };
    button.Move(3300, 120, 1200, 375);
    button.SetCaption("Start");
    button.onClick = [this] { log.push_back("click"); };
    ok.Move(4600, 120, 1200, 375);
    ok.SetCaption("OK");
    ok.onClick = [this] { log.push_back("ok"); };
    form.SetDefaultButton(&ok);
    list.Move(120, 600, 3000, 1500);
    list.onClick = [this] { log.push_back("list:" + std::to_string(list.listIndex())); };
    label.Move(3300, 600, 2400, 300);
    label.SetCaption("Bereich");
    label.SetBackColour(0xB3B3FF);
    bar.Move(120, 2300, 3000, 255);
    bar.SetRange(0, 100);
    bar.SetSteps(5, 20);
    bar.onChange = [this] { log.push_back("bar:" + std::to_string(bar.value())); };
    check.Move(3300, 1000, 2400, 300);
    check.SetCaption("Marker");
    check.onClick = [this] { log.push_back("check:" + std::to_string(check.value())); };
    text.onClick = [this] { log.push_back("textclick"); };
    picture.Move(3300, 1500, 1200, 600);
    picture.onMouseMove = [this] { log.push_back("picture"); };
    log.clear();

    view = std::make_unique<gui::FormView>(form);
    view->onError = [this](std::exception_ptr e) { errors.push_back(e); };
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  }

  template <class W>
  W* Widget(const forms::Control& c) {
    W* w = qobject_cast<W*>(view->WidgetOf(c));
    EXPECT_NE(w, nullptr) << c.name();
    return w;
  }

  forms::Form form{"frmTest"};
  forms::TextBox& text = form.Add<forms::TextBox>("Text1");
  forms::Button& button = form.Add<forms::Button>("Command1");
  forms::Button& ok = form.Add<forms::Button>("Command2");
  forms::ListBox& list = form.Add<forms::ListBox>("List1");
  forms::Label& label = form.Add<forms::Label>("Label1");
  forms::ScrollBar& bar = form.Add<forms::ScrollBar>("HScroll1");
  forms::CheckBox& check = form.Add<forms::CheckBox>("Check1");
  forms::PictureBox& picture = form.Add<forms::PictureBox>("Picture1");
  std::vector<std::string> log;
  std::vector<std::exception_ptr> errors;
  std::unique_ptr<gui::FormView> view;
};

TEST_F(FormViewTest, TypingSetsTheTextAndRunsTheChangeHandlerPerKey) {
  QLineEdit* edit = Widget<QLineEdit>(text);
  QTest::keyClick(edit, 'T');
  QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Odiaeresis, QString::fromUtf8("ö"), Qt::NoModifier);
  QTest::keyClick(edit, '1');
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Left);
  QTest::keyClick(edit, 'x');
  EXPECT_EQ(text.text(), "Txö");
  EXPECT_EQ(log, (std::vector<std::string>{"change:T", "change:Tö", "change:Tö1", "change:Tö",
                                           "change:Txö"}));
  EXPECT_EQ(edit->cursorPosition(), 2);  // the model's echo does not move the cursor
}

// Text set through the accessibility interface, as screen readers, dictation and on-screen
// keyboards set it (AT-SPI "set text contents", "insert text", "delete text"), or pasted, runs the
// change handler like typed text; the text set from code afterwards still runs it only once.
TEST_F(FormViewTest, TextFromAssistiveTechnologyRunsTheChangeHandler) {
  QLineEdit* edit = Widget<QLineEdit>(text);
  text.SetText("0");
  log.clear();
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(edit);
  ASSERT_NE(access, nullptr);
  ASSERT_NE(access->editableTextInterface(), nullptr);
  struct Case {
    const char* way;
    std::function<void()> act;
    const char* text;
  };
  const Case cases[] = {
      {"value", [&] { access->setText(QAccessible::Value, "1.5"); }, "1.5"},
      {"replace", [&] { access->editableTextInterface()->replaceText(0, 3, "2,5"); }, "2,5"},
      {"insert", [&] { access->editableTextInterface()->insertText(0, "-"); }, "-2,5"},
      {"delete", [&] { access->editableTextInterface()->deleteText(2, 4); }, "-2"},
      {"paste", [&] {
         QGuiApplication::clipboard()->setText("440");
         edit->selectAll();
         edit->paste();
       }, "440"},
      {"undo", [&] { edit->undo(); }, "-2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.way);
    log.clear();
    c.act();
    EXPECT_EQ(edit->text().toStdString(), c.text);
    EXPECT_EQ(text.text(), c.text);
    EXPECT_EQ(log, std::vector<std::string>{std::string("change:") + c.text});
  }
  log.clear();
  text.SetText("C:\\Arbeit");
  EXPECT_EQ(log, std::vector<std::string>{"change:C:\\Arbeit"});
  EXPECT_TRUE(errors.empty());
}

TEST_F(FormViewTest, TextFromCodeReachesTheWidgetWithoutASecondChange) {
  text.SetText("C:\\Arbeit\\Tesu.rsz");
  EXPECT_EQ(Widget<QLineEdit>(text)->text(), "C:\\Arbeit\\Tesu.rsz");
  EXPECT_EQ(log, (std::vector<std::string>{"change:C:\\Arbeit\\Tesu.rsz"}));
}

TEST_F(FormViewTest, CaptionsFollowTheModel) {
  button.SetCaption("Umrechnen");
  label.SetCaption("Ende <ms>");
  check.SetCaption("Regionen");
  form.SetCaption("Ormila");
  EXPECT_EQ(Widget<QPushButton>(button)->text(), "Umrechnen");
  EXPECT_EQ(Widget<QLabel>(label)->text(), "Ende <ms>");
  EXPECT_EQ(Widget<QLabel>(label)->textFormat(), Qt::PlainText);
  EXPECT_EQ(Widget<QCheckBox>(check)->text(), "Regionen");
  EXPECT_EQ(view->windowTitle(), "Ormila");
}

TEST_F(FormViewTest, ColoursAreConvertedFromBgr) {
  struct Case {
    forms::Colour bgr;
    int red, green, blue;
  };
  for (const Case& c : {Case{0xB3B3FF, 0xFF, 0xB3, 0xB3}, Case{0x0000FF, 0xFF, 0, 0},
                        Case{0x00FF00, 0, 0xFF, 0}, Case{0xFF0000, 0, 0, 0xFF},
                        Case{0x123456, 0x56, 0x34, 0x12}}) {
    label.SetBackColour(c.bgr);
    text.SetBackColour(c.bgr);
    text.SetForeColour(c.bgr);
    const QColor expected(c.red, c.green, c.blue);
    EXPECT_EQ(Widget<QLabel>(label)->palette().color(QPalette::Window), expected) << c.bgr;
    EXPECT_EQ(Widget<QLineEdit>(text)->palette().color(QPalette::Base), expected) << c.bgr;
    EXPECT_EQ(Widget<QLineEdit>(text)->palette().color(QPalette::Text), expected) << c.bgr;
  }
}

TEST_F(FormViewTest, VisibilityEnabledToolTipAndFontFollowTheModel) {
  QLabel* w = Widget<QLabel>(label);
  label.SetVisible(false);
  EXPECT_FALSE(w->isVisible());
  label.SetVisible(true);
  EXPECT_TRUE(w->isVisible());

  QPushButton* push = Widget<QPushButton>(button);
  button.SetEnabled(false);
  EXPECT_FALSE(push->isEnabled());
  button.SetToolTip("rechnet die Hüllkurve um");
  EXPECT_EQ(push->toolTip(), QString::fromUtf8("rechnet die Hüllkurve um"));

  // Courier New is shown in Liberation Mono where the machine has it (it has the same widths),
  // else in the desktop's fixed-pitch choice for it: one width for every character.
  text.SetFontName("Courier New");
  text.SetFontSize(10);
  text.SetFontBold(true);
  const QFont font = Widget<QLineEdit>(text)->font();
  if (QFontDatabase::hasFamily("Liberation Mono")) {
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Mono");
  } else {
    EXPECT_EQ(font.family(), "Courier New");
    EXPECT_EQ(font.styleHint(), QFont::TypeWriter);
  }
  const QFontMetricsF metrics(font);
  EXPECT_EQ(metrics.horizontalAdvance("iiiii"), metrics.horizontalAdvance(QString::fromUtf8("MWÄß ")));
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 10.0);
  EXPECT_TRUE(font.bold());
}

// A caption that fits keeps the control's font; one that does not gets a smaller or narrower
// font in which it shows whole; a text from the program that cannot fit shows from its start.
TEST_F(FormViewTest, CaptionsShowWholeInTheirControls) {
  struct Case {
    forms::Control* control;
    int width, height;
    const char* caption;
    bool fitsAsIs;
  };
  const Case cases[] = {
      {&button, 1200, 375, "Start", true},
      {&button, 675, 255, "Programm", false},
      {&label, 1000, 225, "übernehmen:", false},
      {&label, 2400, 300, "Bereich", true},
      {&text, 1765, 215, "kleinster Zeitabstand:", false},
      {&check, 900, 255, "Regionen", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    c.control->Move(c.control->left(), c.control->top(), c.width, c.height);
    if (auto* b = dynamic_cast<forms::Button*>(c.control)) b->SetCaption(c.caption);
    if (auto* l = dynamic_cast<forms::Label*>(c.control)) l->SetCaption(c.caption);
    if (auto* x = dynamic_cast<forms::CheckBox*>(c.control)) x->SetCaption(c.caption);
    if (auto* t = dynamic_cast<forms::TextBox*>(c.control)) t->SetText(c.caption);
    EXPECT_THAT(gui_test::CutCaptions(*view, form), ::testing::IsEmpty());
    const QFont font = view->WidgetOf(*c.control)->font();
    EXPECT_EQ(font.pointSizeF() == 8.25 && font.stretch() == QFont::AnyStretch, c.fitsAsIs)
        << font.pointSizeF() << " pt, stretch " << font.stretch();
  }
  const std::string path = "C:\\Arbeit\\" + std::string(120, 'x') + "\\Gleiten.rpp";
  text.SetText(path);
  QLineEdit* edit = Widget<QLineEdit>(text);
  EXPECT_EQ(edit->cursorPosition(), 0);
  EXPECT_GE(edit->font().pointSizeF(), 6);
  QTest::keyClick(edit, Qt::Key_End);
  QTest::keyClicks(edit, "x");  // typing does not change the font fitted to the program's text
  EXPECT_EQ(text.text(), path + "x");
  EXPECT_GE(edit->font().pointSizeF(), 6);
}

TEST_F(FormViewTest, ListItemsAndSelectionFollowTheModel) {
  QListWidget* w = Widget<QListWidget>(list);
  list.AddItem("erste Spur");
  list.AddItem("übernehmen");
  list.AddItem("Гитара");
  ASSERT_EQ(w->count(), 3);
  EXPECT_EQ(w->item(1)->text(), QString::fromUtf8("übernehmen"));
  EXPECT_EQ(w->item(2)->text(), QString::fromUtf8("Гитара"));
  list.SetListIndex(2);
  EXPECT_EQ(w->currentRow(), 2);
  list.Clear();
  EXPECT_EQ(w->count(), 0);
  EXPECT_EQ(w->currentRow(), -1);
  EXPECT_TRUE(log.empty());  // changes from code run no click handler
  // A long text added line by line, cleared, and a new one whose first and last lines are those of
  // the old one: the widget shows exactly the model's lines each time.
  for (int i = 0; i < 3000; ++i) list.AddItem("Zeile " + std::to_string(i % 7));
  ASSERT_EQ(w->count(), 3000);
  EXPECT_EQ(w->item(2999)->text(), "Zeile 3");
  list.Clear();
  for (const char* line : {"Zeile 0", "anders", "Zeile 3", "dazu"}) list.AddItem(line);
  ASSERT_EQ(w->count(), 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(w->item(i)->text().toStdString(), list.items()[static_cast<size_t>(i)]) << i;
}

// The tab key follows the tab indexes set from code and passes over a control without a tab
// stop, which a click still focuses.
TEST_F(FormViewTest, TheTabKeyFollowsTheTabIndexesAndTabStops) {
  view->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  ok.SetTabIndex(1);
  button.SetTabIndex(2);
  text.SetTabIndex(3);
  button.SetTabStop(false);
  Widget<QPushButton>(ok)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), Widget<QLineEdit>(text));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), Widget<QPushButton>(ok));
  button.SetTabStop(true);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), Widget<QPushButton>(button));
  button.SetTabStop(false);
  Widget<QPushButton>(ok)->setFocus();
  QTest::mouseClick(Widget<QPushButton>(button), Qt::LeftButton);
  EXPECT_EQ(QApplication::focusWidget(), Widget<QPushButton>(button));
}

TEST_F(FormViewTest, ClickingAButtonRunsItsHandler) {
  Widget<QPushButton>(button)->click();
  QTest::mouseClick(Widget<QPushButton>(button), Qt::LeftButton);
  EXPECT_EQ(log, (std::vector<std::string>{"click", "click"}));
}

TEST_F(FormViewTest, MovingTheMouseOverALabelRunsItsHandler) {
  label.onMouseMove = [this] { log.push_back("move"); };
  QLabel* w = Widget<QLabel>(label);
  QTest::mouseMove(Widget<QPushButton>(button));  // elsewhere: nothing
  EXPECT_TRUE(log.empty());
  QTest::mouseMove(w, QPoint(5, 5));
  QTest::mouseMove(w, QPoint(20, 8));
  EXPECT_EQ(log, (std::vector<std::string>{"move", "move"}));
  label.onMouseMove = [] { throw common::ProgramEnd{}; };
  QTest::mouseMove(w, QPoint(30, 8));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_THROW(std::rethrow_exception(errors[0]), common::ProgramEnd);
}

// A click into a text box runs its click handler once, after the widget placed the cursor; a
// press that is released outside the box is no click.
TEST_F(FormViewTest, ClickingIntoATextBoxRunsItsClickHandler) {
  QLineEdit* edit = Widget<QLineEdit>(text);
  QTest::mouseClick(edit, Qt::LeftButton);
  EXPECT_EQ(log, std::vector<std::string>{"textclick"});
  QTest::mouseClick(edit, Qt::RightButton);
  QTest::mousePress(edit, Qt::LeftButton);
  QTest::mouseRelease(edit, Qt::LeftButton, {}, QPoint(-20, -20));
  EXPECT_EQ(log, std::vector<std::string>{"textclick"});
}

TEST_F(FormViewTest, MovingTheMouseOverAPictureRunsItsHandler) {
  QWidget* w = view->WidgetOf(picture);
  ASSERT_NE(w, nullptr);
  QTest::mouseMove(w, QPoint(10, 10));
  QTest::mouseMove(w, QPoint(20, 15));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "picture");
}

TEST_F(FormViewTest, ClickingAListEntrySetsTheIndexBeforeTheClickHandler) {
  for (const char* item : {"a", "b", "c"}) list.AddItem(item);
  QListWidget* w = Widget<QListWidget>(list);
  QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, w->visualItemRect(w->item(1)).center());
  QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, w->visualItemRect(w->item(1)).center());
  EXPECT_EQ(list.listIndex(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"list:1", "list:1"}));
}

TEST_F(FormViewTest, ScrollBarValueGoesBothWays) {
  QScrollBar* w = Widget<QScrollBar>(bar);
  EXPECT_EQ(w->orientation(), Qt::Horizontal);
  EXPECT_EQ(w->maximum(), 100);
  EXPECT_EQ(w->pageStep(), 20);
  w->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  w->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(bar.value(), 25);
  EXPECT_EQ(log, (std::vector<std::string>{"bar:5", "bar:25"}));
  bar.SetValue(60);
  EXPECT_EQ(w->value(), 60);
  bar.SetRange(0, 50);  // the widget clamps its value, but does not write that back
  EXPECT_EQ(w->value(), 50);
  EXPECT_EQ(bar.value(), 60);
  EXPECT_EQ(log, (std::vector<std::string>{"bar:5", "bar:25", "bar:60"}));
  bar.Move(6000, 0, 255, 2000);
  EXPECT_EQ(w->orientation(), Qt::Vertical);
}

TEST_F(FormViewTest, CheckBoxValueGoesBothWays) {
  QCheckBox* w = Widget<QCheckBox>(check);
  w->click();
  EXPECT_EQ(check.value(), 1);
  w->click();
  EXPECT_EQ(check.value(), 0);
  check.SetValue(2);
  EXPECT_EQ(w->checkState(), Qt::PartiallyChecked);
  check.SetValue(1);
  EXPECT_EQ(w->checkState(), Qt::Checked);
  EXPECT_EQ(log, (std::vector<std::string>{"check:1", "check:0", "check:2", "check:1"}));
}

TEST_F(FormViewTest, ReturnPressesTheDefaultButton) {
  QTest::keyClick(Widget<QLineEdit>(text), Qt::Key_Return);
  QTest::keyClick(Widget<QListWidget>(list), Qt::Key_Enter);
  EXPECT_EQ(log, (std::vector<std::string>{"ok", "ok"}));
  form.SetDefaultButton(&button);
  QTest::keyClick(Widget<QLineEdit>(text), Qt::Key_Return);
  button.SetEnabled(false);  // a disabled default button is not pressed
  QTest::keyClick(Widget<QLineEdit>(text), Qt::Key_Return);
  form.SetDefaultButton(nullptr);
  QTest::keyClick(Widget<QLineEdit>(text), Qt::Key_Return);
  EXPECT_EQ(log, (std::vector<std::string>{"ok", "ok", "click"}));
}

TEST_F(FormViewTest, AHandlerThatThrowsReachesOnError) {
  button.onClick = [] { common::Raise(common::kFileNotFound); };
  text.onChange = [] { throw std::out_of_range("kein Feld"); };
  ok.onClick = [] { throw std::runtime_error("Standardknopf"); };
  Widget<QPushButton>(button)->click();
  QTest::keyClicks(Widget<QLineEdit>(text), "x");
  QTest::keyClick(Widget<QLineEdit>(text), Qt::Key_Return);
  ASSERT_EQ(errors.size(), 3u);
  try {
    std::rethrow_exception(errors[0]);
  } catch (const common::RuntimeError& e) {
    EXPECT_EQ(e.number(), 53);
  }
  EXPECT_THROW(std::rethrow_exception(errors[1]), std::out_of_range);
  EXPECT_THROW(std::rethrow_exception(errors[2]), std::runtime_error);
  EXPECT_EQ(text.text(), "x");  // the model took the text before its handler failed
}

TEST_F(FormViewTest, TwipsArePlacedAtFifteenToAPixel) {
  struct Case {
    int left, top, width, height;
    QRect pixels;
  };
  for (const Case& c : {Case{1200, 600, 1500, 285, QRect(80, 40, 100, 19)},
                        Case{100, 107, 1000, 22, QRect(7, 7, 67, 1)},
                        Case{-150, 8482, 1980, 990, QRect(-10, 565, 132, 66)}}) {
    label.Move(c.left, c.top, c.width, c.height);
    EXPECT_EQ(Widget<QLabel>(label)->geometry(), c.pixels) << c.left << "," << c.top;
  }
  form.SetWidth(12360);
  form.SetHeight(10070);
  EXPECT_EQ(view->size(), QSize(824, 671));
}

TEST_F(FormViewTest, AGrabShowsTheControlsAndIsSavedForReview) {
  text.SetText("C:\\Arbeit\\Projekt.rpp");
  list.AddItem("Spur 1");
  const QImage image = view->grab().toImage();
  const std::filesystem::path folder = gui_test::ReviewFolder();
  const QString file = Q((folder / "form_view.png").string());
  ASSERT_TRUE(image.save(file));
  const QImage saved(file);
  EXPECT_EQ(saved.size(), QSize(400, 300));
  // a corner of the label shows its back colour &HB3B3FF
  const QPoint corner = Widget<QLabel>(label)->geometry().topLeft() + QPoint(1, 1);
  EXPECT_EQ(saved.pixelColor(corner), QColor(0xFF, 0xB3, 0xB3));
}

// The default error hook: the message on stderr, and the event loop quits with exit code 1 (a
// program end quits with its own status).
TEST(FormViewDeathTest, DefaultOnErrorQuitsTheApplication) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  using ::testing::HasSubstr;
  struct Case {
    std::function<void()> handler;
    int status;
    ::testing::Matcher<const std::string&> printed;
  };
  for (const Case& c : {Case{[] { common::Raise(common::kFileNotFound); }, 1,
                             HasSubstr("Laufzeitfehler '53': Datei nicht gefunden")},
                        Case{[] { common::EndProgram(3); }, 3, Not(HasSubstr("Laufzeitfehler"))}}) {
    EXPECT_EXIT(
        {
          App();
          forms::Form form("frmTest");
          forms::Button& button = form.Add<forms::Button>("Command1");
          button.onClick = c.handler;
          gui::FormView view(form);
          view.show();
          QTimer::singleShot(0, [&] { qobject_cast<QPushButton*>(view.WidgetOf(button))->click(); });
          std::exit(QApplication::exec());
        },
        ::testing::ExitedWithCode(c.status), c.printed);
  }
}

}  // namespace
