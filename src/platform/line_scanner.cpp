#include "platform/line_scanner.h"

#include <algorithm>
#include <cstring>

namespace platform {

LineScanner::LineScanner(std::string_view text, size_t from)
    : text_(text),
      pos_(std::min(from, text.size())),
      nextCr_(Search('\r')),
      nextLf_(Search('\n')) {}

size_t LineScanner::Search(char c) const {
  if (pos_ >= text_.size()) return text_.size();
  const void* hit = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
}

// Each character is searched for again only when the line cursor has passed where it was last
// found: a file that uses only one of the two line ends is not searched through for the other
// one at every line.
size_t LineScanner::Behind(char c, size_t& cached) const {
  if (cached < pos_) cached = Search(c);
  return cached;
}

std::string_view LineScanner::Next() {
  const size_t start = pos_;
  const size_t cr = Behind('\r', nextCr_);
  const size_t end = std::min(cr, Behind('\n', nextLf_));
  if (end >= text_.size()) {
    pos_ = text_.size();
    return text_.substr(start);
  }
  pos_ = end + 1;
  if (end == cr && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  return text_.substr(start, end - start);
}

}  // namespace platform
