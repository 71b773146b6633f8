#include "tonelist/tone_value.h"

#include "common/numbers.h"
#include "common/printed_line.h"

namespace tonelist {

double ToneValue::AsNumber() const {
  switch (kind_) {
    case Kind::Unset: return 0.0;
    case Kind::Text: return common::StrictNumber(text_);
    default: return number_;
  }
}

double ToneValue::AsLeadingNumber() const {
  switch (kind_) {
    case Kind::Unset: return 0.0;
    case Kind::Text: return common::LeadingNumber(text_);
    default: return number_;
  }
}

void PrintAsHeld(common::PrintedLine& line, const ToneValue& v) {
  switch (v.kind()) {
    case ToneValue::Kind::Text: line.Text(v.text()); break;
    case ToneValue::Kind::Number: line.Double(v.AsNumber()); break;
    case ToneValue::Kind::Integer: line.Integer(static_cast<long>(v.AsNumber())); break;
    case ToneValue::Kind::Unset: break;
  }
}

}  // namespace tonelist
