#include "envelope/converter_state.h"

#include "common/numbers.h"

namespace envelope {

double SettingNumber(const SettingValue& value) {
  return value.IsText() ? common::LeadingNumberOrInfinity(value.text()) : value.AsLeadingNumber();
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
