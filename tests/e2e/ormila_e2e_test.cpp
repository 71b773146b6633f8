// Ormila on screen: the real program under an X server, "Cso1" pressed with the mouse, TalvikTe
// started detached by its Windows path, and Csound rendering the wave.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "e2e_support.h"
#include "envelope/converter_window.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/program_start.h"
#include "platform/window_closing.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string Output(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[256];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

std::string ReadHost(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The centre of a control in pixels, from the window model's layout (15 twips a pixel).
std::pair<int, int> CentreOf(const std::string& control) {
  platform::FixedClock clock("10.12.2026", "08:15:00");
  platform::FakeProgramStarter starter;
  platform::FakeWindowSystem windows;
  platform::ScriptedDialogs dialogs;
  envelope::ConverterWindow model({clock, starter, windows, dialogs, dialogs, dialogs});
  const forms::Control* b = model.frmDatei.Find(control);
  if (!b) return {-1, -1};
  return {(b->left() + b->width() / 2) / 15, (b->top() + b->height() / 2) / 15};
}

// Ormila on a drive with the example project, its window found on the X server; the mouse
// clicks the window's controls by name.
class OrmilaOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) GTEST_SKIP() << "no X display (the CTest entry runs this under xvfb-run)";
    if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";
    drive = std::make_unique<e2e::Drive>(
        std::string("ormila-") + testing::UnitTest::GetInstance()->current_test_info()->name());
    const fs::path examples = fs::path(ORMILA_SOURCE_DIR) / "examples";
    drive->Write("Gleiten.rpp", ReadHost(examples / "Gleiten.rpp"));
    drive->Write("Tesu.ini", ReadHost(examples / "Tesu.ini"));
    ASSERT_EQ(std::system(("sox -n -r 44100 -c 2 -b 16 '" + (drive->Arbeit() / "Klang.wav").string() +
                           "' synth 1 pluck 220 2>/dev/null")
                              .c_str()),
              0);
  }
  void TearDown() override {
    if (ormila > 0) {
      kill(ormila, SIGTERM);
      waitpid(ormila, nullptr, 0);
    }
  }

  // Starts Ormila and waits for its window.
  void Start() {
    ormila = fork();
    if (ormila == 0) {
      setenv("ORMILA_DRIVES", drive->root().c_str(), 1);
      const std::string log = (drive->Arbeit() / "run.log").string();
      freopen(log.c_str(), "a", stdout);
      freopen(log.c_str(), "a", stderr);
      const std::string program = std::string(ORMILA_BINARY_DIR) + "/apps/Ormila";
      execl(program.c_str(), "Ormila", nullptr);
      _exit(127);
    }
    ASSERT_GT(ormila, 0);
    window = Output("timeout 20 xdotool search --sync --onlyvisible --name 'Ormila v5.31' | head -1");
    ASSERT_FALSE(window.empty()) << drive->Read("run.log");
    std::this_thread::sleep_for(500ms);
  }

  void Click(const std::string& control) {
    const auto [x, y] = CentreOf(control);
    ASSERT_GE(x, 0) << control;
    ASSERT_EQ(std::system(("xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
                           std::to_string(y) + " click 1")
                              .c_str()),
              0);
    std::this_thread::sleep_for(300ms);
  }

  // A picture of the window, for review (under the build folder).
  void Shot(const std::string& name) const {
    const fs::path shot = drive->root() / "ormila-window.xwd";
    std::system(("xwd -silent -id " + window + " > '" + shot.string() + "' 2>/dev/null && "
                 "command -v convert >/dev/null && convert '" + shot.string() + "' '" +
                 (fs::path(ORMILA_BINARY_DIR) / name).string() + "' 2>/dev/null")
                    .c_str());
  }

  // The rendered wave once Csound has finished it; nullopt when none comes within the time.
  std::optional<e2e::Wave> RenderedWave(std::chrono::seconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    const fs::path wave = drive->Arbeit() / "Dozudava.wav";
    std::uintmax_t lastSize = 0;
    while (std::chrono::steady_clock::now() < end) {
      std::error_code ec;
      const std::uintmax_t size = fs::file_size(wave, ec);
      if (!ec && size > 44 && size == lastSize) {
        try {
          return e2e::ReadWave(wave);
        } catch (const std::exception&) {
        }
      }
      lastSize = ec ? 0 : size;
      std::this_thread::sleep_for(500ms);
    }
    return std::nullopt;
  }

  std::unique_ptr<e2e::Drive> drive;
  pid_t ormila = -1;
  std::string window;
};

TEST_F(OrmilaOnScreen, Cso1PressedInTheWindowRendersTheExampleProject) {
  Start();
  Click("Command3");
  const bool rendered = drive->WaitFor("cool-started.txt", 120s);
  Shot("ormila-window.png");
  ASSERT_TRUE(rendered) << drive->Read("run.log");
  EXPECT_NE(drive->Read("Tesu.rsz").find("Reaperdatei: Gleiten.rpp"), std::string::npos);
  const e2e::Wave wave = e2e::ReadWave(drive->Arbeit() / "Dozudava.wav");
  EXPECT_EQ(wave.channels, 2);
  EXPECT_EQ(wave.sampleRate, 44100);
  EXPECT_NEAR(wave.seconds, 6.1, 0.01);  // points 1 to 6.5 s: 6 s, and 0.1 for the FOF echo
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

TEST_F(OrmilaOnScreen, UThenCso1ConvertsTheTimeSelection) {
  Start();
  Click("Command7");
  Click("Command3");
  ASSERT_TRUE(drive->WaitFor("cool-started.txt", 120s)) << drive->Read("run.log");
  // The points inside the selection 1 to 5.5 s; the whole envelope goes on to 5.75 and 6.5.
  const std::string toneList = drive->Read("Tesu.rsz");
  EXPECT_NE(toneList.find("\r\nZP         1           2.5         3.25        4\r\n"),
            std::string::npos)
      << toneList;
  const e2e::Wave wave = e2e::ReadWave(drive->Arbeit() / "Dozudava.wav");
  EXPECT_NEAR(wave.seconds, 4.1, 0.01);  // 6.1 for the whole envelope
}

// TalvikTe2 starts the user's C:\Arbeit\cs06b2.bat, which renders without the audio editor (the
// drive's sample batch).
TEST_F(OrmilaOnScreen, CoolThenCso1RendersWithoutTheAudioEditor) {
  Start();
  Click("Cool");
  Click("Command3");
  const std::optional<e2e::Wave> wave = RenderedWave(120s);
  ASSERT_TRUE(wave) << drive->Read("run.log");
  EXPECT_EQ(wave->channels, 2);
  EXPECT_NEAR(wave->seconds, 6.1, 0.01);
  std::this_thread::sleep_for(1s);
  EXPECT_FALSE(fs::exists(drive->Arbeit() / "cool-started.txt")) << "the audio editor was started";
}

// "vgl" twice with a project whose name holds "Kelvo": the comparison tone's window (the drive's
// stand-in shows its message in one titled "Kelvo") is asked to close, Ormila's own is not.
TEST_F(OrmilaOnScreen, VglTwiceNeverClosesOrmilasOwnWindow) {
  Start();
  Click("Text1");
  ASSERT_EQ(std::system(("xdotool key --window " + window + " ctrl+a && xdotool type --window " +
                         window + " Kelvo-Test")
                            .c_str()),
            0);
  std::this_thread::sleep_for(500ms);
  ASSERT_FALSE(Output("xdotool search --name 'Kelvo-Test.rpp'").empty()) << "the caption names the project";
  Click("Stimmen");
  const bool kelvoShown =
      !Output("timeout 10 xdotool search --sync --name '^Kelvo$' | head -1").empty();
  // Ormila's window above the comparison tone's, so that the walk meets it first.
  std::system(("xdotool windowraise " + window).c_str());
  // The first click may still wait (about two seconds) for a window of the started program.
  Click("Stimmen");
  std::this_thread::sleep_for(4s);
  EXPECT_EQ(waitpid(ormila, nullptr, WNOHANG), 0) << "Ormila ended";
  EXPECT_FALSE(Output("xdotool search --name 'Kelvo-Test.rpp'").empty()) << "Ormila's window closed";
  if (kelvoShown) {
    EXPECT_TRUE(Output("xdotool search --name '^Kelvo$'").empty()) << "the comparison tone stayed";
  }
}

}  // namespace
