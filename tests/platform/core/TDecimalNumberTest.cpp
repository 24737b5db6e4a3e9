// Decimal text to and from the 80-bit extended float and the currency type: correct
// rounding, the ends of the range, denormals, and shortest text that reads back exactly.

#include "platform/core/TDecimalNumber.h"

#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cstdlib>
#include <cstring>
#include <random>

namespace bw {
namespace {

using TExtended = std::array<uint8_t, 10>;

TExtended Ext(uint64_t Mantissa, uint16_t SignExponent) {
  TExtended e;
  for (int i = 0; i < 8; ++i)
    e[size_t(i)] = static_cast<uint8_t>(Mantissa >> (8 * i));
  e[8] = static_cast<uint8_t>(SignExponent);
  e[9] = static_cast<uint8_t>(SignExponent >> 8);
  return e;
}

String Hex(const TExtended& E) {
  char buf[32];
  uint64_t m = 0;
  for (int i = 7; i >= 0; --i)
    m = (m << 8) | E[size_t(i)];
  std::snprintf(buf, sizeof buf, "%016llX %02X%02X", static_cast<unsigned long long>(m), E[9],
                E[8]);
  return buf;
}

// Empty when the text is not a number or lies out of range.
String Parsed(const String& Text) {
  TDecimalNumber n;
  TExtended e;
  if (!TDecimalNumber::Scan(Text, n) || !n.ToExtended(e.data())) return "";
  return Hex(e);
}

String Shortest(const TExtended& E) {
  TDecimalNumber n;
  if (!TDecimalNumber::FromExtended(E.data(), n)) return "not finite";
  String text = n.Negative ? "-" : "";
  text += n.Digits.empty() ? "0" : n.Digits;
  text += 'E';
  text += std::to_string(n.Exponent);
  return text;
}

// K * 2^-N written out exactly, as digits and a power of ten: K * 5^N E-N.
String ExactDyadic(uint64_t K, int N) {
  std::vector<uint32_t> chunks{uint32_t(K % 1000000000), uint32_t(K / 1000000000 % 1000000000),
                               uint32_t(K / 1000000000 / 1000000000)};
  for (int done = 0; done < N;) {
    const int step = std::min(13, N - done);
    uint64_t factor = 1;
    for (int i = 0; i < step; ++i)
      factor *= 5;
    done += step;
    uint64_t carry = 0;
    for (uint32_t& c : chunks) {
      const uint64_t v = uint64_t(c) * factor + carry;
      c = uint32_t(v % 1000000000);
      carry = v / 1000000000;
    }
    for (; carry != 0; carry /= 1000000000)
      chunks.push_back(uint32_t(carry % 1000000000));
  }
  while (chunks.size() > 1 && chunks.back() == 0)
    chunks.pop_back();
  String digits = std::to_string(chunks.back());
  for (size_t i = chunks.size() - 1; i-- > 0;) {
    const String part = std::to_string(chunks[i]);
    digits += String(9 - part.size(), '0') + part;
  }
  return digits + "E-" + std::to_string(N);
}

TEST(TDecimalNumberTest, LiteralsRoundToTheNearestExtended) {
  struct {
    const char* Text;
    const char* Expected;
  } cases[] = {
      {"0.1", "CCCCCCCCCCCCCCCD 3FFB"},
      {"-0.1", "CCCCCCCCCCCCCCCD BFFB"},
      {"0.3333333333333333333333", "AAAAAAAAAAAAAAAB 3FFD"},
      {"123456789.123456789", "EB79A2A3F35BA6E7 4019"},
      {"0.5", "8000000000000000 3FFE"},
      {"5.", "A000000000000000 4001"},
      {"1E4932", "D72CB2A95C7EF6CD 7FFE"},
      {"1E-4000", "9C3D73864F3805C0 0C17"},
      {"1.18973149535723176502E4932", "FFFFFFFFFFFFFFFF 7FFE"},   // the largest
      {"3.36210314311209350626E-4932", "8000000000000000 0001"},  // the smallest normal
      {"3.6451995318824746025E-4951", "0000000000000001 0000"},   // the smallest denormal
      {"4E-4951", "0000000000000001 0000"},
      {"2E-4951", "0000000000000001 0000"},
      {"18446744073709551616", "8000000000000000 403F"},
      {"0", "0000000000000000 0000"},
      {"-0.000E-99999999999999999", "0000000000000000 8000"},
      {"00012.500e-1", "A000000000000000 3FFF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Parsed(c.Text), c.Expected) << c.Text;
}

TEST(TDecimalNumberTest, HalfwayGoesToTheEvenMantissaAndAnythingMoreGoesUp) {
  const String halfAfterOne = "1.0000000000000000000542101086242752217003726400434970855712890625";
  EXPECT_EQ(Parsed(halfAfterOne), "8000000000000000 3FFF");
  EXPECT_EQ(Parsed(halfAfterOne + "1"), "8000000000000001 3FFF");
  EXPECT_EQ(Parsed("1.0000000000000000000542101086242752217003726400434970855712890624"),
            "8000000000000000 3FFF");
  EXPECT_EQ(Parsed("1.0000000000000000001626303258728256651011179201304912567138671875"),
            "8000000000000002 3FFF");
  // Digits far beyond any that could decide a halfway case still count.
  EXPECT_EQ(Parsed(halfAfterOne + String(20000, '0')), "8000000000000000 3FFF");
  EXPECT_EQ(Parsed(halfAfterOne + String(20000, '0') + "1"), "8000000000000001 3FFF");
  EXPECT_EQ(Parsed("0." + String(30000, '0') + "1E30000"), "CCCCCCCCCCCCCCCD 3FFB");
}

TEST(TDecimalNumberTest, DenormalsRoundInUnitsOfTheSmallest) {
  // One and a half, two and a half units: both to two.
  EXPECT_EQ(Parsed(ExactDyadic(3, 16446)), "0000000000000002 0000");
  EXPECT_EQ(Parsed(ExactDyadic(5, 16446)), "0000000000000002 0000");
  // Half a unit goes to zero, which a non-zero literal may not become; a hair more is one.
  EXPECT_EQ(Parsed(ExactDyadic(1, 16446)), "");
  String hair = ExactDyadic(1, 16446);
  hair.insert(hair.find('E'), 1, '1');
  hair.back() = char(hair.back() + 1);  // one more digit: the exponent ends in 6 -> 7
  EXPECT_EQ(Parsed(hair), "0000000000000001 0000");
  // Halfway between the largest denormal and the smallest normal: to the normal.
  EXPECT_EQ(Parsed(ExactDyadic((uint64_t{1} << 63) * 2 - 1, 16446)), "8000000000000000 0001");
  EXPECT_EQ(Parsed(ExactDyadic((uint64_t{1} << 63) - 1, 16445)), "7FFFFFFFFFFFFFFF 0000");
}

TEST(TDecimalNumberTest, BeyondTheRangeIsRefusedNotClamped) {
  for (const char* text : {"1.18973149535723176509E4932", "1E4933", "-1E5000", "1E-4952",
                           "1E-99999999999999999999", "1E99999999999999999999"})
    EXPECT_EQ(Parsed(text), "") << text;
  for (const char* text : {"", "-", ".", "1e", "1E+", "1.5x", "--1", "1..2", "+1", "0x10"})
    EXPECT_EQ(Parsed(text), "") << text;
}

TEST(TDecimalNumberTest, ShortestTextThatReadsBack) {
  struct {
    TExtended Value;
    const char* Expected;
  } cases[] = {
      {Ext(0xCCCCCCCCCCCCCCCD, 0x3FFB), "1E-1"},
      {Ext(0xCCCCCCCCCCCCD000, 0x3FFB), "10000000000000000555E-20"},  // the double nearest 0.1
      {Ext(0xAAAAAAAAAAAAAAAB, 0x3FFD), "33333333333333333334E-20"},
      {Ext(0xFFFFFFFFFFFFFFFF, 0x7FFE), "1189731495357231765E4914"},
      {Ext(0x8000000000000000, 0x0001), "33621031431120935063E-4951"},
      {Ext(0x0000000000000001, 0x0000), "4E-4951"},
      {Ext(0x9C3D73864F3805C0, 0x0C17), "1E-4000"},
      {Ext(0x8000000000000000, 0x403F), "18446744073709551616E0"},  // 2^64: the gap below is half
      {Ext(0x8000000000000001, 0x3FFF), "10000000000000000001E-19"},
      {Ext(0x8000000000000000, 0x4063), "12676506002282294015E11"},
      {Ext(0, 0x8000), "-0E0"},
      {Ext(0xC000000000000000, 0xC000), "-3E0"},
      {Ext(0x8000000000000000, 0x7FFF), "not finite"},
      {Ext(0xC000000000000000, 0xFFFF), "not finite"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Shortest(c.Value), c.Expected) << Hex(c.Value);
}

TEST(TDecimalNumberTest, UnusualEncodingsAreWrittenByTheirValue) {
  // The integer bit set with a zero exponent, and clear with a non-zero one.
  const TExtended pseudoDenormal = Ext(0xFFFFFFFFFFFFFFFF, 0x0000);
  EXPECT_EQ(Shortest(pseudoDenormal), Shortest(Ext(0xFFFFFFFFFFFFFFFF, 0x0001)));
  EXPECT_EQ(Shortest(Ext(0x4000000000000000, 0x3FFF)), "5E-1");
  EXPECT_EQ(Shortest(Ext(0x0000000000000001, 0x0002)), Shortest(Ext(2, 0)));
  EXPECT_EQ(Shortest(Ext(0, 0x1234)), "0E0");
}

String ToText(const TDecimalNumber& N) {
  return (N.Negative ? "-" : "") + (N.Digits.empty() ? "0" : N.Digits) + "E" +
         std::to_string(N.Exponent);
}

// Digits plus one in the last place.
String Increment(String Digits) {
  size_t i = Digits.size();
  while (i > 0 && Digits[i - 1] == '9')
    Digits[--i] = '0';
  if (i == 0) return "1" + Digits;
  ++Digits[i - 1];
  return Digits;
}

// Exponents over the whole range when Anywhere, else those of everyday numbers.
TExtended RandomExtended(std::mt19937_64& Random, bool Anywhere) {
  const uint16_t sign = (Random() & 1) ? 0x8000 : 0;
  const auto biased =
      static_cast<uint16_t>(Anywhere ? Random() % 0x7FFF : 0x3FFF - 200 + Random() % 400);
  uint64_t mantissa = Random();
  // The usual encodings only: the integer bit says whether the value is normal.
  mantissa = biased == 0 ? mantissa >> 1 : mantissa | (uint64_t{1} << 63);
  if (Random() % 8 == 0) mantissa &= ~uint64_t{0} << (Random() % 64);  // short mantissas too
  if (biased != 0) mantissa |= uint64_t{1} << 63;
  return Ext(mantissa, uint16_t(sign | biased));
}

TEST(TDecimalNumberTest, RandomValuesGoThroughTextAndBackByteForByte) {
  std::mt19937_64 random(2024);
  for (int i = 0; i < 2000; ++i) {
    const TExtended value = RandomExtended(random, i % 8 == 0);
    TDecimalNumber n;
    ASSERT_TRUE(TDecimalNumber::FromExtended(value.data(), n));
    ASSERT_EQ(Parsed(ToText(n)), Hex(value)) << ToText(n);
    // One digit fewer, rounded either way, no longer reads back: the text is shortest.
    if (n.Digits.size() > 1) {
      TDecimalNumber fewer = n;
      fewer.Digits.pop_back();
      ++fewer.Exponent;
      EXPECT_NE(Parsed(ToText(fewer)), Hex(value)) << ToText(n);
      fewer.Digits = Increment(fewer.Digits);
      EXPECT_NE(Parsed(ToText(fewer)), Hex(value)) << ToText(n);
    }
  }
}

#if LDBL_MANT_DIG == 64 && defined(__GLIBC__)
// Where long double is this very format, the C library's reader (exact in glibc) is a
// second opinion on random literals of every length and size.
TEST(TDecimalNumberTest, AgreesWithTheNativeReader) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 1000; ++i) {
    String text = std::to_string(1 + random() % 9);
    const size_t digits = random() % 40;
    for (size_t d = 0; d < digits; ++d)
      text += char('0' + random() % 10);
    text += 'E';
    text += std::to_string(int(random() % 9900) - 4950 - int(digits));
    const long double native = std::strtold(text.c_str(), nullptr);
    if (native == 0 || native > LDBL_MAX) continue;  // out of range: refused here
    TExtended expected{};
    std::memcpy(expected.data(), &native, 10);
    EXPECT_EQ(Parsed(text), Hex(expected)) << text;
  }
}
#endif

TEST(TDecimalNumberTest, CurrencyRoundsToTenThousandthsExactly) {
  auto currency = [](const char* Text) -> String {
    TDecimalNumber n;
    int64_t raw;
    if (!TDecimalNumber::Scan(Text, n) || !n.ToCurrency(raw)) return "refused";
    return std::to_string(raw);
  };
  EXPECT_EQ(currency("900719925474.0993"), "9007199254740993");
  EXPECT_EQ(currency("922337203685477.5807"), "9223372036854775807");
  EXPECT_EQ(currency("-922337203685477.5808"), "-9223372036854775808");
  EXPECT_EQ(currency("922337203685477.5808"), "refused");
  EXPECT_EQ(currency("99999999999999999999"), "refused");
  EXPECT_EQ(currency("0.00025"), "2");
  EXPECT_EQ(currency("0.00035"), "4");
  EXPECT_EQ(currency("-0.000250001"), "-3");
  EXPECT_EQ(currency("1E-30"), "0");
  EXPECT_EQ(currency("12E2"), "12000000");
}

}  // namespace
}  // namespace bw
