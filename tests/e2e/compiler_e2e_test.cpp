// The built compiler on a composer's drive: it writes the Csound files and the batch, starts the
// batch detached and ends; the batch runs the real csound and then the audio editor.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
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

// The sample is played whatever the drive root and the sample's folder are called: under a root
// with an umlaut, "ß", a blank and Cyrillic (the UTF-8 form of "Ё" holds a byte Windows-1252 has
// no character for), and from a folder named in Cyrillic in a tone list written in UTF-8, the wave
// is the one rendered under a plain root, and all are louder than a render whose sample cannot be
// found.
TEST(CompilerRenderRoot, TheSampleIsPlayedUnderARootOrFromAFolderWithUmlautsAndCyrillic) {
  struct Render {
    std::string root, log;
    e2e::Wave wave;
  };
  // The sample lies in the folder below C:\Arbeit\ ("": in C:\Arbeit\ itself).
  auto render = [](const std::string& name, bool withSample,
                   const std::string& folder = "") -> std::optional<Render> {
    e2e::Drive drive(name);
    const std::string smp =
        "SMP c:\\Arbeit\\" + (folder.empty() ? "" : folder + "\\") + "Samp100.wav";
    drive.Write("Tesu.rsz", Crlf({" FOF-Klang mit Sample", "ZP  0     1      2",
                                  "HT  220   330    440", "LT  0     20000  0",
                                  "KL  600   900    1200", smp.c_str(), "LTS 1"}));
    if (withSample) {
      std::filesystem::create_directories(drive.Arbeit() / folder);
      const std::filesystem::path sample = drive.Arbeit() / folder / "Samp100.wav";
      const std::string sox = "sox -n -r 44100 -c 2 -b 16 '" + sample.string() +
                              "' synth 1 sine 440 vol 0.5 2>/dev/null";
      if (std::system(sox.c_str()) != 0) return std::nullopt;
    }
    EXPECT_EQ(drive.Run(drive.Arbeit() / "VB" / "Tesu01" / "TalvikTe.exe"), 0) << drive.Read("run.log");
    EXPECT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
    return Render{drive.root().string(), drive.Read("run.log"),
                  e2e::ReadWave(drive.Arbeit() / "Dozudava.wav")};
  };
  const std::string umlautRoot = "sample-root Klänge ß Звуки Ёлка";
  const auto plain = render("sample-root-plain", true);
  if (!plain) GTEST_SKIP() << "sox is not installed";
  const auto umlauts = render(umlautRoot, true);
  const auto cyrillicFolder = render("sample-folder", true, "Звуки-Ёлка");
  const auto missing = render("sample-root-missing", false);
  ASSERT_TRUE(umlauts && cyrillicFolder && missing);
  ASSERT_NE(umlauts->root.find(umlautRoot), std::string::npos) << umlauts->root;

  EXPECT_EQ(plain->log.find("Failed to open file"), std::string::npos) << plain->log;
  EXPECT_NE(missing->log.find("Failed to open file"), std::string::npos) << missing->log;
  for (const Render* r : {&*umlauts, &*cyrillicFolder}) {
    EXPECT_EQ(r->log.find("Failed to open file"), std::string::npos) << r->log;
    EXPECT_NEAR(r->wave.seconds, plain->wave.seconds, 1e-9);
    EXPECT_NEAR(r->wave.rms, plain->wave.rms, 1e-3 * plain->wave.rms);
  }
  EXPECT_GT(plain->wave.rms, 2 * missing->wave.rms)
      << "with the sample " << plain->wave.rms << ", without " << missing->wave.rms;
}

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

namespace {

// Bad values in the tone list, or a write cut short: the built program ends with the message of
// the error that failed first, starts nothing, and the old batch, orchestra and score are byte
// for byte as before.
struct BadRunCase {
  const char* name;
  const char* program;
  std::string toneList;
  const char* message;
  const char* shellSetup = "";
  friend void PrintTo(const BadRunCase& c, std::ostream* os) { *os << c.name; }
};

class CompilerBadRun : public ::testing::TestWithParam<BadRunCase> {};

const char* const kGoodList = "ZP  0     1\r\nHT  220   330\r\nLT  0     20000\r\nKL  600   900\r\n";

TEST_P(CompilerBadRun, KeepsTheOldFilesAndNamesTheFirstError) {
  const BadRunCase& c = GetParam();
  e2e::Drive drive(std::string("bad-run-") + c.name);
  const std::pair<const char*, std::string> old[] = {
      {"cs06b.bat", " REM alt\r\n"},
      {"cs06b3.bat", " REM alt 3\r\n"},
      {"Dozudava.orc", " ; altes Orchester\r\n"},
      {"Dozudava.sco", " ; alte Partitur\r\n i96   0.00   2\r\n e\r\n"}};
  for (const auto& [name, bytes] : old) drive.Write(name, bytes);
  drive.Write("Tesu.rsz", c.toneList);
  EXPECT_EQ(drive.Run(drive.Arbeit() / "VB" / "Tesu01" / c.program, c.shellSetup), 1);
  const std::string log = drive.Read("run.log");
  EXPECT_NE(log.find(c.message), std::string::npos) << log;
  EXPECT_EQ(log.find("'55'"), std::string::npos) << log;
  for (const auto& [name, bytes] : old) EXPECT_EQ(drive.Read(name), bytes) << name;
  for (const auto& entry : std::filesystem::directory_iterator(drive.Arbeit()))
    EXPECT_EQ(entry.path().filename().string().find(".neu"), std::string::npos)
        << entry.path() << " left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CompilerBadRun,
    ::testing::Values(
        BadRunCase{"LtfWithoutValue", "TalvikTe.exe", std::string(kGoodList) + "LTF  \r\n",
                   "Laufzeitfehler '13': Typen unverträglich"},
        BadRunCase{"LtsNotANumber", "TalvikTe.exe", std::string(kGoodList) + "LTS q\r\n",
                   "Laufzeitfehler '13': Typen unverträglich"},
        BadRunCase{"HtsTooLarge", "TalvikTe.exe", std::string(kGoodList) + "HTS 1e400\r\n",
                   "Laufzeitfehler '6': Überlauf"},
        BadRunCase{"TimeSpanOverflows", "TalvikTe.exe", std::string(kGoodList) + "ZP 3e38 -3e38\r\n",
                   "Laufzeitfehler '6': Überlauf"},
        BadRunCase{"BuildBTimeSpanOverflows", "TalvikTe3.exe",
                   std::string(kGoodList) + "ZP 3e38 -3e38\r\n", "Laufzeitfehler '6': Überlauf"},
        // A FIFO in place of the settings would block the pass: it is refused before reading.
        BadRunCase{"SettingsFileIsAFifo", "TalvikTe.exe", kGoodList, "Laufzeitfehler '75'",
                   "a=\"$ORMILA_DRIVES/c/Arbeit\"; rm \"$a/Talvik.ini\"; mkfifo \"$a/Talvik.ini\""},
        // A file-size limit of 1 KB cuts the orchestra (the batch fits).
        BadRunCase{"FileSizeLimit", "TalvikTe.exe", kGoodList, "Laufzeitfehler '57'",
                   "trap \"\" XFSZ; ulimit -f 2"}),
    [](const auto& info) { return std::string(info.param.name); });

// Build A renders, a failing build A keeps its files, and build B then renders from the kept
// orchestra (it used to find an empty one and render nothing).
TEST(CompilerBadRun, BuildBAfterAFailedBuildARendersFromTheKeptOrchestra) {
  e2e::Drive drive("bad-run-then-build-b");
  drive.Write("Tesu.rsz", kGoodList);
  ASSERT_EQ(drive.Run(drive.Arbeit() / "VB" / "Tesu01" / "TalvikTe.exe"), 0);
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  const std::string orchestra = drive.Read("Dozudava.orc");
  const double seconds = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav").seconds;
  std::filesystem::remove(drive.Arbeit() / "cool-started.txt");
  std::filesystem::remove(drive.Arbeit() / "Dozudava.wav");

  drive.Write("Tesu.rsz", std::string(kGoodList) + "LTF  \r\n");
  ASSERT_EQ(drive.Run(drive.Arbeit() / "VB" / "Tesu01" / "TalvikTe.exe"), 1);
  EXPECT_EQ(drive.Read("Dozudava.orc"), orchestra);

  drive.Write("Tesu.rsz", kGoodList);
  ASSERT_EQ(drive.Run(drive.Arbeit() / "VB" / "Tesu01" / "TalvikTe3.exe"), 0) << drive.Read("run.log");
  ASSERT_TRUE(drive.WaitFor("cool-started.txt", 120s)) << drive.Read("run.log");
  const e2e::Wave wave = e2e::ReadWave(drive.Arbeit() / "Dozudava.wav");
  EXPECT_NEAR(wave.seconds, seconds, 0.01);  // the kept head's sustain lines
  EXPECT_GT(wave.peak, 0.01) << "the wave is silent";
}

}  // namespace
