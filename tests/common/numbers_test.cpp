#include "common/numbers.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "common/errors.h"
#include "temp_folder.h"

namespace common {
namespace {

// Runs f and returns the runtime error number it raised, or 0 when it raised none.
template <class F>
int ErrorOf(F f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// LeadingNumber

struct ReadCase {
  const char* text;
  double expected;
};

class LeadingNumberTest : public testing::TestWithParam<ReadCase> {};

TEST_P(LeadingNumberTest, ReadsTheLeadingNumber) {
  const ReadCase& c = GetParam();
  EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.expected) << "text: \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadingNumberTest,
    testing::Values(
        // a leading number, then other characters
        ReadCase{"3x", 3}, ReadCase{"440Hz", 440}, ReadCase{"12.5 Sekunden", 12.5},
        // no leading number reads 0
        ReadCase{"x3", 0}, ReadCase{"", 0}, ReadCase{"   ", 0}, ReadCase{".", 0},
        ReadCase{"-", 0}, ReadCase{"+", 0}, ReadCase{"e5", 0}, ReadCase{"+-3", 0},
        ReadCase{",5", 0},
        // the period
        ReadCase{".5", 0.5}, ReadCase{"-.25", -0.25}, ReadCase{"5.", 5},
        ReadCase{"1.2.3", 1.2}, ReadCase{"1,5", 1},
        // blanks, tabs and line feeds are skipped anywhere
        ReadCase{"  7", 7}, ReadCase{"1 2", 12}, ReadCase{"\t1\t2", 12},
        ReadCase{"1\n2", 12}, ReadCase{"- 3", -3}, ReadCase{"1 . 5", 1.5},
        ReadCase{" 1 e 3", 1000}, ReadCase{"\n\t -4 2x9", -42},
        // sign
        ReadCase{"-3", -3}, ReadCase{"+3", 3}, ReadCase{"-0", 0},
        // exponent
        ReadCase{"1e3", 1000}, ReadCase{"1E3", 1000}, ReadCase{"2.5e-2", 0.025},
        ReadCase{"1e+2", 100}, ReadCase{"-1.5E1x", -15},
        // an exponent without digits is not read
        ReadCase{"1e", 1}, ReadCase{"7e+", 7}, ReadCase{"7ex", 7},
        // far below the smallest double reads 0
        ReadCase{"1e-400", 0}));

TEST(LeadingNumber, ResultBeyondTheDoubleRangeIsOverflow) {
  for (const char* text : {"1e400", "-1e400", "1e99999999999999999999", "2e308"}) {
    EXPECT_EQ(ErrorOf([&] { LeadingNumber(text); }), kOverflow) << text;
  }
  EXPECT_EQ(ErrorOf([] { LeadingNumber("1e308"); }), 0);
}

// ---------------------------------------------------------------------------------------------
// StrictNumber

class StrictNumberAccepts : public testing::TestWithParam<ReadCase> {};

TEST_P(StrictNumberAccepts, ReadsTheWholeText) {
  const ReadCase& c = GetParam();
  EXPECT_TRUE(IsStrictNumber(c.text)) << c.text;
  EXPECT_DOUBLE_EQ(StrictNumber(c.text), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrictNumberAccepts,
    testing::Values(ReadCase{"3", 3}, ReadCase{"  3", 3}, ReadCase{"3  ", 3},
                    ReadCase{"  -2.5  ", -2.5}, ReadCase{"+4", 4}, ReadCase{".5", 0.5},
                    ReadCase{"5.", 5}, ReadCase{"0.0001", 0.0001}, ReadCase{"1e3", 1000},
                    ReadCase{"1.5E-2", 0.015}, ReadCase{"0", 0}));

class StrictNumberRejects : public testing::TestWithParam<const char*> {};

TEST_P(StrictNumberRejects, IsTypeMismatch) {
  const char* text = GetParam();
  EXPECT_FALSE(IsStrictNumber(text)) << text;
  EXPECT_EQ(ErrorOf([&] { StrictNumber(text); }), kTypeMismatch) << "\"" << text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Cases, StrictNumberRejects,
                         testing::Values("", "   ", "3x", "x3", "1,5", "1 5", "1.2.3", ".",
                                         "-", "1e", "1e+", "e5", "- 3", "0x10", "inf", "nan",
                                         "3\t", "5 x"));

TEST(StrictNumber, ResultBeyondTheDoubleRangeIsOverflow) {
  EXPECT_EQ(ErrorOf([] { StrictNumber("1e400"); }), kOverflow);
}

// ---------------------------------------------------------------------------------------------
// Text forms

struct SingleCase {
  float value;
  const char* text;
};

class SingleTextTest : public testing::TestWithParam<SingleCase> {};

TEST_P(SingleTextTest, Formats) { EXPECT_EQ(SingleText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleTextTest,
    testing::Values(SingleCase{165.212f, "165.212"}, SingleCase{0.1f, "0.1"},
                    SingleCase{0.07f, "0.07"}, SingleCase{-0.5f, "-0.5"},
                    SingleCase{0.0f, "0"}, SingleCase{-0.0f, "0"}, SingleCase{5.0f, "5"},
                    SingleCase{-2.0f, "-2"}, SingleCase{100.0f, "100"},
                    SingleCase{1.5f, "1.5"}, SingleCase{1e20f, "100000000000000000000"},
                    SingleCase{1e-7f, "0.0000001"}, SingleCase{-1e-7f, "-0.0000001"},
                    SingleCase{1.0f / 3.0f, "0.3333333"}, SingleCase{2.0f / 3.0f, "0.6666667"},
                    SingleCase{123456789.0f, "123456800"}, SingleCase{1234567.0f, "1234567"},
                    SingleCase{9.9999999e6f, "10000000"}, SingleCase{0.0001f, "0.0001"}));

struct DoubleCase {
  double value;
  const char* text;
};

class DoubleTextTest : public testing::TestWithParam<DoubleCase> {};

TEST_P(DoubleTextTest, Formats) { EXPECT_EQ(DoubleText(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, DoubleTextTest,
    testing::Values(DoubleCase{0.1 + 0.2, "0.3"}, DoubleCase{2.0 / 3, "0.666666666666667"},
                    DoubleCase{-2.0 / 3, "-0.666666666666667"}, DoubleCase{0.07, "0.07"},
                    DoubleCase{-0.5, "-0.5"}, DoubleCase{0.0, "0"}, DoubleCase{-0.0, "0"},
                    DoubleCase{440.0, "440"}, DoubleCase{1e20, "100000000000000000000"},
                    DoubleCase{1e-7, "0.0000001"}, DoubleCase{123.456, "123.456"},
                    DoubleCase{1.0 / 3, "0.333333333333333"},
                    DoubleCase{123456789012345678.0, "123456789012346000"},
                    DoubleCase{0.1f, "0.100000001490116"}));

// Reads the digits of a text form: the significant digits (leading zeros dropped).
std::string SignificantDigits(const std::string& text) {
  std::string digits;
  for (char c : text)
    if (c >= '0' && c <= '9' && !(digits.empty() && c == '0')) digits += c;
  return digits;
}

// Checks the shape every text form has, and that it is the value rounded to `digits`
// significant digits (compared with what printf's %g rounding gives).
void CheckForm(const std::string& text, double value, int digits) {
  SCOPED_TRACE("value " + std::to_string(value) + " text " + text);
  EXPECT_EQ(text.find_first_not_of("-.0123456789"), std::string::npos);
  EXPECT_EQ(text.find('e'), std::string::npos);
  EXPECT_NE(text.back(), '.');
  if (text.find('.') != std::string::npos) {
    EXPECT_NE(text.back(), '0');
  }
  EXPECT_NE(text[0], '.');
  if (text.size() > 1 && text[0] == '-') {
    EXPECT_NE(text[1], '.');
  }
  // integer digits stripped of trailing zeros, since zeros before the period are not significant
  std::string sig = SignificantDigits(text);
  while (!sig.empty() && sig.back() == '0') sig.pop_back();
  EXPECT_LE(sig.size(), static_cast<size_t>(digits));
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*g", digits, value);
  EXPECT_EQ(std::strtod(text.c_str(), nullptr), std::strtod(buf, nullptr)) << "printf: " << buf;
}

TEST(TextForm, EveryMagnitudeIsPlainAndRoundedToItsDigits) {
  std::vector<double> values;
  for (int e = -12; e <= 22; ++e) {
    for (double m : {1.0, 1.234567891234567, 9.87654321987654, 5.5, 9.99999999999999999}) {
      values.push_back(m * std::pow(10.0, e));
      values.push_back(-m * std::pow(10.0, e));
    }
  }
  for (double v : values) {
    CheckForm(DoubleText(v), v, 15);
    float f = static_cast<float>(v);
    CheckForm(SingleText(f), static_cast<double>(f), 7);
  }
}

// A program with a Qt window runs in the desktop's locale, whose decimal separator may be a
// comma. Builds a German locale into a temporary folder when the system has none.
class GermanLocale : public testing::Test {
 protected:
  void SetUp() override {
    if (Use()) return;
    const std::filesystem::path& folder = temp_.emplace("numbers_locale").path();
    std::string command = "localedef -i de_DE -f UTF-8 '" + folder.string() +
                          "/de_DE.UTF-8' >/dev/null 2>&1";
    // localedef also reports warnings by its exit status: try the locale whatever it says
    [[maybe_unused]] int status = std::system(command.c_str());
    ::setenv("LOCPATH", folder.c_str(), 1);
    if (Use()) return;
    GTEST_SKIP() << "no German locale available";
  }
  void TearDown() override {
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
    temp_.reset();
  }
  static bool Use() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
      if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point[0] == ',') return true;
    }
    return false;
  }
  std::optional<testing_support::TempFolder> temp_;
};

TEST_F(GermanLocale, NumbersKeepThePeriod) {
  EXPECT_DOUBLE_EQ(LeadingNumber("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(LeadingNumber("2.5e-2x"), 0.025);
  EXPECT_DOUBLE_EQ(StrictNumber(" 165.212 "), 165.212);
  EXPECT_EQ(ErrorOf([] { StrictNumber("1,5"); }), kTypeMismatch);
  EXPECT_EQ(SingleText(165.212f), "165.212");
  EXPECT_EQ(SingleText(0.07f), "0.07");
  EXPECT_EQ(DoubleText(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(DoubleText(1e20), "100000000000000000000");
}

// ---------------------------------------------------------------------------------------------
// Rounding

struct StepCase {
  double x;
  double factor;
  double expected;
};

class RoundToStepTest : public testing::TestWithParam<StepCase> {};

TEST_P(RoundToStepTest, IsFloorOfXTimesFactorPlusHalf) {
  const StepCase& c = GetParam();
  EXPECT_DOUBLE_EQ(RoundToStep(c.x, c.factor), c.expected) << c.x << " step 1/" << c.factor;
}

// 1.03125 = 1 + 1/32 and 12.125 are exact in binary, so 1.03125 * 10000 and 12.125 * 100 are
// exact halves.
INSTANTIATE_TEST_SUITE_P(
    Cases, RoundToStepTest,
    testing::Values(StepCase{2.71828, 10000, 2.7183}, StepCase{2.71824, 10000, 2.7182},
                    StepCase{1.03125, 10000, 1.0313}, StepCase{-1.03125, 10000, -1.0312},
                    StepCase{-1.03126, 10000, -1.0313}, StepCase{-1.03124, 10000, -1.0312},
                    StepCase{0.015625, 10000, 0.0156}, StepCase{-0.015625, 10000, -0.0156},
                    StepCase{0.0, 10000, 0.0}, StepCase{12.125, 100, 12.13},
                    StepCase{-12.3449, 100, -12.34}, StepCase{2.5, 1, 3},
                    StepCase{-2.5, 1, -2}, StepCase{-2.6, 1, -3}, StepCase{3.5, 1, 4},
                    StepCase{-0.4, 1, 0}));

TEST(WholePart, IsTheLargestWholeNumberNotAbove) {
  const std::pair<double, double> cases[] = {{2.7, 2}, {-2.7, -3}, {-2.0, -2}, {0.5, 0},
                                             {-0.5, -1}, {5.0, 5}};
  for (auto [x, expected] : cases) EXPECT_DOUBLE_EQ(WholePart(x), expected) << x;
}

struct Int16Case {
  double x;
  int expected;
};

class ToInt16Test : public testing::TestWithParam<Int16Case> {};

TEST_P(ToInt16Test, RoundsHalvesToEven) {
  EXPECT_EQ(ToInt16(GetParam().x), GetParam().expected) << GetParam().x;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToInt16Test,
    testing::Values(Int16Case{2.5, 2}, Int16Case{3.5, 4}, Int16Case{-2.5, -2},
                    Int16Case{-3.5, -4}, Int16Case{0.5, 0}, Int16Case{1.5, 2},
                    Int16Case{2.4999, 2}, Int16Case{2.5001, 3}, Int16Case{-0.4, 0},
                    Int16Case{7, 7}, Int16Case{32767.4, 32767}, Int16Case{32766.5, 32766},
                    Int16Case{-32768.5, -32768}, Int16Case{-32768.4, -32768}));

TEST(ToInt16, OutsideTheRangeIsOverflow) {
  for (double x : {32767.5, 32768.0, -32768.6, -32769.0, 1e10,
                   std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(ErrorOf([&] { ToInt16(x); }), kOverflow) << x;
  }
}

TEST(ToSingle, BeyondTheSingleRangeIsOverflow) {
  EXPECT_EQ(ToSingle(0.1), 0.1f);
  EXPECT_EQ(ToSingle(-3.0e38), -3.0e38f);
  EXPECT_EQ(ErrorOf([] { ToSingle(1e39); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { ToSingle(-1e39); }), kOverflow);
}

}  // namespace
}  // namespace common
