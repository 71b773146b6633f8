#include "tonelist/tone_list.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "common/codec.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "forms/controls.h"
#include "platform/file_table.h"

namespace tonelist {
namespace {

using common::Raise;

// 16-bit counters: stepping past 32767 is an overflow.
std::int16_t Inc(std::int16_t v) {
  if (v == 32767) Raise(common::kOverflow);
  return static_cast<std::int16_t>(v + 1);
}
std::int16_t Dec(std::int16_t v) {
  if (v == -32768) Raise(common::kOverflow);
  return static_cast<std::int16_t>(v - 1);
}

// The character at 1-based position pos as a text of one character, empty past the end;
// position 0 or below is error 5.
std::string_view CharAt(const std::string& line, int pos) {
  if (pos < 1) Raise(common::kInvalidCall);
  const auto i = static_cast<size_t>(pos) - 1;
  return i < line.size() ? std::string_view(line).substr(i, 1) : std::string_view();
}

enum class Rule { TimePoints, Values, Setting, LastWord, Sample };

struct Keyword {
  std::string_view word;
  Rule rule;
  std::vector<ToneValue> ToneListState::*values = nullptr;  // HT, LT, KL
  ToneValue ToneListState::*value = nullptr;                // FUA .. HTS
};

constexpr Keyword kRules[] = {
    {"ZP", Rule::TimePoints},
    {"HT", Rule::Values, &ToneListState::Pitches},
    {"LT", Rule::Values, &ToneListState::Loudnesses},
    {"KL", Rule::Values, &ToneListState::FormantFreqs},
    {"FUA", Rule::Setting, nullptr, &ToneListState::ListFua},
    {"FUB", Rule::Setting, nullptr, &ToneListState::ListFub},
    {"DEL", Rule::Setting, nullptr, &ToneListState::ListDel},
    {"ENTE", Rule::Setting, nullptr, &ToneListState::ListEnte},
    {"FOM", Rule::Setting, nullptr, &ToneListState::ListFom},
    {"FRV", Rule::Setting, nullptr, &ToneListState::ListFrv},
    {"LTF", Rule::LastWord, nullptr, &ToneListState::ListLtf},
    {"LTS", Rule::LastWord, nullptr, &ToneListState::ListLts},
    {"HTS", Rule::LastWord, nullptr, &ToneListState::ListHts},
    {"SMP", Rule::Sample}};

const Keyword* FindKeyword(std::string_view word) {
  if (word.size() < 2 || word.size() > 4) return nullptr;
  for (const Keyword& k : kRules)
    if (word == k.word) return &k;
  return nullptr;
}

void CheckIndex(const ToneListState& s) {
  if (s.ValueIndex < 0 || s.ValueIndex > s.PointCapacity) Raise(common::kSubscriptOutOfRange);
}

// The four tests of a list keyword; each that holds stores one value at ValueIndex.
void ApplyListRule(ToneListState& s, const Keyword& k) {
  const std::string& w = s.CurrentWord;
  const bool zp = k.rule == Rule::TimePoints;
  std::vector<ToneValue>* values = zp ? nullptr : &(s.*k.values);

  auto advance = [&] { s.ValueIndex = Inc(s.ValueIndex); };
  if (w == ".") {
    CheckIndex(s);
    if (s.ValueIndex < 1) Raise(common::kSubscriptOutOfRange);
    if (zp) s.TimePoints[s.ValueIndex] = s.TimePoints[s.ValueIndex - 1];
    else (*values)[s.ValueIndex] = (*values)[s.ValueIndex - 1];
    advance();
    return;
  }
  if (!w.empty() && w[0] == '0' && common::LeadingNumber(w) == 0.0) {
    CheckIndex(s);
    if (zp) s.TimePoints[s.ValueIndex] = 0.0f;
    else (*values)[s.ValueIndex] = ToneValue::Integer(0);
    advance();
    return;
  }
  if (!w.empty() && w[0] == '[') {
    EvaluateBracketTerm(s);
    CheckIndex(s);
    if (zp) s.TimePoints[s.ValueIndex] = common::ToSingle(s.BracketResult);
    else (*values)[s.ValueIndex] = ToneValue::Number(s.BracketResult);
    advance();
    return;
  }
  if (common::LeadingNumber(w) != 0.0) {
    if (zp) {
      float v = common::ToSingle(common::StrictNumber(w));
      CheckIndex(s);
      s.TimePoints[s.ValueIndex] = v;
    } else {
      CheckIndex(s);
      (*values)[s.ValueIndex] = ToneValue::Text(common::Cp1252ToUtf8(w));
    }
    advance();
  }
}

void ApplyValueRule(ToneListState& s, const Keyword& k) {
  switch (k.rule) {
    case Rule::TimePoints:
    case Rule::Values:
      ApplyListRule(s, k);
      break;
    case Rule::Setting:
      if (common::LeadingNumber(s.CurrentWord) != 0.0)
        s.*k.value = ToneValue::Text(common::Cp1252ToUtf8(s.CurrentWord));
      break;
    case Rule::LastWord:
      s.*k.value = ToneValue::Text(common::Cp1252ToUtf8(s.CurrentWord));
      break;
    case Rule::Sample:
      // The path in the form its bytes have: UTF-8 when they are valid UTF-8 (a folder named in
      // another script), else Windows-1252.
      s.SampleFile = common::Utf8OrCp1252ToUtf8(s.CurrentWord);
      break;
  }
}

}  // namespace

ToneListState::ToneListState(int pointCapacity)
    : PointCapacity(pointCapacity),
      ToneListLines(static_cast<size_t>(pointCapacity) + 1),
      TimePoints(static_cast<size_t>(pointCapacity) + 1, 0.0f),
      Pitches(static_cast<size_t>(pointCapacity) + 1),
      Loudnesses(static_cast<size_t>(pointCapacity) + 1),
      FormantFreqs(static_cast<size_t>(pointCapacity) + 1) {}

void ReadToneListLines(ToneListState& s, platform::FileTable& files) {
  s.LineIndex = 0;
  while (!files.Eof(kToneListFile)) {
    s.CurrentLine = files.LineInput(kToneListFile);
    s.LineIndex = Inc(s.LineIndex);
    if (s.LineIndex > s.PointCapacity) Raise(common::kSubscriptOutOfRange);
    s.ToneListLines[static_cast<size_t>(s.LineIndex)] = s.CurrentLine;
    s.LineCount = s.LineIndex;
  }
}

void ParseToneList(ToneListState& s) {
  for (s.LineIndex = 1; s.LineIndex <= s.LineCount; s.LineIndex = Inc(s.LineIndex)) {
    s.CurrentWord.clear();
    s.CurrentKeyword.clear();
    s.KeywordSeen = 0;
    s.CurrentLine = s.ToneListLines[static_cast<size_t>(s.LineIndex)];
    // Plain ASCII (almost every line) is its own Windows-1252 form.
    const bool ascii = std::all_of(s.CurrentLine.begin(), s.CurrentLine.end(),
                                   [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
    s.CurrentLineCodes = ascii ? s.CurrentLine : common::Utf8ToCp1252(s.CurrentLine);
    const std::string& line = s.CurrentLineCodes;
    // The length must fit a 16-bit integer; a line of exactly 32,767 characters is parsed and
    // then fails when CharPos cannot step past its end.
    if (line.size() > 32767) Raise(common::kOverflow);
    const auto L = static_cast<std::int16_t>(line.size());
    const Keyword* keyword = nullptr;
    // The characters since the last word end form the current word; it is taken from the line
    // in one piece where it ends. After a bracket term CharPos is on its "]", so the next word
    // begins after it.
    int wordStart = 1;
    for (s.CharPos = 1; s.CharPos <= L; s.CharPos = Inc(s.CharPos)) {
      const char c = line[static_cast<size_t>(s.CharPos) - 1];
      if (s.CharPos != L && c != ' ') continue;
      // A word ends here; the line's last character belongs to it, also when it is a blank.
      s.CurrentChar.assign(1, c);
      const int wordEnd = s.CharPos == L ? s.CharPos : s.CharPos - 1;
      s.CurrentWord.assign(line, static_cast<size_t>(wordStart - 1),
                           static_cast<size_t>(wordEnd - wordStart + 1));
      if (s.KeywordSeen == 0) {
        if (const Keyword* k = FindKeyword(s.CurrentWord)) {
          keyword = k;
          s.CurrentKeyword = k->word;
          s.KeywordSeen = 1;
          s.ValueIndex = 1;
        }
      }
      if (keyword) {
        if (s.CurrentWord != s.CurrentKeyword) ApplyValueRule(s, *keyword);
        if (keyword->rule == Rule::TimePoints)
          s.PointCount = static_cast<std::int16_t>(s.ValueIndex - 1);
        if (keyword->values == &ToneListState::FormantFreqs) s.FofMode = true;
      }
      s.CurrentWord.clear();
      wordStart = s.CharPos + 1;
    }
  }
}

void EvaluateBracketTerm(ToneListState& s) {
  const std::string& line = s.CurrentLineCodes;
  s.ScanPos = s.CharPos;
  do {
    s.ScanPos = Dec(s.ScanPos);
  } while (CharAt(line, s.ScanPos) != "[");

  auto isOp = [](std::string_view c) {
    return c == "+" || c == "-" || c == "*" || c == "/" || c == "]";
  };
  s.BracketLeft.clear();
  std::string_view c;
  for (;;) {
    s.ScanPos = Inc(s.ScanPos);
    c = CharAt(line, s.ScanPos);
    if (isOp(c)) break;
    s.BracketLeft += c;
  }
  s.BracketOp = c;
  s.BracketRight.clear();
  if (c != "]") {
    for (;;) {
      s.ScanPos = Inc(s.ScanPos);
      c = CharAt(line, s.ScanPos);
      if (c == "]") break;
      s.BracketRight += c;
    }
  }
  const double a = common::LeadingNumber(s.BracketLeft);
  const double b = common::LeadingNumber(s.BracketRight);
  double result = a;
  switch (s.BracketOp[0]) {
    case '+': result = a + b; break;
    case '-': result = a - b; break;
    case '*': result = a * b; break;
    case '/':
      if (b == 0.0) Raise(common::kDivisionByZero);
      result = a / b;
      break;
    default: break;
  }
  if (!std::isfinite(result)) Raise(common::kOverflow);
  s.CharPos = s.ScanPos;
  const double f = s.RoundingFactor;
  s.BracketResult = std::floor(f * result + 0.5) / f;
  if (!std::isfinite(s.BracketResult)) Raise(common::kOverflow);
}

void ListParsedValues(ToneListState& s, forms::ListBox& list) {
  auto held = [](const ToneValue& v) -> std::string {
    switch (v.kind()) {
      case ToneValue::Kind::Text: return v.text();
      case ToneValue::Kind::Unset: return "";
      default: return common::DoubleText(v.AsNumber());
    }
  };
  list.AddItem("Zeitpunkte:");
  for (s.ValueIndex = 1; s.ValueIndex <= s.PointCount; s.ValueIndex = Inc(s.ValueIndex))
    list.AddItem(common::SingleText(s.TimePoints[static_cast<size_t>(s.ValueIndex)]));
  list.AddItem("");
  list.AddItem("Tonhöhen:");
  for (s.ValueIndex = 1; s.ValueIndex <= s.PointCount; s.ValueIndex = Inc(s.ValueIndex))
    list.AddItem(held(s.Pitches[static_cast<size_t>(s.ValueIndex)]));
  list.AddItem("");
  list.AddItem("Lautstärken:");
  for (s.ValueIndex = 1; s.ValueIndex <= s.PointCount; s.ValueIndex = Inc(s.ValueIndex))
    list.AddItem(held(s.Loudnesses[static_cast<size_t>(s.ValueIndex)]));
}

}  // namespace tonelist
