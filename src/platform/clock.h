// Date and time of day as text, and a random source; both replaceable in tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::string DateText() = 0;  // "dd.mm.yyyy"
  virtual std::string TimeText() = 0;  // "hh:mm:ss"
};

class SystemClock : public Clock {
 public:
  std::string DateText() override;
  std::string TimeText() override;
};

// A clock that always shows the same moment (golden files, tests).
class FixedClock : public Clock {
 public:
  FixedClock(std::string date, std::string time) : date_(std::move(date)), time_(std::move(time)) {}
  std::string DateText() override { return date_; }
  std::string TimeText() override { return time_; }

 private:
  std::string date_, time_;
};

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void Reseed() = 0;     // from the system timer
  virtual double Next() = 0;     // uniform in [0, 1)
};

// xorshift64* seeded from the monotonic system timer. A reseed mixes the timer into the state it
// had, so two reseeds within one tick of the timer still start different sequences, and nearby
// timer values give unrelated first draws.
class SystemRandom : public RandomSource {
 public:
  SystemRandom();
  void Reseed() override;
  double Next() override;

 private:
  unsigned long long state_ = 0;
};

// Draws from a fixed list, repeating its last value; Reseed does nothing.
class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::initializer_list<double> values) : values_(values) {}
  explicit ScriptedRandom(std::vector<double> values) : values_(std::move(values)) {}
  void Reseed() override { ++reseeds; }
  double Next() override {
    if (values_.empty()) return 0.0;
    double v = values_[next_ < values_.size() ? next_ : values_.size() - 1];
    ++next_;
    return v;
  }
  int reseeds = 0;
  int draws() const { return static_cast<int>(next_); }

 private:
  std::vector<double> values_;
  size_t next_ = 0;
};

// The process clock: the system clock unless ORMILA_FIXED_CLOCK="dd.mm.yyyy hh:mm:ss" is set
// (used by end-to-end tests that compare whole files).
Clock& ProcessClock();

// The process's random source, seeded from the system timer.
RandomSource& ProcessRandom();

}  // namespace platform
