#include "platform/clock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <chrono>
#include <ctime>
#include <regex>
#include <string>

namespace platform {
namespace {

std::tm LocalNow() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

TEST(SystemClock, DateTextIsTodayAsDdMmYyyy) {
  SystemClock clock;
  // a date read just at midnight may be one day off: then read again
  for (int attempt = 0; attempt < 2; ++attempt) {
    std::tm before = LocalNow();
    std::string text = clock.DateText();
    std::tm after = LocalNow();
    if (before.tm_mday != after.tm_mday) continue;
    ASSERT_TRUE(std::regex_match(text, std::regex(R"(\d\d\.\d\d\.\d\d\d\d)"))) << text;
    EXPECT_EQ(std::stoi(text.substr(0, 2)), after.tm_mday);
    EXPECT_EQ(std::stoi(text.substr(3, 2)), after.tm_mon + 1);
    EXPECT_EQ(std::stoi(text.substr(6, 4)), after.tm_year + 1900);
    return;
  }
  FAIL() << "the day changed twice";
}

TEST(SystemClock, TimeTextIsNowAsHhMmSs) {
  SystemClock clock;
  std::tm before = LocalNow();
  std::string text = clock.TimeText();
  std::tm after = LocalNow();
  ASSERT_TRUE(std::regex_match(text, std::regex(R"(\d\d:\d\d:\d\d)"))) << text;
  int seconds = std::stoi(text.substr(0, 2)) * 3600 + std::stoi(text.substr(3, 2)) * 60 +
                std::stoi(text.substr(6, 2));
  int from = before.tm_hour * 3600 + before.tm_min * 60 + before.tm_sec;
  int to = after.tm_hour * 3600 + after.tm_min * 60 + after.tm_sec;
  if (to < from) GTEST_SKIP() << "read at midnight";
  EXPECT_GE(seconds, from);
  EXPECT_LE(seconds, to);
  EXPECT_LT(std::stoi(text.substr(0, 2)), 24);
}

TEST(FixedClock, ShowsItsMoment) {
  FixedClock clock("24.12.1999", "18:05:09");
  Clock& c = clock;
  EXPECT_EQ(c.DateText(), "24.12.1999");
  EXPECT_EQ(c.TimeText(), "18:05:09");
  EXPECT_EQ(c.DateText(), "24.12.1999");
}

// The process clock is made once per process: the child of a death test (started anew in the
// "threadsafe" style) reads the variable before anything else made it.
TEST(ProcessClock, FixedByTheEnvironment) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::setenv("ORMILA_FIXED_CLOCK", "01.02.2003 04:05:06", 1);
        Clock& clock = ProcessClock();
        std::exit(clock.DateText() == "01.02.2003" && clock.TimeText() == "04:05:06" ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(SystemRandom, DrawsAreUniformInZeroToOne) {
  SystemRandom random;
  constexpr int kDraws = 100000;
  std::array<int, 10> bins{};
  double sum = 0;
  for (int i = 0; i < kDraws; ++i) {
    double x = random.Next();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
    ++bins[static_cast<size_t>(x * 10)];
    sum += x;
  }
  // each bin expects 10000 draws with a spread of about 95
  for (int n : bins) {
    EXPECT_GT(n, 9000);
    EXPECT_LT(n, 11000);
  }
  EXPECT_NEAR(sum / kDraws, 0.5, 0.01);
}

TEST(SystemRandom, ReseedStartsAnotherSequence) {
  SystemRandom a;
  std::array<double, 4> first{};
  for (double& x : first) x = a.Next();
  a.Reseed();
  std::array<double, 4> second{};
  for (double& x : second) x = a.Next();
  EXPECT_NE(first, second);
}

// The random generator reseeds before every single draw: those draws must be uniform as well,
// and two reseeds within one tick of the clock must not repeat a draw.
TEST(SystemRandom, DrawsAfterAReseedEachAreUniformAndDistinct) {
  SystemRandom random;
  constexpr int kDraws = 100000;
  std::array<int, 10> bins{};
  int repeats = 0;
  double previous = -1;
  for (int i = 0; i < kDraws; ++i) {
    random.Reseed();
    const double x = random.Next();
    ASSERT_GE(x, 0.0);
    ASSERT_LT(x, 1.0);
    ++bins[static_cast<size_t>(x * 10)];
    if (x == previous) ++repeats;
    previous = x;
  }
  for (int n : bins) {
    EXPECT_GT(n, 9000);
    EXPECT_LT(n, 11000);
  }
  EXPECT_EQ(repeats, 0);
}

TEST(ScriptedRandom, DrawsTheListAndRepeatsItsLast) {
  ScriptedRandom random{0.25, 0.5};
  random.Reseed();
  EXPECT_EQ(random.reseeds, 1);
  EXPECT_EQ(random.Next(), 0.25);
  EXPECT_EQ(random.Next(), 0.5);
  EXPECT_EQ(random.Next(), 0.5);
  EXPECT_EQ(random.draws(), 3u);
  ScriptedRandom empty{};
  EXPECT_EQ(empty.Next(), 0.0);
  ScriptedRandom fromVector(std::vector<double>{0.75});
  EXPECT_EQ(fromVector.Next(), 0.75);
}

TEST(ProcessRandom, IsOneSourceForTheWholeProcess) {
  EXPECT_EQ(&ProcessRandom(), &ProcessRandom());
  const double x = ProcessRandom().Next();
  EXPECT_GE(x, 0.0);
  EXPECT_LT(x, 1.0);
}

}  // namespace
}  // namespace platform
