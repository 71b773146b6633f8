// the sine and FOF score writers and the score second part.
#include <gtest/gtest.h>

#include "common/numbers.h"
#include "host_folder_names.h"
#include "writer_fixture.h"

namespace csound_test {
namespace {

using csound::ComputeScoreTimes;
using tonelist::ToneListState;

class ScoreTest : public WriterTest {
 protected:
  std::string Sine(const ToneListState& s) {
    auto c = Context(s);
    return Write(csound::kScoreFile, [&] { csound::WriteSineScore(c); });
  }
  std::string Fof(const ToneListState& s) {
    auto c = Context(s);
    return Write(csound::kScoreFile, [&] { csound::WriteFofScore(c); });
  }
  std::string SecondPart(const ToneListState& s, bool fof) {
    auto c = Context(s);
    return Write(csound::kScoreFile, [&] { csound::WriteScoreSecondPart(c, fof); });
  }
  // The line of the written score that begins with the text.
  static std::string LineStarting(const std::string& bytes, const std::string& start) {
    for (const std::string& l : Lines(bytes))
      if (l.rfind(start, 0) == 0) return l;
    return "<none>";
  }
};

const std::vector<std::string> kThreePointsSine = {
    "Drei Punkte, von Hand",
    "ZP          1           1.5         3",
    "HT          440         .           [440*1.07]",
    "LT          0           20000       0",
};
const std::vector<std::string> kThreePointsFof = {
    "ZP          1           1.5         3",
    "HT          440         .           [440*1.07]",
    "LT          0           20000       0",
    "KL          800         [800+100]   1000.5",
    "FUA         3",
    "FUB         1.50",
};

// ------------------------------------------------------------------ computed values

TEST(ScoreTimes, StartValuesGlidesAndSustainOfTheExample) {
  ToneListState s(1000);
  ParseList(s, kThreePointsSine);
  auto t = ComputeScoreTimes(s, false, "0.0001");
  EXPECT_EQ(t.EventStarts[1], 0.0);
  EXPECT_EQ(t.EventStarts[2], 0.0001);
  EXPECT_EQ(t.EventStarts[3], 0.5001);
  EXPECT_EQ(t.GlideDurations[1], 0.5);
  EXPECT_EQ(t.GlideDurations[2], 1.5);
  EXPECT_EQ(t.SustainDuration, 3.0f);
  EXPECT_EQ(common::SingleText(ComputeScoreTimes(s, true, "0.0001").SustainDuration), "3.1");
}

TEST(ScoreTimes, SustainOfPointsAt7_04And13_04IsSeven) {
  // Their double difference 5.999999999999999 becomes 6 in single precision.
  ToneListState s(1000);
  ParseList(s, {"ZP 7.04 13.04"});
  EXPECT_EQ(ComputeScoreTimes(s, false, "0.0001").SustainDuration, 7.0f);
  EXPECT_EQ(common::SingleText(ComputeScoreTimes(s, true, "0.0001").SustainDuration), "7.1");
}

TEST(ScoreTimes, ValueOfATimePointIsItsSevenDigitText) {
  // 1.1 counts as 1.1, not as the nearest single: the glide 1.1 -> 1.3 is 0.2 exactly.
  ToneListState s(1000);
  ParseList(s, {"ZP 1.1 1.3 1.30006"});
  EXPECT_EQ(csound::PointValue(s, 1), 1.1);
  auto t = ComputeScoreTimes(s, false, "0.0001");
  EXPECT_EQ(t.GlideDurations[1], 0.2);
  EXPECT_EQ(t.GlideDurations[2], 0.0001);
  EXPECT_EQ(t.EventStarts[2], 0.0001);
  EXPECT_EQ(t.EventStarts[3], 0.2001);
}

TEST(ScoreTimes, FofSustainWithDelays) {
  // A span giving 5 (points 1 and 5.5): DEL none, 0.01, 0.02, 0.05, 0.1.
  const std::pair<const char*, const char*> cases[] = {
      {nullptr, "5.1"}, {"0.01", "5.1"}, {"0.02", "5.2"}, {"0.05", "5.4"}, {"0.1", "5.6"}};
  for (auto [del, want] : cases) {
    ToneListState s(1000);
    std::vector<std::string> lines = {"ZP 1 5.5", "KL 500 600"};
    if (del) lines.push_back(std::string("DEL ") + del);
    ParseList(s, lines);
    EXPECT_EQ(common::SingleText(ComputeScoreTimes(s, true, "0.0001").SustainDuration), want)
        << (del ? del : "no DEL");
    EXPECT_EQ(ComputeScoreTimes(s, false, "0.0001").SustainDuration, 5.0f);
  }
}

TEST(ScoreTimes, NoPointAndFallingTimes) {
  ToneListState none(1000);
  ParseList(none, {"HT 440"});
  EXPECT_EQ(ComputeScoreTimes(none, false, "0.0001").SustainDuration, 1.0f);
  EXPECT_EQ(common::SingleText(ComputeScoreTimes(none, true, "0.0001").SustainDuration), "1.1");
  ToneListState falling(1000);
  ParseList(falling, {"ZP 3 2 0.5"});
  auto t = ComputeScoreTimes(falling, false, "0.0001");
  EXPECT_EQ(t.SustainDuration, -2.0f);  // the whole part of -2.5 + 1 = -1.5
  EXPECT_EQ(t.GlideDurations[1], -1.0);
  EXPECT_EQ(t.GlideDurations[2], -1.5);
  EXPECT_EQ(t.EventStarts[3], -0.9999);
}

// ------------------------------------------------------------------ golden files

TEST_F(ScoreTest, SineThreePoints) {
  ToneListState s(1000);
  ParseList(s, kThreePointsSine);
  ExpectGolden("sine_three_points.sco", Sine(s));
}

TEST_F(ScoreTest, FofThreePointsWithFuaFub) {
  ToneListState s(1000);
  ParseList(s, kThreePointsFof);
  const std::string bytes = Fof(s);
  ExpectGolden("fof_three_points.sco", bytes);
  auto lines = Lines(bytes);
  EXPECT_EQ(lines[11], " 3 1 0");
  EXPECT_EQ(lines[14], " 1.5 1 0");
}

TEST_F(ScoreTest, NoPoint) {
  ToneListState s(1000);
  ParseList(s, {"Nur ein Kommentar"});
  ExpectGolden("sine_no_point.sco", Sine(s));
  ExpectGolden("fof_no_point.sco", Fof(s));
}

TEST_F(ScoreTest, OnePoint) {
  ToneListState s(1000);
  ParseList(s, {"ZP 2.5", "HT 330", "LT 0", "KL 700", "SMP c:\\Arbeit\\Samp100.wav"});
  ExpectGolden("sine_one_point.sco", Sine(s));
  ExpectGolden("fof_one_point.sco", Fof(s));
}

TEST_F(ScoreTest, FallingTimes) {
  ToneListState s(1000);
  ParseList(s, {"ZP 3 2 0.5", "HT 200 300 400", "LT 0 1000 0", "KL 500 600 700"});
  ExpectGolden("sine_falling.sco", Sine(s));
  ExpectGolden("fof_falling.sco", Fof(s));
}

TEST_F(ScoreTest, FofDelay) {
  ToneListState s(1000);
  ParseList(s, {"ZP 1 3 5.5", "HT 220 330 440", "LT 0 9000 0", "KL 500 600 700", "DEL 0.05"});
  ExpectGolden("fof_del_0_05.sco", Fof(s));
}

TEST_F(ScoreTest, FofDelayCasesInTheSustainLines) {
  const std::pair<const char*, const char*> cases[] = {
      {"0.01", "5.1"}, {"0.02", "5.2"}, {"0.05", "5.4"}, {"0.1", "5.6"}};
  for (auto [del, S] : cases) {
    ToneListState s(1000);
    ParseList(s, {"ZP 1 5.5", "KL 500 600", std::string("DEL ") + del});
    const std::string bytes = Fof(s);
    EXPECT_EQ(LineStarting(bytes, " i96"),
              std::string(" i96   0.00   ") + S + "   ; FOF - Dauerton, " + S + " Sekunden lang");
    EXPECT_EQ(LineStarting(bytes, " i105"), std::string(" i105  0.00   ") + S +
                                                "   ; weiterer Dauerton, " + S + " Sekunden lang");
  }
}

TEST_F(ScoreTest, LongTextsBreakAtTheNextTab) {
  // Pitch of 13 characters breaks at tab 36, one of 12 still fits; a start value from 10000 s on
  // with four decimals breaks at tab 19; a long formant text breaks at tab 80.
  const std::vector<std::string> list = {
      "ZP 0 10000.00005 10001 10001.25",
      "HT 440.000000001 123456789.12 440 .",
      "LT 0 100 200 0",
      "KL 800 800.0000000000001 900 1000",
  };
  ToneListState s(1000);
  ParseList(s, list);
  ExpectGolden("sine_long_texts.sco", Sine(s));
  ToneListState f(1000);
  ParseList(f, list);
  const std::string bytes = Fof(f);
  ExpectGolden("fof_long_texts.sco", bytes);
  // Line of point 2: the pitch fits (12 characters), the formant text breaks the line at tab 80.
  auto lines = Lines(bytes);
  EXPECT_NE(std::find(lines.begin(), lines.end(), std::string(79, ' ') + "pp9    ; 2 "), lines.end());
  // Line of point 1: the 13-character pitch breaks the line at tab 36.
  EXPECT_NE(std::find(lines.begin(), lines.end(), " i01    0         -1   440.000000001"),
            lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      " i01    0.0001    -1   123456789.12100       pp4  pp5    10000     "
                      "800.0000000000001"),
            lines.end());
}

// A drive path reaches the sample line as its host path, without the blanks at its end that
// Windows drops when it opens the file; any other path stands there as the list holds it.
TEST_F(ScoreTest, SamplePathGoesThroughTheDriveMap) {
  struct Case {
    std::vector<std::string> list;
    bool fof;
    std::string path;
  };
  const std::string host = std::string(kDriveRoot) + "/c/Arbeit/Samp100.wav";
  for (const Case& c : {
           Case{{"ZP 0 1", "SMP c:\\Arbeit\\Samp100.wav"}, false, host},
           Case{{"ZP 0 1", "SMP c:\\Arbeit\\Samp100.wav "}, false, host},
           Case{{"ZP 0 1", "KL 1 1", "SMP c:\\Arbeit\\Samp100.wav "}, true, host},
           Case{{"ZP 0 1", "KL 1 1", "SMP /home/komponist/klang.wav"}, true,
                "/home/komponist/klang.wav"},
           Case{{"ZP 0 1", "SMP /home/komponist/klang.wav "}, false, "/home/komponist/klang.wav "},
           Case{{"ZP 0 1"}, false, ""},
       }) {
    SCOPED_TRACE("[" + c.list.back() + "]");
    ToneListState s(1000);
    ParseList(s, c.list);
    EXPECT_EQ(LineStarting(c.fof ? Fof(s) : Sine(s), " f98"),
              " f98   0.00   0  1  \"" + c.path + "\"  0  0  0 ; <----- Stereo ok.");
  }
}

// The sample line names the sample with the bytes the file system holds, whatever the drive root
// and the folders are called, and whether the list is Windows-1252 or UTF-8 (read byte by byte,
// as the reader gives it); the lines around it stay Windows-1252.
TEST_F(ScoreTest, SampleLineHoldsTheHostPathAsTheFileSystemHoldsIt) {
  for (const char* rootName : testing_support::kHostFolderNames) {
    const fs::path root = dir_ / rootName;
    fs::create_directories(root / "c" / "Arbeit" / "Klänge");
    fs::create_directories(root / "c" / "Arbeit" / "Звуки");
    platform::SetDrives(platform::DriveMap(root));
    // The lists spell the folders otherwise than the disk does.
    const std::pair<std::string, const char*> lists[] = {
        {"SMP c:\\arbeit\\KLÄNGE\\Samp100.wav", "Klänge"},
        {common::Cp1252ToUtf8("SMP c:\\arbeit\\Звуки\\Samp100.wav"), "Звуки"}};
    for (const auto& [smp, folder] : lists) {
      ToneListState s(1000);
      ParseList(s, {"ZP 0 1", "KL 1 1", smp});
      auto c = Context(s);
      c.OriginNote = "Lautstärke";
      const std::string bytes = Write(csound::kScoreFile, [&] { csound::WriteFofScore(c); });
      const std::string line = " f98   0.00   0  1  \"" + root.string() + "/c/Arbeit/" + folder +
                               "/Samp100.wav\"  0  0  0 ; <----- Stereo ok.\r\n";
      EXPECT_NE(bytes.find("\r\n;A-Scodatei2\r\n" + line + ";E-Scodatei2\r\n"), std::string::npos)
          << rootName << "\n" << bytes;
      EXPECT_NE(bytes.find(" ;Lautst\xE4rke\r\n"), std::string::npos) << rootName;
    }
  }
  // A path that is not a drive path reaches the score with the bytes of its name in UTF-8, as the
  // file system holds names: from a UTF-8 list (as a Linux editor writes it) and from a
  // Windows-1252 one alike.
  for (const std::string& smp : {common::Cp1252ToUtf8("SMP /home/jürgen/Klänge/klang.wav"),
                                 std::string("SMP /home/jürgen/Klänge/klang.wav")}) {
    ToneListState linux(1000);
    ParseList(linux, {"ZP 0 1", smp});
    EXPECT_NE(Sine(linux).find(" f98   0.00   0  1  \"/home/jürgen/Klänge/klang.wav\"  0  0  0"),
              std::string::npos)
        << smp;
  }
}

TEST_F(ScoreTest, FuaFubZeroWriteTheDefaultLines) {
  ToneListState s(1000);
  ParseList(s, {"ZP 0 1", "KL 1 1", "FUA 0", "FUB 0"});
  auto lines = Lines(Fof(s));
  EXPECT_EQ(lines[10], " f1 0 4096 9");
  EXPECT_EQ(lines[11], " 1 1 0");
  EXPECT_EQ(lines[13], " f2 0 4096 9");
  EXPECT_EQ(lines[14], " 2 1 0");
}

TEST_F(ScoreTest, SecondPartAloneIsTheTailOfTheWholeScore) {
  for (bool fof : {false, true}) {
    ToneListState s(1000);
    ParseList(s, fof ? kThreePointsFof : kThreePointsSine);
    const std::string whole = fof ? Fof(s) : Sine(s);
    const std::string part = SecondPart(s, fof);
    const size_t at = whole.find(" i96   0.00   3");
    const size_t fofLine = whole.find("FOF - Dauerton");
    ASSERT_NE(fofLine, std::string::npos);
    const size_t start = whole.rfind("\r\n", fofLine) + 2;
    EXPECT_EQ(whole.substr(start), part) << (fof ? "FOF" : "sine");
    EXPECT_NE(at, std::string::npos);
    EXPECT_EQ(part.rfind(" i96   0.00   ", 0), 0u);
    EXPECT_EQ(part.substr(part.size() - 4), " e\r\n");
  }
}

TEST_F(ScoreTest, CapacityOfPointsIsWrittenWhole) {
  // No tone-list line can hold 10000 values (32,767 characters), so the state is filled directly.
  ToneListState s(10000);
  ParseList(s, {});
  for (int i = 1; i <= 10000; ++i) {
    s.TimePoints[static_cast<size_t>(i)] = static_cast<float>(i - 1) + 0.5f;
    s.Pitches[static_cast<size_t>(i)] = tonelist::ToneValue::Text("440");
    s.Loudnesses[static_cast<size_t>(i)] = tonelist::ToneValue::Text("100");
  }
  s.PointCount = 10000;
  auto lines = Lines(Sine(s));
  // Head 21 lines, 10 sustain lines, 2 empty, header, 10000 note lines, 2 empty, 2 closing.
  EXPECT_EQ(lines.size(), 21u + 10 + 2 + 1 + 10000 + 2 + 2);
  // Columns: start value from 8 (blank first), -1 at 19, 440 at 24, 100 at 36, pp4 at 46, pp5 at
  // 51, the glide from 57 (blank first), the comment from 67.
  EXPECT_EQ(lines[lines.size() - 5],
            " i01    9998.0001 -1   440         100       pp4  pp5    1          ; 10000 ");
  EXPECT_EQ(lines.back(), " e");
}

}  // namespace
}  // namespace csound_test
