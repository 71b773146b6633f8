// A printed line: text items, number items and tab items, as the runtime's Print writes them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace common {

class PrintedLine {
 public:
  // A text item, written unchanged.
  PrintedLine& Text(std::string_view text);
  // Number items: one blank before a non-negative number, its text form, one blank after.
  PrintedLine& Single(float value);
  PrintedLine& Double(double value);
  PrintedLine& Integer(long value);
  // A tab item to column n (from 1): blanks up to column n; when the line already stands beyond
  // column n it is ended there and the next line is filled with blanks up to column n.
  PrintedLine& Tab(int column);

  // The whole text without the final CR LF; lines broken by tab items are joined by CR LF.
  const std::string& str() const { return text_; }

 private:
  void AddNumber(const std::string& form);
  std::string text_;
  size_t countedTo_ = 0;  // bytes of text_ whose characters are counted in counted_
  size_t counted_ = 0;    // characters of the current output line up to countedTo_
};

// The printed form of a number item: " 5 ", "-2 ".
std::string NumberItem(const std::string& textForm);

}  // namespace common
