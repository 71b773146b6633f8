// The REAPER project's lines as the converter holds them: views into the project's text, which is
// kept whole in one buffer, instead of one string a line. Searches for a fixed text run through
// the buffer rather than line by line.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace envelope {

class ProjectLines {
 public:
  ProjectLines();

  // Line n as last read, without its end. Lines 1 to the count of the last Take come from its
  // text; lines above them keep what an earlier, longer text had there; a line never read is
  // empty.
  std::string_view operator[](size_t n) const;

  // Takes `text` as lines 1 to n, at most `capacity` lines (line ends as the file table reads
  // them). Returns n; `more` tells whether the text has lines beyond the capacity.
  long Take(std::string text, long capacity, bool& more);

  // The first line from `from` to `to` that contains `text`, and the byte position in that line
  // where it begins; line 0 when there is none.
  struct Found {
    long line = 0;
    size_t at = 0;
  };
  Found Find(std::string_view text, long from, long to) const;

 private:
  // The line of the last text that holds the byte p, among lines lo to hi.
  long LineAt(const char* p, long lo, long hi) const;

  std::vector<std::string_view> lines_;  // index 0 unused
  // The texts the lines point into, oldest first; each with the number of lines taken from it.
  // A text goes when later texts have replaced all its lines.
  struct Text {
    std::shared_ptr<const std::string> bytes;
    long lines;
  };
  std::vector<Text> texts_;
  long lastLines_ = 0;  // lines 1 to lastLines_ are the newest text's, in one piece
};

}  // namespace envelope
