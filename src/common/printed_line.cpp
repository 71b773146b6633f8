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
  // column of the next character: characters of the current line count, not bytes of UTF-8;
  // only what was added since the last tab is counted, so long rows stay linear
  counted_ += CharCount(std::string_view(text_).substr(countedTo_));
  const size_t next = counted_ + 1;
  const size_t n = column < 1 ? 1 : static_cast<size_t>(column);
  if (next < n) {
    text_.append(n - next, ' ');
  } else if (next > n) {
    text_ += "\r\n";
    text_.append(n - 1, ' ');
  }
  if (next != n) counted_ = n - 1;
  countedTo_ = text_.size();
  return *this;
}

}  // namespace common
