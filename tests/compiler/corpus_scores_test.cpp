// The score importer on real Csound scores written by other people (../shared/corpus/sco): each
// gives either a right list or a message that names the line and the score.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "corpus.h"
#include "tonelist/tone_list.h"
#include "tools_fixture.h"

namespace compiler_test {
namespace {

class CorpusScores : public ToolsTest {
 protected:
  void SetUp() override { ORMILA_REQUIRE_CORPUS(); }
  // The corpus file as C:\Arbeit\Sample.sco of the temporary drive.
  void UseScore(const std::string& name) {
    const std::filesystem::path file =
        std::filesystem::path(testing_support::CorpusFolder()) / "sco" / name;
    ASSERT_TRUE(std::filesystem::is_regular_file(file)) << file;
    WriteArbeit("Sample.sco", platform_test::ReadHostFile(file));
  }
};

TEST_F(CorpusScores, ScoresTheImporterCannotTakeAreReportedByLine) {
  const struct {
    const char* file;
    const char* says;
  } cases[] = {
      // instrument 1 written "i1": no note line of the importer's instrument
      {"mjladd_devcontainer-csound__Noorden10.csd",
       "Sie enthält keine Notenzeile des Instruments i01"},
      // the third note carries its duration forward with "."
      {"mjladd_devcontainer-csound__TRUMPET.csd",
       "Zeile 66: i01     6.25    .       8.02    6000\nFeld 3 (die Dauer, \".\") ist keine einfache "
       "Zahl."},
      // p4 is the amplitude (15000) and p5 the frequency: read as pitch and amplitude, every
      // loudness rounds to 0, and the list would render silence
      {"mjladd_devcontainer-csound__arnotSUBTRACT.csd",
       "Alle 4 Noten ergeben die Lautstärke 0: die Liste bliebe stumm."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    dialogs.messages.clear();
    UseScore(c.file);
    EXPECT_FALSE(window->Command14_Click());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("Die Partitur C:\\Arbeit\\Sample.sco kann nicht übernommen werden."),
              std::string::npos);
    EXPECT_NE(Messages()[0].find(c.says), std::string::npos) << Messages()[0];
    EXPECT_FALSE(ArbeitHas("Vuzov.rsz"));
    EXPECT_FALSE(window->files.IsOpen(1));
  }
}

TEST_F(CorpusScores, AScoreOfNineFieldNotesGivesAListThatReadsBack) {
  // The same score with its fourth and fifth fields swapped into the importer's order (pitch,
  // then amplitude); fields 6 to 9 are ignored.
  const std::filesystem::path file = std::filesystem::path(testing_support::CorpusFolder()) / "sco" /
                                     "mjladd_devcontainer-csound__arnotSUBTRACT.csd";
  std::string score;
  std::istringstream lines(platform_test::ReadHostFile(file));
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("i01 ", 0) == 0) {
      std::istringstream in(line);
      std::vector<std::string> words;
      for (std::string w; in >> w;) words.push_back(w);
      std::swap(words[3], words[4]);
      line.clear();
      for (const std::string& w : words) line += w + " ";
    }
    score += line + "\n";
  }
  WriteArbeit("Sample.sco", score);
  ASSERT_TRUE(window->Command14_Click()) << (Messages().empty() ? "" : Messages()[0]);
  compiler::CompilerState& st = s();
  ASSERT_EQ(st.NoteCount, 4);
  const double starts[] = {0, 0.5, 1, 1.5}, durations[] = {3, 2, 1.5, 1.5};
  const double frequencies[] = {131, 196, 165, 262};
  for (int i = 1; i <= 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(st.NoteStart[static_cast<size_t>(i)], starts[i - 1]);
    EXPECT_EQ(st.NoteDuration[static_cast<size_t>(i)], durations[i - 1]);
    EXPECT_EQ(st.NotePitch[static_cast<size_t>(i)], frequencies[i - 1] / 2);
    EXPECT_EQ(st.NoteLoudness[static_cast<size_t>(i)],
              common::RoundToStep(std::pow(15000.0, 3.6) / 2e11, 1));
  }
  // All four notes overlap the next: legato, three points each and the closing one.
  st.LineCount = 0;
  window->files.OpenInput(tonelist::kToneListFile, "C:\\Arbeit\\Vuzov.rsz");
  tonelist::ReadToneListLines(st, window->files);
  window->files.Close(tonelist::kToneListFile);
  tonelist::ParseToneList(st);
  ASSERT_EQ(st.PointCount, 13);
  for (int i = 2; i <= 13; ++i)
    EXPECT_LT(st.TimePoints[static_cast<size_t>(i - 1)], st.TimePoints[static_cast<size_t>(i)]) << i;
  EXPECT_FLOAT_EQ(st.TimePoints[13], 3);
  EXPECT_EQ(st.Pitches[1], tonelist::ToneValue::Number(65.5));
}

}  // namespace
}  // namespace compiler_test
