// The text form: its layout on writing, its grammar on reading, and the converters.

#include <gtest/gtest.h>

#include "platform/core/EParserError.h"
#include "platform/core/FormConversion.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TWriter.h"
#include "tests/platform/core/FormTestSupport.h"

namespace bw {
namespace {

using formtest::Bytes;
using formtest::Written;

// A binary form of one component "A: TA" whose properties Fill writes.
String FormWith(const std::function<void(TWriter&)>& Fill) {
  return Written([&](TWriter& w) {
    w.WriteSignature();
    w.WriteStr("TA");
    w.WriteStr("A");
    Fill(w);
    w.WriteListEnd();
    w.WriteListEnd();
  });
}

// The binary value of the single property of a one-property text form.
String ValueOf(const String& ValueText) {
  const String bin = ObjectTextToBinary("object A: TA\n  P = " + ValueText + "\nend\n");
  const String head = Bytes({'T', 'P', 'F', '0', 2, 'T', 'A', 1, 'A', 1, 'P'});
  EXPECT_EQ(bin.substr(0, head.size()), head);
  return bin.substr(head.size(), bin.size() - head.size() - 2);
}

void ExpectParserError(const String& Text, int32_t Line, int32_t Column) {
  try {
    ObjectTextToBinary(Text);
    ADD_FAILURE() << "no error for: " << Text;
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Line(), Line) << Text << " -> " << e.Message();
    EXPECT_EQ(e.Column(), Column) << Text << " -> " << e.Message();
  }
}

// Written in the classic layout: the text a form file holds.
const char* const kCanonical =
    "object Form1: TForm1\n"
    "  Count = 42\n"
    "  Big = 5000000000\n"
    "  Ratio = 0.500000000000000000\n"
    "  Stamp = 38746.336874976850000000\n"
    "  Tiny = 1E-20\n"
    "  Caption = 'Tab'#9'and ''quotes'' and '#233't'#8364\n"
    "  Hint = \n"
    "    '0123456789012345678901234567890123456789012345678901234567890123' +\n"
    "    '456789'\n"
    "  Kind = shSquare\n"
    "  Styles = [stBold, stUnderline]\n"
    "  Empty = []\n"
    "  Visible = False\n"
    "  Buddy = nil\n"
    "  OnClick = Form1Click\n"
    "  Outline.Lines.Strings = (\n"
    "    'Root'\n"
    "    #9'Child ''1'''\n"
    "    '')\n"
    "  ColWidths = (\n"
    "    200\n"
    "    64\n"
    "    80)\n"
    "  Nested = (\n"
    "    (\n"
    "      1)\n"
    "    ())\n"
    "  Editor.Glyph.Data = {\n"
    "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\n"
    "    FF}\n"
    "  Nothing = {}\n"
    "  Columns = <\n"
    "    item\n"
    "      Width = 3\n"
    "    end\n"
    "    item\n"
    "    end>\n"
    "  Panels = <>\n"
    "  Emoji = #55357#56832\n"
    "  Weight = 1.5s\n"
    "  Price = 12.3400c\n"
    "  When = 45000.25d\n"
    "  object Panel1: TPanel\n"
    "    Tag = -129\n"
    "    inherited Button1: TButton\n"
    "    end\n"
    "  end\n"
    "  inline Frame1: TFrame1[2]\n"
    "  end\n"
    "end\n";

TEST(FormTextTest, ClassicLayoutSurvivesBothConversions) {
  const String binary = ObjectTextToBinary(kCanonical);
  EXPECT_EQ(ObjectBinaryToText(binary), kCanonical);
  EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(binary)), binary);
}

TEST(FormTextTest, LongStringsInListsKeepTheItemIndent) {
  const String piece(64, 'x');
  const String text =
      "object A: TA\n"
      "  Lines.Strings = (\n"
      "    'short'\n"
      "    '" +
      piece +
      "' +\n"
      "    'yy'\n"
      "    '" +
      piece +
      "')\n"
      "end\n";
  EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(text)), text);
}

TEST(FormTextTest, TheOtherCommonLayoutReadsTheSame) {
  // Closing brackets on their own lines, floats in exponent form with a leading blank,
  // one-line long strings, blanks after "end" in collections.
  const String other =
      "object Form1: TForm1\n"
      "  Ratio =  5.00000000000000000000E-0001\n"
      "  Caption = 'L'#228'gg'#1059#1076\n"
      "  Lines.Strings = (\n"
      "    'a'\n"
      "  )\n"
      "  Data = {\n"
      "    0102\n"
      "  }\n"
      "  Cols = <  \n"
      "    item\n"
      "      Width = 3\n"
      "    end  \n"
      "    item\n"
      "    end>\n"
      "end\n";
  const String classic =
      "object Form1: TForm1\n"
      "  Ratio = 0.500000000000000000\n"
      "  Caption = 'L'#228'gg'#1059#1076\n"
      "  Lines.Strings = (\n"
      "    'a')\n"
      "  Data = {\n"
      "    0102}\n"
      "  Cols = <\n"
      "    item\n"
      "      Width = 3\n"
      "    end\n"
      "    item\n"
      "    end>\n"
      "end\n";
  EXPECT_EQ(ObjectTextToBinary(other), ObjectTextToBinary(classic));
  EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(other)), classic);
}

TEST(FormTextTest, ValuesBecomeTheRightTags) {
  EXPECT_EQ(ValueOf("#65'b'#66"), Bytes({6, 3, 'A', 'b', 'B'}));
  EXPECT_EQ(ValueOf("'a' +\n  'b'"), Bytes({6, 2, 'a', 'b'}));
  EXPECT_EQ(ValueOf("''"), Bytes({6, 0}));
  EXPECT_EQ(ValueOf("#233"), Bytes({18, 1, 0, 0, 0, 0xE9, 0}));
  EXPECT_EQ(ValueOf("'\xC3\xA9'"), Bytes({18, 1, 0, 0, 0, 0xE9, 0}));  // raw UTF-8 is read as such
  // Other writers split long strings by UTF-16 units, so a pair may straddle a '+'.
  EXPECT_EQ(ValueOf("'a'#55357 +\n  #56832"), Bytes({18, 3, 0, 0, 0, 'a', 0, 0x3D, 0xD8, 0, 0xDE}));
  EXPECT_EQ(ValueOf("#56832 + #55357"), Bytes({18, 2, 0, 0, 0, 0xFD, 0xFF, 0xFD, 0xFF}));
  EXPECT_EQ(ValueOf("()"), Bytes({1, 0}));
  EXPECT_EQ(ValueOf("<>"), Bytes({14, 0}));
  EXPECT_EQ(ValueOf("{}"), Bytes({10, 0, 0, 0, 0}));
  EXPECT_EQ(ValueOf("{ 0a 0B }"), Bytes({10, 2, 0, 0, 0, 10, 11}));
  EXPECT_EQ(ValueOf("[]"), Bytes({11, 0}));
  EXPECT_EQ(ValueOf("$FF"), Bytes({3, 0xFF, 0}));
  EXPECT_EQ(ValueOf("$FFFFFFFF"), Bytes({19, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
  EXPECT_EQ(ValueOf("-9223372036854775808"), Bytes({19, 0, 0, 0, 0, 0, 0, 0, 0x80}));
  EXPECT_EQ(ValueOf("0.5"), Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F}));
  EXPECT_EQ(ValueOf("5."), ValueOf("5.0"));
  EXPECT_EQ(ValueOf("TRUE"), Bytes({9}));
  EXPECT_EQ(ValueOf("Form1.Button1"),
            Bytes({7, 13, 'F', 'o', 'r', 'm', '1', '.', 'B', 'u', 't', 't', 'o', 'n', '1'}));
}

String CurrencyBytes(int64_t Raw) {
  return Written([&](TWriter& w) { w.WriteCurrency(Raw); });
}

TEST(FormTextTest, CurrencyIsExactOverItsWholeRange) {
  EXPECT_EQ(ValueOf("900719925474.0993c"), CurrencyBytes(9007199254740993));
  EXPECT_EQ(ValueOf("922337203685477.5807c"), CurrencyBytes(INT64_MAX));
  EXPECT_EQ(ValueOf("-922337203685477.5808c"), CurrencyBytes(INT64_MIN));
  EXPECT_EQ(ValueOf("-0.0001c"), CurrencyBytes(-1));
  EXPECT_EQ(ValueOf("1.5E3c"), CurrencyBytes(15000000));
  EXPECT_EQ(ValueOf("12345E-8c"), CurrencyBytes(1));  // 0.00012345: past 4 decimals, rounded
  EXPECT_EQ(ValueOf("0.00005c"), CurrencyBytes(0));   // halfway: to the even unit
  EXPECT_EQ(ValueOf("0.00015c"), CurrencyBytes(2));
  EXPECT_EQ(ValueOf("0.000050000000000000000001c"), CurrencyBytes(1));
  EXPECT_EQ(ValueOf("-922337203685477.58084999c"), CurrencyBytes(INT64_MIN));
  for (const char* outside : {"922337203685477.5808c", "-922337203685477.5809c",
                              "922337203685477.58075c", "1E15c", "1E99999999999999999999c"})
    ExpectParserError(String("object A: TA\n  P = ") + outside + "\nend", 2, 7);
  for (int64_t raw : {INT64_MAX, INT64_MIN, int64_t{0}, int64_t{-1}, int64_t{9007199254740993}}) {
    const String binary = FormWith([&](TWriter& w) {
      w.WriteStr("P");
      w.WriteCurrency(raw);
    });
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(binary)), binary) << raw;
  }
}

String ExtendedForm(std::initializer_list<int> TenBytes) {
  return FormWith([&](TWriter& w) {
    w.WriteStr("P");
    w.WriteValue(vaExtended);
    const String bytes = Bytes(TenBytes);
    w.Write(bytes.data(), 10);
  });
}

TEST(FormTextTest, ExtendedFloatsKeepAllEightyBits) {
  // Rounded once, from the decimal literal to the 64-bit mantissa.
  EXPECT_EQ(ValueOf("0.1"), Bytes({5, 0xCD, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}));
  struct {
    String Binary;
    const char* Text;
  } cases[] = {
      {ExtendedForm({0xC0, 0x05, 0x38, 0x4F, 0x86, 0x73, 0x3D, 0x9C, 0x17, 0x0C}), "1E-4000"},
      {ExtendedForm({0xCD, 0xF6, 0x7E, 0x5C, 0xA9, 0xB2, 0x2C, 0xD7, 0xFE, 0x7F}), "1E+4932"},
      {ExtendedForm({0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "4E-4951"},
      {ExtendedForm({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF}),
       "-1.189731495357231765E+4932"},
      {ExtendedForm({0, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}),
       "0.10000000000000000555"},
      {ExtendedForm({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}), "-0.000000000000000000"},
      {ExtendedForm({0, 0, 0, 0, 0, 0, 0, 0x80, 0x3A, 0x40}),
       "576460752303423488.000000000000000000"},
      {ExtendedForm({0, 0, 0, 0, 0, 0, 0, 0x80, 0x3E, 0x40}), "9.223372036854775808E+18"},
      {ExtendedForm({0x2F, 0x65, 0x19, 0xE2, 0x58, 0x17, 0xB7, 0xD1, 0xF1, 0x3F}),
       "0.00010000000000000000002"},
  };
  for (const auto& c : cases) {
    const String text = ObjectBinaryToText(c.Binary);
    EXPECT_NE(text.find(String("P = ") + c.Text + "\n"), String::npos) << text;
    EXPECT_EQ(ObjectTextToBinary(text), c.Binary) << text;
  }
  // Literals beyond the range, or that would become zero, are refused where they stand.
  ExpectParserError("object A: TA\n  P = 1.18973149535723176509E4932\nend", 2, 7);
  ExpectParserError("object A: TA\n  P = 1E-5000\nend", 2, 7);
  ExpectParserError("object A: TA\n  P = 1E-50s\nend", 2, 7);
}

TEST(FormTextTest, KeywordsBomLineEndsAndTrailingText) {
  const String expected = ObjectTextToBinary("object A: TA\n  X = 1\nend\n");
  EXPECT_EQ(ObjectTextToBinary("\xEF\xBB\xBFOBJECT A: TA\r\n  x = 1\r\nEnd\r\nrest is ignored"),
            Bytes({'T', 'P', 'F', '0', 2, 'T', 'A', 1, 'A', 1, 'x', 2, 1, 0, 0}));
  EXPECT_EQ(expected, Bytes({'T', 'P', 'F', '0', 2, 'T', 'A', 1, 'A', 1, 'X', 2, 1, 0, 0}));
  EXPECT_EQ(ObjectTextToBinary("object TA end"), Bytes({'T', 'P', 'F', '0', 2, 'T', 'A', 0, 0, 0}));
  EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary("object TA end")), "object TA\nend\n");
}

TEST(FormTextTest, ClassNamesWhoseLengthLooksLikeAPrefixReadBack) {
  // A length byte of 240 or more would otherwise be taken for a header prefix.
  for (size_t n : {239, 240, 255}) {
    const String text = "object A: " + String(n, 'T') + "\nend\n";
    EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(text)), text) << n;
  }
}

TEST(FormTextTest, BadTextNamesLineAndColumn) {
  ExpectParserError("object A: TA\n  X = ]\nend\n", 2, 7);       // a value is missing
  ExpectParserError("object A: TA\n  X = 1\n", 3, 1);            // no end
  ExpectParserError("object A: TA\n  S = 'abc\nend", 2, 11);     // unterminated string
  ExpectParserError("object A: TA\n  S = 'a' #13\nend", 2, 11);  // parts must touch
  ExpectParserError("object A: TA\n  D = {0A1}\nend", 2, 11);    // half a byte
  ExpectParserError("object A: TA\n  D = {0A 1G}\nend", 2, 12);
  ExpectParserError("object A: TA\n  N = -$10\nend", 2, 7);
  ExpectParserError("object A: TA\n  N = .5\nend", 2, 7);
  ExpectParserError("object A: TA\n  N = 99999999999999999999\nend", 2, 7);
  ExpectParserError("object A: TA\n  // note\nend", 2, 3);
  ExpectParserError("object A: TA\n  S = #$41\nend", 2, 8);
  ExpectParserError("object A: TA\n  S = #1114112\nend", 2, 7);
  ExpectParserError("object A: TA\n  L = (1 2\nend", 3, 4);  // "end" is taken as a value
  ExpectParserError("object A: TA\n  S = [a b]\nend", 2, 10);
  ExpectParserError("object A: TA\n  C = <item X = 1>\nend", 2, 18);
  ExpectParserError("object A: TA\n  \xC3\xA9 = 1\nend", 2, 3);
  ExpectParserError("thing A: TA\nend", 1, 1);
  ExpectParserError("object A: TA\n  X = 1\n  object B\n", 4, 1);
  ExpectParserError("", 1, 1);
  ExpectParserError("object A: TA\n  " + String(256, 'x') + " = 1\nend", 2, 3);
  ExpectParserError(String(300, '('), 1, 1);
  String deep = "object A: TA\n  L = ";
  for (int i = 0; i < 1000; ++i)
    deep += '(';
  EXPECT_THROW(ObjectTextToBinary(deep), EParserError);
}

TEST(FormTextTest, SeveralBareValuesHaveNoTextForm) {
  // A defined property that writes a count and then index/string pairs, with no list.
  const String binary = FormWith([](TWriter& w) {
    w.WriteStr("Count");
    w.WriteInteger(1);
    w.WriteStr("List");
    w.WriteInteger(2);
    w.WriteInteger(0);
    w.WriteString("zero");
    w.WriteInteger(65);
    w.WriteString("A");
  });
  TMemoryStream in, out;
  in.Write(binary.data(), int32_t(binary.size()));
  in.SetPosition(0);
  try {
    ObjectBinaryToText(&in, &out);
    ADD_FAILURE() << "converted to text";
  } catch (const EReadError& e) {
    EXPECT_NE(e.Message().find("property List"), String::npos) << e.Message();
  }
  EXPECT_EQ(out.Size(), 0);  // nothing half-written
}

TEST(FormTextTest, NamesTextWouldReadDifferentlyHaveNoTextForm) {
  // Text would end the component at "end = 1", or turn the identifier into a Boolean.
  for (const char* name : {"end", "END.x", "object", "Inherited", "inline"})
    EXPECT_THROW(ObjectBinaryToText(FormWith([&](TWriter& w) {
                   w.WriteStr(name);
                   w.WriteInteger(1);
                 })),
                 EReadError)
        << name;
  for (const char* ident : {"True", "false", "NIL"})
    EXPECT_THROW(ObjectBinaryToText(FormWith([&](TWriter& w) {
                   w.WriteStr("Shape");
                   w.WriteIdent(ident);
                 })),
                 EReadError)
        << ident;
  const String itemEnd = FormWith([](TWriter& w) {
    w.WriteStr("Items");
    w.WriteValue(vaCollection);
    w.WriteListBegin();
    w.WriteStr("End");
    w.WriteInteger(1);
    w.WriteListEnd();
    w.WriteListEnd();
  });
  EXPECT_THROW(ObjectBinaryToText(itemEnd), EReadError);
  EXPECT_THROW(ObjectBinaryToText(FormWith([](TWriter& w) {
                 w.WriteStr("Styles");
                 w.WriteSet({"stBold", "st.Dotted"});  // text reads "st" and stops at the dot
               })),
               EReadError);
  // The same words elsewhere are plain names: a set element, a dotted tail, an item's
  // "object" property.
  const String fine = FormWith([](TWriter& w) {
    w.WriteStr("Styles");
    w.WriteSet({"True", "end"});
    w.WriteStr("Inner.End");
    w.WriteIdent("Trueish");
    w.WriteStr("Items");
    w.WriteValue(vaCollection);
    w.WriteListBegin();
    w.WriteStr("object");
    w.WriteInteger(1);
    w.WriteListEnd();
    w.WriteListEnd();
  });
  EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(fine)), fine);
}

TEST(FormTextTest, DamagedBinaryIsRefused) {
  const String good = ObjectTextToBinary(kCanonical);
  // Every truncation fails cleanly rather than producing partial text.
  for (size_t n = 0; n < good.size(); n += 7)
    EXPECT_THROW(ObjectBinaryToText(good.substr(0, n)), EReadError) << n;
  EXPECT_THROW(ObjectBinaryToText("TPF1"), EReadError);
  EXPECT_THROW(ObjectBinaryToText(FormWith([](TWriter& w) {
                 w.WriteStr("X");
                 w.WriteValue(vaNull);
               })),
               EReadError);
  EXPECT_THROW(ObjectBinaryToText(FormWith([](TWriter& w) {
                 w.WriteStr("X");
                 w.WriteFloat(std::numeric_limits<double>::infinity());
               })),
               EReadError);
}

}  // namespace
}  // namespace bw
