#include "envelope/converter_state.h"

#include <limits>

#include "common/errors.h"
#include "common/numbers.h"

namespace envelope {

double SettingNumber(std::string_view text) {
  try {
    return common::LeadingNumber(text);
  } catch (const common::RuntimeError& e) {
    if (e.number() != common::kOverflow) throw;
    const size_t first = text.find_first_not_of(' ');
    const bool negative = first != std::string_view::npos && text[first] == '-';
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
  }
}

double SettingNumber(const SettingValue& value) {
  return value.IsText() ? SettingNumber(value.text()) : value.AsLeadingNumber();
}

ConverterState::ConverterState()
    : Markerfeld(kMarkerCapacity + 1),
      ZP(kPointLineCapacity + 1),
      LT(kPointLineCapacity + 1),
      HT(kPointLineCapacity + 1),
      KL(kTimbreLineCapacity + 1),
      ZPRead(kPointLineCapacity + 1),
      LTRead(kPointLineCapacity + 1),
      HTRead(kPointLineCapacity + 1),
      KLRead(kPointLineCapacity + 1),
      Markerzeiten(kMarkerTimeCapacity + 1),
      Markerfreq(kMarkerCapacity + 1) {}

}  // namespace envelope
