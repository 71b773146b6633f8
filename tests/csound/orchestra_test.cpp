// the sine and FOF orchestra writers.
#include <gtest/gtest.h>

#include "common/errors.h"

#include "writer_fixture.h"

namespace csound_test {
namespace {

using tonelist::ToneListState;
using tonelist::ToneValue;

class OrchestraTest : public WriterTest {
 protected:
  std::string Sine(const ToneListState& s) {
    auto c = Context(s);
    return Write(csound::kOrchestraFile, [&] { csound::WriteSineOrchestra(c); });
  }
  std::string Fof(const ToneListState& s) {
    auto c = Context(s);
    return Write(csound::kOrchestraFile, [&] { csound::WriteFofOrchestra(c); });
  }
};

TEST_F(OrchestraTest, SineDefault) {
  ToneListState s(1000);
  ParseList(s, {"ZP 0 1", "HT 440 440", "LT 0 0"});
  const std::string bytes = Sine(s);
  ExpectGolden("sine_default.orc", bytes);
  auto lines = Lines(bytes);
  ASSERT_EQ(lines.size(), 116u);
  EXPECT_EQ(lines[25], "  iltfakt   =  0.07    ; Lautstärkefaktor für FOF (z.B. 0.07) <---- änderbar");
  EXPECT_EQ(lines[26], "  iltfakts  =  0.015   ; Lautstärkefaktor fürs Sample (z.B. 0.07) <---- änderbar");
  EXPECT_EQ(lines[27], "  gifreqfakts  =  1 * 0.06546  ; Frequenzfaktor fürs Sample");
}

TEST_F(OrchestraTest, SineFactors) {
  ToneListState s(1000);
  ParseList(s, {"ZP 0 1", "LTF 3", "LTS 2", "HTS 1.5"});
  const std::string bytes = Sine(s);
  ExpectGolden("sine_factors.orc", bytes);
  auto lines = Lines(bytes);
  EXPECT_EQ(lines[25].substr(0, 22), "  iltfakt   =  0.21   ");  // 3 x 0.07 written as 0.21
  EXPECT_EQ(lines[26].substr(0, 21), "  iltfakts  =  0.03  ");
  EXPECT_EQ(lines[27].substr(0, 28), "  gifreqfakts  =  1.5 * 0.06");
}

TEST_F(OrchestraTest, SineNegativeAndLtf2) {
  ToneListState s(1000);
  ParseList(s, {"LTF 2", "LTS -2", "HTS -0.5"});
  const std::string bytes = Sine(s);
  ExpectGolden("sine_negative.orc", bytes);
  auto lines = Lines(bytes);
  EXPECT_EQ(lines[25].substr(0, 22), "  iltfakt   =  0.14   ");
  EXPECT_EQ(lines[26].substr(0, 21), "  iltfakts  = -0.03  ");
  EXPECT_EQ(lines[27], "  gifreqfakts  = -0.5 * 0.06546  ; Frequenzfaktor fürs Sample");
}

TEST_F(OrchestraTest, UnsetFactorsCountAsZero) {
  // A tone list that could not be opened leaves LTF, LTS and HTS unset.
  ToneListState s(1000);
  auto lines = Lines(Sine(s));
  EXPECT_EQ(lines[25].substr(0, 19), "  iltfakt   =  0   ");
  EXPECT_EQ(lines[26].substr(0, 18), "  iltfakts  =  0  ");
  EXPECT_EQ(lines[27].substr(0, 25), "  gifreqfakts  =  0 * 0.0");
}

TEST_F(OrchestraTest, FofDefault) {
  ToneListState s(1000);
  ParseList(s, {"ZP 0 1", "KL 500 600"});
  const std::string bytes = Fof(s);
  ExpectGolden("fof_default.orc", bytes);
  auto lines = Lines(bytes);
  ASSERT_EQ(lines.size(), 204u);
  EXPECT_EQ(lines[27], "  iformfakt = 50       ; FOM = Formantfaktor (50) <---- änderbar");
  EXPECT_EQ(lines[28], "  ifreqfakt = 0");
  EXPECT_EQ(lines[29], "  gifreqfakts  =  1 * 0.06546  ; Frequenzfaktor fürs Sample");
  EXPECT_EQ(lines[112],
            "  ioktfakt = 0   ; - ENTE - Enteneffekt (0 = keine Ente) <<<<< änderbar");
  EXPECT_EQ(lines[113], "  idelfakt = 0.010   ; - DEL - Delay, z.B. 0.01 <<<<< änderbar");
}

TEST_F(OrchestraTest, FofValues) {
  ToneListState s(1000);
  ParseList(s, {"KL", "FOM 40", "ENTE 1.50", "DEL 0.02", "LTF 2", "LTS 3", "HTS 2"});
  const std::string bytes = Fof(s);
  ExpectGolden("fof_values.orc", bytes);
  auto lines = Lines(bytes);
  EXPECT_EQ(lines[25].substr(0, 24), "  iltfakt   =  0.14     ");
  EXPECT_EQ(lines[26].substr(0, 24), "  iltfakts  =  0.045    ");
  EXPECT_EQ(lines[27], "  iformfakt =  40       ; FOM = Formantfaktor (50) <---- änderbar");
  EXPECT_EQ(lines[112],
            "  ioktfakt =  1.5    ; - ENTE - Enteneffekt (0 = keine Ente) <<<<< änderbar");
  EXPECT_EQ(lines[113], "  idelfakt =  0.02    ; - DEL - Delay, z.B. 0.01 <<<<< änderbar");
}

TEST_F(OrchestraTest, LoudnessFactorThatIsNoNumberIsATypeMismatch) {
  for (const char* line : {"LTF 3x", "LTS 1,5", "LTF 1.5  "}) {
    ToneListState s(1000);
    ParseList(s, {"KL", line});
    try {
      Fof(s);
      ADD_FAILURE() << line << " was written";
    } catch (const common::RuntimeError& e) {
      EXPECT_EQ(e.number(), 13) << line;
    }
    files_.Close(3);  // the failed writer leaves its file open
  }
}

TEST_F(OrchestraTest, FofNegative) {
  ToneListState s(1000);
  ParseList(s, {"KL 1", "FOM -20", "ENTE -1", "DEL -0.5", "LTF -1", "LTS -1", "HTS -3"});
  const std::string bytes = Fof(s);
  ExpectGolden("fof_negative.orc", bytes);
  auto lines = Lines(bytes);
  EXPECT_EQ(lines[27], "  iformfakt = -20       ; FOM = Formantfaktor (50) <---- änderbar");
  EXPECT_EQ(lines[112].substr(0, 18), "  ioktfakt = -1   ");
  EXPECT_EQ(lines[113].substr(0, 20), "  idelfakt = -0.5   ");
}

TEST_F(OrchestraTest, FomZeroIsTheSameAsNoFom) {
  ToneListState a(1000), b(1000);
  ParseList(a, {"KL 1"});
  ParseList(b, {"KL 1", "FOM 0"});
  EXPECT_EQ(Fof(a), Fof(b));
}

TEST_F(OrchestraTest, DoesNotDependOnThePoints) {
  ToneListState a(1000), b(1000);
  ParseList(a, {"ZP 0 1", "HT 440 220", "LT 0 0", "KL 500 600", "LTF 2"});
  ParseList(b, {"ZP 3 4 5", "HT 100 . 300", "LT 0 1 0", "KL 1 2 3", "LTF 2"});
  EXPECT_EQ(Fof(a), Fof(b));
  EXPECT_EQ(Sine(a), Sine(b));
}

TEST_F(OrchestraTest, Instrument97IsMendedToKRate) {
  ToneListState s(1000);
  for (const std::string& bytes : {Sine(s), Fof(s)}) {
    auto lines = Lines(bytes);
    const size_t at = lines.size() - 19;  // instrument 97 and the end: 19 lines
    EXPECT_EQ(lines[at], ";ORCMODUL-DAUERTON:");
    EXPECT_EQ(lines[at + 3], "   kfrq = (gkfrq1 / 440) * gifreqfakts * 4 * 15");
    EXPECT_EQ(lines[at + 5], "   aw1v,aw2v loscil gksamp1*14, kfrq, 98   ; Sampleplayer");
    EXPECT_EQ(bytes.find("afrq"), std::string::npos);
  }
}

TEST_F(OrchestraTest, TrailingBlanksAreKept) {
  ToneListState s(1000);
  auto lines = Lines(Fof(s));
  auto has = [&](const std::string& l) {
    return std::find(lines.begin(), lines.end(), l) != lines.end();
  };
  EXPECT_TRUE(has("  kris2  = 0.0195 ; <<<<< "));
  EXPECT_TRUE(has("  kris5  = 0.0030 ; <<<<< "));
  for (int i = 2; i <= 5; ++i)
    EXPECT_TRUE(has("   a0" + std::to_string(i) + "a  delay a0" + std::to_string(i) +
                    ", idelfakt" + std::to_string(i) + ", 0  "));
  EXPECT_EQ(Lines(Sine(s))[15], " ");  // head item 15, "A line of one blank"
}

}  // namespace
}  // namespace csound_test
