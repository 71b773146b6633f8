// Ormila on screen: the real program under an X server, "Cso1" pressed with the mouse, TalvikTe
// started detached by its Windows path, and Csound rendering the wave.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e_support.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The values of one row of the tone list ("HT").
std::vector<std::string> ToneListRow(const e2e::Drive& drive, const std::string& keyword) {
  std::istringstream lines(drive.Read("Tesu.rsz"));
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(keyword + " ", 0) != 0) continue;
    std::istringstream words(line.substr(keyword.size()));
    std::vector<std::string> values;
    for (std::string w; words >> w;) values.push_back(w);
    return values;
  }
  return {};
}

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

// "H" at pitch strength 0 raises every pitch by 2^(1/100); "Var1" renders the varied values.
TEST(OrmilaOnScreen, HAtStrengthZeroThenVar1RendersTheRaisedPitches) {
  if (const std::string why = e2e::WhyNoScreen(); !why.empty()) GTEST_SKIP() << why;
  e2e::Drive drive("ormila-var1");
  e2e::WriteExampleProject(drive);
  e2e::OrmilaOnDisplay ormila(drive);
  ASSERT_FALSE(ormila.window().empty()) << drive.Read("run.log");

  ASSERT_TRUE(ormila.Click("Command3"));
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  const std::vector<std::string> cso1 = ToneListRow(drive, "HT");
  ASSERT_EQ(cso1.size(), 6u) << drive.Read("Tesu.rsz");
  fs::remove(drive.Arbeit() / "cool-started.txt");
  fs::remove(drive.Arbeit() / "Dozudava.wav");

  ASSERT_TRUE(ormila.Click("H_Enter"));
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(ormila.Click("Variation"));
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");

  const std::vector<std::string> varied = ToneListRow(drive, "HT");
  ASSERT_EQ(varied.size(), cso1.size()) << drive.Read("Tesu.rsz");
  for (size_t k = 0; k < cso1.size(); ++k) {
    const double expected = std::floor(std::stod(cso1[k]) * std::pow(2.0, 0.01) * 100 + 0.5) / 100;
    EXPECT_DOUBLE_EQ(std::stod(varied[k]), expected) << cso1[k] << " became " << varied[k];
  }
  const e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_NEAR(wave.seconds, 6.1, 0.01);
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

}  // namespace
