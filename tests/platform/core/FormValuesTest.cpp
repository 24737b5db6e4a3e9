// Values in the binary form: tags, widths, encodings, and what each reader accepts.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>

#include "platform/core/Exception.h"
#include "platform/core/Extended80.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TPersistent.h"
#include "platform/core/TPropertyTable.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"
#include "tests/platform/core/FormTestSupport.h"

namespace bw {
namespace {

using formtest::Bytes;
using formtest::Written;

// A reader over Data; the stream lives as long as the returned holder.
struct TReading {
  explicit TReading(const String& Data) : Reader(&Stream) {
    Stream.Write(Data.data(), int32_t(Data.size()));
    Stream.SetPosition(0);
  }
  TMemoryStream Stream;
  TReader Reader;
};

TEST(FormValuesTest, IntegersTakeTheSmallestWidth) {
  struct {
    int64_t Value;
    String Expected;
  } cases[] = {
      {127, Bytes({2, 0x7F})},
      {128, Bytes({3, 0x80, 0})},
      {-128, Bytes({2, 0x80})},
      {-129, Bytes({3, 0x7F, 0xFF})},
      {32768, Bytes({4, 0, 0x80, 0, 0})},
      {-2147483648LL, Bytes({4, 0, 0, 0, 0x80})},
      {2147483648LL, Bytes({19, 0, 0, 0, 0x80, 0, 0, 0, 0})},
      {5000000000LL, Bytes({19, 0x00, 0xF2, 0x05, 0x2A, 0x01, 0, 0, 0})},
  };
  for (const auto& c : cases) {
    const String data = Written([&](TWriter& w) { w.WriteInteger(c.Value); });
    EXPECT_EQ(data, c.Expected) << c.Value;
    EXPECT_EQ(TReading(data).Reader.ReadInt64(), c.Value);
  }
}

TEST(FormValuesTest, ReadIntegerAcceptsOnlyThirtyTwoBitTags) {
  EXPECT_EQ(TReading(Bytes({4, 0xFF, 0xFF, 0xFF, 0x7F})).Reader.ReadInteger(), INT32_MAX);
  EXPECT_THROW(TReading(Bytes({19, 1, 0, 0, 0, 0, 0, 0, 0})).Reader.ReadInteger(), EReadError);
  EXPECT_THROW(TReading(Bytes({6, 1, '5'})).Reader.ReadInteger(), EReadError);
  // An unsigned 64-bit value above the signed range does not fit.
  EXPECT_THROW(TReading(Bytes({22, 0, 0, 0, 0, 0, 0, 0, 0x80})).Reader.ReadInt64(), EReadError);
  EXPECT_EQ(TReading(Bytes({22, 5, 0, 0, 0, 0, 0, 0, 0})).Reader.ReadInt64(), 5);
}

TEST(FormValuesTest, StringsPickTheirTagByContent) {
  EXPECT_EQ(Written([](TWriter& w) { w.WriteString("Hi"); }), Bytes({6, 2, 'H', 'i'}));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteString(""); }), Bytes({6, 0}));
  const String longAscii(300, 'x');
  const String l = Written([&](TWriter& w) { w.WriteString(longAscii); });
  EXPECT_EQ(l.substr(0, 5), Bytes({12, 0x2C, 1, 0, 0}));
  EXPECT_EQ(l.size(), 305u);
  // Non-ASCII text goes out as UTF-16, with a surrogate pair above U+FFFF.
  EXPECT_EQ(Written([](TWriter& w) { w.WriteString("\xC3\xA9\xF0\x9F\x98\x80"); }),
            Bytes({18, 3, 0, 0, 0, 0xE9, 0, 0x3D, 0xD8, 0x00, 0xDE}));
  EXPECT_EQ(Written([](TWriter& w) { w.WriteChar(U'Z'); }), Bytes({6, 1, 'Z'}));
}

TEST(FormValuesTest, EveryStringTagReadsAsUtf8) {
  EXPECT_EQ(TReading(Bytes({6, 2, 0xC3, 0xA9})).Reader.ReadString(), "\xC3\xA9");
  // 8-bit text that is not UTF-8 is taken as Latin-1.
  EXPECT_EQ(TReading(Bytes({6, 2, 'e', 0xE9})).Reader.ReadString(), "e\xC3\xA9");
  EXPECT_EQ(TReading(Bytes({12, 1, 0, 0, 0, 'a'})).Reader.ReadString(), "a");
  EXPECT_EQ(TReading(Bytes({18, 1, 0, 0, 0, 0xAC, 0x20})).Reader.ReadString(), "\xE2\x82\xAC");
  EXPECT_EQ(TReading(Bytes({21, 1, 0, 0, 0, 0xAC, 0x20})).Reader.ReadString(), "\xE2\x82\xAC");
  EXPECT_EQ(TReading(Bytes({20, 2, 0, 0, 0, 0xC3, 0xA9})).Reader.ReadString(), "\xC3\xA9");
  // A lone surrogate cannot be UTF-8; it becomes the replacement character.
  EXPECT_EQ(TReading(Bytes({18, 1, 0, 0, 0, 0x00, 0xD8})).Reader.ReadString(), "\xEF\xBF\xBD");
  EXPECT_THROW(TReading(Bytes({6, 2, 'a', 'b'})).Reader.ReadChar(), EReadError);
  EXPECT_EQ(TReading(Bytes({18, 1, 0, 0, 0, 0xE9, 0})).Reader.ReadChar(), U'\u00E9');
}

TEST(FormValuesTest, FloatsAreEightyBitExtended) {
  EXPECT_EQ(Written([](TWriter& w) { w.WriteFloat(0.5); }),
            Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F}));
  const double values[] = {
      0.0,    -0.0,    1.0,     -2.5,     0.1,    1.0 / 3,  123456789.123456789,
      1e-300, DBL_MAX, DBL_MIN, 4.9e-324, 3e-310, HUGE_VAL, -HUGE_VAL};
  for (double v : values) {
    uint8_t ext[10];
    DoubleToExtended(v, ext);
    const double back = ExtendedToDouble(ext);
    EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << v;
#if LDBL_MANT_DIG == 64
    long double native = 0;
    std::memcpy(&native, ext, 10);
    EXPECT_EQ(native, static_cast<long double>(v)) << v;
#endif
  }
  uint8_t nan[10];
  DoubleToExtended(std::nan(""), nan);
  EXPECT_TRUE(std::isnan(ExtendedToDouble(nan)));
  // Beyond the double range: infinity and zero, not garbage.
  const uint8_t huge[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x7F};
  EXPECT_EQ(ExtendedToDouble(huge), HUGE_VAL);
  const uint8_t tiny[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00};
  EXPECT_EQ(ExtendedToDouble(tiny), 0.0);
}

TEST(FormValuesTest, ReadFloatAcceptsEveryNumberTag) {
  EXPECT_EQ(TReading(Bytes({2, 3})).Reader.ReadFloat(), 3.0);
  EXPECT_EQ(TReading(Written([](TWriter& w) { w.WriteSingle(1.5f); })).Reader.ReadFloat(), 1.5);
  EXPECT_EQ(TReading(Written([](TWriter& w) { w.WriteDate(45000.25); })).Reader.ReadFloat(),
            45000.25);
  EXPECT_EQ(TReading(Written([](TWriter& w) { w.WriteCurrency(123456); })).Reader.ReadFloat(),
            12.3456);
  EXPECT_THROW(TReading(Bytes({6, 1, '1'})).Reader.ReadFloat(), EReadError);
}

TEST(FormValuesTest, ListsSetsIdentsAndBinary) {
  const String data = Written([](TWriter& w) {
    w.WriteListBegin();
    w.WriteBoolean(true);
    w.WriteIdent("shSquare");
    w.WriteSet({"stBold", "stUnderline"});
    w.WriteBinary("\x01\x02", 2);
    w.WriteValue(vaNil);
    w.WriteListEnd();
  });
  EXPECT_EQ(data, Bytes({1,   9,   7,   8,   's', 'h', 'S', 'q', 'u', 'a', 'r', 'e', 11,  6,
                         's', 't', 'B', 'o', 'l', 'd', 11,  's', 't', 'U', 'n', 'd', 'e', 'r',
                         'l', 'i', 'n', 'e', 0,   10,  2,   0,   0,   0,   1,   2,   13,  0}));
  TReading r(data);
  r.Reader.ReadListBegin();
  EXPECT_TRUE(r.Reader.ReadBoolean());
  EXPECT_EQ(r.Reader.ReadIdent(), "shSquare");
  EXPECT_EQ(r.Reader.ReadSet(), (std::vector<String>{"stBold", "stUnderline"}));
  EXPECT_EQ(r.Reader.ReadBinary(), "\x01\x02");
  EXPECT_EQ(r.Reader.ReadIdent(), "nil");
  EXPECT_TRUE(r.Reader.EndOfList());
  r.Reader.ReadListEnd();

  TReading skip(data + Bytes({2, 7}));
  skip.Reader.SkipValue();
  EXPECT_EQ(skip.Reader.ReadInteger(), 7);
}

// Integer properties of both widths whose value -1 has a name.
class TNamedValues : public TPersistent {
  BW_CLASS(TNamedValues, TPersistent)
 public:
  int32_t Small = 0;
  int64_t Big = 0;
};

bool NameOf(int64_t V, String& Ident) {
  if (V != -1) return false;
  Ident = "clNone";
  return true;
}
bool ValueOf(const String& Ident, int64_t& V) {
  if (Ident != "clNone") return false;
  V = -1;
  return true;
}

BW_PUBLISHED(TNamedValues) {
  P.Property(
       "Small", [](TNamedValues* N) { return N->Small; },
       [](TNamedValues* N, int32_t V) { N->Small = V; })
      .Idents(NameOf, ValueOf);
  P.Property(
       "Big", [](TNamedValues* N) { return N->Big; },
       [](TNamedValues* N, int64_t V) { N->Big = V; })
      .Idents(NameOf, ValueOf);
}

TEST(FormValuesTest, NamedIntegersReadBackInEveryWidth) {
  TNamedValues written;
  written.Small = -1;
  written.Big = -1;
  TReading read(Written([&](TWriter& w) {
    w.WriteProperties(&written);
    w.WriteListEnd();
  }));
  TNamedValues back;
  read.Reader.ReadProperties(&back);
  EXPECT_EQ(back.Small, -1);
  EXPECT_EQ(back.Big, -1);
}

TEST(FormValuesTest, NamesLongerThanAShortStringAreRefused) {
  EXPECT_THROW(Written([](TWriter& w) { w.WriteIdent(String(256, 'a')); }), EWriteError);
  EXPECT_NO_THROW(Written([](TWriter& w) { w.WriteIdent(String(255, 'a')); }));
}

TEST(FormValuesTest, DamagedValuesRaiseReadErrors) {
  const String damaged[] = {
      Bytes({}),                                 // nothing at all
      Bytes({4, 1, 2}),                          // cut inside an integer
      Bytes({6, 10, 'a'}),                       // string shorter than its length
      Bytes({12, 0xFF, 0xFF, 0xFF, 0x7F, 'a'}),  // huge length: refused before allocating
      Bytes({18, 0xFF, 0xFF, 0xFF, 0xFF}),       // huge UTF-16 length
      Bytes({10, 0, 0, 0, 0x80}),                // huge binary length
      Bytes({23}),                               // unknown tag
      Bytes({0xFF}),                             // unknown tag
      Bytes({1, 2, 1}),                          // list without its end
      Bytes({11, 1, 'a'}),                       // set without its end
  };
  for (const String& d : damaged) {
    EXPECT_THROW(TReading(d).Reader.SkipValue(), EReadError) << testing::PrintToString(d);
  }
  // Lists nested beyond any real form are refused rather than recursed into.
  EXPECT_THROW(TReading(String(100000, '\x01')).Reader.SkipValue(), EReadError);
}

}  // namespace
}  // namespace bw
