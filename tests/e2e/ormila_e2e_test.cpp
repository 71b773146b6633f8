// Ormila on screen: the real program under an X server, "Cso1" pressed with the mouse, TalvikTe
// started detached by its Windows path, and Csound rendering the wave.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>
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
  ORMILA_ON_SCREEN(drive, ormila, "ormila");
  const std::string& window = ormila.window();
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
  ORMILA_ON_SCREEN(drive, ormila, "ormila-var1");

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

// The rendered wave once Csound has finished it; nullopt when none comes within the time.
std::optional<e2e::Wave> RenderedWave(const e2e::Drive& drive, std::chrono::seconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  const fs::path wave = drive.Arbeit() / "Dozudava.wav";
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

TEST(OrmilaOnScreen, UThenCso1ConvertsTheTimeSelection) {
  ORMILA_ON_SCREEN(drive, ormila, "ormila-u");
  ASSERT_TRUE(ormila.Click("Command7"));
  ASSERT_TRUE(ormila.Click("Command3"));
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  // The points inside the selection 1 to 5.5 s; the whole envelope goes on to 5.75 and 6.5.
  const std::string toneList = drive.Read("Tesu.rsz");
  EXPECT_NE(toneList.find("\r\nZP         1           2.5         3.25        4\r\n"),
            std::string::npos)
      << toneList;
  const e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_NEAR(wave.seconds, 4.1, 0.01);  // 6.1 for the whole envelope
}

// TalvikTe2 starts the user's C:\Arbeit\cs06b2.bat, which renders without the audio editor (the
// drive's sample batch).
TEST(OrmilaOnScreen, CoolThenCso1RendersWithoutTheAudioEditor) {
  ORMILA_ON_SCREEN(drive, ormila, "ormila-cool");
  ASSERT_TRUE(ormila.Click("Cool"));
  ASSERT_TRUE(ormila.Click("Command3"));
  const std::optional<e2e::Wave> wave = RenderedWave(drive, 120s);
  ASSERT_TRUE(wave) << drive.Read("run.log");
  EXPECT_EQ(wave->channels, 2);
  EXPECT_NEAR(wave->seconds, 6.1, 0.01);
  std::this_thread::sleep_for(1s);
  EXPECT_FALSE(fs::exists(drive.Arbeit() / "cool-started.txt")) << "the audio editor was started";
}

// "vgl" twice with a project whose name holds "Kelvo": the comparison tone's window (the drive's
// stand-in shows its message in one titled "Kelvo") is asked to close, Ormila's own is not.
TEST(OrmilaOnScreen, VglTwiceNeverClosesOrmilasOwnWindow) {
  ORMILA_ON_SCREEN(drive, ormila, "ormila-vgl");
  const std::string& window = ormila.window();
  ASSERT_TRUE(ormila.Type("Text1", "Kelvo-Test"));
  std::this_thread::sleep_for(500ms);
  ASSERT_FALSE(e2e::CommandOutput("xdotool search --name 'Kelvo-Test.rpp'").empty())
      << "the caption names the project";
  ASSERT_TRUE(ormila.Click("Stimmen"));
  const bool kelvoShown =
      !e2e::CommandOutput("timeout 10 xdotool search --sync --name '^Kelvo$' | head -1").empty();
  // Ormila's window above the comparison tone's, so that the walk meets it first.
  std::system(("xdotool windowraise " + window).c_str());
  // The first click may still wait (about two seconds) for a window of the started program.
  ASSERT_TRUE(ormila.Click("Stimmen"));
  std::this_thread::sleep_for(4s);
  EXPECT_TRUE(ormila.Running()) << "Ormila ended";
  EXPECT_FALSE(e2e::CommandOutput("xdotool search --name 'Kelvo-Test.rpp'").empty())
      << "Ormila's window closed";
  if (kelvoShown) {
    EXPECT_TRUE(e2e::CommandOutput("xdotool search --name '^Kelvo$'").empty())
        << "the comparison tone stayed";
  }
}

}  // namespace
