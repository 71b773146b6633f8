// The converter's real window model shown by the Qt view under the offscreen platform: typing,
// colours and the "Cso1" button go both ways between the widgets and the model.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "common/errors.h"
#include "envelope/converter_window.h"
#include "gui/dialogs.h"
#include "gui/form_view.h"
#include "gui/qt_app.h"
#include "gui/whole_captions.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/drive_map.h"
#include "platform/program_start.h"
#include "platform/temp_drive_root.h"
#include "platform/window_closing.h"

namespace {

namespace fs = std::filesystem;
using platform_test::ReadHostFile;

class ConverterViewTest : public ::testing::Test {
 protected:
  ConverterViewTest() {
    gui_test::App();
    root.MakeFolder("c/Arbeit");
    platform::SetDrives(platform::DriveMap(root.root()));
    const fs::path examples = fs::path(ORMILA_SOURCE_DIR) / "examples";
    root.Write("c/Arbeit/Gleiten.rpp", ReadHostFile(examples / "Gleiten.rpp"));
    root.Write("c/Arbeit/Tesu.ini", ReadHostFile(examples / "Tesu.ini"));
    root.Write("c/Arbeit/Klang.wav", "RIFF");
    window = std::make_unique<envelope::ConverterWindow>(envelope::ConverterServices{
        clock, starter, windows, dialogs, dialogs, dialogs});
    window->Form_Load();
    view = std::make_unique<gui::FormView>(window->frmDatei);
    view->onError = [this](std::exception_ptr e) { errors.push_back(e); };
    view->show();
  }
  ~ConverterViewTest() override {
    view.reset();
    window.reset();
    platform::SetDrives(platform::DriveMap::FromEnvironment());
  }

  platform_test::TempDriveRoot root;
  platform::FixedClock clock{"10.12.2026", "08:15:00"};
  platform::FakeProgramStarter starter;
  platform::FakeWindowSystem windows;
  platform::ScriptedDialogs dialogs;
  std::unique_ptr<envelope::ConverterWindow> window;
  std::unique_ptr<gui::FormView> view;
  std::vector<std::exception_ptr> errors;
};

TEST_F(ConverterViewTest, TypingIntoTheProjectBoxReachesTheModelAndTheSettingsFile) {
  auto* box = qobject_cast<QLineEdit*>(view->WidgetOf(*window->Text[1]));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text().toStdString(), "Gleiten");
  box->selectAll();
  QTest::keyClicks(box, "Kleid");
  EXPECT_EQ(window->state.ProjectName, "Kleid");
  EXPECT_EQ(window->state.ProjectPath, "C:\\Arbeit\\Kleid.rpp");
  EXPECT_EQ(root.Read("c/Arbeit/Tesu.ini").substr(0, 7), "Kleid\r\n");
  EXPECT_EQ(view->windowTitle().toStdString(),
            "Ormila v5.31 - Reaper-Datei:  C:\\Arbeit\\Kleid.rpp - Spurname:  Glissando");
  EXPECT_TRUE(errors.empty());
}

// A value given to a settings box by assistive technology (AT-SPI "set text contents") is the
// value the program works with and saves, not only what the box shows.
TEST_F(ConverterViewTest, TextSetThroughAccessibilityReachesTheSettings) {
  auto* box = qobject_cast<QLineEdit*>(view->WidgetOf(*window->Text[12]));
  ASSERT_NE(box, nullptr);
  QAccessibleInterface* access = QAccessible::queryAccessibleInterface(box);
  ASSERT_NE(access, nullptr);
  ASSERT_NE(access->editableTextInterface(), nullptr);
  access->editableTextInterface()->replaceText(0, static_cast<int>(box->text().size()), "1.5");
  EXPECT_EQ(box->text().toStdString(), "1.5");
  EXPECT_EQ(window->state.OverallLoudness.AsLeadingNumber(), 1.5);
  std::istringstream ini(root.Read("c/Arbeit/Tesu.ini"));
  std::string line;
  for (int n = 1; n <= 12; ++n) std::getline(ini, line);
  EXPECT_EQ(line, " 1.5 \r");
  EXPECT_TRUE(errors.empty());
}

TEST_F(ConverterViewTest, AColourChangedInTheModelReachesTheWidget) {
  QWidget* master = view->WidgetOf(*window->Text[15]);
  ASSERT_NE(master, nullptr);
  window->Text[15]->SetText("440");  // the handler colours the box &H8080FF
  const QColor c = master->palette().color(QPalette::Base);
  EXPECT_EQ(c.red(), 0xFF);
  EXPECT_EQ(c.green(), 0x80);
  EXPECT_EQ(c.blue(), 0x80);
  EXPECT_EQ(qobject_cast<QLineEdit*>(master)->text().toStdString(), "440");
}

TEST_F(ConverterViewTest, PressingCso1WritesTheToneListAndStartsTheBuild) {
  auto* cso1 = qobject_cast<QPushButton*>(view->WidgetOf(window->Command3));
  ASSERT_NE(cso1, nullptr);
  EXPECT_EQ(cso1->text().toStdString(), "Cso1");
  QTest::mouseClick(cso1, Qt::LeftButton);
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(dialogs.messages.empty());
  const std::string toneList = root.Read("c/Arbeit/Tesu.rsz");
  EXPECT_NE(toneList.find("Reaperdatei: Gleiten.rpp"), std::string::npos);
  EXPECT_NE(toneList.find("\r\nZP         1           2.5"), std::string::npos);
  ASSERT_EQ(starter.starts.size(), 1u);
  EXPECT_EQ(starter.starts[0].commandLine, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe");
  // The display list and the value columns show what was read.
  EXPECT_FALSE(window->Testlist.items().empty());
  EXPECT_EQ(window->Testliste[2]->items().at(3), "0.25118864");
}

// The copy and snapshot buttons are in the window: their captions and tool tips, inside the
// window and over no other control.
TEST_F(ConverterViewTest, TheCopyAndSnapshotButtonsAreShownFreeOfOtherControls) {
  struct Expected {
    const forms::Button* button;
    const char* caption;
    const char* toolTip;
  };
  const Expected buttons[] = {
      {&window->kopieren, "Copy",
       "Wenn die Punkteautomatik aus ist: den markierten Teil der aktuellen Hüllkurve verdoppeln "
       "- Wenn die Punkteautomatik an ist: die komplette aktuelle Hüllkurve verdoppeln"},
      {&window->Command4, "Snapshot",
       "Snapshot: Die Dateien Tesu.wav, Tesu.rsz und Tesu.ini unter neuem Namen speichern - der "
       "neue Name steht im Clipboard! - Zusätzlich wird eine Reaperdatei geschrieben - seit "
       "Januar 2019 auch noch eine Mixdarei (mix-ormila.txt)"},
      {&window->Csoundstore, "S",
       "Snapshot: Die Dateien Tesu.wav, Tesu.rsz und Tesu.ini unter neuem Namen speichern - der "
       "neue Name steht im Clipboard! - Zusätzlich wird eine Reaperdatei geschrieben, und eine "
       "Mixdatei (mix-ormila.txt) wird geschrieben"},
  };
  for (const Expected& e : buttons) {
    SCOPED_TRACE(e.caption);
    auto* widget = qobject_cast<QPushButton*>(view->WidgetOf(*e.button));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->text().toStdString(), e.caption);
    EXPECT_EQ(widget->toolTip().toStdString(), e.toolTip);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_TRUE(view->rect().contains(widget->geometry())) << "outside the window";
    for (const auto& other : window->frmDatei.controls()) {
      QWidget* w = view->WidgetOf(*other);
      if (!w || w == widget || !w->isVisible()) continue;
      EXPECT_FALSE(w->geometry().intersects(widget->geometry())) << "over " << other->name();
    }
  }
  auto* distance = view->WidgetOf(window->Abstandstext);
  ASSERT_NE(distance, nullptr);
  EXPECT_EQ(distance->toolTip().toStdString(),
            "Abstand der kopierten Hüllkurve von der Originalhüllkurve hier eintragen (nur "
            "positive Werte)");
}

// Pressed in the window: "Cso1", then "Copy" renames the project box, then "Snapshot" keeps
// the set under the first free number.
TEST_F(ConverterViewTest, PressingCopyAndSnapshotWritesTheFiles) {
  auto press = [this](const forms::Button& b) {
    auto* widget = qobject_cast<QPushButton*>(view->WidgetOf(b));
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton);
  };
  press(window->Command3);
  press(window->kopieren);
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  EXPECT_TRUE(fs::exists(root / "c/Arbeit/Gleitenc.rpp"));
  EXPECT_EQ(qobject_cast<QLineEdit*>(view->WidgetOf(*window->Text[1]))->text().toStdString(),
            "Gleitenc");
  // A finished render: RIFF size 36 + 4 bytes of sound.
  root.Write("c/Arbeit/Dozudava.wav",
             std::string("RIFF\x28\0\0\0WAVEfmt \x10\0\0\0\x01\0\x02\0\x44\xAC\0\0"
                         "\x10\xB1\x02\0\x04\0\x10\0data\x04\0\0\0\1\2\3\4", 48));
  press(window->Command4);
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages.front().text;
  for (const char* name : {"Tesu1.wav", "Tesu1.rsz", "Tesu1.inv", "Tesu1.rpp", "mix-ormila.txt"})
    EXPECT_TRUE(fs::exists(root / "c/Arbeit" / name)) << name;
  EXPECT_EQ(dialogs.clipboard, "Tesu1.wav");
  EXPECT_TRUE(errors.empty());
}

}  // namespace

namespace {

TEST_F(ConverterViewTest, MovingASliderSetsTheStrengthAndTheCaption) {
  auto* slider = qobject_cast<QScrollBar*>(view->WidgetOf(window->VScroll3));
  ASSERT_NE(slider, nullptr);
  EXPECT_TRUE(slider->isVisible());
  EXPECT_EQ(slider->orientation(), Qt::Vertical);
  EXPECT_EQ(slider->maximum(), 32767);
  QTest::keyClick(slider, Qt::Key_End);  // the thumb to the bottom: full pitch strength
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(window->VScroll3.value(), 32767);
  EXPECT_DOUBLE_EQ(window->state.VariationStrength[2], 1.0);
  EXPECT_EQ(view->windowTitle().toStdString(),
            "Ormila v5.31      Gelesene Datei: Gleiten.rpp      Spur: Glissando      1");
  QTest::keyClick(slider, Qt::Key_Home);
  EXPECT_EQ(window->state.VariationStrength[2], 0.0);
}

TEST_F(ConverterViewTest, PressingHThenVar1WritesTheRaisedPitchesAndStartsTheBuild) {
  auto press = [this](forms::Button& key) {
    auto* button = qobject_cast<QPushButton*>(view->WidgetOf(key));
    ASSERT_NE(button, nullptr) << key.name();
    EXPECT_EQ(button->text().toStdString(), key.caption());
    ASSERT_TRUE(button->isVisible() && button->isEnabled()) << key.name();
    QTest::mouseClick(button, Qt::LeftButton);
  };
  press(window->Command3);
  press(window->H_Enter);  // pitch strength 0: every pitch times 2^(1/100)
  EXPECT_EQ(window->Testliste[3]->items().at(3), "221.53");
  EXPECT_FALSE(view->WidgetOf(window->Command3)->isEnabled());
  press(window->Variation);
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_NE(root.Read("c/Arbeit/Tesu.rsz")
                .find("\r\nHT         221.53      332.3       332.3       443.06      394.73      "
                      "394.73\r\n"),
            std::string::npos);
  ASSERT_EQ(starter.starts.size(), 2u);
  EXPECT_EQ(starter.starts[1].commandLine, "C:\\Arbeit\\VB\\Tesu01\\TalvikTe.exe");
  EXPECT_TRUE(view->WidgetOf(window->Command3)->isEnabled());
}

TEST_F(ConverterViewTest, TheLaunchersAndTogglesShowInTheWindowWithoutOverlapping) {
  const QRect inside(QPoint(0, 0), view->size());
  std::vector<std::pair<std::string, QRect>> shown;
  for (const auto& control : window->frmDatei.controls()) {
    QWidget* w = view->WidgetOf(*control);
    ASSERT_NE(w, nullptr) << control->name();
    if (!w->isVisible()) continue;
    EXPECT_TRUE(inside.contains(w->geometry())) << control->name() << " lies outside the window";
    for (const auto& [name, rect] : shown)
      EXPECT_FALSE(rect.intersects(w->geometry())) << control->name() << " covers " << name;
    shown.emplace_back(control->name() + (control->index() >= 0 ? std::to_string(control->index()) : ""),
                       w->geometry());
  }
  for (const char* name : {"Command5", "Command13", "Command8", "Command9", "Command6", "Stimmen",
                           "Cool", "Csoundknopf", "Command15", "Zumkknopf", "Command16", "Command17",
                           "Command10", "Label17", "Text18"}) {
    const forms::Control* control = window->frmDatei.Find(name);
    ASSERT_NE(control, nullptr) << name;
    EXPECT_TRUE(view->WidgetOf(*control)->isVisible()) << name;
  }
  const QImage image = view->grab().toImage();
  const fs::path folder = gui_test::ReviewFolder();
  EXPECT_TRUE(image.save(QString::fromStdString((folder / "converter_window.png").string())));
  // "Cool" shows its green &HBFFA8F; a click turns it grey &HDFDFDF.
  auto* cool = qobject_cast<QPushButton*>(view->WidgetOf(window->Cool));
  EXPECT_EQ(cool->palette().color(QPalette::Button), QColor(0x8F, 0xFA, 0xBF));
  QTest::mouseClick(cool, Qt::LeftButton);
  EXPECT_EQ(cool->palette().color(QPalette::Button), QColor(0xDF, 0xDF, 0xDF));
  EXPECT_FALSE(window->state.WithAudioEditor);
  EXPECT_TRUE(errors.empty());
}

// Every caption shows whole at the sizes of the layout: after the start, after a run and with
// the captions of sine tones.
TEST_F(ConverterViewTest, EveryCaptionShowsWhole) {
  const std::pair<const char*, std::function<void()>> states[] = {
      {"start", [] {}},
      {"Cso1", [this] { window->Command3.Click(); }},
      {"sine", [this] { window->Text[3]->SetText("j"); }},
  };
  for (const auto& [name, act] : states) {
    SCOPED_TRACE(name);
    act();
    EXPECT_THAT(gui_test::CutCaptions(*view, window->frmDatei), ::testing::IsEmpty());
  }
  EXPECT_EQ(qobject_cast<QLabel*>(view->WidgetOf(window->Label9))->text().toStdString(),
            "Sinus-Lautstärkefaktor");
  EXPECT_TRUE(errors.empty());
}

TEST_F(ConverterViewTest, TheMouseOverLabel17EndsTheProgram) {
  QWidget* label = view->WidgetOf(window->Label17);
  ASSERT_NE(label, nullptr);
  QTest::mouseMove(label, QPoint(3, 3));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_THROW(std::rethrow_exception(errors[0]), common::ProgramEnd);
}

// "einbauen" and "L" in the real window ask the Qt file dialog: a chosen sample is copied, a typed
// name without extension restores its pair.
TEST_F(ConverterViewTest, EinbauenAndLAskTheQtFileDialog) {
  gui::QtDialogs qt;
  view.reset();  // the view goes before the window whose controls it shows
  window = std::make_unique<envelope::ConverterWindow>(
      envelope::ConverterServices{clock, starter, windows, dialogs, dialogs, dialogs, qt});
  window->Form_Load();
  view = std::make_unique<gui::FormView>(window->frmDatei);
  view->onError = [this](std::exception_ptr e) { errors.push_back(e); };
  view->show();
  root.Write("c/Arbeit/Geige.wav", "RIFF-Geige");
  root.Write("c/Arbeit/Tesu7.orc", "Tesu7 orc");
  root.Write("c/Arbeit/Tesu7.sco", "Tesu7 sco");
  const struct {
    const forms::Button* button;
    const char* typed;
  } cases[] = {{&window->Command11, "Geige.wav"}, {&window->Command15, "Tesu7"}};
  for (const auto& c : cases) {
    QString folder;
    gui_test::WhenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      folder = dialog->directory().absolutePath();
      QTest::keyClicks(dialog->focusWidget(), c.typed);
      QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
    });
    QTest::mouseClick(qobject_cast<QPushButton*>(view->WidgetOf(*c.button)), Qt::LeftButton);
    EXPECT_EQ(folder.toStdString(), (root / "c/Arbeit").string()) << c.typed;
  }
  EXPECT_EQ(root.Read("c/Arbeit/Samp100.wav"), "RIFF-Geige");
  EXPECT_EQ(window->state.SamplePath, "C:\\Arbeit\\Geige.wav");
  EXPECT_EQ(root.Read("c/Arbeit/Dozudava.orc"), "Tesu7 orc");
  EXPECT_EQ(root.Read("c/Arbeit/Dozudava.sco"), "Tesu7 sco");
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(errors.empty());
}

}  // namespace

namespace {

// The info pages in the window: the list grows to its 9820 twips inside a window that grows with
// it, shows the tables' 99-character lines whole with every character as wide as the others (so
// the columns stand one under the other, whatever font the machine has), every line can be
// scrolled into view, and the working view comes back as it was.
TEST_F(ConverterViewTest, TheInfoPagesAreReadableInTheWindow) {
  const QSize workingSize = view->size();
  auto* list = qobject_cast<QListWidget*>(view->WidgetOf(window->Testlist));
  ASSERT_NE(list, nullptr);
  const QRect workingList = list->geometry();
  auto* info = qobject_cast<QPushButton*>(view->WidgetOf(window->Command2));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->text().toStdString(), "i");
  for (int page = 1; page <= 4; ++page) {
    SCOPED_TRACE(page);
    QTest::mouseClick(info, Qt::LeftButton);
    ASSERT_EQ(window->state.InfoPage, page);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->height(), 655);  // 9820 twips
    EXPECT_TRUE(QRect(QPoint(0, 0), view->size()).contains(list->geometry())) << "list cut off";
    EXPECT_TRUE(QFontInfo(list->font()).bold());
    const QFontMetricsF metrics(list->font());
    const qreal column = metrics.horizontalAdvance(QLatin1Char(' '));
    qreal widest = 0;
    int uneven = 0;
    for (int i = 0; i < list->count(); ++i) {
      const QString line = list->item(i)->text();
      const qreal width = metrics.horizontalAdvance(line);
      widest = std::max(widest, width);
      // The fixed pages: every character one column wide. The start page is the composer's file.
      if (page != 2 && std::abs(width - column * line.size()) > 0.01 && uneven++ < 3)
        ADD_FAILURE() << "line " << i << " is " << width << " pixels wide, not " << line.size()
                      << " columns of " << column << ": " << line.toStdString();
    }
    EXPECT_EQ(uneven, 0) << QFontInfo(list->font()).family().toStdString();
    // The fixed pages fit the width, whatever the start page's.
    if (page != 2) {
      EXPECT_LE(widest + 8, list->viewport()->width()) << "a line does not fit the list";
    }
    for (int i : {list->count() - 1, 0}) {
      list->scrollToItem(list->item(i));
      const QRect shown = list->visualItemRect(list->item(i));
      EXPECT_TRUE(shown.top() >= 0 && shown.bottom() < list->viewport()->height())
          << "line " << i << " cannot be scrolled into view";
    }
    EXPECT_GE(list->horizontalScrollBar()->maximum() + list->viewport()->width(), widest)
        << "the widest line cannot be scrolled into view";
    for (const auto& control : window->frmDatei.controls()) {
      QWidget* w = view->WidgetOf(*control);
      if (w && w != list && w->isVisible()) {
        EXPECT_FALSE(w->geometry().intersects(list->geometry())) << "over " << control->name();
      }
    }
  }
  const QImage image = view->grab().toImage();
  const fs::path folder = gui_test::ReviewFolder();
  EXPECT_TRUE(image.save(QString::fromStdString((folder / "converter_reference_tables.png").string())));
  QTest::mouseClick(info, Qt::LeftButton);  // back to the work by a run
  EXPECT_EQ(window->state.InfoPage, 0);
  EXPECT_EQ(view->size(), workingSize);
  EXPECT_EQ(list->geometry(), workingList);
  EXPECT_TRUE(errors.empty());
}

// A click on a line of the manual in the window returns to the work by way of a run.
TEST_F(ConverterViewTest, AClickOnTheManualReturnsToTheWork) {
  QTest::mouseClick(qobject_cast<QPushButton*>(view->WidgetOf(window->Command2)), Qt::LeftButton);
  ASSERT_EQ(window->state.InfoPage, 1);
  EXPECT_FALSE(view->WidgetOf(window->Command3)->isVisible());
  auto* list = qobject_cast<QListWidget*>(view->WidgetOf(window->Testlist));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 192);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(3)).center());
  EXPECT_EQ(window->state.InfoPage, 0);
  EXPECT_TRUE(view->WidgetOf(window->Command3)->isVisible());
  EXPECT_EQ(list->item(1)->text().toStdString(),
            "Analyse der aus C:\\Arbeit\\Gleiten.rpp herausgefilterten Werte.");
  EXPECT_TRUE(starter.starts.empty());
  EXPECT_TRUE(errors.empty());
}

}  // namespace
