// Ormila on screen: the real program under an X server, "Cso1" pressed with the mouse, TalvikTe
// started detached by its Windows path, and Csound rendering the wave.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
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
std::pair<int, int> CentreOfCso1() {
  platform::FixedClock clock("10.12.2026", "08:15:00");
  platform::FakeProgramStarter starter;
  platform::FakeWindowSystem windows;
  platform::ScriptedDialogs dialogs;
  envelope::ConverterWindow model({clock, starter, windows, dialogs, dialogs, dialogs});
  const forms::Control& b = model.Command3;
  return {(b.left() + b.width() / 2) / 15, (b.top() + b.height() / 2) / 15};
}

TEST(OrmilaOnScreen, Cso1PressedInTheWindowRendersTheExampleProject) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) GTEST_SKIP() << "no X display (the CTest entry runs this under xvfb-run)";
  if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";

  e2e::Drive drive("ormila");
  const fs::path examples = fs::path(ORMILA_SOURCE_DIR) / "examples";
  drive.Write("Gleiten.rpp", ReadHost(examples / "Gleiten.rpp"));
  drive.Write("Tesu.ini", ReadHost(examples / "Tesu.ini"));
  ASSERT_EQ(std::system(("sox -n -r 44100 -c 2 -b 16 '" + (drive.Arbeit() / "Klang.wav").string() +
                         "' synth 1 pluck 220 2>/dev/null")
                            .c_str()),
            0);

  const pid_t ormila = fork();
  if (ormila == 0) {
    setenv("ORMILA_DRIVES", drive.root().c_str(), 1);
    // On the X server of this test, whatever Qt platform the caller's environment names.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    const std::string log = (drive.Arbeit() / "run.log").string();
    freopen(log.c_str(), "a", stdout);
    freopen(log.c_str(), "a", stderr);
    const std::string program = std::string(ORMILA_BINARY_DIR) + "/apps/Ormila";
    execl(program.c_str(), "Ormila", nullptr);
    _exit(127);
  }
  ASSERT_GT(ormila, 0);
  const std::string window =
      Output("timeout 20 xdotool search --sync --onlyvisible --name 'Ormila v5.31' | head -1");
  ASSERT_FALSE(window.empty()) << drive.Read("run.log");
  std::this_thread::sleep_for(500ms);

  const auto [x, y] = CentreOfCso1();
  ASSERT_EQ(std::system(("xdotool mousemove --window " + window + " " + std::to_string(x) + " " +
                         std::to_string(y) + " click 1")
                            .c_str()),
            0);
  const bool rendered = drive.WaitFor("cool-started.txt", 120s);

  // A picture of the window after the run, for review (under the build folder).
  const fs::path shot = drive.root() / "ormila-window.xwd";
  std::system(("xwd -silent -id " + window + " > '" + shot.string() + "' 2>/dev/null && "
               "command -v convert >/dev/null && convert '" + shot.string() + "' '" +
               (fs::path(ORMILA_BINARY_DIR) / "ormila-window.png").string() + "' 2>/dev/null")
                  .c_str());
  kill(ormila, SIGTERM);
  waitpid(ormila, nullptr, 0);

  ASSERT_TRUE(rendered) << drive.Read("run.log");
  EXPECT_NE(drive.Read("Tesu.rsz").find("Reaperdatei: Gleiten.rpp"), std::string::npos);
  const e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_EQ(wave.channels, 2);
  EXPECT_EQ(wave.sampleRate, 44100);
  EXPECT_NEAR(wave.seconds, 6.1, 0.01);  // points 1 to 6.5 s: 6 s, and 0.1 for the FOF echo
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

}  // namespace
