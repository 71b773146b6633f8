#include "gui/dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <filesystem>
#include <optional>
#include <string>

#include "gui/qt_app.h"
#include "platform/dialogs.h"
#include "platform/drive_map.h"
#include "platform/temp_drive_root.h"

namespace {

using gui_test::App;
using gui_test::WhenModal;

// A drive root of the test's own, the program's drives while the object lives; the drives before
// it are put back at its end.
class DrivesOfItsOwn : public platform_test::TempDriveRoot {
 public:
  DrivesOfItsOwn() { platform::SetDrives(platform::DriveMap(root())); }
  ~DrivesOfItsOwn() { platform::SetDrives(before_); }

 private:
  const platform::DriveMap before_ = platform::Drives();
};

QString Q(const std::string& s) { return QString::fromStdString(s); }

TEST(ScriptedDialogs, RecordsCallsAndAnswersFromItsQueues) {
  platform::ScriptedDialogs scripted;
  scripted.answers = {std::string("120"), std::string(""), std::nullopt};
  scripted.chosenFiles = {"C:\\Arbeit\\Projekt.rpp"};
  platform::MessageBoxService& messages = scripted;
  platform::InputBoxService& input = scripted;
  platform::FileDialogService& files = scripted;
  platform::ClipboardService& clipboard = scripted;

  messages.ShowMessage("fertig", "Ormila");
  EXPECT_EQ(input.Ask("Tempo?", "Ormila", "100"), std::optional<std::string>("120"));
  EXPECT_EQ(input.Ask("Name?", "Ormila", ""), std::optional<std::string>(""));
  EXPECT_EQ(input.Ask("Ende?", "Ormila", ""), std::nullopt);
  EXPECT_EQ(input.Ask("leer", "Ormila", ""), std::nullopt);  // empty queue: Cancel
  EXPECT_EQ(files.OpenFile("Projekt", "C:\\Arbeit\\", "Reaper-Dateien (*.rpp)|*.rpp"),
            "C:\\Arbeit\\Projekt.rpp");
  EXPECT_EQ(files.OpenFile("Liste", "C:\\", "", "*.rsz", "rsz"), "");  // empty queue: Cancel
  scripted.chosenFiles = {"C:\\Arbeit\\Dunkel.prs"};
  EXPECT_EQ(files.SaveFile("Presets", "C:\\Arbeit\\", "Preset|*.prs", "prs"),
            "C:\\Arbeit\\Dunkel.prs");
  EXPECT_EQ(files.SaveFile("Presets", "C:\\Arbeit\\", "Preset|*.prs", "prs"), "");
  EXPECT_EQ(platform::CancelledFileDialog().OpenFile("Presets", "C:\\", "Preset|*.prs"), "");
  EXPECT_EQ(platform::CancelledFileDialog().SaveFile("Presets", "C:\\", "Preset|*.prs", "prs"),
            "");
  clipboard.SetText("Zeile 1\r\nZeile 2");
  EXPECT_EQ(clipboard.Text(), "Zeile 1\r\nZeile 2");

  ASSERT_EQ(scripted.messages.size(), 1u);
  EXPECT_EQ(scripted.messages[0].text, "fertig");
  EXPECT_EQ(scripted.messages[0].title, "Ormila");
  ASSERT_EQ(scripted.questions.size(), 4u);
  EXPECT_EQ(scripted.questions[0].prompt, "Tempo?");
  EXPECT_EQ(scripted.questions[0].defaultAnswer, "100");
  EXPECT_EQ(scripted.questions[3].prompt, "leer");
  ASSERT_EQ(scripted.fileRequests.size(), 4u);
  EXPECT_EQ(scripted.fileRequests[0].initialFolder, "C:\\Arbeit\\");
  EXPECT_EQ(scripted.fileRequests[0].filter, "Reaper-Dateien (*.rpp)|*.rpp");
  EXPECT_FALSE(scripted.fileRequests[0].save);
  EXPECT_EQ(scripted.fileRequests[0].fileName, "");
  EXPECT_EQ(scripted.fileRequests[0].defaultExtension, "");
  EXPECT_EQ(scripted.fileRequests[1].fileName, "*.rsz");
  EXPECT_EQ(scripted.fileRequests[1].defaultExtension, "rsz");
  EXPECT_TRUE(scripted.fileRequests[2].save);
  EXPECT_EQ(scripted.fileRequests[2].title, "Presets");
  EXPECT_EQ(scripted.fileRequests[2].defaultExtension, "prs");
  EXPECT_TRUE(scripted.answers.empty());
  EXPECT_TRUE(scripted.chosenFiles.empty());
}

TEST(QtFileFilter, TurnsDescriptionPatternPairsIntoQtEntries) {
  struct Case {
    const char* filter;
    const char* qt;
  };
  for (const Case& c : {
           Case{"Reaper-Dateien (*.rpp)|*.rpp", "Reaper-Dateien (*.rpp)"},
           Case{"Reaper-Dateien|*.rpp", "Reaper-Dateien (*.rpp)"},
           Case{"Tonlisten (*.rsz;*.txt)|*.rsz;*.txt|Alle Dateien (*.*)|*.*",
                "Tonlisten (*.rsz *.txt);;Alle Dateien (*)"},
           Case{"Partituren|*.sco; *.SCO", "Partituren (*.sco *.SCO)"},
           Case{"", ""},
       }) {
    EXPECT_EQ(gui::QtFileFilter(c.filter), c.qt) << c.filter;
  }
}

TEST(DrivePathOf, GivesWindowsPathsForFilesUnderTheDriveRoot) {
  // A drive root that does not exist, in a folder of the test's own.
  platform_test::TempDriveRoot temp;
  const std::string root = (temp / "no_such_root").string();
  const platform::DriveMap drives(root);
  struct Case {
    std::string host, windows;
  };
  for (const Case& c : {
           Case{root + "/c/Arbeit/x.rpp", "C:\\Arbeit\\x.rpp"},
           Case{root + "/d", "D:\\"},
           Case{root + "/c/Arbeit/../Tesu/Ü 1.rsz", "C:\\Tesu\\Ü 1.rsz"},
           Case{root + "/music/x.rpp", root + "/music/x.rpp"},
           Case{root + "_2/c/x.rpp", root + "_2/c/x.rpp"},
           Case{"/home/user/x.rpp", "/home/user/x.rpp"},
       }) {
    EXPECT_EQ(gui::DrivePathOf(c.host, drives), c.windows) << c.host;
  }
}

TEST(DrivePathOf, SeesThroughALinkedDriveRoot) {
  platform_test::TempDriveRoot temp;
  temp.Write("real/c/Arbeit/x.rpp", "");
  std::filesystem::create_directory_symlink(temp / "real", temp / "linked");
  const platform::DriveMap drives(temp / "linked");
  EXPECT_EQ(gui::DrivePathOf(temp / "real/c/Arbeit/x.rpp", drives), "C:\\Arbeit\\x.rpp");
}

TEST(QtDialogs, MessageBoxShowsTextAndTitleWithOkOnly) {
  App();
  QString text, title;
  QMessageBox::StandardButtons buttons;
  WhenModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    text = box->text();
    title = box->windowTitle();
    buttons = box->standardButtons();
    box->button(QMessageBox::Ok)->click();
  });
  gui::QtDialogs().ShowMessage("Datei <x> fehlt\r\nbitte prüfen", "Ormila");
  EXPECT_EQ(text, QString::fromUtf8("Datei <x> fehlt\nbitte prüfen"));
  EXPECT_EQ(title, "Ormila");
  EXPECT_EQ(buttons, QMessageBox::Ok);
}

TEST(QtDialogs, InputBoxTellsCancelFromAnEmptyAnswer) {
  App();
  struct Case {
    bool confirm;
    const char* typed;
    std::optional<std::string> answer;
  };
  for (const Case& c : {Case{true, "", std::string("")}, Case{true, "Tonhöhe", std::string("Tonhöhe")},
                        Case{false, "Tonhöhe", std::nullopt}}) {
    QString label, title, shownDefault;
    Qt::TextFormat format = Qt::AutoText;
    WhenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QInputDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      label = dialog->labelText();
      title = dialog->windowTitle();
      shownDefault = dialog->textValue();
      format = dialog->findChild<QLabel*>()->textFormat();
      dialog->setTextValue(QString::fromUtf8(c.typed));
      if (c.confirm) dialog->accept();
      else dialog->reject();
    });
    EXPECT_EQ(gui::QtDialogs().Ask("Zeile 1\r\nZeile 2\nZeile <3>", "Eingabe", "60"), c.answer);
    EXPECT_EQ(label, "Zeile 1\nZeile 2\nZeile <3>");
    EXPECT_EQ(title, "Eingabe");
    EXPECT_EQ(shownDefault, "60");
    EXPECT_EQ(format, Qt::PlainText);
  }
}

TEST(QtDialogs, FileDialogWorksInWindowsPaths) {
  App();
  DrivesOfItsOwn temp;
  temp.Write("c/Arbeit/Projekt.rpp", "");
  // A chosen file, a typed name of no file (taken as it is) and Cancel.
  const struct {
    const char* typed;
    const char* chosen;
  } cases[] = {{"Projekt.rpp", "C:\\Arbeit\\Projekt.rpp"}, {"Tesu7", "C:\\Arbeit\\Tesu7"}, {nullptr, ""}};
  for (const auto& c : cases) {
    const bool choose = c.typed != nullptr;
    QString folder, title;
    QStringList filters;
    WhenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      folder = dialog->directory().absolutePath();
      title = dialog->windowTitle();
      filters = dialog->nameFilters();
      if (choose) {
        // as the user does: type the name into the focused name box and press Return
        QWidget* nameBox = dialog->focusWidget();
        ASSERT_NE(nameBox, nullptr);
        QTest::keyClicks(nameBox, c.typed);
        QTest::keyClick(nameBox, Qt::Key_Return);
      } else {
        dialog->reject();
      }
    });
    const std::string chosen = gui::QtDialogs().OpenFile(
        "Projekt öffnen", "C:\\arbeit\\", "Reaper-Dateien (*.rpp)|*.rpp|Alle Dateien|*.*");
    EXPECT_EQ(chosen, c.chosen);
    EXPECT_EQ(folder, Q((temp / "c/Arbeit").string()));
    EXPECT_EQ(title, QString::fromUtf8("Projekt öffnen"));
    EXPECT_EQ(filters, (QStringList{"Reaper-Dateien (*.rpp)", "Alle Dateien (*)"}));
  }
}

// The open dialog of the tone lists: its name box starts with "*.rsz"; a name typed without
// extension gets "rsz", one with an extension is kept, and the untouched "*.rsz" chooses nothing.
TEST(QtDialogs, OpenDialogStartsWithItsNameAndAddsTheDefaultExtension) {
  App();
  DrivesOfItsOwn temp;
  temp.Write("c/Arbeit/Alt.rsz", "ZP 0");
  struct Case {
    const char* typed;  // nullptr: Return on the name as it starts
    std::string chosen;
  };
  for (const Case& c : {Case{"Alt", "C:\\Arbeit\\Alt.rsz"}, Case{"Neu", "C:\\Arbeit\\Neu.rsz"},
                        Case{"Alt.rsz", "C:\\Arbeit\\Alt.rsz"}, Case{"Notiz.txt", "C:\\Arbeit\\Notiz.txt"},
                        Case{nullptr, ""}}) {
    SCOPED_TRACE(c.typed ? c.typed : "(untouched)");
    QString startName;
    bool openAfterReturn = false;
    WhenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
      auto* nameBox = qobject_cast<QLineEdit*>(dialog->focusWidget());
      ASSERT_NE(nameBox, nullptr);
      startName = nameBox->text();
      if (c.typed) QTest::keyClicks(nameBox, c.typed);  // replaces the selected start name
      QTest::keyClick(nameBox, Qt::Key_Return);
      openAfterReturn = dialog->isVisible();
      if (openAfterReturn) dialog->reject();
    });
    EXPECT_EQ(gui::QtDialogs().OpenFile("Tonverlaufs-Dateien", "C:\\Arbeit\\",
                                        "Tonverlaufs-Dateien|*.rsz", "*.rsz", "rsz"),
              c.chosen);
    EXPECT_EQ(startName, "*.rsz");
    EXPECT_EQ(openAfterReturn, c.typed == nullptr);
  }
}

// The save dialog: a typed name without extension gets the default one, an existing file is
// taken without a question, and Cancel gives an empty name.
TEST(QtDialogs, SaveDialogAddsTheDefaultExtensionAndAsksNothingMore) {
  App();
  DrivesOfItsOwn temp;
  temp.Write("c/Arbeit/Alt.prs", "x");
  struct Case {
    const char* typed;  // nullptr: Cancel
    std::string chosen;
  };
  for (const Case& c : {Case{"Dunkel", "C:\\Arbeit\\Dunkel.prs"},
                        Case{"Alt.prs", "C:\\Arbeit\\Alt.prs"}, Case{nullptr, ""}}) {
    QString folder, title;
    bool saving = false;
    WhenModal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      folder = dialog->directory().absolutePath();
      title = dialog->windowTitle();
      saving = dialog->acceptMode() == QFileDialog::AcceptSave;
      if (!c.typed) {
        dialog->reject();
        return;
      }
      QWidget* nameBox = dialog->focusWidget();
      ASSERT_NE(nameBox, nullptr);
      QTest::keyClicks(nameBox, c.typed);
      QTest::keyClick(nameBox, Qt::Key_Return);
    });
    EXPECT_EQ(gui::QtDialogs().SaveFile("Presets", "C:\\Arbeit\\", "Preset|*.prs", "prs"),
              c.chosen);
    EXPECT_EQ(folder, Q((temp / "c/Arbeit").string()));
    EXPECT_EQ(title, "Presets");
    EXPECT_TRUE(saving);
  }
}

TEST(QtDialogs, ClipboardKeepsTheText) {
  App();
  gui::QtDialogs dialogs;
  dialogs.SetText("PT 1.5 0.14791084 0\r\nGitarre Ü");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("PT 1.5 0.14791084 0\r\nGitarre Ü"));
  QGuiApplication::clipboard()->setText("von außen");
  EXPECT_EQ(dialogs.Text(), "von außen");
}

}  // namespace
