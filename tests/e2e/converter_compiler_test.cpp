// The converter's tone list read by the compiler's pass, in one process on a temporary drive: what
// the converter writes is what the builds it starts can take.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/codec.h"
#include "common/errors.h"
#include "compiler/build_settings.h"
#include "compiler/compiler_window.h"
#include "envelope/converter_fixture.h"

namespace {

namespace fs = std::filesystem;

// The compiler's settings file "Talvik.ini".
const char* const kCompilerSettings =
    "0.05\r\n1\r\n1\r\n1\r\n1\r\n2\r\n0.01\r\n0.001\r\n50\r\n 1 \r\n 1 \r\n 1 \r\n 0 \r\n";

// The lines of a text whose lines end in CR LF.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t pos = 0, end; pos < text.size(); pos = end + 2) {
    end = text.find("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
  }
  return lines;
}

class ConverterCompilerTest : public envelope_test::ConverterTest {
 public:
  struct Result {
    std::string toneList, score, orchestra, batch;
  };

  // The example envelope under the given project, track and sample names (a sample mixed in, so
  // that line 19 of the tone list names it): converted by "Cso1", then compiled by TalvikTe.
  Result ConvertAndCompile(const std::string& project, const std::string& track,
                           const std::string& sampleFolder, const std::string& sampleName) {
    const fs::path examples = fs::path(ORMILA_SOURCE_DIR) / "examples";
    std::string rpp = platform_test::ReadHostFile(examples / "Gleiten.rpp");
    rpp.replace(rpp.find("NAME Glissando"), 14, "NAME " + track);
    root.Write("c/Arbeit/" + project + ".rpp", rpp);
    root.Write("c/" + sampleFolder + "/" + sampleName, "RIFF");
    const std::string samplePath = "C:\\" + sampleFolder + "\\" + sampleName;
    const std::string settings =
        project + "\r\n" + track +
        "\r\nn\r\n1\r\n2\r\n0.01\r\n0.001\r\n50\r\n1\r\n0.5\r\n1\r\n1\r\n1\r\n1\r\n0\r\n0\r\n" +
        samplePath + "\r\n0\r\n";
    root.Write("c/Arbeit/Tesu.ini",
               common::Cp1252OrUtf8Bytes(settings));
    root.Write("c/Arbeit/Talvik.ini", kCompilerSettings);
    for (const char* output : {"Dozudava.sco", "Dozudava.orc", "cs06b.bat"})
      fs::remove(root / ("c/Arbeit/" + std::string(output)));

    NewWindow();
    starter.starts.clear();
    window->Form_Load();
    window->Command3.Click();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(starter.starts.size(), 1u);

    compiler::CompilerWindow pass(compiler::BuildSettings::TalvikTe(),
                                  compiler::CompilerServices{clock, starter, windowSystem});
    EXPECT_THROW(pass.Form_Load(), common::ProgramEnd);
    // The pass read the whole list: the six points of the range, FOF tones, the sample mixed in.
    EXPECT_EQ(pass.state.PointCount, 6);
    EXPECT_TRUE(pass.state.FofMode);
    EXPECT_EQ(pass.state.ListLts, tonelist::ToneValue::Text("0.5"));
    return {ReadArbeit("Tesu.rsz"), ReadArbeit("Dozudava.sco"), ReadArbeit("Dozudava.orc"),
            ReadArbeit("cs06b.bat")};
  }
};

// Names outside Windows-1252 make the tone list UTF-8. The compiler reads it byte by byte as
// Windows-1252: the two lines that hold the names stay comments, and the Csound files and the
// batch are byte for byte those of the same list under Latin names.
TEST_F(ConverterCompilerTest, AToneListWithCyrillicNamesCompilesToTheSameCsoundFiles) {
  const Result latin = ConvertAndCompile("Gleiten", "Glissando", "Arbeit", "Klang.wav");
  const Result cyrillic =
      ConvertAndCompile("Глиссандо", "Скрипка", "Звуки", "Виолончель.wav");

  EXPECT_TRUE(common::IsValidUtf8(cyrillic.toneList));
  const std::vector<std::string> latinLines = Lines(latin.toneList);
  const std::vector<std::string> cyrillicLines = Lines(cyrillic.toneList);
  ASSERT_EQ(cyrillicLines.size(), latinLines.size());
  EXPECT_EQ(cyrillicLines[1],
            "Tesu v5.31 - 08:15:00 10.12.2026 - Reaperdatei: Глиссандо.rpp - Hüllkurve: Скрипка");
  EXPECT_EQ(cyrillicLines[18], "Name des verwendeten Samples: C:\\Звуки\\Виолончель.wav");
  for (size_t n = 0; n < latinLines.size(); ++n) {
    if (n != 1 && n != 18) {
      EXPECT_EQ(cyrillicLines[n], latinLines[n]) << "line " << n + 1;
    }
  }

  EXPECT_FALSE(latin.score.empty());
  EXPECT_FALSE(latin.orchestra.empty());
  EXPECT_TRUE(cyrillic.score == latin.score) << "Dozudava.sco differs";
  EXPECT_TRUE(cyrillic.orchestra == latin.orchestra) << "Dozudava.orc differs";
  EXPECT_EQ(cyrillic.batch, latin.batch);
}

// The converter refuses a range longer than the build it would start takes: its numbers must be
// the builds' own.
TEST_F(ConverterCompilerTest, TheConverterKnowsEachBuildsPointCapacity) {
  struct Case {
    int mode;
    bool withAudioEditor;
    const compiler::BuildSettings& build;
  };
  for (const Case& c : {Case{0, true, compiler::BuildSettings::TalvikTe()},
                        Case{0, false, compiler::BuildSettings::TalvikTe2()},
                        Case{2, true, compiler::BuildSettings::TalvikTe3()},
                        Case{2, false, compiler::BuildSettings::TalvikTe4()}}) {
    SCOPED_TRACE(c.build.Name);
    window->state.CompilerMode = c.mode;
    window->state.WithAudioEditor = c.withAudioEditor;
    const auto& chosen = window->ChosenCompilerBuild();
    EXPECT_EQ(chosen.name, c.build.Name);
    EXPECT_EQ(chosen.program, "C:\\Arbeit\\VB\\Tesu01\\" + c.build.Name + ".exe");
    EXPECT_EQ(chosen.pointCapacity, c.build.PointCapacity);
  }
}

}  // namespace
