#include "platform/core/TParser.h"

#include <charconv>

#include "platform/core/TextCase.h"
#include "platform/core/Unicode.h"

namespace bw {

namespace {

bool IsLetter(char C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_';
}
bool IsDigit(char C) {
  return C >= '0' && C <= '9';
}
bool IsHexDigit(char C) {
  return IsDigit(C) || (C >= 'a' && C <= 'f') || (C >= 'A' && C <= 'F');
}
int HexValue(char C) {
  if (IsDigit(C)) return C - '0';
  return (C | 0x20) - 'a' + 10;
}

}  // namespace

TParser::TParser(String Text) : FText(std::move(Text)) {
  if (FText.compare(0, 3, "\xEF\xBB\xBF") == 0) FPos = 3;
  NextToken();
}

char TParser::Peek(size_t Ahead) const {
  return FPos + Ahead < FText.size() ? FText[FPos + Ahead] : '\0';
}

void TParser::Advance() {
  const char c = FText[FPos++];
  if (c == '\n' || (c == '\r' && Peek() != '\n')) {
    ++FLine;
    FColumn = 1;
  } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
    ++FColumn;  // continuation bytes belong to the character before them
  }
}

void TParser::ErrorAt(const String& Reason, int32_t Line, int32_t Column) const {
  throw EParserError(Reason, Line, Column);
}

void TParser::Error(const String& Reason) const {
  ErrorAt(Reason, FTokenLine, FTokenColumn);
}

String TParser::Describe() const {
  switch (FToken) {
    case toEOF:
      return "end of text";
    case toSymbol:
      return String("'") + FSymbol + "'";
    case toIdent:
      return "'" + FTokenText + "'";
    case toString:
      return "string " + FTokenText.substr(0, 40);
    default:
      return "number " + FTokenText;
  }
}

bool TParser::IsIdent(const char* Word) const {
  return FToken == toIdent && SameName(FTokenText, Word);
}

void TParser::CheckSymbol(char C) {
  if (!IsSymbol(C)) Error(String("'") + C + "' expected but " + Describe() + " found");
  NextToken();
}

String TParser::TakeIdent() {
  if (FToken != toIdent) Error("Identifier expected but " + Describe() + " found");
  String s = FTokenText;
  NextToken();
  return s;
}

void TParser::SkipBlanks() {
  while (FPos < FText.size()) {
    const char c = Peek();
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      Advance();
    } else if (static_cast<unsigned char>(c) < 32 || c == 127) {
      ErrorAt("Invalid character #" + std::to_string(int(c)), FLine, FColumn);
    } else {
      break;
    }
  }
}

void TParser::NextToken() {
  SkipBlanks();
  FTokenLine = FLine;
  FTokenColumn = FColumn;
  FTokenText.clear();
  FFloatSuffix = 0;
  if (FPos >= FText.size()) {
    FToken = toEOF;
    return;
  }
  const char c = Peek();
  if (IsLetter(c)) {
    const size_t start = FPos;
    while (IsLetter(Peek()) || IsDigit(Peek()))
      Advance();
    FTokenText = FText.substr(start, FPos - start);
    FToken = toIdent;
  } else if (IsDigit(c) || c == '$' || (c == '-' && (IsDigit(Peek(1)) || Peek(1) == '$'))) {
    ReadNumber();
  } else if (c == '\'' || c == '#') {
    ReadString();
  } else if (String("=:[](){}<>,+.").find(c) != String::npos) {
    Advance();
    FToken = toSymbol;
    FSymbol = c;
    FTokenText = String(1, c);
  } else {
    String shown;
    AppendUtf8(shown, DecodeUtf8Lenient(FText.substr(FPos, 4)).front());
    Error("Invalid character '" + shown + "'");
  }
}

void TParser::ReadNumber() {
  const size_t start = FPos;
  FToken = toInteger;
  if (Peek() == '-' && Peek(1) == '$') Error("A hexadecimal number cannot have a sign");
  if (Peek() == '$') {
    Advance();
    uint64_t value = 0;
    int digits = 0;
    while (IsHexDigit(Peek())) {
      if (++digits > 16) Error("Integer out of range");
      value = (value << 4) | uint64_t(HexValue(Peek()));
      Advance();
    }
    if (digits == 0) Error("Hexadecimal digits expected after '$'");
    FInteger = static_cast<int64_t>(value);
  } else {
    if (Peek() == '-') Advance();
    while (IsDigit(Peek()))
      Advance();
    bool isFloat = false;
    if (Peek() == '.') {
      isFloat = true;
      Advance();
      while (IsDigit(Peek()))
        Advance();
    }
    if (Peek() == 'e' || Peek() == 'E') {
      isFloat = true;
      Advance();
      if (Peek() == '+' || Peek() == '-') Advance();
      if (!IsDigit(Peek())) Error("Invalid number: digits expected in the exponent");
      while (IsDigit(Peek()))
        Advance();
    }
    const String text = FText.substr(start, FPos - start);
    if (isFloat) {
      FToken = toFloat;
      const char s = static_cast<char>(Peek() | 0x20);
      if (s == 's' || s == 'c' || s == 'd') {
        FFloatSuffix = s;
        Advance();
      }
    } else {
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), FInteger);
      if (ec != std::errc() || end != text.data() + text.size()) Error("Integer out of range");
    }
  }
  if (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == '.' || Peek() == '$')
    Error("Invalid number " + FText.substr(start, FPos - start + 1));
  FTokenText = FText.substr(start, FPos - start);
}

void TParser::ReadString() {
  const size_t start = FPos;
  FToken = toString;
  std::u32string units;
  while (Peek() == '\'' || Peek() == '#') {
    if (Peek() == '\'') {
      Advance();
      String bytes;
      for (;;) {
        if (FPos >= FText.size() || Peek() == '\r' || Peek() == '\n')
          ErrorAt("Unterminated string", FLine, FColumn);
        if (Peek() == '\'') {
          if (Peek(1) != '\'') break;
          Advance();
        }
        bytes += Peek();
        Advance();
      }
      Advance();  // the closing quote
      units += DecodeUtf8Lenient(bytes);
    } else {
      const int32_t line = FLine, column = FColumn;
      Advance();
      if (!IsDigit(Peek())) ErrorAt("Decimal character code expected after '#'", FLine, FColumn);
      uint32_t code = 0;
      while (IsDigit(Peek())) {
        code = code * 10 + uint32_t(Peek() - '0');
        if (code > 0x10FFFF) ErrorAt("Character code out of range", line, column);
        Advance();
      }
      units.push_back(code);
    }
  }
  FString = std::move(units);
  FTokenText = FText.substr(start, FPos - start);
}

String TParser::HexBytes() {
  String bytes;
  for (;;) {
    while (Peek() == ' ' || Peek() == '\t' || Peek() == '\r' || Peek() == '\n')
      Advance();
    if (FPos >= FText.size()) ErrorAt("'}' expected but end of text found", FLine, FColumn);
    if (Peek() == '}') break;
    if (!IsHexDigit(Peek()) || !IsHexDigit(Peek(1))) {
      const int32_t line = FLine, column = FColumn + (IsHexDigit(Peek()) ? 1 : 0);
      ErrorAt("Invalid binary data: pairs of hexadecimal digits expected", line, column);
    }
    bytes += static_cast<char>(HexValue(Peek()) * 16 + HexValue(Peek(1)));
    Advance();
    Advance();
  }
  Advance();
  NextToken();
  return bytes;
}

}  // namespace bw
