// Helpers for the tone-list tests: a state preset as the compiler pass leaves it before parsing,
// lines written straight into it, and the number of the runtime error a call raises.
#pragma once

#include <functional>
#include <iomanip>
#include <ostream>
#include <string>
#include <vector>

#include "common/errors.h"
#include "tonelist/tone_list.h"

namespace tonelist {
// Readable failure messages: Text "440", Number 470.8, Integer 0, Unset.
inline void PrintTo(const ToneValue& v, std::ostream* os) {
  switch (v.kind()) {
    case ToneValue::Kind::Unset: *os << "Unset"; break;
    case ToneValue::Kind::Integer: *os << "Integer " << v.AsNumber(); break;
    case ToneValue::Kind::Number: *os << "Number " << std::setprecision(17) << v.AsNumber(); break;
    case ToneValue::Kind::Text: *os << "Text \"" << v.text() << "\""; break;
  }
}
}  // namespace tonelist

namespace testing_support {

// The pass resets FofMode and FUA..FRV to the integer 0 and presets LTF, LTS, HTS to 1.
inline tonelist::ToneListState FreshState(int pointCapacity) {
  tonelist::ToneListState s(pointCapacity);
  using tonelist::ToneValue;
  s.FofMode = false;
  for (ToneValue* v : {&s.ListFua, &s.ListFub, &s.ListDel, &s.ListEnte, &s.ListFom, &s.ListFrv})
    *v = ToneValue::Integer(0);
  for (ToneValue* v : {&s.ListLtf, &s.ListLts, &s.ListHts}) *v = ToneValue::Integer(1);
  return s;
}

// Puts the lines into ToneListLines(1..) and LineCount, as the reader would.
inline void SetLines(tonelist::ToneListState& s, const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) s.ToneListLines[i + 1] = lines[i];
  s.LineCount = static_cast<std::int16_t>(lines.size());
}

// The number of the runtime error that `f` raises, 0 when it raises none.
inline int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const common::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace testing_support
