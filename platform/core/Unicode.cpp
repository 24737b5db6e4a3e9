#include "platform/core/Unicode.h"

namespace bw {

namespace {

constexpr Char kReplacement = 0xFFFD;

bool IsSurrogate(uint32_t C) {
  return C >= 0xD800 && C <= 0xDFFF;
}

// Length of the well-formed UTF-8 sequence at S[i], or 0 when it is not one.
size_t SequenceAt(const String& S, size_t i, Char& Out) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(S[k]); };
  const unsigned char lead = b(i);
  if (lead < 0x80) {
    Out = lead;
    return 1;
  }
  size_t len;
  Char c;
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4;
    c = lead & 0x07;
  } else {
    return 0;
  }
  if (i + len > S.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not well-formed.
  static constexpr Char kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[len] || c > 0x10FFFF || IsSurrogate(c)) return 0;
  Out = c;
  return len;
}

}  // namespace

std::u32string DecodeUtf8Lenient(const String& S) {
  std::u32string out;
  out.reserve(S.size());
  for (size_t i = 0; i < S.size();) {
    Char c;
    size_t n = SequenceAt(S, i, c);
    if (n == 0) {
      out.push_back(static_cast<unsigned char>(S[i]));
      ++i;
    } else {
      out.push_back(c);
      i += n;
    }
  }
  return out;
}

bool IsAscii(const String& S) {
  for (unsigned char c : S)
    if (c >= 0x80) return false;
  return true;
}

void AppendUtf8(String& Out, Char C) {
  if (C > 0x10FFFF || IsSurrogate(C)) C = kReplacement;
  if (C < 0x80) {
    Out += static_cast<char>(C);
  } else if (C < 0x800) {
    Out += static_cast<char>(0xC0 | (C >> 6));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    Out += static_cast<char>(0xE0 | (C >> 12));
    Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (C >> 18));
    Out += static_cast<char>(0x80 | ((C >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((C >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  }
}

String EncodeUtf8(const std::u32string& S) {
  String out;
  out.reserve(S.size());
  for (Char c : S)
    AppendUtf8(out, c);
  return out;
}

std::u16string ToUtf16(const std::u32string& S) {
  std::u16string out;
  out.reserve(S.size());
  for (Char c : S) {
    if (c > 0x10FFFF || IsSurrogate(c)) c = kReplacement;
    if (c < 0x10000) {
      out.push_back(static_cast<char16_t>(c));
    } else {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
  }
  return out;
}

std::u32string FromUtf16(const std::u16string& S) {
  return JoinSurrogates(std::u32string(S.begin(), S.end()));
}

std::u32string JoinSurrogates(const std::u32string& S) {
  std::u32string out;
  out.reserve(S.size());
  for (size_t i = 0; i < S.size(); ++i) {
    Char c = S[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < S.size() && S[i + 1] >= 0xDC00 &&
        S[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (S[i + 1] - 0xDC00);
      ++i;
    } else if (IsSurrogate(c)) {
      c = kReplacement;
    }
    out.push_back(c);
  }
  return out;
}

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}

std::string_view WithoutByteOrderMark(std::string_view File) {
  if (File.starts_with(kByteOrderMark)) File.remove_prefix(kByteOrderMark.size());
  return File;
}

std::string_view ByteOrderMarkFor(std::string_view Text) {
  return Text.starts_with(kByteOrderMark) ? kByteOrderMark : std::string_view();
}

}  // namespace bw
