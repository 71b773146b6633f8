// The lines of a text one after another, as the file table reads them.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// The lines of a text one after another, as LineInput reads them: a line ends at CR LF, at a
// lone CR or at a lone LF, and the last line needs no end. The views point into the text.
class LineScanner {
 public:
  explicit LineScanner(std::string_view text = {}, size_t from = 0);
  bool AtEnd() const { return pos_ >= text_.size(); }
  size_t Position() const { return pos_; }
  // The next line without its ending; an empty view at the end.
  std::string_view Next();

 private:
  size_t Search(char c) const;  // the first c at or behind pos_; the text's size when none
  size_t Behind(char c, size_t& cached) const;

  std::string_view text_;
  size_t pos_;
  size_t nextCr_, nextLf_;  // the first CR and LF found at or behind pos_
};

}  // namespace platform
