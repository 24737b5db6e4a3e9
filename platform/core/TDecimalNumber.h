#pragma once
// A decimal number exactly as written: a sign, its significant digits and a power of ten,
// value = Digits x 10^Exponent. The bridge between number literals in text and the
// binary form's 80-bit extended float and 64-bit currency, converted without passing
// through a double:
//   text -> extended rounds to the nearest 64-bit mantissa (halfway to even), as a
//     careful reader of the classic format does, whatever the length of the literal;
//   extended -> text gives the fewest digits that read back to the same 80 bits;
//   text -> currency rounds to the nearest ten-thousandth (halfway to even).

#include <cstdint>
#include <string_view>

#include "platform/core/Types.h"

namespace bw {

class TDecimalNumber {
 public:
  bool Negative = false;
  /// No leading or trailing zeros; empty for zero.
  String Digits;
  int64_t Exponent = 0;

  /// Reads [-]digits[.digits][(e|E)[+|-]digits]. False for anything else.
  static bool Scan(std::string_view Text, TDecimalNumber& Out);
  /// The shortest number that reads back as In, the nearest to it among those. Works
  /// on the value, so an encoding the processor would not produce (an integer bit that
  /// disagrees with the exponent) reads back in its usual form. False for infinities
  /// and NaNs.
  static bool FromExtended(const uint8_t In[10], TDecimalNumber& Out);

  /// False, leaving Out alone, when the number lies beyond the extended range or is
  /// not zero but rounds to zero.
  bool ToExtended(uint8_t Out[10]) const;
  /// The amount times 10000 as a currency value holds it; false when out of its range.
  bool ToCurrency(int64_t& Out) const;

 private:
  bool IsZero() const { return Digits.empty(); }
};

}  // namespace bw
