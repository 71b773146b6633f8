// The built compiler on a composer's drive: it writes the Csound files and the batch, starts the
// batch detached and ends; the batch runs the real csound and then the audio editor.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "e2e_support.h"

namespace {

using namespace std::chrono_literals;

struct RenderCase {
  const char* name;
  std::string toneList;
  double seconds;  // what the sustain lines say
  bool sample = false;  // the list names C:\\Arbeit\\Samp100.wav, made here with sox
  friend void PrintTo(const RenderCase& c, std::ostream* os) { *os << c.name; }
};

std::string Crlf(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

class CompilerRender : public ::testing::TestWithParam<RenderCase> {};

TEST_P(CompilerRender, RendersAStereoWaveAsLongAsTheSustainLines) {
  const RenderCase& c = GetParam();
  e2e::Drive drive(std::string("render-") + c.name);
  drive.Write("Tesu.rsz", c.toneList);
  if (c.sample) {
    const std::string sox = "sox -n -r 44100 -c 2 -b 16 '" + (drive.Arbeit() / "Samp100.wav").string() +
                            "' synth 1 sine 440 vol 0.5 2>/dev/null";
    if (std::system(sox.c_str()) != 0) GTEST_SKIP() << "sox is not installed";
  }

  ASSERT_EQ(drive.Run(drive.Arbeit() / "VB" / "Tesu01" / "TalvikTe.exe"), 0) << drive.Read("run.log");
  // The compiler has ended; the detached batch renders and then opens the audio editor.
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  EXPECT_NE(drive.Read("cool-started.txt").find("/c/Arbeit/Dozudava.wav"), std::string::npos);

  e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_EQ(wave.channels, 2);
  EXPECT_EQ(wave.sampleRate, 44100);
  EXPECT_NEAR(wave.seconds, c.seconds, 0.01) << drive.Read("run.log");
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
  const std::string log = drive.Read("run.log");
  EXPECT_EQ(log.find("error:"), std::string::npos) << log;
  // The sample table 98 loads when the list names a sample; without one Csound reports it.
  const bool sampleFailed = log.find("ftable 98: \x1b[mFailed to open file") != std::string::npos ||
                            log.find("Failed to open file") != std::string::npos;
  EXPECT_EQ(sampleFailed, !c.sample) << log;
}

INSTANTIATE_TEST_SUITE_P(
    ToneLists, CompilerRender,
    ::testing::Values(
        RenderCase{"sine",
                   Crlf({" Sinus-Glissando", "ZP  0     0.5    1.5    2.2",
                         "HT  220   330    [220*2]  440", "LT  0     20000  15000  0"}),
                   3.0},
        RenderCase{"fof",
                   Crlf({" FOF-Klang", "ZP  0     1      2.5", "HT  220   330    440",
                         "LT  0     20000  0", "KL  600   900    1200", "FOM 60"}),
                   3.1},
        RenderCase{"sample",
                   Crlf({" FOF-Klang mit Sample", "ZP  0     1      2", "HT  220   330    440",
                         "LT  0     20000  0", "KL  600   900    1200",
                         "SMP c:\\Arbeit\\Samp100.wav", "LTS 2"}),
                   3.1, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// A failure never looks like success: the runtime's message on stderr, a non-zero exit status,
// and no render.
TEST(CompilerFailure, MissingSettingsFileEndsWithTheRuntimeMessageBeforeWriting) {
  e2e::Drive drive("fail-settings");
  std::filesystem::remove(drive.Arbeit() / "Talvik.ini");
  drive.Write("Tesu.rsz", "ZP 0 1\r\nHT 440 440\r\nLT 0 0\r\n");
  EXPECT_NE(drive.Run(drive.Arbeit() / "VB" / "Tesu01" / "TalvikTe.exe"), 0);
  const std::string log = drive.Read("run.log");
  EXPECT_NE(log.find("Laufzeitfehler '53': Datei nicht gefunden"), std::string::npos) << log;
  EXPECT_FALSE(std::filesystem::exists(drive.Arbeit() / "cs06b.bat"));
  EXPECT_FALSE(std::filesystem::exists(drive.Arbeit() / "Dozudava.sco"));
}

TEST(CompilerFailure, TalvikTe2WithoutTheUsersBatchRendersNothing) {
  e2e::Drive drive("fail-cs06b2");
  std::filesystem::remove(drive.Arbeit() / "cs06b2.bat");
  drive.Write("Tesu.rsz", "ZP 0 1\r\nHT 440 440\r\nLT 0 0\r\n");
  EXPECT_NE(drive.Run(drive.Arbeit() / "VB" / "Tesu01" / "TalvikTe2.exe"), 0);
  const std::string log = drive.Read("run.log");
  EXPECT_NE(log.find("Laufzeitfehler '53'"), std::string::npos) << log;
  EXPECT_TRUE(std::filesystem::exists(drive.Arbeit() / "cs06b.bat")) << "the writing steps ran";
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_FALSE(std::filesystem::exists(drive.Arbeit() / "Dozudava.wav"));
}

}  // namespace

namespace {

// Build A, then build B on a new tone list: Csound renders from the kept orchestra and the
// rewritten score.
TEST(CompilerBuildB, RendersFromTheKeptOrchestraAndTheRewrittenScore) {
  e2e::Drive drive("build-b");
  drive.Write("Tesu.rsz", Crlf({" FOF", "ZP  0     1", "HT  220   330", "LT  0     0",
                                "KL  600   900"}));
  ASSERT_EQ(drive.Run(drive.Arbeit() / "VB" / "Tesu01" / "TalvikTe.exe"), 0);
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  const std::string orchestra = drive.Read("Dozudava.orc");
  std::filesystem::remove(drive.Arbeit() / "cool-started.txt");
  std::filesystem::remove(drive.Arbeit() / "Dozudava.wav");

  drive.Write("Tesu.rsz", Crlf({" FOF, neu", "ZP  0     1      3.5", "HT  220   330    440",
                                "LT  0     20000  0", "KL  600   900    1200"}));
  ASSERT_EQ(drive.Run(drive.Arbeit() / "VB" / "Tesu01" / "TalvikTe3.exe"), 0) << drive.Read("run.log");
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  EXPECT_EQ(drive.Read("Dozudava.orc"), orchestra);
  EXPECT_NE(drive.Read("cs06b3.bat").find(" REM C:\\Arbeit\\cs06b3.bat"), std::string::npos);
  EXPECT_NE(drive.Read("Dozudava.sco").find("zweiten Teil der Partitur neu geschrieben."),
            std::string::npos);

  e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_EQ(wave.channels, 2);
  EXPECT_NEAR(wave.seconds, 4.1, 0.01);  // span 3.5 s: 4 + 0.1 (the first score said 2.1)
  EXPECT_GT(wave.peak, 0.01);
}

}  // namespace
