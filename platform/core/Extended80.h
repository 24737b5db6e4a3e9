#pragma once
// The 80-bit extended float of the binary form: a 64-bit mantissa with an explicit
// integer bit, then a sign bit and a 15-bit exponent biased by 16383, little-endian.
// Converted by hand so the bytes are the same on every machine.

#include <cstdint>

namespace bw {

/// Every double has an exact extended form.
void DoubleToExtended(double Value, uint8_t Out[10]);
/// Rounds to the nearest double; values beyond its range become infinities or zero.
double ExtendedToDouble(const uint8_t In[10]);

}  // namespace bw
