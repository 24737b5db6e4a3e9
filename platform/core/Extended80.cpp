#include "platform/core/Extended80.h"

#include <cmath>
#include <cstring>

namespace bw {

namespace {

void Store(uint8_t Out[10], uint64_t Mantissa, uint16_t SignExponent) {
  for (int i = 0; i < 8; ++i)
    Out[i] = static_cast<uint8_t>(Mantissa >> (8 * i));
  Out[8] = static_cast<uint8_t>(SignExponent);
  Out[9] = static_cast<uint8_t>(SignExponent >> 8);
}

}  // namespace

void DoubleToExtended(double Value, uint8_t Out[10]) {
  const uint16_t sign = std::signbit(Value) ? 0x8000 : 0;
  if (Value == 0) return Store(Out, 0, sign);
  if (std::isinf(Value)) return Store(Out, uint64_t{1} << 63, sign | 0x7FFF);
  if (std::isnan(Value)) {
    uint64_t bits;
    std::memcpy(&bits, &Value, sizeof bits);
    const uint64_t payload = (bits & ((uint64_t{1} << 52) - 1)) << 11;
    return Store(Out, (uint64_t{3} << 62) | payload, sign | 0x7FFF);
  }
  int exponent;
  const double fraction = std::frexp(std::fabs(Value), &exponent);  // in [0.5, 1)
  // 53 significant bits at most, so scaling by 2^64 is exact.
  const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
  Store(Out, mantissa, static_cast<uint16_t>(sign | (exponent - 1 + 16383)));
}

double ExtendedToDouble(const uint8_t In[10]) {
  uint64_t mantissa = 0;
  for (int i = 0; i < 8; ++i)
    mantissa |= uint64_t{In[i]} << (8 * i);
  const uint16_t signExponent = static_cast<uint16_t>(In[8] | (In[9] << 8));
  const bool negative = (signExponent & 0x8000) != 0;
  const int exponent = signExponent & 0x7FFF;
  double result;
  if (exponent == 0x7FFF) {
    result = (mantissa << 1) == 0 ? HUGE_VAL : std::nan("");
  } else {
    // A zero exponent marks a denormal, whose scale is that of exponent 1.
    const int scale = (exponent == 0 ? 1 : exponent) - 16383 - 63;
    result = std::ldexp(static_cast<double>(mantissa), scale);
  }
  return negative ? -result : result;
}

}  // namespace bw
