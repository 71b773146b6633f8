// One value of a tone list: a word as typed, a number from a bracket term, a 16-bit integer
// (0: not given, 1: the preset of LTF/LTS/HTS) or never assigned.
#pragma once

#include <cstdint>
#include <string>

namespace common {
class PrintedLine;
}

namespace tonelist {

class ToneValue {
 public:
  enum class Kind { Unset, Integer, Number, Text };

  ToneValue() = default;
  static ToneValue Integer(std::int16_t v) { return ToneValue(Kind::Integer, v, {}); }
  static ToneValue Number(double v) { return ToneValue(Kind::Number, v, {}); }
  static ToneValue Text(std::string t) { return ToneValue(Kind::Text, 0, std::move(t)); }

  Kind kind() const { return kind_; }
  bool IsUnset() const { return kind_ == Kind::Unset; }
  bool IsText() const { return kind_ == Kind::Text; }
  const std::string& text() const { return text_; }  // the Text kind's word

  // The value as a number: Integer and Number as held, Unset 0, a Text by StrictNumber
  // (error 13 when the text is not wholly a number).
  double AsNumber() const;
  // Like AsNumber, but a Text by LeadingNumber (never fails).
  double AsLeadingNumber() const;

  bool operator==(const ToneValue&) const = default;

 private:
  ToneValue(Kind k, double v, std::string t) : kind_(k), number_(v), text_(std::move(t)) {}
  Kind kind_ = Kind::Unset;
  double number_ = 0;
  std::string text_;
};

// Prints the value as held: a Text unchanged, a Number or Integer as a number item, Unset as
// nothing.
void PrintAsHeld(common::PrintedLine& line, const ToneValue& value);

}  // namespace tonelist
