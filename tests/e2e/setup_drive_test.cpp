// tools/setup-drive.sh: a stand-in for every outside program the converter's buttons start, each
// handing its file to what the machine has (fake programs on PATH here) or saying plainly that
// nothing is there; files the user put in the drive are kept.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>

#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

std::string ReadHost(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteHost(const fs::path& p, const std::string& bytes, bool executable = false) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
  if (executable) fs::permissions(p, fs::perms::owner_all);
}

class SetupDriveTest : public ::testing::Test {
 protected:
  SetupDriveTest() {
    root = base / "drive";
    bin = base / "bin";
    tools = base / "tools";
    home = base / "home";
    fs::create_directories(root);
    fs::create_directories(bin);
    fs::create_directories(tools);
    fs::create_directories(home);
    // The system's basic tools that the stand-ins use, and nothing else of the machine's: a text
    // editor of the desktop (gedit, kate) must not take the place of the fakes.
    for (const char* tool : {"cat", "dirname", "find", "mv", "sort"}) {
      for (const char* folder : {"/usr/bin", "/bin"}) {
        if (fs::exists(fs::path(folder) / tool)) {
          fs::create_symlink(fs::path(folder) / tool, tools / tool);
          break;
        }
      }
    }
  }

  int Setup() const {
    return Status("'" + std::string(ORMILA_SOURCE_DIR) + "/tools/setup-drive.sh' '" + root.string() +
                  "' '" + ORMILA_BINARY_DIR + "' >/dev/null");
  }
  // Runs a command with only the fake programs and the basic tools on PATH; output to out.log.
  // `display` gives it a DISPLAY (the fakes need no X server).
  int Run(const std::string& command, bool display) const {
    return Status("env -u WAYLAND_DISPLAY -u VISUAL -u EDITOR " +
                  std::string(display ? "DISPLAY=:77" : "-u DISPLAY") + " HOME='" + home.string() +
                  "' PATH='" + bin.string() + ":" + tools.string() + "' ORMILA_DRIVES='" + root.string() +
                  "' " + command + " >'" + (base / "out.log").string() + "' 2>&1");
  }
  static int Status(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // A fake program that writes its arguments to <name>.args.
  void Fake(const fs::path& path) const {
    WriteHost(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + (base / path.filename()).string() +
                        ".args'\n",
              true);
  }
  std::string ArgsOf(const std::string& name) const { return ReadHost(base / (name + ".args")); }
  fs::path Host(const std::string& relative) const { return root / relative; }

  testing_support::TempFolder temp{"ormila-setup-drive"};
  fs::path base = temp.path(), root, bin, tools, home;
};

TEST_F(SetupDriveTest, EveryStartedPathHasAStandInAndUserFilesAreKept) {
  WriteHost(Host("c/Arbeit/directory3h.bat"), " REM meine Auflistung\r\n");
  WriteHost(Host("c/Arbeit/VB/Kelvo/Kelvo.exe"), "#!/bin/sh\necho echtes Kelvo\n", true);
  ASSERT_EQ(Setup(), 0);
  ASSERT_EQ(Setup(), 0);  // a second run keeps everything as well
  for (const char* path :
       {"c/Programme/REAPER/reaper.exe", "c/Arbeit/Editor/NoteTab.exe", "c/Arbeit/Editor-K/NoteTab.exe",
        "c/cool/COOL96.exe", "c/Arbeit/VB/Kelvo/Kelvo.exe", "c/Arbeit/VB/Talvik4/ZUMK"}) {
    std::error_code ec;
    EXPECT_TRUE((fs::status(Host(path), ec).permissions() & fs::perms::owner_exec) != fs::perms::none)
        << path;
  }
  for (const char* path : {"c/Arbeit/directory3g.bat", "c/Arbeit/directory3h.bat",
                           "c/Arbeit-xqt/Infotexte/Veskar2_Spezialist.txt"})
    EXPECT_TRUE(fs::is_regular_file(Host(path))) << path;
  EXPECT_EQ(ReadHost(Host("c/Arbeit/directory3h.bat")), " REM meine Auflistung\r\n");
  EXPECT_EQ(ReadHost(Host("c/Arbeit/VB/Kelvo/Kelvo.exe")), "#!/bin/sh\necho echtes Kelvo\n");
  const std::string listing = ReadHost(Host("c/Arbeit/directory3g.bat"));
  EXPECT_NE(listing.find("\r\n C:\\Arbeit\\VB\\Listing\\Listing.exe C:\\Arbeit\\ *.wav\r\n"),
            std::string::npos)
      << listing;
}

TEST_F(SetupDriveTest, TheTextEditorStandInOpensFilesOfEveryExtension) {
  ASSERT_EQ(Setup(), 0);
  Fake(bin / "mousepad");
  for (const char* file : {"Tesu.rsz", "Dozudava.orc", "Dozudava.sco", "Default-Dauerton.plg"}) {
    fs::remove(base / "mousepad.args");
    const fs::path host = Host(std::string("c/Arbeit/") + file);
    WriteHost(host, "x\r\n");
    EXPECT_EQ(Run("'" + Host("c/Arbeit/Editor/NoteTab.exe").string() + "' '" + host.string() + "'", true),
              0);
    EXPECT_EQ(ArgsOf("mousepad"), host.string() + "\n") << file;
  }
  // No display: it says so and ends well.
  EXPECT_EQ(Run("'" + Host("c/Arbeit/Editor/NoteTab.exe").string() + "' x.orc", false), 0);
  EXPECT_EQ(ReadHost(base / "out.log"),
            "Stellvertreter für NoteTab: Hier würde der Texteditor NoteTab x.orc öffnen; auf diesem "
            "Rechner ist kein Texteditor zu finden. Installieren Sie einen, etwa Mousepad (als root "
            "oder mit sudo: apt-get install mousepad), oder nennen Sie ihn in VISUAL; er braucht eine "
            "grafische Sitzung.\n");
}

TEST_F(SetupDriveTest, TheReaperStandInFindsReaperWhereItsInstallerPutsIt) {
  ASSERT_EQ(Setup(), 0);
  const std::string standIn = "'" + Host("c/Programme/REAPER/reaper.exe").string() + "' /x/Gleiten.rpp";
  Fake(bin / "reaper");  // PATH first
  WriteHost(home / "opt/REAPER/reaper", "#!/bin/sh\nexit 1\n", true);
  EXPECT_EQ(Run(standIn, false), 0);
  EXPECT_EQ(ArgsOf("reaper"), "/x/Gleiten.rpp\n");
  // A project name with a blank arrives as two arguments (the command line is not quoted).
  fs::remove(base / "reaper.args");
  const fs::path withBlank = Host("c/Arbeit/Mein Stueck.rpp");
  WriteHost(withBlank, "<REAPER_PROJECT\n>\n");
  EXPECT_EQ(Run("'" + Host("c/Programme/REAPER/reaper.exe").string() + "' " + withBlank.string(),
                false),
            0);
  EXPECT_EQ(ArgsOf("reaper"), withBlank.string() + "\n");
  // Not on PATH: where the installer puts it for the user (/opt/REAPER is tried before).
  if (fs::exists("/opt/REAPER/reaper"))
    GTEST_SKIP() << "REAPER is installed in /opt/REAPER on this machine, which the stand-in tries "
                    "before ~/opt/REAPER";
  fs::remove(base / "reaper.args");
  fs::remove(bin / "reaper");
  Fake(home / "opt/REAPER/reaper");
  EXPECT_EQ(Run(standIn, false), 0);
  EXPECT_EQ(ArgsOf("reaper"), "/x/Gleiten.rpp\n");
}

TEST_F(SetupDriveTest, TheListingBatchShowsTheWaveFilesInTheTextEditor) {
  ASSERT_EQ(Setup(), 0);
  Fake(bin / "mousepad");
  for (const char* file : {"Klang.wav", "ALT.WAV", "Tesu.rsz"}) WriteHost(Host(std::string("c/Arbeit/") + file), "");
  const fs::path runner = fs::path(ORMILA_BINARY_DIR) / "apps" / "ormila-batch";
  EXPECT_EQ(Run("'" + runner.string() + "' 'C:\\Arbeit\\directory3g.bat'", true), 0)
      << ReadHost(base / "out.log");
  const std::string args = ArgsOf("mousepad");
  ASSERT_FALSE(args.empty());
  const std::string shown = ReadHost(args.substr(0, args.size() - 1));
  EXPECT_EQ(args, Host("c/Arbeit/VB/Listing/Auflistung.txt").string() + "\n") << "not kept in the drive";
  EXPECT_NE(shown.find("Klang.wav\r\n"), std::string::npos) << shown;
  EXPECT_NE(shown.find("ALT.WAV\r\n"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("Tesu.rsz"), std::string::npos) << shown;
}

TEST_F(SetupDriveTest, TheComposersOwnProgramsSayTheyAreNotInstalled) {
  ASSERT_EQ(Setup(), 0);
  const struct {
    const char* path;
    const char* says;
  } cases[] = {{"c/Arbeit/VB/Kelvo/Kelvo.exe",
                "Stellvertreter für Kelvo: Hier würde Kelvo, das Vergleichstonprogramm, starten. Es "
                "ist auf diesem Rechner nicht installiert: Legen Sie das Programm (oder ein Skript, "
                "das es startet) unter C:\\Arbeit\\VB\\Kelvo\\Kelvo.exe ab, wo jetzt dieser "
                "Stellvertreter steht."},
               {"c/Arbeit/VB/Talvik4/ZUMK",
                "Stellvertreter für ZUMK: Hier würde ZUMK, das Plugins in Dozudava.orc und "
                "Dozudava.sco einbaut, starten. Es ist auf diesem Rechner nicht installiert: Legen "
                "Sie das Programm (oder ein Skript, das es startet) unter C:\\Arbeit\\VB\\Talvik4\\ZUMK "
                "ab, wo jetzt dieser Stellvertreter steht."}};
  for (const auto& c : cases) {
    EXPECT_EQ(Run("'" + Host(c.path).string() + "'", false), 0);
    EXPECT_EQ(ReadHost(base / "out.log"), std::string(c.says) + "\n");
  }
}

TEST_F(SetupDriveTest, TheCompilerWindowsToolsHaveTheirStandIns) {
  WriteHost(Host("c/Arbeit/MIDI2CS1.bat"), " REM mein Konverter\r\n");
  WriteHost(Host("c/Arbeit-xqt/Eigene Dateien 2/Texte/Bedienungsanleitungen/Sonar.txt"), "meine Hilfe\r\n");
  ASSERT_EQ(Setup(), 0);
  ASSERT_EQ(Setup(), 0);
  EXPECT_EQ(ReadHost(Host("c/Arbeit/MIDI2CS1.bat")), " REM mein Konverter\r\n");
  EXPECT_EQ(ReadHost(Host("c/Arbeit-xqt/Eigene Dateien 2/Texte/Bedienungsanleitungen/Sonar.txt")),
            "meine Hilfe\r\n");
  for (const char* help : {"Samplitude.txt", "ZUMK.txt"}) {
    const std::string text =
        ReadHost(Host(std::string("c/Arbeit-xqt/Eigene Dateien 2/Texte/Bedienungsanleitungen/") + help));
    EXPECT_EQ(text.rfind(std::string(help) + " (", 0), 0u) << text;
    EXPECT_NE(text.find("\r\n\r\nDies ist ein Platzhalter von tools/setup-drive.sh"),
              std::string::npos)
        << text;
  }
  // Each says what would start, with the file, and where the program belongs.
  const struct {
    const char* path;
    const char* says;
    const char* at;
  } cases[] = {
      {"c/Programme/capella2004/capella.exe", "capella: Hier würde capella, das Notensatzprogramm,",
       "C:\\Programme\\capella2004\\capella.exe"},
      {"c/Programme/Roland/Ua100ctl/UA100cnt.exe", "UA-100: Hier würde das Bedienfeld des Roland UA-100",
       "C:\\Programme\\Roland\\Ua100ctl\\UA100cnt.exe"},
      {"c/SEKD/SamStud/Sam45.exe", "Samplitude: Hier würde Samplitude, der Audio-Editor,",
       "C:\\SEKD\\SamStud\\Sam45.exe"},
      {"c/Programme/Cakewalk/SONAR 1/SONAR.EXE", "SONAR: Hier würde SONAR, der MIDI-Sequenzer,",
       "C:\\Programme\\Cakewalk\\SONAR 1\\SONAR.EXE"},
      {"c/Programme/meine/ZUMK",
       "ZUMK: Hier würde ZUMK, das Plugins in Dozudava.orc und Dozudava.sco einbaut,",
       "C:\\Programme\\meine\\ZUMK"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(Run("'" + Host(c.path).string() + "' 'C:\\Arbeit\\Sample.mid'", false), 0);
    EXPECT_EQ(ReadHost(base / "out.log"),
              "Stellvertreter für " + std::string(c.says) +
                  " starten (mit C:\\Arbeit\\Sample.mid). Es ist auf diesem Rechner nicht installiert: "
                  "Legen Sie das Programm (oder ein Skript, das es startet) unter " + c.at +
                  " ab, wo jetzt dieser Stellvertreter steht.\n");
  }
  // The listing batches of the scores and MIDI files, run by the batch runner.
  Fake(bin / "mousepad");
  WriteHost(Host("c/Arbeit/Sample.sco"), "");
  WriteHost(Host("c/Arbeit/Sample.mid"), "");
  const fs::path runner = fs::path(ORMILA_BINARY_DIR) / "apps" / "ormila-batch";
  for (const auto& [batch, file] : {std::pair{"directory3b.bat", "Sample.sco"},
                                    std::pair{"directory3c.bat", "Sample.mid"}}) {
    SCOPED_TRACE(batch);
    fs::remove(base / "mousepad.args");
    EXPECT_EQ(Run("'" + runner.string() + "' 'C:\\Arbeit\\" + batch + "'", true), 0);
    const std::string args = ArgsOf("mousepad");
    ASSERT_FALSE(args.empty());
    const std::string shown = ReadHost(args.substr(0, args.size() - 1));
    EXPECT_EQ(args, Host("c/Arbeit/VB/Listing/Auflistung.txt").string() + "\n");  // replaced
    EXPECT_NE(shown.find(std::string(file) + "\r\n"), std::string::npos) << shown;
    EXPECT_EQ(shown.find(std::string(file) == "Sample.sco" ? "Sample.mid" : "Sample.sco"),
              std::string::npos)
        << shown;
  }
  // A drive without a converter of the user's: its batch says that none is installed.
  fs::remove(Host("c/Arbeit/MIDI2CS1.bat"));
  ASSERT_EQ(Setup(), 0);
  EXPECT_EQ(Run("'" + runner.string() + "' 'C:\\Arbeit\\MIDI2CS1.bat'", false), 0);
  EXPECT_NE(ReadHost(base / "out.log")
                .find("Stellvertreter für MIDI2CS: Hier würde MIDI2CS, das MIDI-Dateien in "
                      "Csound-Partituren umsetzt, starten (mit "),
            std::string::npos)
      << ReadHost(base / "out.log");
}

}  // namespace

namespace {

// The start page and the inserter's manual that the info pages read: a placeholder where there is
// none, the composer's own kept (also in folders spelt otherwise, which the drive map finds).
TEST_F(SetupDriveTest, TheInfoPageTextsGetPlaceholdersOnlyWhereTheComposerHasNone) {
  const std::string docs = "c/Arbeit-xqt/Eigene Dateien 2/Texte/Bedienungsanleitungen/";
  WriteHost(Host("c/Arbeit-xqt/eigene dateien 2/texte/Bedienungsanleitungen/quorel/"
                 "tesu-startseite.txt"),
            "Meine Startseite\r\n");
  ASSERT_EQ(Setup(), 0);
  ASSERT_EQ(Setup(), 0);
  EXPECT_FALSE(fs::exists(Host(docs + "Quorel/Tesu-Startseite.txt")))
      << "a second start page beside the composer's";
  EXPECT_EQ(ReadHost(Host("c/Arbeit-xqt/eigene dateien 2/texte/Bedienungsanleitungen/quorel/"
                          "tesu-startseite.txt")),
            "Meine Startseite\r\n");
  const std::string zumk = ReadHost(Host("c/Arbeit-xqt/eigene dateien 2/texte/Bedienungsanleitungen/ZUMK.txt"));
  EXPECT_EQ(zumk.rfind("ZUMK.txt (Bedienungsanleitung von ZUMK, das Plugins in Dozudava.orc und "
                       "Dozudava.sco einbaut)\r\n\r\n", 0), 0u) << zumk;
  EXPECT_NE(zumk.find("\r\nC:\\Arbeit-xqt\\Eigene Dateien 2\\Texte\\Bedienungsanleitungen\\ZUMK.txt\r\n"),
            std::string::npos)
      << zumk;
  // A placeholder the composer replaced is kept.
  WriteHost(Host("c/Arbeit-xqt/eigene dateien 2/texte/Bedienungsanleitungen/ZUMK.txt"), "ZUMK\r\n");
  ASSERT_EQ(Setup(), 0);
  EXPECT_EQ(ReadHost(Host("c/Arbeit-xqt/eigene dateien 2/texte/Bedienungsanleitungen/ZUMK.txt")),
            "ZUMK\r\n");
}

}  // namespace
