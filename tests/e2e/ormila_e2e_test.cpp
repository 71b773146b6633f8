// Ormila on screen: the real program under an X server, "Cso1" pressed with the mouse, TalvikTe
// started detached by its Windows path, and Csound rendering the wave.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "e2e_support.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(OrmilaOnScreen, Cso1PressedInTheWindowRendersTheExampleProject) {
  if (const std::string why = e2e::WhyNoScreen(); !why.empty()) GTEST_SKIP() << why;

  e2e::Drive drive("ormila");
  e2e::WriteExampleProject(drive);

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
