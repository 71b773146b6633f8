// The compiler window's tools shown by the Qt view under the offscreen platform: the importer's
// button, switches and settings boxes, "LT-HT", "4" and "Ende" pressed and typed into as a user
// would, and what the model changes reaching the widgets.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>

#include "common/errors.h"
#include "compiler/tools_fixture.h"
#include "csound/fixed_texts.h"
#include "gui/compiler_view.h"
#include "gui/whole_captions.h"

namespace {

class CompilerToolsViewTest : public gui_test::CompilerView<compiler_test::ToolsTest> {
 protected:
  QPushButton* Press(const std::string& name) {
    QPushButton* button = Widget<QPushButton>(window->Btn(name));
    QTest::mouseClick(button, Qt::LeftButton);
    return button;
  }
  QListWidget* List() { return Widget<QListWidget>(window->Testliste); }
  // The status with which the program ended through the view; -1 when it did not end.
  int EndStatus() {
    for (const std::exception_ptr& e : errors) {
      try {
        std::rethrow_exception(e);
      } catch (const common::ProgramEnd& end) {
        return end.exitStatus;
      } catch (...) {
      }
    }
    return -1;
  }
};

TEST_F(CompilerToolsViewTest, TypingSwitchesAndTheImportButton) {
  WriteScore({"i01 0 2 880 10000", "i01 3 1 660 20000"});
  QLineEdit* tempo = Widget<QLineEdit>(Box("Text46"));
  ASSERT_FALSE(tempo->isVisible());
  Press("Command14");
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(ArbeitHas("Vuzov.rsz"));
  EXPECT_TRUE(tempo->isVisible()) << "the import shows the settings panel";
  EXPECT_TRUE(Widget<QLabel>(window->Lbl("Label18"))->isVisible());
  EXPECT_FALSE(Widget<QLabel>(window->Lbl("Label4"))->isVisible());
  EXPECT_EQ(List()->count(), window->Testliste.ListCount());
  EXPECT_EQ(List()->item(List()->count() - 3)->text().toStdString(), "HTS  1 (Sample-Tonhöhe)");

  // the user types a tempo and takes the times off; the next import keeps them
  tempo->selectAll();
  QTest::keyClicks(tempo, "4");
  EXPECT_EQ(s().Tempo, 4);
  QCheckBox* times = Widget<QCheckBox>(window->Chk("Check1"));
  ASSERT_TRUE(times->isChecked());
  EXPECT_EQ(times->toolTip().toStdString(),
            "wenn das Häkchen entfernt wird, werden die Zeitwerte in Vuzov.rsz vor dem Überschreiben "
            "geschützt");
  QTest::mouseClick(times, Qt::LeftButton);
  EXPECT_FALSE(s().ImportTimes);
  WriteScore({"i01 10 8 440 10000", "i01 20 8 440 10000"});
  Press("Command14");
  EXPECT_EQ(s().NoteStart[2], 1.5) << "kept from the first import";
  EXPECT_EQ(s().NotePitch[1], 220);
  EXPECT_EQ(ReadArbeit("Talvik.ini").substr(0, 9), "0.05\r\n4\r\n");
}

TEST_F(CompilerToolsViewTest, AScoreThatCannotBeTakenIsReported) {
  WriteScore({"i01 0 2 880 10000", "i01 + 1 660 10000"});
  Press("Command14");
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("Zeile 2: i01 + 1 660 10000"), std::string::npos) << Messages()[0];
  EXPECT_FALSE(ArbeitHas("Vuzov.rsz"));
  // MIDI-POWER does not compile it either
  Press("Command31");
  EXPECT_EQ(EndStatus(), -1);
  EXPECT_TRUE(starter.starts.empty());
}

TEST_F(CompilerToolsViewTest, LtHtAppendsTheTablesToTheShownList) {
  const int before = List()->count();
  QPushButton* button = Press("Command21");
  EXPECT_EQ(button->text().toStdString(), "LT-HT");
  EXPECT_EQ(List()->count(), before + static_cast<int>(csound::ReferenceTableLines().size()));
  EXPECT_EQ(List()->item(before + 1)->text().toStdString(), csound::ReferenceTableLines()[1]);
  QLabel* heading = Widget<QLabel>(window->Lbl("Label18"));
  EXPECT_TRUE(heading->isVisible());
  EXPECT_EQ(heading->text().toStdString(), "Härte        Tempo      Tonhöhe   Lautstärke");
  EXPECT_TRUE(Widget<QLineEdit>(Box("Text58"))->isVisible());
  EXPECT_FALSE(Widget<QLineEdit>(Box("Text48"))->isVisible());
}

TEST_F(CompilerToolsViewTest, FourCompilesAndTheProgramEndReachesTheView) {
  WriteArbeit("Vuzov.rsz", compiler_test::CrLf({"ZP 0 1", "HT 440 .", "LT 0 0"}));
  QPushButton* four = Press("Command15");
  EXPECT_EQ(four->toolTip().toStdString(),
            "die Tonverlaufsliste Vuzov.rsz umwandeln und damit Csound starten, also Vuzov.rsz ---> "
            "Dozudava.sco ---> Dozudava.wav");
  EXPECT_EQ(EndStatus(), 0);
  EXPECT_EQ(s().ToneListPath, "C:\\Arbeit\\Vuzov.rsz");
  EXPECT_EQ(StartLines(), std::vector<std::string>{"C:\\Arbeit\\cs06b.bat"});
}

// Every caption shows whole, and no control covers another's, at the sizes of the layout: after
// the pass, with the four settings of "LT-HT", with the whole settings panel of an import and with
// the random panel shown.
TEST_F(CompilerToolsViewTest, EveryCaptionShowsWhole) {
  WriteScore({"i01 0 2 880 10000", "i01 3 1 660 20000"});
  const struct {
    const char* button;  // pressed first; none for the window after the pass
    const char* picture;  // kept for review
  } states[] = {{"", "compiler_window.png"},
                {"Command21", "compiler_settings_panel.png"},
                {"Command14", "compiler_import.png"},
                {"Command11", "compiler_random_panel.png"}};
  for (const auto& state : states) {
    SCOPED_TRACE(state.button);
    if (*state.button) Press(state.button);
    EXPECT_THAT(gui_test::CutCaptions(*view, window->frmDatei), ::testing::IsEmpty());
    const QImage image = view->grab().toImage();
    EXPECT_TRUE(image.save(QString::fromStdString((gui_test::ReviewFolder() / state.picture).string())));
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(CompilerToolsViewTest, EndeSavesWhatTheBoxesShow) {
  QLineEdit* hardness = Widget<QLineEdit>(Box("Text45"));
  window->Command21_Click();  // shows the first four boxes
  ASSERT_TRUE(hardness->isVisible());
  hardness->selectAll();
  QTest::keyClicks(hardness, "0.2");
  Press("Ende");
  EXPECT_EQ(EndStatus(), 0);
  EXPECT_EQ(ReadArbeit("Talvik.ini").substr(0, 5), "0.2\r\n");
}

// Typed key by key, "1e999" is refused at its last key: the box shows again the text it had
// ("1e99"), its field keeps that value, and "Ende" saves that text.
TEST_F(CompilerToolsViewTest, ANumberTooLargeTypedIntoASettingsBoxIsRefusedThere) {
  QLineEdit* tempo = Widget<QLineEdit>(Box("Text46"));
  window->Command21_Click();
  tempo->selectAll();
  QTest::keyClicks(tempo, "1e999");
  ASSERT_EQ(Messages(), std::vector<std::string>{"Die Zahl \"1e999\" im Feld \"Tempo\" ist zu groß. "
                                                 "Es gilt weiter der bisherige Wert."});
  EXPECT_EQ(tempo->text().toStdString(), "1e99");
  EXPECT_EQ(Box("Text46").text(), "1e99");
  EXPECT_EQ(s().Tempo, 1e99);
  Press("Ende");
  EXPECT_EQ(EndStatus(), 0);
  EXPECT_EQ(ReadArbeit("Talvik.ini").substr(0, 12), "0.05\r\n1e99\r\n");
}

}  // namespace
