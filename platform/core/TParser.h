#pragma once
// Splits a text form into tokens, keeping the line and column of each so that every
// error can say where it is. Identifiers, numbers, strings (quoted parts and #n codes
// that touch) and single-character symbols; binary data between braces is read as a
// whole by HexBytes.

#include <string>

#include "platform/core/EParserError.h"

namespace bw {

enum TTokenKind : uint8_t { toEOF, toSymbol, toIdent, toString, toInteger, toFloat };

class TParser {
 public:
  /// Text is UTF-8; a byte order mark at the start is skipped.
  explicit TParser(String Text);

  TTokenKind Token() const { return FToken; }
  /// The symbol character of a toSymbol token.
  char Symbol() const { return FSymbol; }
  /// The source text of the token (for strings, as written).
  const String& TokenString() const { return FTokenText; }
  /// The code points of a toString token. Surrogate halves written as #n codes are kept
  /// as they are: a pair may be split across the pieces of a '+'-joined string, so the
  /// caller joins them (JoinSurrogates) once it has the whole string.
  const std::u32string& StringValue() const { return FString; }
  int64_t IntegerValue() const { return FInteger; }
  /// The digits, point and exponent of a toFloat token, without its suffix: converted
  /// by the caller to the kind of number the suffix asks for.
  String FloatText() const {
    return FTokenText.substr(0, FTokenText.size() - (FFloatSuffix ? 1 : 0));
  }
  /// The letter after a float ('s', 'c', 'd'), lower case; 0 without one.
  char FloatSuffix() const { return FFloatSuffix; }
  int32_t Line() const { return FTokenLine; }
  int32_t Column() const { return FTokenColumn; }

  void NextToken();
  bool IsSymbol(char C) const { return FToken == toSymbol && FSymbol == C; }
  /// True for an identifier equal to Word, ignoring case.
  bool IsIdent(const char* Word) const;
  /// Raises unless the token is the symbol C; then moves on.
  void CheckSymbol(char C);
  /// Raises unless the token is an identifier; returns it and moves on.
  String TakeIdent();
  /// After a '{' token: reads hex digit pairs up to the closing '}', then moves on.
  String HexBytes();

  [[noreturn]] void Error(const String& Reason) const;
  [[noreturn]] void ErrorAt(const String& Reason, int32_t Line, int32_t Column) const;
  /// "'x'", "identifier Foo", "end of text": the token as an error message shows it.
  String Describe() const;

 private:
  char Peek(size_t Ahead = 0) const;
  void Advance();
  void SkipBlanks();
  void ReadNumber();
  void ReadString();

  String FText;
  size_t FPos = 0;
  int32_t FLine = 1;
  int32_t FColumn = 1;
  TTokenKind FToken = toEOF;
  char FSymbol = 0;
  String FTokenText;
  std::u32string FString;
  int64_t FInteger = 0;
  char FFloatSuffix = 0;
  int32_t FTokenLine = 1;
  int32_t FTokenColumn = 1;
};

}  // namespace bw
