#include "common/printed_line.h"

#include "common/numbers.h"

namespace common {
namespace {

// Column of the next character: characters of the current line count, not bytes of UTF-8.
size_t CharCount(std::string_view s) {
  size_t n = 0;
  for (unsigned char c : s)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace

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
