// The compiler window's random panel shown by the Qt view under the offscreen platform: its
// buttons, clicks into its boxes and the mouse over the picture reach the model, and what the
// model changes reaches the widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>

#include "common/errors.h"
#include "compiler/random_fixture.h"
#include "gui/compiler_view.h"

namespace {

using compiler::CompilerWindow;

class CompilerRandomViewTest : public gui_test::CompilerView<compiler_test::RandomWindowTest> {
 protected:
  QPushButton* Button(const std::string& name) { return Widget<QPushButton>(window->Btn(name)); }
  QLineEdit* Edit(int row) { return Widget<QLineEdit>(Row(row)); }
};

TEST_F(CompilerRandomViewTest, TheSettingsButtonShowsThePanelAndAClickValidatesARow) {
  ASSERT_FALSE(Edit(1)->isVisible());
  QTest::mouseClick(Button("Command11"), Qt::LeftButton);
  ASSERT_TRUE(Edit(1)->isVisible());
  QLineEdit* caption = Widget<QLineEdit>(Box(CompilerWindow::PanelRowBoxes(1).first));
  EXPECT_TRUE(caption->isVisible());
  EXPECT_EQ(caption->text().toStdString(), "Gesamtdauer:");
  EXPECT_EQ(caption->toolTip().toStdString(), "Werte in Sekunden angeben!");

  // typing alone validates nothing; the click into the box does
  Edit(1)->selectAll();
  QTest::keyClicks(Edit(1), "0.1");
  EXPECT_EQ(window->state.TotalDuration, 10);
  QTest::mouseClick(Edit(1), Qt::LeftButton);
  EXPECT_EQ(Edit(1)->text().toStdString(), "0.4");
  EXPECT_DOUBLE_EQ(window->state.TotalDuration, 0.4);
  EXPECT_TRUE(errors.empty());
}

// With the panel shown, the tab key walks down the value column, row by row across the groups,
// past the caption boxes, and from the last row on to the other controls.
TEST_F(CompilerRandomViewTest, TheTabKeyWalksDownTheValueColumn) {
  QTest::mouseClick(Button("Command11"), Qt::LeftButton);
  view->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  Edit(1)->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), Edit(1));
  for (int row = 2; row <= 22; ++row) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Edit(row)) << "row " << row;
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  for (int row = 1; row <= 22; ++row)
    EXPECT_NE(QApplication::focusWidget(), Widget<QLineEdit>(Box(CompilerWindow::PanelRowBoxes(row).first)))
        << "caption of row " << row;
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), Edit(22));
  EXPECT_TRUE(errors.empty());
}

TEST_F(CompilerRandomViewTest, TheRandomListButtonDrawsWritesAndBecomesTheDefault) {
  random.Seed(21);
  QTest::mouseClick(Button("Zufallsliste"), Qt::LeftButton);
  EXPECT_TRUE(errors.empty());
  const int n = window->composition.n;
  ASSERT_GT(n, 1);
  const std::string list = root.Read("c/Arbeit/Zufall.rsz");
  EXPECT_NE(list.find("\r\nZP   0 "), std::string::npos);
  EXPECT_TRUE(Button("Zufallsliste")->isDefault());
  EXPECT_FALSE(Button("Command10")->isDefault());
  EXPECT_EQ(view->windowTitle().toStdString(),
            "T A L V I K  -  Diese Reihe wurde mit einer Zufallsliste erzeugt");
  auto* listing = Widget<QListWidget>(window->Testliste);
  EXPECT_EQ(listing->count(), window->Testliste.ListCount());
  EXPECT_EQ(listing->item(listing->count() - 1)->text().toStdString(),
            "alles automatisch! Erst sollte jedoch die Parameterliste (hier rechts) editiert "
            "werden.");
}

TEST_F(CompilerRandomViewTest, PowerCompilesAndTheProgramEndReachesTheView) {
  random.Seed(22);
  QTest::mouseClick(Button("Command10"), Qt::LeftButton);
  ASSERT_EQ(errors.size(), 1u);
  int status = -1;
  try {
    std::rethrow_exception(errors[0]);
  } catch (const common::ProgramEnd& end) {
    status = end.exitStatus;
  } catch (...) {
  }
  EXPECT_EQ(status, 0);
  EXPECT_EQ(window->state.ToneListPath, "C:\\Arbeit\\Zufall.rsz");
  EXPECT_EQ(starter.starts.size(), 1u);
  const auto& items = window->Testliste.items();
  EXPECT_EQ(std::count(items.begin(), items.end(), std::string(106, '=')), 0);
}

TEST_F(CompilerRandomViewTest, LoadingPresetsFillsTheWidgets) {
  std::string file;
  for (const char* line : {"20", "0.1", "0.3", "0.01", "0", "40000", "50", "70", "5", "1", "2",
                           "30", "50", "3", "2", "2", "1", "2", "0", "0", "0", "0"})
    file += std::string(line) + "\r\n";
  root.Write("c/Arbeit/Hell.prs", file);
  dialogs.chosenFiles = {"C:\\Arbeit\\Hell.prs"};
  QTest::mouseClick(Button("Command12"), Qt::LeftButton);
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(Edit(1)->isVisible());
  EXPECT_EQ(Edit(1)->text().toStdString(), "20");
  EXPECT_EQ(Edit(16)->text().toStdString(), "2");
  EXPECT_TRUE(window->state.PresetsLoaded);
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs.fileRequests[0].title, "Presets");
}

TEST_F(CompilerRandomViewTest, TheMouseOverThePictureHidesIt) {
  QWidget* picture = view->WidgetOf(window->Pic("Picture2"));
  ASSERT_NE(picture, nullptr);
  ASSERT_TRUE(picture->isVisible());
  QTest::mouseMove(picture, QPoint(10, 10));
  QTest::mouseMove(picture, QPoint(12, 14));
  EXPECT_FALSE(window->Pic("Picture2").visible());
  EXPECT_FALSE(picture->isVisible());
}

}  // namespace
