// Exact conversions by big-integer arithmetic. Reading a literal divides (or multiplies)
// its digits by the power of ten so that a 64-bit quotient and an exact remainder
// remain, which decide the rounding. Writing uses the free-format digit generation of
// Steele and White (in the form Burger and Dybvig give it): digits are produced until
// the number so far lies strictly within the interval of values that read back as the
// float, whose ends count as inside when the mantissa is even (ties go to even).

#include "platform/core/TDecimalNumber.h"

#include <bit>
#include <cmath>

#include "platform/core/TBigUnsigned.h"

namespace bw {

namespace {

constexpr int kExponentBias = 16383;
constexpr int kMaxBiased = 0x7FFF;  // infinities and NaNs
// The value of a mantissa unit at biased exponents 0 (denormals) and 1 is 2^-16445.
constexpr int64_t kUnitShift = kExponentBias + 63 - 1;
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;
// Every value halfway between two extended floats has at most about 11,520 significant
// digits, so digits past this many only say whether the rest is zero.
constexpr size_t kSignificantDigits = 12000;
// Beyond this an exponent is far outside every range and its exact size does not matter.
constexpr int64_t kExponentClamp = int64_t{1} << 40;

void Store(uint8_t Out[10], uint64_t Mantissa, int Biased, bool Negative) {
  for (int i = 0; i < 8; ++i)
    Out[i] = static_cast<uint8_t>(Mantissa >> (8 * i));
  const int signExponent = Biased | (Negative ? 0x8000 : 0);
  Out[8] = static_cast<uint8_t>(signExponent);
  Out[9] = static_cast<uint8_t>(signExponent >> 8);
}

// Halfway goes to the even neighbour. Above is the comparison of the dropped part with
// one half of a unit.
bool RoundsUp(int Above, uint64_t Kept) {
  return Above > 0 || (Above == 0 && (Kept & 1) != 0);
}

int Sign(int64_t V) {
  return V < 0 ? -1 : V > 0 ? 1 : 0;
}

void StripTrailingZeros(TDecimalNumber& N) {
  const size_t last = N.Digits.find_last_not_of('0');
  const size_t zeros = last == String::npos ? N.Digits.size() : N.Digits.size() - last - 1;
  N.Digits.resize(N.Digits.size() - zeros);
  N.Exponent = N.Digits.empty() ? 0 : N.Exponent + int64_t(zeros);
}

}  // namespace

bool TDecimalNumber::Scan(std::string_view Text, TDecimalNumber& Out) {
  TDecimalNumber n;
  size_t i = 0;
  auto isDigit = [&](size_t At) { return At < Text.size() && Text[At] >= '0' && Text[At] <= '9'; };
  if (i < Text.size() && Text[i] == '-') {
    n.Negative = true;
    ++i;
  }
  size_t mantissaDigits = 0;
  int64_t fractionDigits = 0;
  auto takeDigits = [&](bool Fraction) {
    for (; isDigit(i); ++i, ++mantissaDigits) {
      if (n.Digits.empty() && Text[i] == '0') {
        if (Fraction) ++fractionDigits;  // a leading zero only moves the point
        continue;
      }
      n.Digits += Text[i];
      if (Fraction) ++fractionDigits;
    }
  };
  takeDigits(false);
  if (i < Text.size() && Text[i] == '.') {
    ++i;
    takeDigits(true);
  }
  if (mantissaDigits == 0) return false;
  int64_t exponent = 0;
  if (i < Text.size() && (Text[i] == 'e' || Text[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < Text.size() && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';
    if (!isDigit(i)) return false;
    for (; isDigit(i); ++i)
      exponent = std::min(exponent * 10 + (Text[i] - '0'), kExponentClamp);
    if (negative) exponent = -exponent;
  }
  if (i != Text.size()) return false;
  n.Exponent = exponent - fractionDigits;
  StripTrailingZeros(n);
  Out = std::move(n);
  return true;
}

bool TDecimalNumber::ToExtended(uint8_t Out[10]) const {
  if (IsZero()) {
    Store(Out, 0, 0, Negative);
    return true;
  }
  String digits = Digits;
  int64_t exponent = Exponent;
  if (digits.size() > kSignificantDigits) {
    // The dropped digits end in a non-zero one: a 1 after the kept ones stands for them.
    exponent += int64_t(digits.size() - kSignificantDigits) - 1;
    digits.resize(kSignificantDigits);
    digits += '1';
  }
  const int64_t magnitude = int64_t(digits.size()) + exponent;  // value < 10^magnitude
  if (magnitude > 4933) return false;   // at least 1E4933: beyond the largest, 1.19E4932
  if (magnitude < -4950) return false;  // below 1E-4951: less than half the smallest
  TBigUnsigned number = TBigUnsigned::FromDigits(digits);
  uint64_t mantissa;
  int64_t biased;
  if (exponent >= 0) {
    number.MulPow10(exponent);
    const int64_t bits = number.BitLength();
    biased = bits - 1 + kExponentBias;
    if (bits <= 64) {
      mantissa = number.BitsFrom(0) << (64 - bits);
    } else {
      const int64_t dropped = bits - 64;
      mantissa = number.BitsFrom(dropped);
      const int above = !number.TestBit(dropped - 1) ? -1 : number.AnyBitBelow(dropped - 1) ? 1 : 0;
      if (RoundsUp(above, mantissa) && ++mantissa == 0) {
        mantissa = kIntegerBit;
        ++biased;
      }
    }
  } else {
    // value = number / (5^-exponent * 2^-exponent); scale to a quotient of 64 bits.
    TBigUnsigned divisor(1);
    divisor.MulPow5(-exponent);
    int64_t scale = 63 + divisor.BitLength() - number.BitLength();  // quotient >= 2^62
    if (scale >= 0)
      number.ShiftLeft(scale);
    else
      divisor.ShiftLeft(-scale);
    mantissa = number.DivideSmallQuotient(divisor, 64);
    if (mantissa < kIntegerBit) {
      number.ShiftLeft(1);
      mantissa <<= 1;
      ++scale;
      if (TBigUnsigned::Compare(number, divisor) >= 0) {
        number.Subtract(divisor);
        mantissa |= 1;
      }
    }
    // value = (mantissa + number / divisor) * 2^-(scale - exponent)
    biased = 63 - scale + exponent + kExponentBias;
    number.ShiftLeft(1);
    const int remainderAbove = number.IsZero() ? -2 : TBigUnsigned::Compare(number, divisor);
    if (biased >= 1) {
      if (RoundsUp(remainderAbove, mantissa) && ++mantissa == 0) {
        mantissa = kIntegerBit;
        ++biased;
      }
    } else {
      // A denormal: the unit is that of biased exponent 1, so fewer mantissa bits remain.
      const int64_t shift = 1 - biased;
      biased = 0;
      if (shift > 64) {
        mantissa = 0;  // below a quarter of the smallest denormal
      } else {
        const uint64_t kept = shift == 64 ? 0 : mantissa >> shift;
        const uint64_t dropped = shift == 64 ? mantissa : mantissa & ((uint64_t{1} << shift) - 1);
        const uint64_t half = uint64_t{1} << (shift - 1);
        const int above =
            dropped != half ? Sign(dropped > half ? 1 : -1) : (remainderAbove == -2 ? 0 : 1);
        mantissa = kept + (RoundsUp(above, kept) ? 1 : 0);
        if (mantissa == kIntegerBit) biased = 1;  // rounded up into the normal range
      }
      if (mantissa == 0) return false;
    }
  }
  if (biased >= kMaxBiased) return false;
  Store(Out, mantissa, int(biased), Negative);
  return true;
}

bool TDecimalNumber::FromExtended(const uint8_t In[10], TDecimalNumber& Out) {
  uint64_t mantissa = 0;
  for (int i = 0; i < 8; ++i)
    mantissa |= uint64_t{In[i]} << (8 * i);
  const int signExponent = In[8] | (In[9] << 8);
  int biased = signExponent & 0x7FFF;
  if (biased == kMaxBiased) return false;
  TDecimalNumber n;
  n.Negative = (signExponent & 0x8000) != 0;
  if (mantissa == 0) {
    Out = std::move(n);
    return true;
  }
  // The usual encoding of the value: the integer bit set unless the value is a denormal.
  if (biased == 0) biased = 1;
  const int shift = std::min(std::countl_zero(mantissa), biased - 1);
  mantissa <<= shift;
  biased -= shift;
  const int64_t exponent = biased - kUnitShift - 1;  // value = mantissa * 2^exponent
  // The next float below is nearer than the next above only at a power of two.
  const bool closerBelow = mantissa == kIntegerBit && biased > 1;
  const bool even = (mantissa & 1) == 0;

  // value = r / s; the values reading back as it lie within (r - low, r + high) / s,
  // scaled by 10^-k so that the upper end lies just below 1. The estimate of k is at
  // most one too small, which the check after corrects.
  const int64_t topBit = exponent + std::bit_width(mantissa) - 1;
  int64_t k = int64_t(std::ceil(double(topBit) * 0.30102999566398120 - 1e-9));
  TBigUnsigned low(1), s(1);
  if (k < 0) low.MulPow10(-k);
  if (exponent >= 0) low.ShiftLeft(exponent);
  const int64_t extra = closerBelow ? 2 : 1;
  s.ShiftLeft(extra + (exponent < 0 ? -exponent : 0));
  if (k > 0) s.MulPow10(k);
  TBigUnsigned r = low;
  r.MulSmall(static_cast<uint32_t>(mantissa));
  TBigUnsigned upperHalf = low;
  upperHalf.MulSmall(static_cast<uint32_t>(mantissa >> 32));
  upperHalf.ShiftLeft(32);
  r.Add(upperHalf);
  r.ShiftLeft(extra);
  TBigUnsigned high = low;
  if (closerBelow) high.ShiftLeft(1);
  TBigUnsigned upper;  // kept outside the loop so that its storage is reused
  auto reachesUp = [&] {
    upper = r;
    upper.Add(high);
    const int c = TBigUnsigned::Compare(upper, s);
    return even ? c >= 0 : c > 0;
  };
  if (reachesUp()) {
    s.MulSmall(10);
    ++k;
  }
  for (;;) {
    r.MulSmall(10);
    high.MulSmall(10);
    if (closerBelow)
      low.MulSmall(10);
    else
      low = high;
    int digit = int(r.DivideSmallQuotient(s, 4));
    const int c = TBigUnsigned::Compare(r, low);
    const bool downIsClose = even ? c <= 0 : c < 0;
    const bool upIsClose = reachesUp();
    if (!downIsClose && !upIsClose) {
      n.Digits += char('0' + digit);
      continue;
    }
    if (upIsClose && downIsClose) {
      // Both digits read back: take the nearer, the even one when r / s is halfway.
      TBigUnsigned twice = r;
      twice.ShiftLeft(1);
      const int half = TBigUnsigned::Compare(twice, s);
      if (half > 0 || (half == 0 && digit % 2 != 0)) ++digit;
    } else if (upIsClose) {
      ++digit;
    }
    n.Digits += char('0' + digit);
    break;
  }
  n.Exponent = k - int64_t(n.Digits.size());
  StripTrailingZeros(n);
  Out = std::move(n);
  return true;
}

bool TDecimalNumber::ToCurrency(int64_t& Out) const {
  const int64_t point = Exponent + 4;                    // value * 10000 = Digits * 10^point
  const int64_t whole = int64_t(Digits.size()) + point;  // digits before the point
  if (whole > 19) return false;
  uint64_t units = 0;
  for (int64_t i = 0; i < whole; ++i)
    units = units * 10 + uint64_t(i < int64_t(Digits.size()) ? Digits[size_t(i)] - '0' : 0);
  if (point < 0 && whole >= 0) {
    const int first = Digits[size_t(whole)] - '0';
    const bool more = size_t(whole) + 1 < Digits.size();  // the last digit is never zero
    if (RoundsUp(first != 5 ? Sign(first - 5) : (more ? 1 : 0), units)) ++units;
  }
  const uint64_t limit = uint64_t(INT64_MAX) + (Negative ? 1 : 0);
  if (units > limit) return false;
  Out = Negative ? int64_t(0 - units) : int64_t(units);
  return true;
}

}  // namespace bw
