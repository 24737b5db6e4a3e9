// Text to binary: a recursive descent over TParser's tokens, writing through TWriter.
// Binary to text: TReader's value reading, laid out as classic form files are: two
// spaces a level, ')' '}' '>' right after the last item, floats in fixed point with 18
// decimals, long strings in 64-character pieces joined by " +", characters outside
// 32..126 as #n codes.

#include "platform/core/FormConversion.h"

#include <charconv>
#include <cmath>

#include "platform/core/Exception.h"
#include "platform/core/TComponent.h"
#include "platform/core/TDecimalNumber.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TParser.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"
#include "platform/core/TextCompare.h"
#include "platform/core/Unicode.h"

namespace bw {

namespace {

constexpr size_t kStringPiece = 64;
constexpr int kBytesPerLine = 32;

String ReadAll(TStream* Input) {
  String text;
  char buf[65536];
  for (;;) {
    const int32_t n = Input->Read(buf, sizeof buf);
    if (n <= 0) break;
    text.append(buf, size_t(n));
  }
  return text;
}

void Flush(TStream* Output, const String& Bytes) {
  size_t done = 0;
  while (done < Bytes.size()) {
    const auto n = static_cast<int32_t>(std::min<size_t>(Bytes.size() - done, 1 << 30));
    Output->WriteBuffer(Bytes.data() + done, n);
    done += size_t(n);
  }
}

bool IsIdentPath(const String& S) {
  size_t start = 0;
  for (;;) {
    const size_t dot = S.find('.', start);
    if (!IsValidIdent(S.substr(start, dot == String::npos ? String::npos : dot - start)))
      return false;
    if (dot == String::npos) return true;
    start = dot + 1;
  }
}

/// Whether the text form would take Path, where a property name goes, for a keyword: one
/// that starts or ends a component or, in a collection item (InItem), ends the item.
bool ReadsAsKeyword(const String& Path, bool InItem) {
  const String first = Path.substr(0, Path.find('.'));
  if (InItem) return SameText(first, "end");
  for (const char* keyword : {"object", "inherited", "inline", "end"})
    if (SameText(first, keyword)) return true;
  return false;
}

// ---------------------------------------------------------------- text to binary

class TTextToBinary {
 public:
  TTextToBinary(String Text, TStream* Output, std::vector<TTextPosition>* Positions)
      : FParser(std::move(Text)), FWriter(Output), FOutput(Output), FPositions(Positions) {
    FBase = Output->Position();
  }

  void Run() {
    FWriter.WriteSignature();
    ParseObject();
    // Text after the final "end" is not part of the form.
  }

 private:
  struct TDepth {
    explicit TDepth(TTextToBinary& T) : FT(T) {
      if (++FT.FDepth > kMaxFilerNesting) FT.FParser.Error("Nesting too deep");
    }
    ~TDepth() { --FT.FDepth; }
    TTextToBinary& FT;
  };

  bool AtObjectKeyword() const {
    return FParser.IsIdent("object") || FParser.IsIdent("inherited") || FParser.IsIdent("inline");
  }

  void Mark() {
    if (FPositions)
      FPositions->push_back({FOutput->Position() - FBase, FParser.Line(), FParser.Column()});
  }

  void WriteName(const String& Name, int32_t Line, int32_t Column) {
    if (Name.size() > 255) FParser.ErrorAt("Name longer than 255 characters", Line, Column);
    FWriter.WriteStr(Name);
  }

  void ParseObject() {
    TDepth depth(*this);
    uint8_t flags = 0;
    if (FParser.IsIdent("inherited"))
      flags = ffInherited;
    else if (FParser.IsIdent("inline"))
      flags = ffInline;
    else if (!FParser.IsIdent("object"))
      FParser.Error("'object' expected but " + FParser.Describe() + " found");
    Mark();
    FParser.NextToken();
    const int32_t line = FParser.Line(), column = FParser.Column();
    String name = FParser.TakeIdent();
    String className;
    if (FParser.IsSymbol(':')) {
      FParser.NextToken();
      className = FParser.TakeIdent();
    } else {
      className = std::move(name);
      name.clear();
    }
    int32_t childPos = 0;
    if (FParser.IsSymbol('[')) {
      FParser.NextToken();
      if (FParser.Token() != toInteger || FParser.IntegerValue() < INT32_MIN ||
          FParser.IntegerValue() > INT32_MAX)
        FParser.Error("Integer expected but " + FParser.Describe() + " found");
      childPos = static_cast<int32_t>(FParser.IntegerValue());
      flags |= ffChildPos;
      FParser.NextToken();
      FParser.CheckSymbol(']');
    }
    if (className.size() > 255 || name.size() > 255)
      FParser.ErrorAt("Name longer than 255 characters", line, column);
    FWriter.WriteHeader(flags, childPos, className, name);
    while (FParser.Token() == toIdent && !AtObjectKeyword() && !FParser.IsIdent("end"))
      ParseProperty();
    FWriter.WriteListEnd();
    while (AtObjectKeyword())
      ParseObject();
    FWriter.WriteListEnd();
    if (!FParser.IsIdent("end"))
      FParser.Error("'end' expected but " + FParser.Describe() + " found");
    FParser.NextToken();
  }

  String DottedName() {
    String name = FParser.TakeIdent();
    while (FParser.IsSymbol('.')) {
      FParser.NextToken();
      name += '.';
      name += FParser.TakeIdent();
    }
    return name;
  }

  void ParseProperty() {
    Mark();
    const int32_t line = FParser.Line(), column = FParser.Column();
    WriteName(DottedName(), line, column);
    FParser.CheckSymbol('=');
    ParseValue();
  }

  void ParseValue() {
    TDepth depth(*this);
    const int32_t line = FParser.Line(), column = FParser.Column();
    switch (FParser.Token()) {
      case toInteger:
        FWriter.WriteInteger(FParser.IntegerValue());
        FParser.NextToken();
        return;
      case toFloat:
        WriteFloat();
        FParser.NextToken();
        return;
      case toString: {
        std::u32string s = FParser.StringValue();
        FParser.NextToken();
        while (FParser.IsSymbol('+')) {
          FParser.NextToken();
          if (FParser.Token() != toString)
            FParser.Error("String expected after '+' but " + FParser.Describe() + " found");
          s += FParser.StringValue();
          FParser.NextToken();
        }
        FWriter.WriteString(EncodeUtf8(JoinSurrogates(s)));
        return;
      }
      case toIdent: {
        const String ident = DottedName();
        if (SameIdent(ident, "True"))
          FWriter.WriteBoolean(true);
        else if (SameIdent(ident, "False"))
          FWriter.WriteBoolean(false);
        else if (SameIdent(ident, "nil"))
          FWriter.WriteValue(vaNil);
        else {
          FWriter.WriteValue(vaIdent);
          WriteName(ident, line, column);
        }
        return;
      }
      case toSymbol:
        break;
      case toEOF:
        FParser.Error("Value expected but end of text found");
    }
    switch (FParser.Symbol()) {
      case '[': {
        FParser.NextToken();
        FWriter.WriteValue(vaSet);
        if (!FParser.IsSymbol(']')) {
          for (;;) {
            const int32_t l = FParser.Line(), c = FParser.Column();
            WriteName(FParser.TakeIdent(), l, c);
            if (!FParser.IsSymbol(',')) break;
            FParser.NextToken();
          }
        }
        FWriter.WriteStr(String());
        FParser.CheckSymbol(']');
        return;
      }
      case '(':
        FParser.NextToken();
        FWriter.WriteListBegin();
        while (!FParser.IsSymbol(')'))
          ParseValue();
        FParser.NextToken();
        FWriter.WriteListEnd();
        return;
      case '<':
        FParser.NextToken();
        FWriter.WriteValue(vaCollection);
        while (FParser.IsIdent("item")) {
          FParser.NextToken();
          FWriter.WriteListBegin();
          while (FParser.Token() == toIdent && !FParser.IsIdent("end"))
            ParseProperty();
          if (!FParser.IsIdent("end"))
            FParser.Error("'end' expected but " + FParser.Describe() + " found");
          FParser.NextToken();
          FWriter.WriteListEnd();
        }
        FParser.CheckSymbol('>');
        FWriter.WriteListEnd();
        return;
      case '{': {
        const String bytes = FParser.HexBytes();
        FWriter.WriteBinary(bytes.data(), int64_t(bytes.size()));
        return;
      }
      default:
        FParser.Error("Value expected but " + FParser.Describe() + " found");
    }
  }

  // Each kind of number is read from the literal itself, so nothing is lost to a
  // conversion through another kind first.
  void WriteFloat() {
    const String text = FParser.FloatText();
    const char* first = text.data();
    const char* last = first + text.size();
    switch (FParser.FloatSuffix()) {
      case 's': {
        float v;
        if (std::from_chars(first, last, v).ec != std::errc()) OutOfRange(text);
        FWriter.WriteSingle(v);
        return;
      }
      case 'd': {
        double v;
        if (std::from_chars(first, last, v).ec != std::errc()) OutOfRange(text);
        FWriter.WriteDate(v);
        return;
      }
      default:
        break;
    }
    TDecimalNumber number;
    if (!TDecimalNumber::Scan(text, number)) FParser.Error("Invalid number " + text);
    if (FParser.FloatSuffix() == 'c') {
      int64_t raw;
      if (!number.ToCurrency(raw)) FParser.Error("Currency value out of range");
      FWriter.WriteCurrency(raw);
      return;
    }
    uint8_t extended[10];
    if (!number.ToExtended(extended)) OutOfRange(text);
    FWriter.WriteExtended(extended);
  }

  [[noreturn]] void OutOfRange(const String& Text) { FParser.Error("Number out of range " + Text); }

  static bool SameIdent(const String& A, const char* B) {
    if (A.size() != std::char_traits<char>::length(B)) return false;
    for (size_t i = 0; i < A.size(); ++i)
      if ((A[i] | 0x20) != (B[i] | 0x20)) return false;
    return true;
  }

  TParser FParser;
  TWriter FWriter;
  TStream* FOutput;
  std::vector<TTextPosition>* FPositions;
  int64_t FBase = 0;
  int FDepth = 0;
};

// ---------------------------------------------------------------- binary to text

[[noreturn]] void NotFinite() {
  throw EReadError("A float that is not a finite number has no text form");
}

// The shortest digits that read back to the same 80 bits: in fixed point with at least
// 18 decimals from 1E-4 up to 1E18, where fixed point neither loses the digits of very
// small values nor bloats huge ones, else as d.dddE+nn.
String FormatExtended(const uint8_t Extended[10]) {
  TDecimalNumber n;
  if (!TDecimalNumber::FromExtended(Extended, n)) NotFinite();
  String out = n.Negative ? "-" : "";
  const auto count = int64_t(n.Digits.size());
  const int64_t lead = count + n.Exponent;  // digits before the point
  if (n.Digits.empty() || (lead >= -3 && lead <= 18)) {
    if (lead <= 0 || n.Digits.empty()) {
      out += "0.";
      out.append(size_t(n.Digits.empty() ? 0 : -lead), '0');
      out += n.Digits;
    } else if (n.Exponent >= 0) {
      out += n.Digits;
      out.append(size_t(n.Exponent), '0');
      out += '.';
    } else {
      out += n.Digits.substr(0, size_t(lead));
      out += '.';
      out += n.Digits.substr(size_t(lead));
    }
    const size_t decimals = out.size() - out.find('.') - 1;
    if (decimals < 18) out.append(18 - decimals, '0');
    return out;
  }
  out += n.Digits[0];
  if (count > 1) out += '.' + n.Digits.substr(1);
  const int64_t exponent = lead - 1;
  out += exponent < 0 ? "E-" : "E+";
  const String digits = std::to_string(exponent < 0 ? -exponent : exponent);
  if (digits.size() < 2) out += '0';
  return out + digits;
}

String FormatShortest(double V) {
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, V);
  String s(buf, r.ptr);
  for (char& c : s)
    if (c == 'e') c = 'E';
  if (s.find_first_of(".E") == String::npos) s += ".0";
  return s;
}

String FormatCurrency(int64_t Raw) {
  const bool negative = Raw < 0;
  const uint64_t u = negative ? 0 - uint64_t(Raw) : uint64_t(Raw);
  String frac = std::to_string(u % 10000);
  frac.insert(0, 4 - frac.size(), '0');
  String out = negative ? "-" : "";
  out += std::to_string(u / 10000);
  out += '.';
  out += frac;
  return out;
}

// One piece of a string: printable ASCII quoted, everything else as #n codes.
String QuotePiece(std::u32string_view S) {
  String out;
  bool quoted = false;
  for (Char c : S) {
    if (c >= 32 && c <= 126) {
      if (!quoted) out += '\'';
      quoted = true;
      if (c == '\'') out += '\'';
      out += static_cast<char>(c);
      continue;
    }
    if (quoted) out += '\'';
    quoted = false;
    if (c > 0xFFFF) {
      // As UTF-16 units, the way other readers of the format expect them.
      const Char v = c - 0x10000;
      out += '#';
      out += std::to_string(0xD800 + (v >> 10));
      out += '#';
      out += std::to_string(0xDC00 + (v & 0x3FF));
    } else {
      out += '#';
      out += std::to_string(c);
    }
  }
  if (quoted) out += '\'';
  return out.empty() ? "''" : out;
}

class TBinaryToText {
 public:
  explicit TBinaryToText(TStream* Input) : FReader(Input) {}

  String Run() {
    FReader.ReadSignature();
    WriteObject(0);
    return std::move(FOut);
  }

 private:
  struct TDepth {
    explicit TDepth(TBinaryToText& T) : FT(T) {
      if (++FT.FDepth > kMaxFilerNesting)
        throw EReadError("Values or components are nested too deeply");
    }
    ~TDepth() { --FT.FDepth; }
    TBinaryToText& FT;
  };

  void NewLine(int Indent) {
    FOut += '\n';
    FOut.append(size_t(Indent), ' ');
  }

  void WriteObject(int Indent) {
    TDepth depth(*this);
    uint8_t flags;
    int32_t childPos;
    FReader.ReadPrefix(flags, childPos);
    const String className = FReader.ReadStr();
    const String name = FReader.ReadStr();
    if (!IsValidIdent(className) || (!name.empty() && !IsValidIdent(name)))
      throw EReadError("Invalid component header: class \"" + className + "\", name \"" + name +
                       "\"");
    FOut.append(size_t(Indent), ' ');
    FOut += (flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ";
    FOut += name.empty() ? className : name + ": " + className;
    if (flags & ffChildPos) {
      FOut += '[';
      FOut += std::to_string(childPos);
      FOut += ']';
    }
    FOut += '\n';
    while (!FReader.EndOfList())
      WriteProperty(Indent + 2);
    FReader.ReadListEnd();
    while (!FReader.EndOfList())
      WriteObject(Indent + 2);
    FReader.ReadListEnd();
    FOut.append(size_t(Indent), ' ');
    FOut += "end\n";
  }

  void WriteProperty(int Indent) {
    const String name = FReader.ReadStr();
    if (!IsIdentPath(name)) {
      // Several bare values after one property name read as a garbled next name.
      throw EReadError(
          "Cannot write the form as text: " +
          (FLastProperty.empty() ? String("a property") : "property " + FLastProperty) +
          " is followed by data that is not a property (a defined property that stores "
          "several values has no text form)");
    }
    CheckPropertyName(name, false);
    FLastProperty = name;
    FOut.append(size_t(Indent), ' ');
    FOut += name + " = ";
    WriteValue(Indent, true);
    FOut += '\n';
  }

  void WriteString(const String& Utf8, int Indent, bool AfterEquals) {
    const std::u32string s = DecodeUtf8Lenient(Utf8);
    if (s.size() <= kStringPiece) {
      FOut += QuotePiece(s);
      return;
    }
    // A long string starts on the next line after "Name = ", its pieces one a line.
    const int pieceIndent = AfterEquals ? Indent + 2 : Indent;
    for (size_t i = 0; i < s.size(); i += kStringPiece) {
      if (i > 0) FOut += " +";
      if (i > 0 || AfterEquals) NewLine(pieceIndent);
      FOut += QuotePiece(std::u32string_view(s).substr(i, kStringPiece));
    }
  }

  static void CheckPropertyName(const String& Name, bool InItem) {
    if (ReadsAsKeyword(Name, InItem))
      throw EReadError("Cannot write the form as text: the property name \"" + Name +
                       "\" would read back as a keyword");
  }

  void CheckIdent(const String& Ident) {
    if (!IsIdentPath(Ident))
      throw EReadError("Invalid identifier \"" + Ident + "\" in property " + FLastProperty);
  }

  // Indent is that of the line the value starts on; AfterEquals when it follows "Name = ".
  void WriteValue(int Indent, bool AfterEquals) {
    TDepth depth(*this);
    const TValueType v = FReader.NextValue();
    switch (v) {
      case vaList: {
        FReader.ReadListBegin();
        FOut += '(';
        while (!FReader.EndOfList()) {
          NewLine(Indent + 2);
          WriteValue(Indent + 2, false);
        }
        FReader.ReadListEnd();
        FOut += ')';
        return;
      }
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
      case vaQWord:
        FOut += std::to_string(FReader.ReadInt64());
        return;
      case vaExtended: {
        uint8_t extended[10];
        FReader.ReadExtended(extended);
        FOut += FormatExtended(extended);
        return;
      }
      case vaSingle: {
        const auto f = static_cast<float>(FReader.ReadFloat());
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, f);
        String s(buf, r.ptr);
        if (!std::isfinite(f)) NotFinite();
        for (char& c : s)
          if (c == 'e') c = 'E';
        if (s.find_first_of(".E") == String::npos) s += ".0";
        FOut += s + "s";
        return;
      }
      case vaDate: {
        const double d = FReader.ReadFloat();
        if (!std::isfinite(d)) NotFinite();
        FOut += FormatShortest(d) + "d";
        return;
      }
      case vaCurrency: {
        FReader.ReadValue();
        uint8_t raw[8];
        FReader.Read(raw, 8);
        int64_t value = 0;
        for (int i = 7; i >= 0; --i)
          value = (value << 8) | raw[i];
        FOut += FormatCurrency(value) + "c";
        return;
      }
      case vaString:
      case vaLString:
      case vaWString:
      case vaUTF8String:
      case vaUString:
        WriteString(FReader.ReadString(), Indent, AfterEquals);
        return;
      case vaIdent: {
        const String ident = FReader.ReadIdent();
        CheckIdent(ident);
        if (SameText(ident, "True") || SameText(ident, "False") || SameText(ident, "nil"))
          throw EReadError("Cannot write the form as text: the identifier " + ident +
                           " in property " + FLastProperty + " would read back as a value");
        FOut += ident;
        return;
      }
      case vaFalse:
      case vaTrue:
      case vaNil:
        FOut += FReader.ReadIdent();
        return;
      case vaSet: {
        FOut += '[';
        bool first = true;
        for (const String& n : FReader.ReadSet()) {
          // Elements are plain names in text: no dotted paths.
          if (!IsValidIdent(n))
            throw EReadError("Invalid set element \"" + n + "\" in property " + FLastProperty);
          if (!first) FOut += ", ";
          first = false;
          FOut += n;
        }
        FOut += ']';
        return;
      }
      case vaBinary: {
        const String bytes = FReader.ReadBinary();
        static constexpr char kHex[] = "0123456789ABCDEF";
        FOut += '{';
        for (size_t i = 0; i < bytes.size(); ++i) {
          if (i % kBytesPerLine == 0) NewLine(Indent + 2);
          const auto b = static_cast<unsigned char>(bytes[i]);
          FOut += kHex[b >> 4];
          FOut += kHex[b & 15];
        }
        FOut += '}';
        return;
      }
      case vaCollection: {
        FReader.ReadValue();
        FOut += '<';

        while (!FReader.EndOfList()) {
          if (FReader.NextValue() != vaList)
            throw EReadError("Collection items with order numbers have no text form");
          FReader.ReadListBegin();
          NewLine(Indent + 2);
          FOut += "item";
          while (!FReader.EndOfList()) {
            NewLine(Indent + 4);
            const String name = FReader.ReadStr();
            if (!IsIdentPath(name)) throw EReadError("Invalid property name in a collection item");
            CheckPropertyName(name, true);
            FOut += name + " = ";
            WriteValue(Indent + 4, true);
          }
          FReader.ReadListEnd();
          NewLine(Indent + 2);
          FOut += "end";
        }
        FReader.ReadListEnd();
        FOut += '>';
        return;
      }
      case vaNull:
        throw EReadError("Property " + FLastProperty + " has no value");
    }
  }

  TReader FReader;
  String FOut;
  String FLastProperty;
  int FDepth = 0;
};

}  // namespace

void ObjectTextToBinary(TStream* Input, TStream* Output, std::vector<TTextPosition>* Positions) {
  TMemoryStream binary;
  TTextToBinary(ReadAll(Input), &binary, Positions).Run();
  Flush(Output, String(static_cast<const char*>(binary.Memory()), size_t(binary.Size())));
}

void ObjectBinaryToText(TStream* Input, TStream* Output) {
  Flush(Output, TBinaryToText(Input).Run());
}

String ObjectTextToBinary(const String& Text) {
  TMemoryStream in, out;
  Flush(&in, Text);
  in.SetPosition(0);
  ObjectTextToBinary(&in, &out);
  return String(static_cast<const char*>(out.Memory()), size_t(out.Size()));
}

String ObjectBinaryToText(const String& Binary) {
  TMemoryStream in, out;
  Flush(&in, Binary);
  in.SetPosition(0);
  ObjectBinaryToText(&in, &out);
  return String(static_cast<const char*>(out.Memory()), size_t(out.Size()));
}

}  // namespace bw
