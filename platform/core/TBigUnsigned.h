#pragma once
// An unsigned integer of any size, with just the operations exact decimal conversion of
// floats needs: scaling by small factors and powers of two, five and ten, comparison,
// subtraction and small quotients. Stored as 32-bit limbs, least significant first, with
// no zero limb on top (zero has none), so the limb count is the size.

#include <cstdint>
#include <string_view>
#include <vector>

namespace bw {

class TBigUnsigned {
 public:
  TBigUnsigned() = default;
  explicit TBigUnsigned(uint64_t Value);
  /// The value of a run of decimal digits ('0'..'9' only).
  static TBigUnsigned FromDigits(std::string_view Digits);

  bool IsZero() const { return FLimbs.empty(); }
  /// The number of bits up to the highest set one; 0 for zero.
  int64_t BitLength() const;
  bool TestBit(int64_t Bit) const;
  /// True when any bit below Bit is set.
  bool AnyBitBelow(int64_t Bit) const;
  /// The 64 bits from Bit upwards: (this >> Bit) mod 2^64.
  uint64_t BitsFrom(int64_t Bit) const;

  void MulSmall(uint32_t Factor);
  void AddSmall(uint32_t Term);
  void MulPow5(int64_t Exponent);
  void MulPow10(int64_t Exponent);
  void ShiftLeft(int64_t Bits);
  void ShiftRight(int64_t Bits);
  void Add(const TBigUnsigned& Other);
  /// Requires Other <= this.
  void Subtract(const TBigUnsigned& Other);
  /// Replaces this by the remainder of its division by Divisor and returns the quotient,
  /// which the caller knows to be below 2^QuotientBits (at most 64). Quotients of a few
  /// bits (decimal digits) are found by subtraction, longer ones by long division.
  uint64_t DivideSmallQuotient(const TBigUnsigned& Divisor, int QuotientBits);

  /// Negative, zero or positive as A is below, equal to or above B.
  static int Compare(const TBigUnsigned& A, const TBigUnsigned& B);

 private:
  void Trim();

  std::vector<uint32_t> FLimbs;
};

}  // namespace bw
