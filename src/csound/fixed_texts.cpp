#include "csound/fixed_texts.h"

#include <stdexcept>

#include "common/printed_line.h"

namespace csound {
namespace {

std::string_view SubText(std::string_view name) {
  if (name == "Instrument97") return kInstrument97Text;
  if (name == "PluginInfo") return kPluginInfoText;
  throw std::logic_error("fixed text: unknown sub-text " + std::string(name));
}

template <class Map>
const auto& Lookup(const Map& map, std::string_view name, const char* what) {
  auto it = map.find(name);
  if (it == map.end())
    throw std::logic_error(std::string("fixed text: no ") + what + " field " + std::string(name));
  return it->second;
}

// The lines of a raw literal: the first line end is dropped, every line ends in "\n".
std::vector<std::string_view> SplitLines(std::string_view text) {
  if (text.empty() || text.front() != '\n' || text.back() != '\n')
    throw std::logic_error("fixed text: must begin and end with a line end");
  text.remove_prefix(1);
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The placeholder {{...}} at the start of s, or an empty view.
std::string_view PlaceholderAt(std::string_view s) {
  if (s.substr(0, 2) != "{{") return {};
  size_t close = s.find("}}");
  if (close == std::string_view::npos) throw std::logic_error("fixed text: unclosed {{");
  return s.substr(2, close - 2);
}

void Expand(std::string_view text, const FixedTextFields& fields, std::vector<std::string>& out) {
  for (std::string_view line : SplitLines(text)) {
    std::string_view head = PlaceholderAt(line);
    if (!head.empty() && head.front() == '>' && line.size() == head.size() + 4) {
      Expand(SubText(head.substr(1)), fields, out);
      continue;
    }
    if (!head.empty() && (head.front() == '?' || head.front() == '!')) {
      bool flag = Lookup(fields.flags, head.substr(1), "flag");
      if (flag != (head.front() == '?')) continue;
      line.remove_prefix(head.size() + 4);
    }
    common::PrintedLine printed;
    while (!line.empty()) {
      size_t open = line.find("{{");
      printed.Text(line.substr(0, open));
      if (open == std::string_view::npos) break;
      line.remove_prefix(open);
      std::string_view name = PlaceholderAt(line);
      line.remove_prefix(name.size() + 4);
      if (!name.empty() && name.front() == '#')
        printed.Double(Lookup(fields.numbers, name.substr(1), "number"));
      else
        printed.Text(Lookup(fields.texts, name, "text"));
    }
    out.push_back(printed.str());
  }
}

}  // namespace

std::vector<std::string> ExpandFixedText(std::string_view text, const FixedTextFields& fields) {
  std::vector<std::string> out;
  Expand(text, fields, out);
  return out;
}

}  // namespace csound
