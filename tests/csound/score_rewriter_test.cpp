// Build B's rewrite of the score's second part: the kept head, the new dated line, the limits and
// the failures that leave the old score as it was.
#include "csound/score_rewriter.h"

#include "common/errors.h"
#include "writer_fixture.h"

namespace csound_test {
namespace {

using tonelist::ToneListState;

const std::vector<std::string> kFofList = {"ZP 0 1 2.5", "HT 220 330 440", "LT 0 20000 0",
                                           "KL 600 900 1200", "FUA 3", "SMP Samp100.wav"};
const std::vector<std::string> kNewFofList = {"ZP 1 1.5 3", "HT 440 . [440*1.07]",
                                              "LT 0 20000 0", "KL 500 . 700", "FUA 7", "FUB 9",
                                              "SMP c:\\Arbeit\\Anderes.wav", "DEL 0.02"};
const std::vector<std::string> kSineList = {"ZP 0 2", "HT 220 440", "LT 0 0"};

class RewriterTest : public WriterTest {
 protected:
  void SetUp() override {
    WriterTest::SetUp();
    UseDriveRoot(dir_);
  }
  void UseDriveRoot(const fs::path& root) {
    root_ = root;
    fs::create_directories(root_ / "c" / "Arbeit");
    platform::SetDrives(platform::DriveMap(root_));
  }
  fs::path Score() const { return root_ / "c" / "Arbeit" / "Dozudava.sco"; }

  csound::WriterContext ScoreContext(const ToneListState& list) { return Context(list); }

  // Writes the score as build A does for the list.
  std::string WriteBuildA(const std::vector<std::string>& lines, bool fof) {
    ToneListState s(1000);
    ParseList(s, lines);
    files_.OpenOutput(2, Score().string());
    if (fof) csound::WriteFofScore(ScoreContext(s));
    else csound::WriteSineScore(ScoreContext(s));
    files_.Close(2);
    return ReadBytes(Score());
  }

  // Runs the rewriter that the list chooses; returns the error number, 0 when it succeeded.
  int Rewrite(const std::vector<std::string>& lines) {
    ToneListState s(1000);
    ParseList(s, lines);
    try {
      if (s.FofMode) csound::RewriteFofScoreSecondPart(ScoreContext(s));
      else csound::RewriteSineScoreSecondPart(ScoreContext(s));
    } catch (const common::RuntimeError& e) {
      return e.number();
    }
    return 0;
  }

  // What build A writes from the "FOF - Dauerton" line on for the list.
  std::string SecondPart(const std::vector<std::string>& lines, bool fof) {
    ToneListState s(1000);
    ParseList(s, lines);
    return Write(2, [&] { csound::WriteScoreSecondPart(Context(s), fof); });
  }

  static std::string Head(const std::string& bytes, const std::string& untilLineWith) {
    return bytes.substr(0, bytes.find(untilLineWith));
  }

  fs::path root_;
  const std::string dated_ = " ;24.05.2024, 14:03:07  -  zweiten Teil der Partitur neu geschrieben.\r\n";
};

TEST_F(RewriterTest, FofScoreKeepsTheWholeFirstPart) {
  const std::string old = WriteBuildA(kFofList, true);
  ASSERT_EQ(Rewrite(kNewFofList), 0);
  const std::string rewritten = ReadBytes(Score());
  EXPECT_EQ(rewritten, dated_ + Head(old, " i96   0.00") + SecondPart(kNewFofList, true));
  // FUA, FUB and SMP of the new list change nothing in the kept head.
  EXPECT_NE(rewritten.find(" 3 1 0\r\n"), std::string::npos);
  EXPECT_NE(rewritten.find(" 2 1 0\r\n"), std::string::npos);
  EXPECT_NE(rewritten.find("Samp100.wav"), std::string::npos);
  EXPECT_EQ(rewritten.find("Anderes.wav"), std::string::npos);
  ExpectGolden("rewritten_fof.sco", rewritten);
}

// Under a drive root whose name Windows-1252 cannot write, the kept sample line still names the
// sample with the bytes the file system holds; a blank at the end of the list's sample path is not
// in it, before the rewrite or after.
TEST_F(RewriterTest, TheKeptSampleLineKeepsTheHostPathsBytes) {
  UseDriveRoot(dir_ / "Klänge ß Звуки Ёлка");
  const std::string sampleLine =
      " f98   0.00   0  1  \"" + (root_ / "c" / "Arbeit" / "Samp100.wav").string() + "\"";
  for (const char* smp : {"SMP c:\\Arbeit\\Samp100.wav", "SMP c:\\Arbeit\\Samp100.wav "}) {
    SCOPED_TRACE(std::string("[") + smp + "]");
    const std::vector<std::string> list = {"ZP 0 1 2.5", "HT 220 330 440", "LT 0 20000 0",
                                           "KL 600 900 1200", smp};
    const std::string old = WriteBuildA(list, true);
    ASSERT_NE(old.find(sampleLine), std::string::npos) << old;
    ASSERT_EQ(Rewrite(kNewFofList), 0);
    const std::string rewritten = ReadBytes(Score());
    EXPECT_EQ(rewritten, dated_ + Head(old, " i96   0.00") + SecondPart(kNewFofList, true));
    EXPECT_NE(rewritten.find(sampleLine + "  0  0  0 ; <----- Stereo ok.\r\n"), std::string::npos);
  }
}

TEST_F(RewriterTest, SineScoreLosesItsSampleBlock) {
  const std::string old = WriteBuildA(kSineList, false);
  ASSERT_EQ(Rewrite(kSineList), 0);
  const std::string rewritten = ReadBytes(Score());
  const std::vector<std::string> lines = Lines(rewritten);
  const auto second = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("FOF - Dauerton") != std::string::npos;
  });
  ASSERT_NE(second, lines.end());
  EXPECT_EQ(*(second - 1), " f3 0 4096 9 1 1 0");
  EXPECT_EQ(rewritten.find("SINUS - Dauerton"), std::string::npos);
  EXPECT_EQ(rewritten.find(";SCOMODUL-DAUERTON:"), std::string::npos);
  EXPECT_EQ(rewritten.find(" f98"), std::string::npos);
  EXPECT_EQ(rewritten, dated_ + Head(old, " i96   0.00") + SecondPart(kSineList, false));
  ExpectGolden("rewritten_sine.sco", rewritten);
}

TEST_F(RewriterTest, TheNewListAloneChoosesTheRewrite) {
  const std::string old = WriteBuildA(kSineList, false);
  ASSERT_EQ(Rewrite(kNewFofList), 0);
  EXPECT_EQ(ReadBytes(Score()), dated_ + Head(old, " i96   0.00") + SecondPart(kNewFofList, true));

  WriteBuildA(kFofList, true);
  const std::string fofHead = Head(ReadBytes(Score()), " i96   0.00");
  ASSERT_EQ(Rewrite(kSineList), 0);
  EXPECT_EQ(ReadBytes(Score()), dated_ + fofHead + SecondPart(kSineList, false));
}

TEST_F(RewriterTest, TwoRunsDifferByOneDatedLine) {
  WriteBuildA(kFofList, true);
  ASSERT_EQ(Rewrite(kNewFofList), 0);
  const std::string once = ReadBytes(Score());
  ASSERT_EQ(Rewrite(kNewFofList), 0);
  EXPECT_EQ(ReadBytes(Score()), dated_ + once);
}

struct SearchCase {
  const char* name;
  std::vector<std::string> lines;
  int firstLine;  // 0: none
};

TEST(FirstI96Line, LooksAtThePositions1To121Only) {
  const std::string at121 = std::string(120, ' ') + "i96 x";
  const std::string at122 = std::string(121, ' ') + "i96 x";
  const std::string umlauts = "ä" + std::string(119, 'x') + "i96";  // position 121 in the file
  const SearchCase cases[] = {
      {"at position 1", {"i96 0 1", "x"}, 1},
      {"after other lines", {" ;Kopf", " f1 0 4096 9", " i96   0.00   3"}, 3},
      {"at position 121", {"x", at121}, 2},
      {"at position 122 is copied", {at122, " i96"}, 2},
      {"capitals do not match", {" I96   0.00   3", " i97"}, 0},
      {"umlauts count one character", {umlauts}, 1},
      {"an empty score", {}, 0},
  };
  for (const SearchCase& c : cases) EXPECT_EQ(csound::FirstI96Line(c.lines), c.firstLine) << c.name;
}

TEST_F(RewriterTest, LineAt122IsCopiedIntoTheHead) {
  const std::string late = std::string(121, ' ') + "i96 spät";
  WriteBytes(Score(), common::Utf8ToCp1252(" ;Kopf\r\n" + late + "\r\n i96   0.00   3\r\n e\r\n"));
  ASSERT_EQ(Rewrite(kSineList), 0);
  EXPECT_EQ(ReadBytes(Score()),
            dated_ + common::Utf8ToCp1252(" ;Kopf\r\n" + late + "\r\n") + SecondPart(kSineList, false));
}

struct FailureCase {
  const char* name;
  std::function<std::string()> oldScore;  // nullptr: no score
  int error;
  bool leftOpen = false;  // the reading failed with the score open under number 2
};

TEST_F(RewriterTest, FailuresLeaveTheOldScoreAsItWas) {
  const FailureCase cases[] = {
      {"no score", nullptr, 53},
      {"no line holds i96", [] { return std::string(" ;Kopf\r\n I96   0.00   3\r\n e\r\n"); }, 9},
      {"an empty score", [] { return std::string(); }, 9},
      {"more than 1000 lines",
       [] {
         std::string s;
         for (int i = 0; i < 1001; ++i) s += " ;Zeile\r\n";
         return s + " i96   0.00   3\r\n";
       },
       9, true},
  };
  for (const FailureCase& c : cases) {
    fs::remove(Score());
    std::string before;
    if (c.oldScore) WriteBytes(Score(), before = c.oldScore());
    EXPECT_EQ(Rewrite(kNewFofList), c.error) << c.name;
    EXPECT_EQ(files_.IsOpen(2), c.leftOpen) << c.name;
    files_.Close(2);
    if (c.oldScore) EXPECT_EQ(ReadBytes(Score()), before) << c.name;
    else EXPECT_FALSE(fs::exists(Score())) << c.name;
    // Nothing else is left beside the score.
    EXPECT_EQ(std::distance(fs::directory_iterator(Score().parent_path()), fs::directory_iterator()),
              c.oldScore ? 1 : 0)
        << c.name;
  }
}

TEST_F(RewriterTest, ExactlyThousandLinesAreRead) {
  std::string old;
  for (int i = 0; i < 999; ++i) old += " ;Zeile\r\n";
  old += " i96   0.00   3\r\n";
  WriteBytes(Score(), old);
  ASSERT_EQ(Rewrite(kSineList), 0);
  EXPECT_EQ(ReadBytes(Score()), dated_ + old.substr(0, old.find(" i96")) + SecondPart(kSineList, false));
}

}  // namespace
}  // namespace csound_test
