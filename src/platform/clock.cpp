#include "platform/clock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace platform {
namespace {

std::tm Now() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

}  // namespace

std::string SystemClock::DateText() {
  std::tm tm = Now();
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
  return buf;
}

std::string SystemClock::TimeText() {
  std::tm tm = Now();
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buf;
}

SystemRandom::SystemRandom() { Reseed(); }

void SystemRandom::Reseed() {
  // The coarse monotonic timer: a tenth of the cost of the fine one, which matters to callers that
  // reseed before each of millions of draws. splitmix64 of it and the previous state: every bit of
  // either reaches every bit, so reseeds within one tick still differ.
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  const auto timer = static_cast<unsigned long long>(now.tv_sec) * 1000000000ULL +
                     static_cast<unsigned long long>(now.tv_nsec);
  unsigned long long z = timer + (state_ << 1 | state_ >> 63) + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  state_ = z ^ (z >> 31);
  if (state_ == 0) state_ = 1;
}

double SystemRandom::Next() {
  // xorshift64*: plenty for variations of envelope values.
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  unsigned long long r = state_ * 0x2545F4914F6CDD1DULL;
  return static_cast<double>(r >> 11) * (1.0 / 9007199254740992.0);
}

Clock& ProcessClock() {
  static std::unique_ptr<Clock> clock = [] () -> std::unique_ptr<Clock> {
    if (const char* fixed = std::getenv("ORMILA_FIXED_CLOCK"); fixed && *fixed) {
      std::string s(fixed);
      auto blank = s.find(' ');
      if (blank != std::string::npos)
        return std::make_unique<FixedClock>(s.substr(0, blank), s.substr(blank + 1));
    }
    return std::make_unique<SystemClock>();
  }();
  return *clock;
}

RandomSource& ProcessRandom() {
  static SystemRandom random;
  return random;
}

}  // namespace platform
