#include "platform/batch_runner.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/drive_map.h"
#include "host_folder_names.h"
#include "platform/temp_drive_root.h"

#ifndef ORMILA_SOURCE_DIR
#define ORMILA_SOURCE_DIR ORMILA_TEST_DATA "/../.."
#endif

namespace platform {
namespace {
namespace fs = std::filesystem;
using platform_test::Env;
using platform_test::ReadHostFile;
using platform_test::RestoreEnv;
using platform_test::WriteHostFile;

std::string JoinLines(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

std::string NotRecognized(const std::string& name) {
  return "'" + name +
         "' is not recognized as an internal or external command, operable program or batch "
         "file.\n";
}

bool CsoundInPath() {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');)
    if (!folder.empty() && access((fs::path(folder) / "csound").c_str(), X_OK) == 0) return true;
  return false;
}

// A drive root of the test's own; the variables a batch may set are restored afterwards.
class BatchRunnerTest : public testing::Test {
 protected:
  void SetUp() override {
    drive_.MakeFolder("c/Arbeit");
    UseRoot(drive_.root());
  }
  void TearDown() override {
    for (const auto& [name, value] : saved_) RestoreEnv(name, value);
    SetDrives(DriveMap::FromEnvironment());
  }

  // The drive root of this process and of the programs it starts.
  void UseRoot(const fs::path& root) {
    root_ = root;
    setenv("ORMILA_DRIVES", root_.c_str(), 1);
    SetDrives(DriveMap(root_));
  }

  fs::path C(const std::string& rest) const { return root_ / "c" / rest; }

  std::vector<std::pair<const char*, std::optional<std::string>>> saved_ = {
      {"ORMILA_DRIVES", Env("ORMILA_DRIVES")}, {"PATH", Env("PATH")}, {"SFDIR", Env("SFDIR")}};
  platform_test::TempDriveRoot drive_;
  fs::path root_;
};

// Appends its arguments after the first, one a line, and $SFDIR to the file named first; "langsam"
// does so after a pause, so that a batch that does not wait gets the order wrong.
const char kNotiere[] = "#!/bin/sh\nout=$1; shift\nprintf '%s\\n' \"$@\" \"SFDIR=$SFDIR\" >> \"$out\"\n";
const char kLangsam[] = "#!/bin/sh\nsleep 0.3\nout=$1; shift\nprintf '%s\\n' \"$@\" >> \"$out\"\n";

class BatchLines : public BatchRunnerTest, public testing::WithParamInterface<const char*> {};

TEST_P(BatchLines, RunsTheLinesInOrderAndGoesOnAfterAMissingProgram) {
  WriteHostFile(C("Werkzeuge/bin/notiere"), kNotiere, true);
  WriteHostFile(C("Werkzeuge/bin/langsam"), kLangsam, true);
  const std::string oldPath = std::getenv("PATH");
  const std::vector<std::string> lines = {
      " REM C:\\Arbeit\\probe.bat",
      " REM notiere C:\\Arbeit\\rem.txt",
      "rem notiere C:\\Arbeit\\rem.txt",
      "   Rem notiere C:\\Arbeit\\rem.txt",
      "",
      " set PATH=%PATH%;C:\\Werkzeuge\\bin;C:\\CSOUND\\bin",
      " set SFDIR=C:\\Arbeit",
      " gibtesnicht C:\\Arbeit\\nie.txt",
      " langsam C:\\Arbeit\\log.txt eins",
      " notiere C:\\Arbeit\\log.txt \"%SFDIR%\" \"Gr\xFC\xDF"  "e an C:\\\" c:\\ARBEIT\\neu.txt",
      "",
      " [c:\\arbeit\\cs06b.bat]",
  };
  WriteHostFile(C("Arbeit/probe.bat"), JoinLines(lines, GetParam()));

  std::ostringstream messages;
  RunBatch("C:\\Arbeit\\probe.bat", messages);

  EXPECT_EQ(messages.str(), NotRecognized("gibtesnicht") + NotRecognized("[c:\\arbeit\\cs06b.bat]"));
  EXPECT_FALSE(fs::exists(C("Arbeit/rem.txt")));
  EXPECT_FALSE(fs::exists(C("Arbeit/nie.txt")));
  EXPECT_EQ(std::getenv("PATH"), oldPath + ":" + C("Werkzeuge/bin").string() + ":" +
                                     C("CSOUND/bin").string());
  const std::string sfdir = C("Arbeit").string();
  EXPECT_EQ(std::getenv("SFDIR"), sfdir);
  EXPECT_EQ(ReadHostFile(C("Arbeit/log.txt")),
            "eins\n" + sfdir + "\nGr\xC3\xBC\xC3\x9F" "e an C:\\\n" + C("Arbeit/neu.txt").string() +
                "\nSFDIR=" + sfdir + "\n");
}

INSTANTIATE_TEST_SUITE_P(LineEnds, BatchLines, testing::Values("\r\n", "\n"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param[0] == '\r' ? "CrLf" : "Lf");
                         });

// Under a drive root whose name holds an umlaut, a blank or Cyrillic, the programs a batch starts
// (found through PATH or named by a quoted Windows path) get the host paths as the file system
// holds them; a Windows path of the batch with an umlaut (Windows-1252) finds its folder.
class BatchUnderRoot : public BatchRunnerTest, public testing::WithParamInterface<const char*> {};

TEST_P(BatchUnderRoot, StartsProgramsWithTheHostPaths) {
  UseRoot(drive_.root() / GetParam() / "drives");
  WriteHostFile(C("Werkzeuge/bin/notiere"), kNotiere, true);
  fs::create_directories(C("Arbeit/Klänge"));
  WriteHostFile(C("Arbeit/probe.bat"),
                JoinLines({" set PATH=%PATH%;C:\\Werkzeuge\\bin", " set SFDIR=C:\\Arbeit\\Kl\xE4nge",
                           " notiere C:\\Arbeit\\Kl\xE4nge\\log.txt c:\\arbeit\\KL\xC4NGE\\Samp100.wav",
                           " \"C:\\Werkzeuge\\bin\\notiere\" \"C:\\Arbeit\\Kl\xE4nge\\log.txt\" zwei"},
                          "\r\n"));
  std::ostringstream messages;
  EXPECT_EQ(RunBatch("C:\\Arbeit\\probe.bat", messages), 0);
  EXPECT_EQ(messages.str(), "");
  const std::string folder = C("Arbeit/Klänge").string();
  EXPECT_EQ(ReadHostFile(C("Arbeit/Klänge/log.txt")),
            folder + "/Samp100.wav\nSFDIR=" + folder + "\nzwei\nSFDIR=" + folder + "\n");
}

INSTANTIATE_TEST_SUITE_P(Roots, BatchUnderRoot,
                         testing::ValuesIn(testing_support::kHostFolderNames));

TEST_F(BatchRunnerTest, MissingBatchIsReported) {
  std::ostringstream messages;
  EXPECT_EQ(RunBatch("C:\\Arbeit\\fehlt.bat", messages), 1);
  EXPECT_EQ(messages.str(), "The batch file cannot be found.\n");
}

const char kOrchestra[] =
    "sr = 8000\r\nkr = 800\r\nksmps = 10\r\nnchnls = 1\r\n\r\n"
    "instr 1\r\na1 oscili 10000, 440, 1\r\nout a1\r\nendin\r\n";
const char kScore[] = "f1 0 4096 10 1\r\ni1 0 0.5\r\ne\r\n";
constexpr std::uint32_t kExpectedDataBytes = 8000 / 2 * 2;  // 0.5 s at 8000 Hz, 16-bit mono

// The size of the "data" chunk of a RIFF WAVE file, or 0.
std::uint32_t WaveDataBytes(const std::string& wave) {
  if (wave.size() < 12 || wave.compare(0, 4, "RIFF") != 0 || wave.compare(8, 4, "WAVE") != 0)
    return 0;
  for (std::size_t at = 12; at + 8 <= wave.size();) {
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i) size = size << 8 | static_cast<unsigned char>(wave[at + 4 + i]);
    if (wave.compare(at, 4, "data") == 0) return size;
    at += 8 + size + (size & 1);
  }
  return 0;
}

// The render batch's shape: csound through PATH on Windows paths, then the audio editor, which is
// not there in this drive, and the bracketed batch name.
TEST_F(BatchRunnerTest, RendersWithTheRealCsoundThroughWindowsPaths) {
  if (!CsoundInPath()) GTEST_SKIP() << "csound is not installed";
  WriteHostFile(C("Arbeit/Ton.orc"), kOrchestra);
  WriteHostFile(C("Arbeit/Ton.sco"), kScore);
  WriteHostFile(C("Arbeit/render.bat"),
            JoinLines({" REM C:\\Arbeit\\render.bat", "", "", " set PATH=%PATH%;C:\\CSOUND\\bin",
                       " set SFDIR=C:\\Arbeit", "",
                       " csound -o C:\\Arbeit\\Ton.wav -W -g C:\\Arbeit\\Ton.orc C:\\Arbeit\\Ton.sco",
                       " \"c:\\cool\\COOL96.exe\" \"C:\\Arbeit\\Ton.wav\"", "",
                       " [c:\\arbeit\\cs06b.bat]"},
                      "\r\n"));
  std::ostringstream messages;
  RunBatch("c:\\arbeit\\render.bat", messages);
  EXPECT_EQ(messages.str(),
            NotRecognized("c:\\cool\\COOL96.exe") + NotRecognized("[c:\\arbeit\\cs06b.bat]"));
  EXPECT_EQ(WaveDataBytes(ReadHostFile(C("Arbeit/Ton.wav"))), kExpectedDataBytes);
}

// The drive the setup script makes: its sample batch renders and opens no editor; the user's own
// settings and batch are kept.
TEST_F(BatchRunnerTest, SetupScriptDriveRendersWithItsSampleBatch) {
  if (!CsoundInPath()) GTEST_SKIP() << "csound is not installed";
  const std::string script = std::string(ORMILA_SOURCE_DIR) + "/tools/setup-drive.sh";
  const fs::path build = drive_.root() / "build";
  const std::string command =
      "sh '" + script + "' '" + root_.string() + "' '" + build.string() + "' > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);

  EXPECT_EQ(ReadHostFile(C("Arbeit/Talvik.ini")),
            JoinLines({"0.05", "1", "1", "1", "1", "2", "0.01", "0.001", "50", " 1 ", " 1 ", " 1 ",
                       " 0 "},
                      "\r\n"));
  EXPECT_EQ(fs::read_symlink(C("Arbeit/VB/Tesu01/TalvikTe3.exe")), build / "apps/TalvikTe3");
  for (const char* standIn : {"cool/COOL96.exe", "Arbeit/Editor/NoteTab.exe",
                              "Arbeit/Editor-K/NoteTab.exe", "Programme/REAPER/reaper.exe"})
    EXPECT_EQ(access(C(standIn).c_str(), X_OK), 0) << standIn;

  WriteHostFile(C("Arbeit/Dozudava.orc"), kOrchestra);
  WriteHostFile(C("Arbeit/Dozudava.sco"), kScore);
  std::ostringstream messages;
  RunBatch("C:\\Arbeit\\cs06b2.bat", messages);
  EXPECT_EQ(messages.str(), "");
  EXPECT_EQ(WaveDataBytes(ReadHostFile(C("Arbeit/Dozudava.wav"))), kExpectedDataBytes);

  WriteHostFile(C("Arbeit/Talvik.ini"), "eigene\r\n");
  WriteHostFile(C("Arbeit/cs06b2.bat"), " REM eigene\r\n");
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadHostFile(C("Arbeit/Talvik.ini")), "eigene\r\n");
  EXPECT_EQ(ReadHostFile(C("Arbeit/cs06b2.bat")), " REM eigene\r\n");
}

}  // namespace
}  // namespace platform
