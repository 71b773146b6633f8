#include "common/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

#include "common/errors.h"

namespace common {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Scans a number from the characters that `next` yields (skipping nothing itself); returns the
// text of the number in C locale form and how many characters it took.
struct Scan {
  std::string text;  // sign, digits, period, exponent in strtod form
  bool hasDigits = false;
  bool badExponent = false;  // an "e" without digits after it
};

template <class Peek, class Advance>
Scan ScanNumber(Peek peek, Advance advance) {
  Scan s;
  char c = peek();
  if (c == '+' || c == '-') {
    s.text += c;
    advance();
    c = peek();
  }
  bool period = false;
  for (;;) {
    c = peek();
    if (IsDigit(c)) {
      s.text += c;
      s.hasDigits = true;
    } else if (c == '.' && !period) {
      period = true;
      s.text += c;
    } else {
      break;
    }
    advance();
  }
  if (!s.hasDigits) return s;
  c = peek();
  if (c == 'e' || c == 'E') {
    std::string exp = "e";
    advance();
    c = peek();
    if (c == '+' || c == '-') {
      exp += c;
      advance();
    }
    bool expDigits = false;
    while (IsDigit(peek())) {
      exp += peek();
      expDigits = true;
      advance();
    }
    if (expDigits) s.text += exp;
    else s.badExponent = true;
  }
  return s;
}

// Reads with the C locale's period whatever the process locale is (a Qt program takes the
// desktop's locale, whose decimal separator may be a comma).
double ToDouble(const std::string& text) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  double v = strtod_l(text.c_str(), nullptr, cLocale);
  if (std::isinf(v)) Raise(kOverflow);
  return v;
}

// Plain decimal form of `value` with at most `digits` significant digits.
std::string PlainText(double value, int digits) {
  if (value == 0.0 || !std::isfinite(value)) return "0";
  // to_chars writes the period whatever the process locale is
  char buf[64];
  auto result =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
  std::string s(buf, result.ptr);
  bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  auto ePos = s.find('e');
  int exponent = std::atoi(s.c_str() + ePos + 1);
  std::string mantissa;
  for (size_t i = 0; i < ePos; ++i)
    if (s[i] != '.') mantissa += s[i];
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  std::string out;
  if (exponent >= 0) {
    size_t intDigits = static_cast<size_t>(exponent) + 1;
    if (mantissa.size() <= intDigits) {
      out = mantissa + std::string(intDigits - mantissa.size(), '0');
    } else {
      out = mantissa.substr(0, intDigits) + "." + mantissa.substr(intDigits);
    }
  } else {
    out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
  }
  if (out == "0") return "0";
  return negative ? "-" + out : out;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  size_t i = 0;
  auto skip = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  };
  auto peek = [&]() -> char {
    skip();
    return i < text.size() ? text[i] : '\0';
  };
  auto advance = [&] { ++i; };
  Scan s = ScanNumber(peek, advance);
  if (!s.hasDigits) return 0.0;
  return ToDouble(s.text);
}

double LeadingNumberOrInfinity(std::string_view text) {
  try {
    return LeadingNumber(text);
  } catch (const RuntimeError& e) {
    if (e.number() != kOverflow) throw;
    const size_t first = text.find_first_not_of(" \t\n");
    const bool negative = first != std::string_view::npos && text[first] == '-';
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
  }
}

bool IsStrictNumber(std::string_view text) {
  size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return false;
  size_t e = text.find_last_not_of(' ');
  std::string_view t = text.substr(b, e - b + 1);
  size_t i = 0;
  auto peek = [&]() -> char { return i < t.size() ? t[i] : '\0'; };
  auto advance = [&] { ++i; };
  Scan s = ScanNumber(peek, advance);
  return s.hasDigits && !s.badExponent && i == t.size();
}

double StrictNumber(std::string_view text) {
  if (!IsStrictNumber(text)) Raise(kTypeMismatch);
  size_t b = text.find_first_not_of(' ');
  return ToDouble(std::string(text.substr(b)));
}

std::string SingleText(float value) { return PlainText(static_cast<double>(value), 7); }

std::string DoubleText(double value) { return PlainText(value, 15); }

double RoundToStep(double x, double factor) { return std::floor(x * factor + 0.5) / factor; }

double WholePart(double x) { return std::floor(x); }

int16_t ToInt16(double x) {
  if (std::isnan(x)) Raise(kOverflow);
  double r = std::nearbyint(x);  // the default rounding mode sends halves to the even neighbour
  if (r < -32768.0 || r > 32767.0) Raise(kOverflow);
  return static_cast<int16_t>(r);
}

float ToSingle(double x) {
  if (std::isfinite(x) && std::fabs(x) > std::numeric_limits<float>::max()) Raise(kOverflow);
  return static_cast<float>(x);
}

}  // namespace common
