#include "envelope/project_lines.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "platform/file_table.h"

namespace envelope {

ProjectLines::ProjectLines() : lines_(1) {}

std::string_view ProjectLines::operator[](size_t n) const {
  return n < lines_.size() ? lines_[n] : std::string_view();
}

long ProjectLines::Take(std::string text, long capacity, bool& more) {
  auto bytes = std::make_shared<const std::string>(std::move(text));
  platform::LineScanner scanner(*bytes);
  // Room for as many lines as the text can have, at once: a table grown line by line would pass
  // through ever larger copies of itself, which the allocator keeps when they are given back.
  // Room not filled costs no memory.
  const size_t most = std::min(static_cast<size_t>(capacity), bytes->size()) + 1;
  if (lines_.capacity() < most) lines_.reserve(most);
  long n = 0;
  while (n < capacity && !scanner.AtEnd()) {
    const std::string_view line = scanner.Next();
    ++n;
    if (static_cast<size_t>(n) < lines_.size()) {
      lines_[static_cast<size_t>(n)] = line;
    } else {
      lines_.push_back(line);
    }
  }
  more = !scanner.AtEnd();
  std::erase_if(texts_, [n](const Text& t) { return t.lines <= n; });
  texts_.push_back({std::move(bytes), n});
  lastLines_ = n;
  return n;
}

long ProjectLines::LineAt(const char* p, long lo, long hi) const {
  // Lines of one text begin at rising positions; the line is the last one beginning at or
  // before p.
  const auto first = lines_.begin() + lo;
  const auto behind = std::upper_bound(first, lines_.begin() + hi + 1, p,
                                       [](const char* q, std::string_view line) {
                                         return std::less<const char*>()(q, line.data());
                                       });
  return lo + static_cast<long>(behind - first) - 1;
}

ProjectLines::Found ProjectLines::Find(std::string_view text, long from, long to) const {
  from = std::max(from, 1L);
  // The lines of the newest text stand one behind the other in its buffer: search it in one go.
  const long last = std::min(to, lastLines_);
  if (from <= last) {
    const char* begin = lines_[static_cast<size_t>(from)].data();
    const std::string_view end = lines_[static_cast<size_t>(last)];
    const std::string_view region(begin, static_cast<size_t>(end.data() + end.size() - begin));
    for (size_t at = region.find(text); at != std::string_view::npos;) {
      const long n = LineAt(begin + at, from, last);
      const std::string_view line = lines_[static_cast<size_t>(n)];
      const size_t column = static_cast<size_t>(begin + at - line.data());
      if (column + text.size() <= line.size()) return {n, column};
      // The text runs over the line's end: look again from the next line on.
      const char* next = lines_[static_cast<size_t>(n + 1)].data();
      at = region.find(text, static_cast<size_t>(next - begin));
    }
    from = last + 1;
  }
  // Lines above the newest text's (set by hand or kept from an earlier text): line by line.
  for (long n = from; n <= to; ++n) {
    const size_t at = (*this)[static_cast<size_t>(n)].find(text);
    if (at != std::string_view::npos) return {n, at};
  }
  return {};
}

}  // namespace envelope
