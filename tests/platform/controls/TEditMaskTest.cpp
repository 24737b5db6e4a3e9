#include "platform/controls/TEditMask.h"

#include <gtest/gtest.h>

#include "platform/controls/EditChars.h"

using namespace bw;

namespace {

const String kPhone = "!\\(999\\)000-0000;1;_";

// An edit text in the empty state of mask, caret at the start.
TEditText EmptyFor(const TEditMask& mask) {
  TEditText t;
  t.SetText(EncodeUtf8(mask.EmptyEditText()));
  return t;
}

String EditOf(const TEditText& t) {
  return t.Text();
}

}  // namespace

TEST(EditMask, ParsesFieldsAndPlaces) {
  struct Row {
    const char* mask;
    bool masked;
    bool save;
    Char blank;
    bool leading;
    const char* empty;
  } rows[] = {
      {"", false, true, U'_', false, ""},
      {";0;*", false, false, U'*', false, ""},
      {"!\\(999\\)000-0000;1;_", true, true, U'_', true, "(___)___-____"},
      {"00/00/0000;0;*", true, false, U'*', false, "**/**/****"},
      {"00:00", true, true, U'_', false, "__:__"},
      {"0_0", true, true, U'_', false, "_ _"},
      {"\\;0;0", true, false, U'_', false, ";_"},  // an escaped ';' is a literal
      {"000;0;;", true, false, U';', false, ";;;"},
      {"000;1; ", true, true, U' ', false, "   "},
      {">L<>\\L\\\\", true, true, U'_', false, "_L\\"},
      {"\xC2\xB0"
       "00",
       true, true, U'_', false, "\xC2\xB0__"},
  };
  for (const Row& r : rows) {
    TEditMask m(r.mask);
    EXPECT_EQ(m.IsMasked(), r.masked) << r.mask;
    EXPECT_EQ(m.SaveLiterals(), r.save) << r.mask;
    EXPECT_EQ(m.BlankChar(), r.blank) << r.mask;
    EXPECT_EQ(m.LeadingBlanks(), r.leading) << r.mask;
    EXPECT_EQ(EncodeUtf8(m.EmptyEditText()), r.empty) << r.mask;
  }
}

TEST(EditMask, PlacesAcceptTheirCharacterKindsInTheirCase) {
  struct Row {
    const char* mask;
    Char in;
    bool fits;
    Char stored;
  } rows[] = {
      {"L", U'a', true, U'a'},
      {"L", U'5', false, 0},
      {"L", U' ', false, 0},
      {"l", U' ', true, U'_'},
      {"l", U'\u00E9', true, U'\u00E9'},
      {"A", U'7', true, U'7'},
      {"A", U'-', false, 0},
      {"a", U'Z', true, U'Z'},
      {"C", U'-', true, U'-'},
      {"C", U'\t', false, 0},
      {"c", U'\u4E2D', true, U'\u4E2D'},
      {"0", U'3', true, U'3'},
      {"0", U'x', false, 0},
      {"9", U'+', false, 0},
      {"#", U'+', true, U'+'},
      {"#", U'-', true, U'-'},
      {"#", U'5', true, U'5'},
      {"#", U'e', false, 0},
      {">l", U'q', true, U'Q'},
      {"<A", U'\u00C9', true, U'\u00E9'},
      {"><a", U'Q', true, U'q'},
      {"><>a", U'q', true, U'q'},
      {"-", U'-', false, 0},
  };
  for (const Row& r : rows) {
    TEditMask m(r.mask);
    Char c = r.in;
    int32_t pos = m.Length() - 1;
    EXPECT_EQ(m.Fits(pos, c), r.fits) << r.mask << " " << static_cast<uint32_t>(r.in);
    if (r.fits) {
      EXPECT_EQ(c, r.stored) << r.mask;
    }
  }
  // ">L<>c": 'x' checked at the 'c' place, which has no case: it fits there.
  TEditMask m(">L<>c");
  Char c = U'x';
  EXPECT_TRUE(m.Fits(1, c));
  EXPECT_EQ(c, U'x');
}

TEST(EditMask, ValuesInAndOut) {
  struct Row {
    const char* mask;
    const char* value;
    const char* edit;
    const char* valueBack;
  } rows[] = {
      {"!\\(999\\)000-0000;1;_", "5551234567", "(555)123-4567", "(555)123-4567"},
      {"!\\(999\\)000-0000;1;_", "(555)123-4567", "(555)123-4567", "(555)123-4567"},
      {"!\\(999\\)000-0000;0;_", "5551234567", "(555)123-4567", "5551234567"},
      {"!999;0;_", "12", "_12", "12"},
      {"999;0;_", "12", "12_", "12"},
      {"999;0;_", "1 3", "1_3", "1 3"},
      {"00:00;1;_", "", "__:__", "  :  "},
      {"LL00;0;_", "a1b2", "ab2_", "ab2"},
      {"LL00;1;_", "a1b2", "a__2", "a  2"},
      {"000.000;0;_", "(123) 456", "123.456", "123456"},
      {">LL<ll;0;_", "abCD", "ABcd", "ABcd"},
      {"CCC;0;*", "x y", "x*y", "x y"},
      {"000;0;_", "12345", "123", "123"},
      {"000;0;_", "1\xE2\x82", "1__", "1"},  // a broken character fits no digit place
  };
  for (const Row& r : rows) {
    TEditMask m(r.mask);
    std::u32string edit = m.EditTextOf(r.value);
    EXPECT_EQ(EncodeUtf8(edit), r.edit) << r.mask << " <- " << r.value;
    EXPECT_EQ(m.ValueOf(edit), r.valueBack) << r.mask << " <- " << r.value;
  }
  EXPECT_EQ(FormatMaskText("\\(999\\)000-0000;0;_", "55512"), "(555)12 -    ");
  EXPECT_EQ(FormatMaskText("!999;0;_", "5"), "  5");
  EXPECT_EQ(FormatMaskText("", "as is"), "as is");
}

TEST(EditMask, FirstMissingRequiredPlace) {
  TEditMask m("99/00;1;_");
  EXPECT_EQ(m.FirstMissing(m.EditTextOf("  /12")), -1);
  EXPECT_EQ(m.FirstMissing(m.EditTextOf("  /1 ")), 4);
  EXPECT_EQ(m.FirstMissing(m.EmptyEditText()), 3);
}

TEST(EditMask, TypingFillsPlacesAndSkipsLiterals) {
  TEditMask m(kPhone);
  TEditText t = EmptyFor(m);
  EXPECT_FALSE(m.TypeChar(t, U'('));  // the literal at the caret is stepped over
  EXPECT_EQ(t.Caret(), 1);
  for (Char c : std::u32string(U"555123"))
    EXPECT_TRUE(m.TypeChar(t, c));
  EXPECT_EQ(EditOf(t), "(555)123-____");
  EXPECT_EQ(t.Caret(), 9);  // after the '-'
  EXPECT_FALSE(m.TypeChar(t, U'x'));
  EXPECT_EQ(EditOf(t), "(555)123-____");
  for (Char c : std::u32string(U"45678"))
    m.TypeChar(t, c);
  EXPECT_EQ(EditOf(t), "(555)123-4567");  // the eighth digit finds no place
  EXPECT_EQ(t.Caret(), 13);

  // Typing over a selection blanks it first, and undo restores the text before.
  t.Select(1, 8);
  EXPECT_TRUE(m.TypeChar(t, U'9'));
  EXPECT_EQ(EditOf(t), "(9__)___-4567");
  EXPECT_EQ(t.Caret(), 2);
  t.Undo();
  EXPECT_EQ(EditOf(t), "(555)123-4567");
}

TEST(EditMask, DeletingBlanksPlacesWithoutShifting) {
  TEditMask m(kPhone);
  struct Row {
    const char* name;
    int32_t anchor, caret;
    bool left;
    const char* edit;
    int32_t caretAfter;
  } rows[] = {
      {"backspace at end", 13, 13, true, "(555)123-456_", 12},
      {"backspace after literal", 5, 5, true, "(55_)123-4567", 3},
      {"backspace at start", 0, 0, true, "(555)123-4567", 0},
      {"delete on literal", 4, 4, false, "(555)_23-4567", 5},
      {"delete at end", 13, 13, false, "(555)123-4567", 13},
      {"selection", 2, 7, false, "(5__)__3-4567", 2},
  };
  for (const Row& r : rows) {
    TEditText t;
    t.SetText("(555)123-4567");
    t.Select(r.anchor, r.caret);
    const bool changed = r.left ? m.DeleteLeft(t) : m.DeleteRight(t);
    EXPECT_EQ(changed, String(r.edit) != "(555)123-4567") << r.name;
    EXPECT_EQ(EditOf(t), r.edit) << r.name;
    EXPECT_EQ(t.Caret(), r.caretAfter) << r.name;
  }
}

TEST(EditMask, PasteTypesFirstLineAndSkipsWhatFitsNowhere) {
  TEditMask m(kPhone);
  struct Row {
    const char* name;
    const char* paste;
    const char* edit;
  } rows[] = {
      {"digits", "5551234567", "(555)123-4567"},
      {"formatted", "(555) 123-4567", "(555)123-4567"},
      {"noise", "tel:555.123.4567", "(555)123-4567"},
      {"second line dropped", "555\n1234567", "(555)___-____"},
      {"too long", "555123456789", "(555)123-4567"},
  };
  for (const Row& r : rows) {
    TEditText t = EmptyFor(m);
    m.Paste(t, r.paste);
    EXPECT_EQ(EditOf(t), r.edit) << r.name;
  }
  // A mismatched text (not laid out for this mask) is left alone.
  TEditText other;
  other.SetText("abc");
  EXPECT_FALSE(m.Paste(other, "123"));
  EXPECT_FALSE(m.TypeChar(other, U'1'));
  EXPECT_EQ(other.Text(), "abc");
}

TEST(EditMask, RandomEditingKeepsTheLayout) {
  // Whatever is typed, pasted or deleted, the edit text keeps the mask's length and
  // literals, every place holds a blank or a character that fits it, and the caret
  // stays inside the text.
  const char* masks[] = {"!\\(999\\)000-0000;1;_", ">LL<ll-#9;0;*", "cC:aA/00;1; "};
  const std::u32string alphabet = U"aZ09+-()/: _*\u00E9\u4E2D\n";
  uint32_t seed = 12345;
  auto next = [&](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  for (const char* maskText : masks) {
    TEditMask m(maskText);
    TEditText t;
    t.SetText(EncodeUtf8(m.EmptyEditText()));
    for (int step = 0; step < 3000; ++step) {
      switch (next(6)) {
        case 0:
          m.TypeChar(t, alphabet[next(uint32_t(alphabet.size()))]);
          break;
        case 1:
          m.DeleteLeft(t);
          break;
        case 2:
          m.DeleteRight(t);
          break;
        case 3: {
          std::u32string s;
          for (uint32_t k = next(8); k > 0; --k)
            s += alphabet[next(uint32_t(alphabet.size()))];
          m.Paste(t, EncodeUtf8(s));
          break;
        }
        case 4:
          t.Select(int32_t(next(20)) - 2, int32_t(next(20)) - 2);
          break;
        default:
          t.Undo();
          break;
      }
      ASSERT_EQ(t.Length(), m.Length()) << maskText << " step " << step;
      ASSERT_LE(t.SelStart() + t.SelLength(), t.Length());
      for (int32_t pos = 0; pos < m.Length(); ++pos) {
        Char c = t.Chars()[pos];
        if (m.IsLiteral(pos)) {
          ASSERT_EQ(c, m.Cell(pos).Literal) << maskText << " step " << step;
        } else if (c != m.BlankChar()) {
          Char check = c;
          ASSERT_TRUE(m.Fits(pos, check) && check == c) << maskText << " step " << step;
        }
      }
      ASSERT_EQ(EncodeUtf8(DecodeUtf8(t.Text())), t.Text());
    }
  }
}
