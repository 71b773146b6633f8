#include "tonelist/tone_value.h"

#include "common/numbers.h"

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

}  // namespace tonelist
