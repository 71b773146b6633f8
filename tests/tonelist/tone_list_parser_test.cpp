// ParseToneList and EvaluateBracketTerm on lines written straight into the state.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "forms/controls.h"
#include "tonelist/tone_list.h"
#include "tonelist/tone_list_support.h"

namespace {

using testing_support::ErrorOf;
using testing_support::FreshState;
using testing_support::SetLines;
using tonelist::ToneListState;
using tonelist::ToneValue;

constexpr int kCapacity = 20;

ToneValue T(const char* text) { return ToneValue::Text(text); }
ToneValue N(double v) { return ToneValue::Number(v); }
ToneValue I(std::int16_t v) { return ToneValue::Integer(v); }
const ToneValue kUnset;

ToneListState ParsedOk(const std::vector<std::string>& lines) {
  ToneListState s = FreshState(kCapacity);
  SetLines(s, lines);
  tonelist::ParseToneList(s);
  return s;
}

// --- ZP lines: TimePoints and PointCount ---------------------------------------------------

struct TimePointCase {
  const char* name;
  friend void PrintTo(const TimePointCase& c, std::ostream* os) { *os << c.name; }
  std::vector<std::string> lines;
  std::vector<float> timePoints;  // elements 1..n; element n+1 must be untouched
  int pointCount;
};

class TimePointTest : public ::testing::TestWithParam<TimePointCase> {};

TEST_P(TimePointTest, StoresTimePointsAndCount) {
  const TimePointCase& c = GetParam();
  ToneListState s = ParsedOk(c.lines);
  for (size_t i = 0; i < c.timePoints.size(); ++i)
    EXPECT_EQ(s.TimePoints[i + 1], c.timePoints[i]) << "element " << i + 1;
  EXPECT_EQ(s.TimePoints[c.timePoints.size() + 1], 0.0f) << "element after the last";
  EXPECT_EQ(s.TimePoints[0], 0.0f);
  EXPECT_EQ(s.PointCount, c.pointCount);
}

INSTANTIATE_TEST_SUITE_P(
    ZpLines, TimePointTest,
    ::testing::Values(
        TimePointCase{"Example", {"ZP 0 0.5 . [165.202+0.01] 2"}, {0, 0.5f, 0.5f, 165.212f, 2}, 5},
        TimePointCase{"MinusZeroDropped", {"ZP 1 -0 2"}, {1, 2}, 2},
        TimePointCase{"PlusZeroAndLettersDropped", {"ZP 1 +0 x 2"}, {1, 2}, 2},
        TimePointCase{"CommentWordBeforeKeyword", {"Anfang ZP 1 2"}, {1, 2}, 2},
        TimePointCase{"LineBeginningWithBlank", {" ZP 4"}, {4}, 1},
        TimePointCase{"NoValues", {"ZP"}, {}, 0},
        TimePointCase{"KeywordPaddedWithBlanks", {"ZP         "}, {}, 0},
        // The last character belongs to the last word: "ZP " is not the keyword.
        TimePointCase{"KeywordWithOneTrailingBlankIsComment", {"ZP 9", "ZP "}, {9}, 1},
        TimePointCase{"SecondLineOverwritesWhatItReaches",
                      {"ZP 1 2 3 4 5", "ZP 7 8 9"}, {7, 8, 9, 4, 5}, 3},
        TimePointCase{"EmptyLastZpLineCountsZero", {"ZP 1 2 3", "ZP"}, {1, 2, 3}, 0},
        TimePointCase{"SmallLettersAreComment", {"ZP 9", "zp 1 2"}, {9}, 1},
        TimePointCase{"TabSeparatedValuesAreOneWord", {"ZP 9", "ZP\t1\t2"}, {9}, 1},
        TimePointCase{"LastWordWithTrailingBlankIsStillNumber", {"ZP 1 2 "}, {1, 2}, 2},
        TimePointCase{"RepeatMarkWithTrailingBlankIsNoRepeat", {"ZP 1 . "}, {1}, 1},
        TimePointCase{"RepeatMarkFirstCopiesElementZero", {"ZP . 1"}, {0, 1}, 2},
        TimePointCase{"ZerosWrittenManyWays", {"ZP 0 00 0.0 0x 05"}, {0, 0, 0, 0, 5}, 5},
        TimePointCase{"SecondKeywordWordIsSkipped", {"ZP 1 ZP 2"}, {1, 2}, 2},
        TimePointCase{"OtherKeywordWordStoresNothing", {"ZP 1 KL 2"}, {1, 2}, 2},
        TimePointCase{"RunsOfBlanks", {"ZP  1   2  "}, {1, 2}, 2},
        TimePointCase{"BracketTerms", {"ZP [1+2+3] [-5] [3*-2] [2/3]"}, {3, -5, -6, 0.6667f}, 4},
        // The words "+" and "2]" inside the term are not read again ("2]" would be error 13).
        TimePointCase{"TermWithBlanksInside", {"ZP [1 + 2] 7"}, {3, 7}, 2},
        TimePointCase{"TermAsLastWord", {"ZP 1 [2*3]"}, {1, 6}, 2},
        TimePointCase{"OtherListLinesLeaveZpAlone", {"HT 5 6", "ZP 1", "LT 3 4 5"}, {1}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// --- HT, LT, KL lines: ToneValues -----------------------------------------------------------

struct ValueCase {
  const char* name;
  friend void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }
  std::vector<std::string> lines;
  std::vector<ToneValue> ToneListState::*array;
  std::vector<ToneValue> values;  // elements 1..n; element n+1 must stay Unset
};

class ListValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ListValueTest, StoresValuesWithTheirKind) {
  const ValueCase& c = GetParam();
  ToneListState s = ParsedOk(c.lines);
  const std::vector<ToneValue>& a = s.*c.array;
  for (size_t i = 0; i < c.values.size(); ++i)
    EXPECT_EQ(a[i + 1], c.values[i]) << "element " << i + 1;
  EXPECT_EQ(a[c.values.size() + 1], kUnset) << "element after the last";
  EXPECT_EQ(a[0], kUnset);
}

INSTANTIATE_TEST_SUITE_P(
    ListLines, ListValueTest,
    ::testing::Values(
        ValueCase{"HtExample", {"HT 440 . 0 [440*1.07]"}, &ToneListState::Pitches,
                  {T("440"), T("440"), I(0), N(470.8)}},
        ValueCase{"LastWordKeepsItsBlank", {"HT 1 2 "}, &ToneListState::Pitches, {T("1"), T("2 ")}},
        ValueCase{"ZerosAreIntegers", {"LT 0 -0 20000 0"}, &ToneListState::Loudnesses,
                  {I(0), T("20000"), I(0)}},
        ValueCase{"RepeatMarkFirstCopiesUnsetElementZero", {"KL . 600"},
                  &ToneListState::FormantFreqs, {kUnset, T("600")}},
        ValueCase{"WordsKeptAsTyped", {"HT 3x x3 05 1e2"}, &ToneListState::Pitches,
                  {T("3x"), T("05"), T("1e2")}},
        ValueCase{"TabInsideWord", {"HT 1\t2 3"}, &ToneListState::Pitches, {T("1\t2"), T("3")}},
        ValueCase{"TermWithBlanksInsideThenMoreWords", {"HT [440 * 2] 5"}, &ToneListState::Pitches,
                  {N(880), T("5")}},
        ValueCase{"BracketResults", {"LT [220.7-3] [453/3] [2/3] [-5] [3*-2] [1+2+3] [7]"},
                  &ToneListState::Loudnesses,
                  {N(217.7), N(151), N(0.6667), N(-5), N(-6), N(3), N(7)}},
        // 0.03125 is exact in binary: 312.5 ten-thousandths, rounded half upward both ways.
        ValueCase{"HalvesRoundedUpward", {"HT [0.03125] [0-0.03125] [1/8]"},
                  &ToneListState::Pitches, {N(0.0313), N(-0.0312), N(0.125)}},
        ValueCase{"SecondLineOverwritesWhatItReaches", {"HT 1 2 3", "HT 9"},
                  &ToneListState::Pitches, {T("9"), T("2"), T("3")}},
        ValueCase{"KlValues", {"KL 600 900"}, &ToneListState::FormantFreqs, {T("600"), T("900")}},
        ValueCase{"ZpLineLeavesPitchesAlone", {"ZP 1 2", "HT 5"}, &ToneListState::Pitches,
                  {T("5")}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Setting and last-word keywords -----------------------------------------------------------

struct SettingCase {
  const char* name;
  friend void PrintTo(const SettingCase& c, std::ostream* os) { *os << c.name; }
  std::vector<std::string> lines;
  ToneValue ToneListState::*field;
  ToneValue value;
};

class SettingTest : public ::testing::TestWithParam<SettingCase> {};

TEST_P(SettingTest, SetsTheField) {
  const SettingCase& c = GetParam();
  ToneListState s = ParsedOk(c.lines);
  EXPECT_EQ(s.*c.field, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    SettingLines, SettingTest,
    ::testing::Values(
        SettingCase{"FuaZeroIsNotGiven", {"FUA 0"}, &ToneListState::ListFua, I(0)},
        SettingCase{"FuaLaterValueReplaces", {"FUA 3 4"}, &ToneListState::ListFua, T("4")},
        SettingCase{"FubOnlyWordsWithLeadingNumber", {"FUB x 2 . [5] -0"}, &ToneListState::ListFub,
                    T("2")},
        SettingCase{"DelTermsAndRepeatNotRecognised", {"DEL [5] ."}, &ToneListState::ListDel, I(0)},
        SettingCase{"Ente", {"ENTE 0.01"}, &ToneListState::ListEnte, T("0.01")},
        SettingCase{"FomKeepsTrailingBlank", {"FOM 50 "}, &ToneListState::ListFom, T("50 ")},
        SettingCase{"Frv", {"FRV 12x"}, &ToneListState::ListFrv, T("12x")},
        SettingCase{"LtfKeepsTrailingBlank", {"LTF 1.5 "}, &ToneListState::ListLtf, T("1.5 ")},
        SettingCase{"LtfTwoTrailingBlanksGiveOneBlank", {"LTF 1.5  "}, &ToneListState::ListLtf,
                    T(" ")},
        SettingCase{"LtfWithoutValueKeepsPreset", {"LTF"}, &ToneListState::ListLtf, I(1)},
        SettingCase{"LtfZeroIsAValue", {"LTF 0"}, &ToneListState::ListLtf, T("0")},
        SettingCase{"LtsOtherKeywordIsAValue", {"LTS 2 HT"}, &ToneListState::ListLts, T("HT")},
        SettingCase{"HtsOwnKeywordAgainIsNoValue", {"HTS 0.5 HTS"}, &ToneListState::ListHts,
                    T("0.5")},
        SettingCase{"CommentWordBeforeLtf", {"Faktor LTF 2"}, &ToneListState::ListLtf, T("2")},
        SettingCase{"LtfInSmallLettersIsComment", {"ltf 2"}, &ToneListState::ListLtf, I(1)},
        SettingCase{"LaterLineWins", {"LTF 2", "LTF 3"}, &ToneListState::ListLtf, T("3")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SampleLine, LastWordBecomesSampleFile) {
  const struct {
    std::vector<std::string> lines;
    std::string sampleFile;
  } cases[] = {
      {{"SMP c:\\Arbeit\\Samp100.wav"}, "c:\\Arbeit\\Samp100.wav"},
      {{"SMP  c:\\a.wav "}, "c:\\a.wav "},
      {{"SMP c:\\a.wav", "SMP"}, "c:\\a.wav"},
      {{"SMP /home/ich/klang.wav"}, "/home/ich/klang.wav"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines.back());
    EXPECT_EQ(ParsedOk(c.lines).SampleFile, c.sampleFile);
  }
}

TEST(FofModeTest, OnlyAKlLineSwitchesItOn) {
  const struct {
    const char* line;
    bool fofMode;
  } cases[] = {
      {"KL", true},
      {"KL 600", true},
      {"; Kopfzeile: KL ZP HT LT", true},
      {"ZP 1 KL 2", false},
      {"kl 600", false},
      {"KL\t600", false},
      {"HT 440", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    ToneListState s = ParsedOk({c.line});
    EXPECT_EQ(s.FofMode, c.fofMode);
    if (std::string(c.line) != "KL 600") {
      EXPECT_EQ(s.FormantFreqs[1], kUnset) << "no formant stored";
    }
  }
}

// --- Failures ------------------------------------------------------------------------------------

struct FailureCase {
  const char* name;
  friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
  int capacity;
  std::vector<std::string> lines;
  int error;
  void (*check)(const ToneListState&);  // the state the failure leaves
};

class FailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureTest, RaisesAndKeepsWhatWasStored) {
  const FailureCase& c = GetParam();
  ToneListState s = FreshState(c.capacity);
  SetLines(s, c.lines);
  EXPECT_EQ(ErrorOf([&] { tonelist::ParseToneList(s); }), c.error);
  c.check(s);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailureTest,
    ::testing::Values(
        FailureCase{"DivisionByZero", kCapacity, {"ZP 1 [4/0] 2"}, 11,
                    [](const ToneListState& s) {
                      EXPECT_EQ(s.TimePoints[1], 1.0f);
                      EXPECT_EQ(s.TimePoints[2], 0.0f);
                      EXPECT_EQ(s.PointCount, 1);
                      EXPECT_EQ(s.ValueIndex, 2);
                    }},
        FailureCase{"ZeroByZero", kCapacity, {"HT [0/0]"}, 11,
                    [](const ToneListState& s) { EXPECT_EQ(s.Pitches[1], kUnset); }},
        FailureCase{"NoClosingBracket", kCapacity, {"ZP 1 [5"}, 6,
                    [](const ToneListState& s) {
                      EXPECT_EQ(s.TimePoints[1], 1.0f);
                      EXPECT_EQ(s.PointCount, 1);
                      EXPECT_EQ(s.ScanPos, 32767) << "scanned to the last 16-bit position";
                    }},
        FailureCase{"NoClosingBracketAfterOperator", kCapacity, {"HT 7 [5+2"}, 6,
                    [](const ToneListState& s) {
                      EXPECT_EQ(s.Pitches[1], T("7"));
                      EXPECT_EQ(s.Pitches[2], kUnset);
                    }},
        FailureCase{"LoneBracketAsLastWord", kCapacity, {"ZP 1 ["}, 5,
                    [](const ToneListState& s) {
                      EXPECT_EQ(s.TimePoints[1], 1.0f);
                      EXPECT_EQ(s.PointCount, 1);
                    }},
        // The backward scan finds the "[" of the earlier term, which puts CharPos back on its "]";
        // the lone "[" is reached again and again until the list is full.
        FailureCase{"LoneBracketAfterAnotherTerm", 5, {"ZP [1] ["}, 9,
                    [](const ToneListState& s) {
                      for (int i = 1; i <= 5; ++i) EXPECT_EQ(s.TimePoints[i], 1.0f) << i;
                      EXPECT_EQ(s.PointCount, 5);
                    }},
        FailureCase{"ZpWordNotWhollyANumber", kCapacity, {"ZP 2 3x 4"}, 13,
                    [](const ToneListState& s) {
                      EXPECT_EQ(s.TimePoints[1], 2.0f);
                      EXPECT_EQ(s.TimePoints[2], 0.0f);
                      EXPECT_EQ(s.PointCount, 1);
                    }},
        FailureCase{"ZpWordWithTab", kCapacity, {"ZP 1\t2"}, 13,
                    [](const ToneListState& s) { EXPECT_EQ(s.PointCount, 0); }},
        FailureCase{"MoreZpValuesThanCapacity", 3, {"ZP 1 2 3 4"}, 9,
                    [](const ToneListState& s) {
                      EXPECT_EQ(s.TimePoints[3], 3.0f);
                      EXPECT_EQ(s.PointCount, 3);
                    }},
        FailureCase{"MorePitchesThanCapacity", 3, {"HT 1 2 3 4"}, 9,
                    [](const ToneListState& s) { EXPECT_EQ(s.Pitches[3], T("3")); }},
        FailureCase{"RepeatMarkBeyondCapacity", 2, {"LT 1 2 ."}, 9,
                    [](const ToneListState& s) { EXPECT_EQ(s.Loudnesses[2], T("2")); }},
        FailureCase{"TermResultOverflows", kCapacity, {"HT 4 [1e308*10]"}, 6,
                    [](const ToneListState& s) {
                      EXPECT_EQ(s.Pitches[1], T("4"));
                      EXPECT_EQ(s.Pitches[2], kUnset);
                    }},
        FailureCase{"TermResultBeyondSingle", kCapacity, {"ZP 1 [1e300]"}, 6,
                    [](const ToneListState& s) { EXPECT_EQ(s.PointCount, 1); }},
        FailureCase{"ParsingStopsAtFailingLine", kCapacity, {"HT 7 8", "ZP 1 3x", "LT 5"}, 13,
                    [](const ToneListState& s) {
                      EXPECT_EQ(s.Pitches[1], T("7"));
                      EXPECT_EQ(s.Pitches[2], T("8"));
                      EXPECT_EQ(s.TimePoints[1], 1.0f);
                      EXPECT_EQ(s.Loudnesses[1], kUnset);
                      EXPECT_EQ(s.LineIndex, 2);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

// A line is "HT 1 ", filler words, " 5": its length must fit 16 bits, and CharPos must be able to
// step past its end. Positions count characters of the 8-bit text, not UTF-8 bytes.
TEST(LongLineTest, LengthLimits) {
  const struct {
    int length;
    const char* filler;
    int error;
  } cases[] = {
      {32766, " ", 0}, {32767, " ", 6}, {32768, " ", 6}, {32766, "ä", 0},
      {32767, "ä", 6}, {32768, "ä", 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.length) + " characters, filler \"" + c.filler + "\"");
    std::string line = "HT 1 ";
    for (int i = 0; i < c.length - 7; ++i) line += c.filler;
    line += " 5";
    ToneListState s = FreshState(kCapacity);
    SetLines(s, {line, "LT 3"});
    EXPECT_EQ(ErrorOf([&] { tonelist::ParseToneList(s); }), c.error);
    if (c.length <= 32767) {
      // The whole line was parsed (its last word included) before any failure.
      EXPECT_EQ(s.Pitches[1], T("1"));
      EXPECT_EQ(s.Pitches[2], T("5"));
    } else {
      EXPECT_EQ(s.Pitches[1], kUnset) << "nothing of the line is parsed";
    }
    EXPECT_EQ(s.Loudnesses[1], c.error == 0 ? T("3") : kUnset);
  }
}

// --- EvaluateBracketTerm on its own ------------------------------------------------------------

TEST(BracketTermTest, ScansTheTermAndLeavesCharPosOnItsBracket) {
  const struct {
    const char* line;
    int charPos;  // where the word beginning with "[" ended
    double result;
    int endPos;
    const char *left, *op, *right;
  } cases[] = {
      {"HT [440 * 2] 5", 8, 880, 12, "440 ", "*", " 2"},
      {"ZP [-5]", 7, -5, 7, "", "-", "5"},
      {"ZP [7]", 6, 7, 6, "7", "]", ""},
      {"ZP [3*-2] 1", 10, -6, 9, "3", "*", "-2"},
      {"ZP [1+2+3] ", 11, 3, 10, "1", "+", "2+3"},
      {"ZP [2/3]", 8, 0.6667, 8, "2", "/", "3"},
      {"[1] HT [220.7-3]", 16, 217.7, 16, "220.7", "-", "3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    ToneListState s = FreshState(kCapacity);
    s.CurrentLine = c.line;
    s.CurrentLineCodes = c.line;
    s.CharPos = static_cast<std::int16_t>(c.charPos);
    tonelist::EvaluateBracketTerm(s);
    EXPECT_DOUBLE_EQ(s.BracketResult, c.result);
    EXPECT_EQ(s.CharPos, c.endPos);
    EXPECT_EQ(s.BracketLeft, c.left);
    EXPECT_EQ(s.BracketOp, c.op);
    EXPECT_EQ(s.BracketRight, c.right);
  }
}

// A character that is in the line, even a NUL, is part of the term; only past the end are
// characters empty. LeadingNumber stops at the NUL.
TEST(BracketTermTest, NulInsideTermIsKept) {
  ToneListState s = FreshState(kCapacity);
  SetLines(s, {std::string("HT [4") + '\0' + "4]"});
  tonelist::ParseToneList(s);
  EXPECT_EQ(s.BracketLeft, std::string("4") + '\0' + "4");
  EXPECT_EQ(s.Pitches[1], N(4));
}

// --- ListParsedValues --------------------------------------------------------------------------

TEST(ListParsedValuesTest, AppendsTimesPitchesAndLoudnesses) {
  ToneListState s = ParsedOk({"ZP 0 0.5 1.25", "HT 440 [440*1.07] 0", "LT 0 20000 5", "KL 1 2 3"});
  forms::ListBox list("Testliste");
  list.AddItem("vorher");
  tonelist::ListParsedValues(s, list);
  const std::vector<std::string> expected = {
      "vorher",    "Zeitpunkte:", "0",     "0.5", "1.25", "",
      "Tonhöhen:", "440",         "470.8", "0",   "",
      "Lautstärken:", "0",        "20000", "5"};
  EXPECT_EQ(list.items(), expected);
  EXPECT_EQ(s.ValueIndex, 4) << "ValueIndex is the counter";
}

}  // namespace
