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

std::string ReadHost(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
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

  e2e::OrmilaOnDisplay ormila(drive);
  const std::string& window = ormila.window();
  ASSERT_FALSE(window.empty()) << drive.Read("run.log");
  ASSERT_TRUE(ormila.Click("Command3"));
  const bool rendered = drive.WaitFor("cool-started.txt", 120s);

  // A picture of the window after the run, for review (under the build folder).
  const fs::path shot = drive.root() / "ormila-window.xwd";
  std::system(("xwd -silent -id " + window + " > '" + shot.string() + "' 2>/dev/null && "
               "command -v convert >/dev/null && convert '" + shot.string() + "' '" +
               (fs::path(ORMILA_BINARY_DIR) / "ormila-window.png").string() + "' 2>/dev/null")
                  .c_str());

  ASSERT_TRUE(rendered) << drive.Read("run.log");
  EXPECT_NE(drive.Read("Tesu.rsz").find("Reaperdatei: Gleiten.rpp"), std::string::npos);
  const e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_EQ(wave.channels, 2);
  EXPECT_EQ(wave.sampleRate, 44100);
  EXPECT_NEAR(wave.seconds, 6.1, 0.01);  // points 1 to 6.5 s: 6 s, and 0.1 for the FOF echo
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

}  // namespace
