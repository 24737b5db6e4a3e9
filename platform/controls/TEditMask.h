#pragma once
// An edit mask: the pattern that a masked edit lays its text out in. A mask has up to
// three fields separated by ';': the pattern, whether literals are kept in the value
// ('0' drops them, anything else or nothing keeps them) and the character shown in empty
// places (default '_'). Pattern characters:
//   L l   letter, required / optional        A a   letter or digit, required / optional
//   C c   any character, required / optional 0 9   digit, required / optional
//   #     digit or sign, optional            : /   time and date separators (literals)
//   _     a space (literal)                  \     the next character is a literal
//   >     following input in upper case      <     following input in lower case
//   <>    case left alone again              !     optional places are blank at the
//                                                  start of the value instead of the end
// Every other character is a literal. Positions count code points. The editing
// operations work on a TEditText whose characters are the mask's edit text.

#include <string>
#include <vector>

#include "platform/controls/TEditText.h"

namespace bw {

class TEditMask {
 public:
  enum TCellKind { mkLiteral, mkLetter, mkAlphaNum, mkAny, mkDigit, mkDigitOrSign };
  enum TCellCase { mcNone, mcUpper, mcLower };
  struct TCell {
    TCellKind Kind = mkLiteral;
    bool Required = false;
    TCellCase Case = mcNone;
    Char Literal = 0;
  };

  TEditMask() = default;
  explicit TEditMask(const String& mask);

  const String& Mask() const { return FMask; }
  /// A mask without a single place (empty, or only fields) masks nothing.
  bool IsMasked() const { return !FCells.empty(); }
  int32_t Length() const { return static_cast<int32_t>(FCells.size()); }
  const TCell& Cell(int32_t pos) const { return FCells[pos]; }
  bool IsLiteral(int32_t pos) const { return FCells[pos].Kind == mkLiteral; }
  bool SaveLiterals() const { return FSaveLiterals; }
  Char BlankChar() const { return FBlank; }
  bool LeadingBlanks() const { return FLeadingBlanks; }

  /// Converts c to the case of place pos and tells whether it may stand there.
  bool Fits(int32_t pos, Char& c) const;
  /// The first input place at or after pos, or Length() when there is none.
  int32_t NextInput(int32_t pos) const;
  /// The last input place before pos, or -1 when there is none.
  int32_t PrevInput(int32_t pos) const;

  /// The edit text of an empty value: literals, and the blank in every input place.
  std::u32string EmptyEditText() const;
  /// The edit text that shows value. With saved literals the value is read place by
  /// place (a literal of the value is skipped where the mask has the same literal);
  /// otherwise its characters fill the input places in order, skipping characters that
  /// fit no place (formatting). A space, or with saved literals a character that does not
  /// fit its place, leaves the place blank; with '!' a short value without literals is
  /// aligned to the end.
  std::u32string EditTextOf(const String& value) const;
  /// An edit text taken place by place from text: literals stay, a character that does
  /// not fit its place (or a space) leaves the place blank.
  std::u32string NormalEditText(const String& text) const;
  /// The value of an edit text: blanks become spaces; with saved literals the whole edit
  /// text, otherwise only the input places, without spaces at either end.
  String ValueOf(const std::u32string& editText) const;
  /// The characters of the input places, blanks as spaces, without spaces at either end.
  String InputsOf(const std::u32string& editText) const;
  /// The first required place that is blank, or -1 when the text is complete.
  int32_t FirstMissing(const std::u32string& editText) const;

  /// Editing an edit text held in a TEditText. Each returns false when nothing changed
  /// (a refused character also moves nothing, unless it is the literal at the caret,
  /// which steps over it).
  bool TypeChar(TEditText& text, Char c) const;
  bool DeleteLeft(TEditText& text) const;
  bool DeleteRight(TEditText& text) const;
  /// Blanks the input places of the selection; the caret goes to its start.
  bool ClearSelection(TEditText& text) const;
  /// Types the first line of value from the caret on, after blanking the selection.
  /// Characters that fit no place are skipped.
  bool Paste(TEditText& text, const String& value) const;

 private:
  String FMask;
  std::vector<TCell> FCells;
  bool FSaveLiterals = true;
  Char FBlank = '_';
  bool FLeadingBlanks = false;

  /// Blanks the input places from start to end and puts the caret at start.
  bool BlankRange(TEditText& text, int32_t start, int32_t end) const;
  String Collect(const std::u32string& editText, bool literals) const;
  std::u32string Blanked(const std::u32string& chars, int32_t start, int32_t end) const;
};

/// The text a mask shows for value, with spaces in the empty places.
String FormatMaskText(const String& EditMask, const String& Value);

}  // namespace bw
