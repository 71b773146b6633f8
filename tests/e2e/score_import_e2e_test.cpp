// A score imported from end to end: Sample.sco on a temporary drive, the MIDI-POWER button of the
// compiler's window model imports it into Vuzov.rsz and compiles that list; the pass starts the
// render batch and the real csound renders a wave as long as the list's sustain lines.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

#include "common/errors.h"
#include "compiler/compiler_window.h"
#include "e2e_support.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/drive_map.h"
#include "platform/program_start.h"
#include "platform/temp_drive_root.h"
#include "platform/window_closing.h"

namespace {

using namespace std::chrono_literals;

TEST(ScoreImport, MidiPowerImportsSampleScoAndCsoundRendersVuzov) {
  e2e::Drive drive("score-import");
  // Three notes: a gap after the first, the last two legato; 0.5 / tempo 1 halves the times, so
  // the list spans 0 to 2.5 seconds.
  drive.Write("Sample.sco", " f1 0 4096 10 1\r\n"
                            "i01 0 2 880 20000\r\n"
                            "i01 3 1 660 18000\r\n"
                            "i01 4 1 990 16000\r\n"
                            "e\r\n");
  e2e::HostScope host(drive);

  platform::FixedClock clock{"10.12.2026", "08:15:00"};
  platform::FakeProgramStarter firstPass;
  platform::SystemProgramStarter system;
  e2e::SwitchableStarter starter;
  starter.target = &firstPass;
  platform::FakeWindowSystem windows;
  platform::ScriptedDialogs dialogs;
  compiler::CompilerWindow window(
      compiler::BuildSettings::TalvikTe(),
      compiler::CompilerServices{clock, starter, windows, platform::ProcessRandom(), dialogs, dialogs});
  ASSERT_TRUE(e2e::EndsTheProgram([&] { window.Form_Load(); }));

  starter.target = &system;
  const bool ended = e2e::EndsTheProgram([&] { window.Command31_Click(); });
  host.Restore();
  ASSERT_TRUE(ended) << (dialogs.messages.empty() ? "" : dialogs.messages[0].text);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(window.state.ToneListPath, "C:\\Arbeit\\Vuzov.rsz");
  EXPECT_EQ(window.state.NoteCount, 3);
  EXPECT_EQ(window.state.PointCount, 5 + 3 + 3 + 1);
  EXPECT_TRUE(window.state.FofMode);
  EXPECT_FLOAT_EQ(window.state.TimePoints[12], 2.5f);
  EXPECT_NE(drive.Read("Dozudava.sco").find("Vuzov.rsz"), std::string::npos);

  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_EQ(wave.channels, 2);
  EXPECT_EQ(wave.sampleRate, 44100);
  // the span in whole seconds plus one, six delays of 0.001 more, up to the next tenth
  EXPECT_NEAR(wave.seconds, 3.1, 0.01) << drive.Read("run.log");
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

}  // namespace
