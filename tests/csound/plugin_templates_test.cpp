// The plug-in templates: byte for byte against their golden files (CR LF, Windows-1252), their
// section markers, and the sampler instrument with the real Csound.
#include <gtest/gtest.h>

#include <cstdlib>

#include "csound/plugin_templates.h"
#include "writer_fixture.h"

namespace csound_test {
namespace {

using csound::PluginTemplateKind;
using csound::PluginTemplateOwner;

class PluginTemplateTest : public WriterTest {
 protected:
  std::string Written(PluginTemplateKind kind, PluginTemplateOwner owner) {
    const fs::path p = dir_ / ("template" + std::to_string(++count_) + ".plg");
    csound::WritePluginTemplate(files_, 5, p.string(), kind, owner);
    EXPECT_FALSE(files_.IsOpen(5));
    return ReadBytes(p);
  }
};

TEST_F(PluginTemplateTest, TemplatesMatchTheirGoldenFiles) {
  const struct {
    PluginTemplateKind kind;
    PluginTemplateOwner owner;
    const char* golden;
    std::size_t lines;
  } cases[] = {
      {PluginTemplateKind::SingleTone, PluginTemplateOwner::Converter, "Default-Einzelton.plg", 85},
      // the compiler's single-tone text is the same
      {PluginTemplateKind::SingleTone, PluginTemplateOwner::Compiler, "Default-Einzelton.plg", 85},
      {PluginTemplateKind::SustainedTone, PluginTemplateOwner::Converter, "Default-Dauerton.plg", 66},
      {PluginTemplateKind::SustainedTone, PluginTemplateOwner::Compiler,
       "Default-Dauerton-compiler.plg", 66},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.golden);
    const std::string bytes = Written(c.kind, c.owner);
    ExpectGolden(c.golden, bytes);
    EXPECT_EQ(Lines(bytes).size(), c.lines);
    EXPECT_EQ(csound::PluginTemplateLines(c.kind, c.owner).size(), c.lines);
  }
}

TEST_F(PluginTemplateTest, SectionsAndTheButtonThatRewritesTheFile) {
  const struct {
    PluginTemplateKind kind;
    char k;
    const char* button;
  } cases[] = {{PluginTemplateKind::SingleTone, '1', " Bei jedem Mausklick auf den Knopf e wird die Datei"},
               {PluginTemplateKind::SustainedTone, '2', " Bei jedem Mausklick auf den Knopf d wird die Datei"}};
  for (const auto& c : cases) {
    const std::vector<std::string> lines =
        csound::PluginTemplateLines(c.kind, PluginTemplateOwner::Converter);
    std::vector<std::size_t> at;
    for (const std::string& marker :
         {";A-Orcdatei" + std::string(1, c.k), ";E-Orcdatei" + std::string(1, c.k),
          ";A-Scodatei" + std::string(1, c.k), ";E-Scodatei" + std::string(1, c.k),
          std::string(";A-Info"), std::string(";E-Info")}) {
      const auto it = std::find(lines.begin(), lines.end(), marker);
      ASSERT_NE(it, lines.end()) << marker;
      at.push_back(static_cast<std::size_t>(it - lines.begin()));
    }
    EXPECT_TRUE(std::is_sorted(at.begin(), at.end()));
    EXPECT_EQ(at.front(), 4u);  // after four empty lines
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.button), lines.end()) << c.k;
  }
}

TEST_F(PluginTemplateTest, CsoundAcceptsTheSamplerInstrument) {
  if (std::system("command -v csound >/dev/null 2>&1") != 0) GTEST_SKIP() << "csound is not installed";
  if (std::system("command -v sox >/dev/null 2>&1") != 0) GTEST_SKIP() << "sox is not installed";
  const fs::path sample = dir_ / "Samp100.wav";
  ASSERT_EQ(std::system(("sox -n -r 44100 -c 2 -b 16 '" + sample.string() +
                         "' synth 1 sine 220 2>/dev/null").c_str()),
            0);
  for (const PluginTemplateOwner owner : {PluginTemplateOwner::Converter, PluginTemplateOwner::Compiler}) {
    const std::vector<std::string> lines =
        csound::PluginTemplateLines(PluginTemplateKind::SustainedTone, owner);
    // The orchestra part between its markers, behind the globals that the compiler's orchestra
    // defines. Csound reads the keyword "instr" in small letters only.
    std::string orc = "sr = 44100\nksmps = 10\nnchnls = 2\n0dbfs = 1\ngkfrq1 init 440\n"
                      "gkfoq1 init 500\ngksamp1 init 0.5\ngifreqfakts init 1\n";
    bool inside = false;
    std::string instrument;
    for (std::string line : lines) {
      if (line == ";A-Orcdatei2") inside = true;
      if (!inside) continue;
      if (line.rfind(" Instr ", 0) == 0) {
        instrument = line.substr(7);
        line = " instr " + instrument;
      }
      orc += line + "\n";
      if (line == ";E-Orcdatei2") break;
    }
    const fs::path o = dir_ / "p.orc", s = dir_ / "p.sco", log = dir_ / "p.log";
    WriteBytes(o, orc);
    WriteBytes(s, "f98 0 0 1 \"" + sample.string() + "\" 0 0 0\ni" + instrument + " 0 0.5\ne\n");
    const int status = std::system(("csound -n '" + o.string() + "' '" + s.string() + "' >'" +
                                    log.string() + "' 2>&1").c_str());
    EXPECT_EQ(status, 0) << ReadBytes(log);
    EXPECT_EQ(ReadBytes(log).find("error:"), std::string::npos) << ReadBytes(log);
  }
}

}  // namespace
}  // namespace csound_test
