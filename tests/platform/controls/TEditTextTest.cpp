#include "platform/controls/TEditText.h"

#include <gtest/gtest.h>

#include "platform/controls/EditChars.h"

using namespace bw;

namespace {

// "héllo wörld" with two-byte letters: positions count characters, not bytes.
const String kHello = "h\xC3\xA9llo w\xC3\xB6rld";

TEditText Make(const String& text, int32_t anchor, int32_t caret) {
  TEditText t;
  t.SetText(text);
  t.Select(anchor, caret);
  return t;
}

}  // namespace

TEST(EditChars, DecodeReplacesMalformedBytesSoTextEncodesBack) {
  struct Row {
    const char* name;
    String in;
    std::u32string out;
  } rows[] = {
      {"ascii", "ab", U"ab"},
      {"two bytes", "\xC3\xA9", U"\u00E9"},
      {"four bytes", "\xF0\x9F\x98\x80", U"\U0001F600"},
      {"stray continuation", "a\x80z", U"a\uFFFDz"},
      {"truncated at end", "a\xE2\x82", U"a\uFFFD\uFFFD"},
      {"overlong slash", "\xC0\xAF", U"\uFFFD\uFFFD"},
      {"surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(DecodeUtf8(r.in), r.out) << r.name;
    EXPECT_EQ(DecodeUtf8(EncodeUtf8(r.out)), r.out) << r.name;
  }
  EXPECT_EQ(CharToUtf8(Char{0xD800}), "\xEF\xBF\xBD");
}

TEST(EditChars, CaseAndClasses) {
  EXPECT_EQ(UpperCaseChar(U'i'), U'I');
  EXPECT_EQ(UpperCaseChar(U'\u00E9'), U'\u00C9');
  EXPECT_EQ(UpperCaseChar(U'\u03C2'), U'\u03A3');  // final sigma
  EXPECT_EQ(UpperCaseChar(U'\u0436'), U'\u0416');
  EXPECT_EQ(UpperCaseChar(U'7'), U'7');
  EXPECT_TRUE(IsLetterChar(U'\u00E9'));
  EXPECT_TRUE(IsLetterChar(U'\u4E2D'));
  EXPECT_FALSE(IsLetterChar(U'\u00D7'));
  EXPECT_EQ(CharClassOf(U'_'), ccWord);
  EXPECT_EQ(CharClassOf(U'\u00A0'), ccSpace);
  EXPECT_EQ(CharClassOf(U'\u2014'), ccPunctuation);
}

TEST(EditText, SetTextSanitisesAndResetsCaretAndUndo) {
  TEditText t;
  t.SetText("abc");
  t.SelectAll();
  t.TypeChar(U'x');
  ASSERT_TRUE(t.CanUndo());
  t.SetText(String("ab\0cd", 5));
  EXPECT_EQ(t.Text(), "ab");
  EXPECT_EQ(t.Caret(), 0);
  EXPECT_FALSE(t.CanUndo());
  t.SetText("a\xFF");
  EXPECT_EQ(t.Text(), "a\xEF\xBF\xBD");
  EXPECT_EQ(t.Length(), 2);
}

TEST(EditText, SelectionIsClampedAndCountsCharacters) {
  TEditText t = Make(kHello, 0, 0);
  EXPECT_EQ(t.Length(), 11);
  t.SetSelStart(1);
  t.SetSelLength(4);
  EXPECT_EQ(t.SelText(), "\xC3\xA9llo");
  t.Select(20, -5);
  EXPECT_EQ(t.Anchor(), 11);
  EXPECT_EQ(t.Caret(), 0);
  EXPECT_EQ(t.SelStart(), 0);
  EXPECT_EQ(t.SelLength(), 11);
  t.SetSelStart(3);
  t.SetSelLength(-2);
  EXPECT_EQ(t.SelLength(), 0);
  t.MoveCaret(5, true);
  t.MoveCaret(1, true);
  EXPECT_EQ(t.SelStart(), 1);
  EXPECT_EQ(t.SelLength(), 2);
}

TEST(EditText, ReplaceSelectionKeepsFirstLineAndDropsControls) {
  struct Row {
    const char* name;
    String paste;
    String result;
  } rows[] = {
      {"plain", "XY", "aXYd"},           {"lf", "one\ntwo", "aoned"},
      {"crlf", "one\r\ntwo", "aoned"},   {"lone cr", "one\rtwo", "aoned"},
      {"tab dropped", "o\tne", "aoned"}, {"zero ends", String("on\0e", 4), "aond"},
  };
  for (const Row& r : rows) {
    TEditText t = Make("abcd", 1, 3);
    EXPECT_TRUE(t.ReplaceSelection(r.paste)) << r.name;
    EXPECT_EQ(t.Text(), r.result) << r.name;
  }
  TEditText t = Make("abcd", 1, 3);
  EXPECT_FALSE(t.ReplaceSelection("\nsecond line"));
  EXPECT_EQ(t.Text(), "abcd");
  EXPECT_EQ(t.SelLength(), 2);
}

TEST(EditText, MaxLengthCutsPasteAndRefusesTyping) {
  TEditText t;
  t.SetMaxLength(5);
  t.SetText("abc");
  t.SetSelStart(3);
  EXPECT_TRUE(t.ReplaceSelection("\xC3\xA9\xC3\xA9\xC3\xA9"));
  EXPECT_EQ(t.Text(), "abc\xC3\xA9\xC3\xA9");  // cut on a character, not a byte
  EXPECT_EQ(t.Caret(), 5);
  EXPECT_FALSE(t.TypeChar(U'z'));
  EXPECT_FALSE(t.ReplaceSelection("z"));
  t.Select(0, 2);  // a selection makes room for what replaces it
  EXPECT_TRUE(t.ReplaceSelection("WXYZ"));
  EXPECT_EQ(t.Text(), "WXc\xC3\xA9\xC3\xA9");
  // Text set by code is not cut, but nothing more can be entered.
  t.SetText("123456789");
  t.SetSelStart(9);
  EXPECT_FALSE(t.TypeChar(U'0'));
  EXPECT_EQ(t.Length(), 9);
}

TEST(EditText, CharCaseConvertsTypedSetAndExistingText) {
  TEditText t;
  t.SetText("Mixed \xC3\xA9");
  t.SetCharCase(ecUpperCase);
  EXPECT_EQ(t.Text(), "MIXED \xC3\x89");
  t.SetSelStart(t.Length());
  t.TypeChar(U'q');
  t.ReplaceSelection("r\xD0\xB6");
  EXPECT_EQ(t.Text(), "MIXED \xC3\x89QR\xD0\x96");
  t.SetCharCase(ecLowerCase);
  t.SetText("ABC");
  EXPECT_EQ(t.Text(), "abc");
}

TEST(EditText, DeletingCharactersAndWords) {
  struct Row {
    const char* name;
    int32_t anchor, caret;
    bool left, word;
    String result;
    int32_t caretAfter;
  } rows[] = {
      {"backspace", 3, 3, true, false, "h\xC3\xA9lo w\xC3\xB6rld", 2},
      {"backspace at start", 0, 0, true, false, kHello, 0},
      {"delete", 1, 1, false, false, "hllo w\xC3\xB6rld", 1},
      {"delete at end", 11, 11, false, false, kHello, 11},
      {"selection", 1, 7, true, false, "h\xC3\xB6rld", 1},
      {"word left", 9, 9, true, true, "h\xC3\xA9llo ld", 6},
      {"word left over space", 6, 6, true, true, "w\xC3\xB6rld", 0},
      {"word right", 0, 0, false, true, "w\xC3\xB6rld", 0},
  };
  for (const Row& r : rows) {
    TEditText t = Make(kHello, r.anchor, r.caret);
    bool changed = r.left ? t.DeleteLeft(r.word) : t.DeleteRight(r.word);
    EXPECT_EQ(changed, r.result != kHello) << r.name;
    EXPECT_EQ(t.Text(), r.result) << r.name;
    EXPECT_EQ(t.Caret(), r.caretAfter) << r.name;
  }
}

TEST(EditText, WordMovementAndWordSelection) {
  TEditText t;
  t.SetText("one, two  three");
  EXPECT_EQ(t.WordRight(0), 3);   // to the comma
  EXPECT_EQ(t.WordRight(3), 5);   // comma and space
  EXPECT_EQ(t.WordRight(5), 10);  // word and both spaces
  EXPECT_EQ(t.WordRight(15), 15);
  EXPECT_EQ(t.WordLeft(15), 10);
  EXPECT_EQ(t.WordLeft(10), 5);
  EXPECT_EQ(t.WordLeft(5), 3);
  EXPECT_EQ(t.WordLeft(0), 0);

  struct Row {
    int32_t pos;
    const char* selected;
  } rows[] = {{0, "one"}, {2, "one"}, {3, ","}, {4, " "}, {6, "two"}, {8, "  "}, {15, "three"}};
  for (const Row& r : rows) {
    t.SelectWordAt(r.pos);
    EXPECT_EQ(t.SelText(), r.selected) << r.pos;
    EXPECT_EQ(t.Caret(), t.SelStart() + t.SelLength()) << r.pos;
  }
  TEditText empty;
  empty.SelectWordAt(3);
  EXPECT_EQ(empty.SelLength(), 0);
}

TEST(EditText, UndoRevertsLastChangeAndTypingRunsAsOne) {
  TEditText t = Make("abc", 3, 3);
  EXPECT_FALSE(t.CanUndo());
  t.TypeChar(U'd');
  t.TypeChar(U'e');
  t.TypeChar(U'f');
  EXPECT_TRUE(t.Undo());
  EXPECT_EQ(t.Text(), "abc");
  EXPECT_EQ(t.Caret(), 3);
  EXPECT_TRUE(t.Undo());  // a second undo redoes
  EXPECT_EQ(t.Text(), "abcdef");
  EXPECT_EQ(t.Caret(), 6);

  // Moving the caret ends a run; the paste's undo brings back the replaced selection.
  t.MoveCaret(0, false);
  t.TypeChar(U'X');
  t.Select(1, 4);
  t.ReplaceSelection("--");
  EXPECT_EQ(t.Text(), "X--def");
  t.Undo();
  EXPECT_EQ(t.Text(), "Xabcdef");
  EXPECT_EQ(t.SelText(), "abc");

  t.DeleteLeft();
  t.Undo();
  EXPECT_EQ(t.Text(), "Xabcdef");
}

TEST(EditText, RandomEditingKeepsLimitsAndCharacters) {
  // Typed and pasted text never passes MaxLength, never holds a line break or control
  // character, and the caret and anchor stay inside the text.
  const std::u32string alphabet = U"ab \t\r\n\u00E9\u0436\U0001F600.";
  uint32_t seed = 777;
  auto next = [&](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  TEditText t;
  t.SetMaxLength(12);
  t.SetCharCase(ecUpperCase);
  for (int step = 0; step < 5000; ++step) {
    switch (next(7)) {
      case 0:
        t.TypeChar(alphabet[next(uint32_t(alphabet.size()))]);
        break;
      case 1: {
        std::u32string s;
        for (uint32_t k = next(10); k > 0; --k)
          s += alphabet[next(uint32_t(alphabet.size()))];
        t.ReplaceSelection(EncodeUtf8(s));
        break;
      }
      case 2:
        t.DeleteLeft(next(2) == 0);
        break;
      case 3:
        t.DeleteRight(next(2) == 0);
        break;
      case 4:
        t.MoveCaret(int32_t(next(16)) - 2, next(2) == 0);
        break;
      case 5:
        t.SelectWordAt(int32_t(next(16)));
        break;
      default:
        t.Undo();
        break;
    }
    ASSERT_LE(t.Length(), 12) << step;
    ASSERT_GE(t.Anchor(), 0);
    ASSERT_LE(t.Anchor(), t.Length());
    ASSERT_LE(t.Caret(), t.Length());
    for (Char c : t.Chars()) {
      ASSERT_GE(c, Char{0x20}) << step;
      ASSERT_EQ(c, UpperCaseChar(c)) << step;
    }
    ASSERT_EQ(DecodeUtf8(t.Text()), t.Chars());
  }
}
