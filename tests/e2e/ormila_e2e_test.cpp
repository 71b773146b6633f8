// Ormila on screen: the real program under an X server, "Cso1" pressed with the mouse, TalvikTe
// started detached by its Windows path, and Csound rendering the wave.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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
std::pair<int, int> CentreOf(const std::string& name) {
  platform::FixedClock clock("10.12.2026", "08:15:00");
  platform::FakeProgramStarter starter;
  platform::FakeWindowSystem windows;
  platform::ScriptedDialogs dialogs;
  envelope::ConverterWindow model({clock, starter, windows, dialogs, dialogs, dialogs});
  const forms::Control* c = model.frmDatei.Find(name);
  if (!c) return {-1, -1};
  return {(c->left() + c->width() / 2) / 15, (c->top() + c->height() / 2) / 15};
}

// The real program on the example project, on a drive of its own under the X server.
class OrmilaOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
      GTEST_SKIP() << "no X display (the CTest entry runs this under xvfb-run)";
    if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "xdotool is not installed";

    drive = std::make_unique<e2e::Drive>(
        std::string("ormila-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    const fs::path examples = fs::path(ORMILA_SOURCE_DIR) / "examples";
    drive->Write("Gleiten.rpp", ReadHost(examples / "Gleiten.rpp"));
    drive->Write("Tesu.ini", ReadHost(examples / "Tesu.ini"));
    ASSERT_EQ(std::system(("sox -n -r 44100 -c 2 -b 16 '" +
                           (drive->Arbeit() / "Klang.wav").string() +
                           "' synth 1 pluck 220 2>/dev/null")
                              .c_str()),
              0);

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
  void TearDown() override {
    if (ormila > 0) {
      kill(ormila, SIGTERM);
      waitpid(ormila, nullptr, 0);
    }
  }

  // A click with the mouse on the control of that name.
  void Click(const std::string& control) {
    const auto [x, y] = CentreOf(control);
    ASSERT_GE(x, 0) << "no control " << control;
    ASSERT_EQ(std::system(("xdotool mousemove --window " + window + " " + std::to_string(x) +
                           " " + std::to_string(y) + " click 1")
                              .c_str()),
              0);
  }
  // Waits until the render batch has reached the audio editor's stand-in.
  bool Rendered() { return drive->WaitFor("cool-started.txt", 120s); }

  // The values of one row of the tone list ("HT").
  std::vector<std::string> ToneListRow(const std::string& keyword) const {
    std::istringstream lines(drive->Read("Tesu.rsz"));
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind(keyword + " ", 0) != 0) continue;
      std::istringstream words(line.substr(keyword.size()));
      std::vector<std::string> values;
      for (std::string w; words >> w;) values.push_back(w);
      return values;
    }
    return {};
  }

  std::unique_ptr<e2e::Drive> drive;
  pid_t ormila = -1;
  std::string window;
};

TEST_F(OrmilaOnScreen, Cso1PressedInTheWindowRendersTheExampleProject) {
  Click("Command3");
  const bool rendered = Rendered();

  // A picture of the window after the run, for review (under the build folder).
  const fs::path shot = drive->root() / "ormila-window.xwd";
  std::system(("xwd -silent -id " + window + " > '" + shot.string() + "' 2>/dev/null && "
               "command -v convert >/dev/null && convert '" + shot.string() + "' '" +
               (fs::path(ORMILA_BINARY_DIR) / "ormila-window.png").string() + "' 2>/dev/null")
                  .c_str());

  ASSERT_TRUE(rendered) << drive->Read("run.log");
  EXPECT_NE(drive->Read("Tesu.rsz").find("Reaperdatei: Gleiten.rpp"), std::string::npos);
  const e2e::Wave wave = e2e::ReadWave(drive->Arbeit() / "Dozudava.wav");
  EXPECT_EQ(wave.channels, 2);
  EXPECT_EQ(wave.sampleRate, 44100);
  EXPECT_NEAR(wave.seconds, 6.1, 0.01);  // points 1 to 6.5 s: 6 s, and 0.1 for the FOF echo
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

// "H" at pitch strength 0 raises every pitch by 2^(1/100); "Var1" renders the varied values.
TEST_F(OrmilaOnScreen, HAtStrengthZeroThenVar1RendersTheRaisedPitches) {
  Click("Command3");
  ASSERT_TRUE(Rendered()) << drive->Read("run.log");
  const std::vector<std::string> cso1 = ToneListRow("HT");
  ASSERT_EQ(cso1.size(), 6u) << drive->Read("Tesu.rsz");
  fs::remove(drive->Arbeit() / "cool-started.txt");
  fs::remove(drive->Arbeit() / "Dozudava.wav");

  Click("H_Enter");
  std::this_thread::sleep_for(300ms);
  Click("Variation");
  ASSERT_TRUE(Rendered()) << drive->Read("run.log");

  const std::vector<std::string> varied = ToneListRow("HT");
  ASSERT_EQ(varied.size(), cso1.size()) << drive->Read("Tesu.rsz");
  for (size_t k = 0; k < cso1.size(); ++k) {
    const double expected = std::floor(std::stod(cso1[k]) * std::pow(2.0, 0.01) * 100 + 0.5) / 100;
    EXPECT_DOUBLE_EQ(std::stod(varied[k]), expected) << cso1[k] << " became " << varied[k];
  }
  const e2e::Wave wave = e2e::ReadWave(drive->Arbeit() / "Dozudava.wav");
  EXPECT_NEAR(wave.seconds, 6.1, 0.01);
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

}  // namespace
