// The written orchestras and scores with the real Csound (skipped when csound is not installed):
// both compile, render, and the wave is as long as the sustain lines. The FOF case plays a sample
// named by a Windows drive path, which the score writes through the drive map.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/drive_map.h"
#include "writer_fixture.h"

namespace csound_test {
namespace {

bool HaveCsound() { return std::system("command -v csound >/dev/null 2>&1") == 0; }

class CsoundRenderTest : public WriterTest {
 protected:
  struct Render {
    std::string log;
    std::uintmax_t waveBytes = 0;
  };

  // Writes orchestra and score for the list into the temporary folder and renders them.
  Render Run(const tonelist::ToneListState& s, bool fof, const std::string& name) {
    auto c = Context(s);
    const fs::path orc = dir_ / (name + ".orc"), sco = dir_ / (name + ".sco"),
                   wav = dir_ / (name + ".wav"), log = dir_ / (name + ".log");
    files_.OpenOutput(csound::kOrchestraFile, orc.string());
    fof ? csound::WriteFofOrchestra(c) : csound::WriteSineOrchestra(c);
    files_.Close(csound::kOrchestraFile);
    files_.OpenOutput(csound::kScoreFile, sco.string());
    fof ? csound::WriteFofScore(c) : csound::WriteSineScore(c);
    files_.Close(csound::kScoreFile);
    const std::string cmd = "cd '" + dir_.string() + "' && csound -o '" + wav.string() +
                            "' -W -g '" + orc.string() + "' '" + sco.string() + "' >'" +
                            log.string() + "' 2>&1";
    (void)std::system(cmd.c_str());  // Csound's exit status counts the undefined 98..105
    Render r;
    r.log = ReadBytes(log);
    std::error_code ec;
    r.waveBytes = fs::file_size(wav, ec);
    return r;
  }

  // 16-bit stereo at 44100 Hz with a 44-byte header.
  static std::uintmax_t WaveBytes(double seconds) {
    return static_cast<std::uintmax_t>(seconds * 44100 + 0.5) * 4 + 44;
  }

  static void ExpectRendered(const Render& r, double seconds) {
    EXPECT_EQ(r.log.find("error:"), std::string::npos) << r.log;
    EXPECT_EQ(r.log.find("Parsing failed"), std::string::npos) << r.log;
    EXPECT_NE(r.log.find("overall samples out of range"), std::string::npos) << r.log;
    EXPECT_NEAR(static_cast<double>(r.waveBytes), static_cast<double>(WaveBytes(seconds)), 1024.0);
  }
};

TEST_F(CsoundRenderTest, SineAndFofRender) {
  if (!HaveCsound()) GTEST_SKIP() << "csound is not installed";
  platform::SetDrives(platform::DriveMap(dir_ / "drives"));

  tonelist::ToneListState sine(1000);
  ParseList(sine, {"ZP 1 1.5 3", "HT 440 . [440*1.07]", "LT 0 20000 0"});
  const Render a = Run(sine, false, "sine");
  ExpectRendered(a, 3.0);

  // The sine render becomes the sample of the FOF case, at c:\Arbeit\Samp100.wav.
  fs::create_directories(dir_ / "drives" / "c" / "Arbeit");
  fs::copy_file(dir_ / "sine.wav", dir_ / "drives" / "c" / "Arbeit" / "Samp100.wav");
  tonelist::ToneListState fof(1000);
  ParseList(fof, {"ZP 1 1.5 3", "HT 220 . [220*1.5]", "LT 0 3000 0", "KL 800 900 1000",
                  "SMP c:\\arbeit\\samp100.wav", "DEL 0.02", "FOM 40", "ENTE 1", "FUA 3"});
  const Render b = Run(fof, true, "fof");
  ExpectRendered(b, 3.2);  // 3 + 6 x 0.02, raised to the next 0.1
  EXPECT_NE(b.log.find("ftable 98:\t"), std::string::npos) << "the sample was not loaded\n"
                                                           << b.log;
  EXPECT_EQ(b.log.find("Failed to open file"), std::string::npos) << b.log;
}

}  // namespace
}  // namespace csound_test
