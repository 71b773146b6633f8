// A random composition from end to end: a scripted panel in the compiler's window model,
// "Zufallsliste" with the platform's own random source, then "Direktstart", whose pass compiles
// Zufall.rsz and starts the render batch; the real csound renders a wave of the drawn length.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/errors.h"
#include "compiler/compiler_window.h"
#include "e2e_support.h"
#include "platform/clock.h"
#include "platform/drive_map.h"
#include "platform/program_start.h"
#include "platform/temp_drive_root.h"
#include "platform/window_closing.h"

namespace {

using namespace std::chrono_literals;

using e2e::EndsTheProgram;
using e2e::SwitchableStarter;

TEST(RandomComposition, DrawnInThePanelCompiledByDirektstartAndRenderedByCsound) {
  e2e::Drive drive("random-composition");
  e2e::HostScope host(drive);

  platform::FixedClock clock{"10.12.2026", "08:15:00"};
  platform::FakeProgramStarter firstPass;
  platform::SystemProgramStarter system;
  SwitchableStarter starter;
  starter.target = &firstPass;
  platform::FakeWindowSystem windows;
  compiler::CompilerWindow window(compiler::BuildSettings::TalvikTe(),
                                  compiler::CompilerServices{clock, starter, windows});
  ASSERT_TRUE(EndsTheProgram([&] { window.Form_Load(); }));

  // Three seconds of FOF sound: gaps of 0.2 to 0.5 s on a step of 0.01 s, formants held for two
  // points, formant factor 50.
  const char* const texts[] = {"3",  "0.2", "0.5", "0.01", "5000", "20000", "55", "70",
                               "7",  "2",   "2",   "60",   "80",   "5",     "2",  "2",
                               "0",  "0",   "0",   "0",    "50",   "0"};
  for (int row = 1; row <= 22; ++row)
    window.Box(compiler::CompilerWindow::PanelRowBoxes(row).second).SetText(texts[row - 1]);
  window.Zufallsliste.Click();
  const compiler::RandomComposition& c = window.composition;
  ASSERT_GE(c.n, 2);
  const double last = c.T[static_cast<size_t>(c.n)];
  ASSERT_EQ(std::floor(last), 3);

  starter.target = &system;
  const bool ended = EndsTheProgram([&] { window.Direktstart_Click(); });
  host.Restore();
  ASSERT_TRUE(ended);
  EXPECT_EQ(window.state.ToneListPath, "C:\\Arbeit\\Zufall.rsz");
  EXPECT_EQ(window.state.PointCount, c.n);
  EXPECT_TRUE(window.state.FofMode);

  // The pass has ended; the detached batch renders and then opens the audio editor.
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s));
  e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_EQ(wave.channels, 2);
  EXPECT_EQ(wave.sampleRate, 44100);
  // the sustain lines: the span from the first to the last point in whole seconds plus one, and
  // a tenth more for the FOF sound without delay
  const double seconds = std::floor(static_cast<double>(static_cast<float>(last)) + 1) + 0.1;
  EXPECT_NEAR(wave.seconds, seconds, 0.01);
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

}  // namespace
