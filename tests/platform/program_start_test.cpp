#include "platform/program_start.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "common/errors.h"
#include "platform/drive_map.h"
#include "platform/temp_drive_root.h"

namespace platform {
namespace {
namespace fs = std::filesystem;
using platform_test::Env;
using platform_test::ReadHostFile;
using platform_test::RestoreEnv;
using platform_test::WriteHostFile;
using Clock = std::chrono::steady_clock;

bool WaitForFile(const fs::path& path, std::chrono::seconds limit) {
  for (auto end = Clock::now() + limit; Clock::now() < end;) {
    if (fs::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return fs::exists(path);
}

// A drive root of the test's own, with a folder for PATH in it; ORMILA_DRIVES and PATH are
// restored afterwards.
class ProgramStartTest : public testing::Test {
 protected:
  void SetUp() override {
    drive_.MakeFolder("c/Arbeit");
    setenv("ORMILA_DRIVES", root_.c_str(), 1);
    SetDrives(DriveMap(root_));
    // A folder on PATH for programs named without a folder.
    drive_.MakeFolder("bin");
    setenv("PATH", (bin_.string() + ":" + savedPath_.value_or("/usr/bin:/bin")).c_str(), 1);
  }
  void TearDown() override {
    RestoreEnv("ORMILA_DRIVES", savedDrives_);
    RestoreEnv("PATH", savedPath_);
    SetDrives(DriveMap::FromEnvironment());
  }

  fs::path C(const std::string& rest) const { return root_ / "c" / rest; }

  std::optional<std::string> savedDrives_ = Env("ORMILA_DRIVES");
  std::optional<std::string> savedPath_ = Env("PATH");
  platform_test::TempDriveRoot drive_;
  const fs::path root_ = drive_.root();
  const fs::path bin_ = drive_ / "bin";
};

const char kScript[] = "#!/bin/sh\nexit 0\n";

struct ReadCase {
  const char* name;
  const char* commandLine;
  const char* program;  // below the drive root ("bin/..." is in the PATH folder)
  std::vector<std::string> arguments;  // "@c/..." stands for that path below the drive root
  bool batch;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.commandLine; }

class CommandLineReading : public ProgramStartTest,
                           public testing::WithParamInterface<ReadCase> {};

TEST_P(CommandLineReading, FindsTheProgramAndMapsArguments) {
  WriteHostFile(C("Programme/Cakewalk/SONAR 1/SONAR.EXE"), kScript, true);
  WriteHostFile(C("cool/COOL96.exe"), kScript, true);
  WriteHostFile(C("Arbeit/Editor/NoteTab"), kScript, true);
  WriteHostFile(C("Arbeit/Sample.mid"), "MThd");
  WriteHostFile(C("Arbeit/cs06b2.bat"), " REM\r\n");
  WriteHostFile(bin_ / "werkzeug", kScript, true);

  const ReadCase& c = GetParam();
  Command command = ReadCommandLine(c.commandLine);
  EXPECT_EQ(command.program, root_ / c.program);
  std::vector<std::string> arguments;
  for (const std::string& a : c.arguments)
    arguments.push_back(a.rfind("@", 0) == 0 ? (root_ / a.substr(1)).string() : a);
  EXPECT_EQ(command.arguments, arguments);
  EXPECT_EQ(command.batch, c.batch);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineReading,
    testing::Values(
        ReadCase{"BlankInFolderName",
                 "C:\\Programme\\Cakewalk\\SONAR 1\\SONAR.EXE C:\\Arbeit\\Sample.mid",
                 "c/Programme/Cakewalk/SONAR 1/SONAR.EXE", {"@c/Arbeit/Sample.mid"}, false},
        ReadCase{"QuotedProgramAndArgument", " \"c:\\cool\\COOL96.exe\" \"C:\\Arbeit\\Dozudava.wav\"",
                 "c/cool/COOL96.exe", {"@c/Arbeit/Dozudava.wav"}, false},
        ReadCase{"ExeFoundWithoutItsExtensionAndTwoBlanks",
                 "C:\\Arbeit\\Editor\\NoteTab.exe  c:\\arbeit\\Tesu.rsz", "c/Arbeit/Editor/NoteTab",
                 {"@c/Arbeit/Tesu.rsz"}, false},
        ReadCase{"NameFoundInPathQuotesGroup", "werkzeug -o \"eins zwei\" C:\\Arbeit\\x.sco drei",
                 "bin/werkzeug", {"-o", "eins zwei", "@c/Arbeit/x.sco", "drei"}, false},
        ReadCase{"BatchInOtherCase", "c:\\ARBEIT\\CS06B2.BAT", "c/Arbeit/cs06b2.bat", {}, true}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

class CommandLineNotFound : public ProgramStartTest,
                            public testing::WithParamInterface<const char*> {};

TEST_P(CommandLineNotFound, IsError53) {
  WriteHostFile(C("Programme/Cakewalk/SONAR 1/SONAR.EXE"), kScript, true);
  WriteHostFile(C("Arbeit/Sample.mid"), "MThd");  // exists, but is no program
  try {
    ReadCommandLine(GetParam());
    FAIL() << "no error for: " << GetParam();
  } catch (const common::RuntimeError& e) {
    EXPECT_EQ(e.number(), 53);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLineNotFound,
    testing::Values("C:\\Programme\\Cakewalk\\SONAR 2\\SONAR.EXE C:\\Arbeit\\Sample.mid",
                    " [c:\\arbeit\\cs06b.bat]", "C:\\Arbeit\\Sample.mid", "C:\\Arbeit", "",
                    "\"C:\\Programme\\Cakewalk\\SONAR\" 1\\SONAR.EXE", "gibt-es-nicht-xyz.exe"));

TEST(CommandNameTest, NamesTheProgramPartAsWritten) {
  const std::pair<const char*, const char*> cases[] = {
      {" [c:\\arbeit\\cs06b.bat]", "[c:\\arbeit\\cs06b.bat]"},
      {" \"c:\\cool\\COOL96.exe\" \"C:\\Arbeit\\Dozudava.wav\"", "c:\\cool\\COOL96.exe"},
      {" csound -o C:\\Arbeit\\Dozudava.wav", "csound"},
  };
  for (const auto& [line, name] : cases) EXPECT_EQ(CommandName(line), name) << line;
}

TEST_F(ProgramStartTest, NoProgramIsError53FromTheStarter) {
  SystemProgramStarter starter;
  try {
    starter.StartProgram("C:\\Programme\\Samplitude\\sam.exe C:\\Arbeit\\x.wav", kNormalFocus);
    FAIL() << "no error";
  } catch (const common::RuntimeError& e) {
    EXPECT_EQ(e.number(), 53);
  }
}

// The started program sleeps, then writes what it got: its standard input and its arguments.
const char kRecorder[] =
    "#!/bin/sh\n"
    "sleep 1\n"
    "out=$1\n"
    "{ readlink /proc/self/fd/0; printf '%s\\n' \"$@\"; echo \"$ORMILA_DRIVES\"; } > \"$out.tmp\"\n"
    "mv \"$out.tmp\" \"$out\"\n";

TEST_F(ProgramStartTest, StartedProgramOutlivesTheStarterDetached) {
  WriteHostFile(C("Arbeit/Werkzeug/recorder"), kRecorder, true);
  const fs::path result = C("Arbeit/ergebnis.txt");

  // The starter is a process of its own that ends right after starting.
  int pidPipe[2];
  ASSERT_EQ(pipe(pidPipe), 0);
  auto begin = Clock::now();
  pid_t starterProcess = fork();
  ASSERT_GE(starterProcess, 0);
  if (starterProcess == 0) {
    double id = -1;
    try {
      id = SystemProgramStarter().StartProgram(
          "C:\\Arbeit\\Werkzeug\\recorder.exe c:\\arbeit\\ergebnis.txt \"zwei Worte\"",
          kMinimizedFocus);
    } catch (...) {
    }
    [[maybe_unused]] ssize_t n = write(pidPipe[1], &id, sizeof id);
    _exit(0);
  }
  close(pidPipe[1]);
  double id = -1;
  ASSERT_EQ(read(pidPipe[0], &id, sizeof id), static_cast<ssize_t>(sizeof id));
  close(pidPipe[0]);
  int status = 0;
  waitpid(starterProcess, &status, 0);
  auto elapsed = Clock::now() - begin;

  EXPECT_LT(elapsed, std::chrono::milliseconds(800)) << "the starter waited";
  ASSERT_GT(id, 0);
  auto pid = static_cast<pid_t>(id);
  EXPECT_FALSE(fs::exists(result)) << "finished before the starter ended";
  EXPECT_NE(getsid(pid), getsid(0)) << "in the session of the test process";
  EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1) << "a child of the test process";

  ASSERT_TRUE(WaitForFile(result, std::chrono::seconds(10)));
  EXPECT_EQ(ReadHostFile(result), "/dev/null\n" + result.string() + "\nzwei Worte\n" +
                                  root_.string() + "\n");
}

TEST_F(ProgramStartTest, BatchIsRunByTheBatchRunner) {
  const fs::path runnerFolder = fs::path(ORMILA_BINARY_DIR) / "apps";
  ASSERT_TRUE(fs::exists(runnerFolder / "ormila-batch")) << "ormila-batch is not built";
  setenv("PATH", (runnerFolder.string() + ":" + std::getenv("PATH")).c_str(), 1);
  WriteHostFile(C("Arbeit/Werkzeug/recorder"), kRecorder, true);
  WriteHostFile(C("Arbeit/mach.bat"),
            " REM C:\\Arbeit\\mach.bat\r\n C:\\Arbeit\\Werkzeug\\recorder.exe C:\\Arbeit\\aus.txt\r\n");

  double id = SystemProgramStarter().StartProgram("C:\\Arbeit\\mach.bat", kNormalFocus);
  EXPECT_GT(id, 0);
  const fs::path result = C("Arbeit/aus.txt");
  ASSERT_TRUE(WaitForFile(result, std::chrono::seconds(10)));
  EXPECT_EQ(ReadHostFile(result), "/dev/null\n" + result.string() + "\n" + root_.string() + "\n");
}

}  // namespace
}  // namespace platform
