#include "platform/core/TBigUnsigned.h"

#include <algorithm>
#include <bit>
#include <cstddef>

namespace bw {

TBigUnsigned::TBigUnsigned(uint64_t Value) {
  for (; Value != 0; Value >>= 32)
    FLimbs.push_back(static_cast<uint32_t>(Value));
}

TBigUnsigned TBigUnsigned::FromDigits(std::string_view Digits) {
  TBigUnsigned result;
  // Nine digits at a time: one multiplication pass per nine digits instead of per digit.
  size_t pos = 0;
  while (pos < Digits.size()) {
    const size_t n = std::min<size_t>(9, Digits.size() - pos);
    uint32_t chunk = 0, scale = 1;
    for (size_t i = 0; i < n; ++i) {
      chunk = chunk * 10 + uint32_t(Digits[pos + i] - '0');
      scale *= 10;
    }
    result.MulSmall(scale);
    result.AddSmall(chunk);
    pos += n;
  }
  return result;
}

void TBigUnsigned::Trim() {
  while (!FLimbs.empty() && FLimbs.back() == 0)
    FLimbs.pop_back();
}

int64_t TBigUnsigned::BitLength() const {
  if (FLimbs.empty()) return 0;
  return int64_t(FLimbs.size() - 1) * 32 + std::bit_width(FLimbs.back());
}

bool TBigUnsigned::TestBit(int64_t Bit) const {
  const auto limb = size_t(Bit / 32);
  return Bit >= 0 && limb < FLimbs.size() && ((FLimbs[limb] >> (Bit % 32)) & 1) != 0;
}

bool TBigUnsigned::AnyBitBelow(int64_t Bit) const {
  if (Bit <= 0) return false;
  const auto whole = std::min(size_t(Bit / 32), FLimbs.size());
  for (size_t i = 0; i < whole; ++i)
    if (FLimbs[i] != 0) return true;
  const int rest = int(Bit % 32);
  return rest != 0 && whole < FLimbs.size() && (FLimbs[whole] & ((uint32_t{1} << rest) - 1)) != 0;
}

uint64_t TBigUnsigned::BitsFrom(int64_t Bit) const {
  const auto first = size_t(Bit / 32);
  const int offset = int(Bit % 32);
  auto limb = [&](size_t i) -> uint64_t { return i < FLimbs.size() ? FLimbs[i] : 0; };
  const uint64_t low = limb(first) | (limb(first + 1) << 32);
  return offset == 0 ? low : (low >> offset) | (limb(first + 2) << (64 - offset));
}

void TBigUnsigned::MulSmall(uint32_t Factor) {
  uint64_t carry = 0;
  for (uint32_t& limb : FLimbs) {
    const uint64_t product = uint64_t(limb) * Factor + carry;
    limb = static_cast<uint32_t>(product);
    carry = product >> 32;
  }
  if (carry != 0) FLimbs.push_back(static_cast<uint32_t>(carry));
  Trim();
}

void TBigUnsigned::AddSmall(uint32_t Term) {
  uint64_t carry = Term;
  for (size_t i = 0; carry != 0; ++i) {
    if (i == FLimbs.size()) FLimbs.push_back(0);
    const uint64_t sum = uint64_t(FLimbs[i]) + carry;
    FLimbs[i] = static_cast<uint32_t>(sum);
    carry = sum >> 32;
  }
}

void TBigUnsigned::MulPow5(int64_t Exponent) {
  constexpr uint32_t kPow5_13 = 1220703125;  // the largest power of five in 32 bits
  for (; Exponent >= 13; Exponent -= 13)
    MulSmall(kPow5_13);
  uint32_t rest = 1;
  for (; Exponent > 0; --Exponent)
    rest *= 5;
  MulSmall(rest);
}

void TBigUnsigned::MulPow10(int64_t Exponent) {
  MulPow5(Exponent);
  ShiftLeft(Exponent);
}

void TBigUnsigned::ShiftLeft(int64_t Bits) {
  if (FLimbs.empty() || Bits <= 0) return;
  const auto whole = size_t(Bits / 32);
  const int rest = int(Bits % 32);
  if (rest != 0) {
    uint32_t carry = 0;
    for (uint32_t& limb : FLimbs) {
      const uint32_t next = limb >> (32 - rest);
      limb = (limb << rest) | carry;
      carry = next;
    }
    if (carry != 0) FLimbs.push_back(carry);
  }
  FLimbs.insert(FLimbs.begin(), whole, 0);
}

void TBigUnsigned::Add(const TBigUnsigned& Other) {
  if (FLimbs.size() < Other.FLimbs.size()) FLimbs.resize(Other.FLimbs.size(), 0);
  uint64_t carry = 0;
  for (size_t i = 0; i < FLimbs.size(); ++i) {
    const uint64_t sum =
        uint64_t(FLimbs[i]) + (i < Other.FLimbs.size() ? Other.FLimbs[i] : 0) + carry;
    FLimbs[i] = static_cast<uint32_t>(sum);
    carry = sum >> 32;
    if (carry == 0 && i >= Other.FLimbs.size()) break;
  }
  if (carry != 0) FLimbs.push_back(static_cast<uint32_t>(carry));
}

void TBigUnsigned::Subtract(const TBigUnsigned& Other) {
  int64_t borrow = 0;
  for (size_t i = 0; i < FLimbs.size(); ++i) {
    const int64_t diff =
        int64_t(FLimbs[i]) - (i < Other.FLimbs.size() ? Other.FLimbs[i] : 0) - borrow;
    FLimbs[i] = static_cast<uint32_t>(diff);
    borrow = diff < 0 ? 1 : 0;
    if (borrow == 0 && i >= Other.FLimbs.size()) break;
  }
  Trim();
}

void TBigUnsigned::ShiftRight(int64_t Bits) {
  const auto whole = size_t(Bits / 32);
  if (whole >= FLimbs.size()) {
    FLimbs.clear();
    return;
  }
  FLimbs.erase(FLimbs.begin(), FLimbs.begin() + std::ptrdiff_t(whole));
  const int rest = int(Bits % 32);
  if (rest != 0) {
    for (size_t i = 0; i < FLimbs.size(); ++i) {
      const uint32_t high = i + 1 < FLimbs.size() ? FLimbs[i + 1] << (32 - rest) : 0;
      FLimbs[i] = (FLimbs[i] >> rest) | high;
    }
  }
  Trim();
}

uint64_t TBigUnsigned::DivideSmallQuotient(const TBigUnsigned& Divisor, int QuotientBits) {
  if (QuotientBits <= 4) {
    uint64_t quotient = 0;
    for (; Compare(*this, Divisor) >= 0; ++quotient)
      Subtract(Divisor);
    return quotient;
  }
  // Long division in two 32-bit quotient digits. With the divisor shifted so that its
  // top limb has its high bit set, the estimate from the leading limbs is at most two
  // too large (Knuth, TAOCP vol. 2, 4.3.1).
  const int norm = (32 - std::bit_width(Divisor.FLimbs.back())) % 32;
  TBigUnsigned divisor = Divisor;
  divisor.ShiftLeft(norm);
  ShiftLeft(norm);
  const size_t n = divisor.FLimbs.size();
  const uint64_t top = divisor.FLimbs.back();
  auto limb = [&](size_t i) -> uint64_t { return i < FLimbs.size() ? FLimbs[i] : 0; };
  uint64_t quotient = 0;
  for (int digit = 1; digit >= 0; --digit) {
    const uint64_t head = (limb(n + size_t(digit)) << 32) | limb(n + size_t(digit) - 1);
    uint64_t estimate = std::min<uint64_t>(head / top, 0xFFFFFFFF);
    TBigUnsigned step = divisor;
    step.ShiftLeft(32 * digit);
    TBigUnsigned product = step;
    product.MulSmall(static_cast<uint32_t>(estimate));
    while (Compare(product, *this) > 0) {
      product.Subtract(step);
      --estimate;
    }
    Subtract(product);
    quotient = (quotient << 32) | estimate;
  }
  ShiftRight(norm);
  return quotient;
}

int TBigUnsigned::Compare(const TBigUnsigned& A, const TBigUnsigned& B) {
  if (A.FLimbs.size() != B.FLimbs.size()) return A.FLimbs.size() < B.FLimbs.size() ? -1 : 1;
  for (size_t i = A.FLimbs.size(); i-- > 0;)
    if (A.FLimbs[i] != B.FLimbs[i]) return A.FLimbs[i] < B.FLimbs[i] ? -1 : 1;
  return 0;
}

}  // namespace bw
