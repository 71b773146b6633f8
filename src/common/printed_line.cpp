#include "common/printed_line.h"

#include "common/codec.h"
#include "common/numbers.h"

namespace common {

std::string NumberItem(const std::string& textForm) {
  if (!textForm.empty() && textForm[0] == '-') return textForm + " ";
  return " " + textForm + " ";
}

PrintedLine& PrintedLine::Text(std::string_view text) {
  text_ += text;
  return *this;
}

void PrintedLine::AddNumber(const std::string& form) { text_ += NumberItem(form); }

PrintedLine& PrintedLine::Single(float value) {
  AddNumber(SingleText(value));
  return *this;
}

PrintedLine& PrintedLine::Double(double value) {
  AddNumber(DoubleText(value));
  return *this;
}

PrintedLine& PrintedLine::Integer(long value) {
  AddNumber(std::to_string(value));
  return *this;
}

PrintedLine& PrintedLine::Tab(int column) {
  lineChars_ += CharCount(std::string_view(text_).substr(counted_));
  size_t next = lineChars_ + 1;
  size_t n = column < 1 ? 1 : static_cast<size_t>(column);
  if (next < n) {
    text_.append(n - next, ' ');
  } else if (next > n) {
    text_ += "\r\n";
    text_.append(n - 1, ' ');
  }
  if (next != n) lineChars_ = n - 1;
  counted_ = text_.size();
  return *this;
}

}  // namespace common
