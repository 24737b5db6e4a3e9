#include "platform/controls/TEditMask.h"

#include <algorithm>

#include "platform/controls/EditChars.h"
#include "platform/core/TextCompare.h"

namespace bw {

TEditMask::TEditMask(const String& mask) : FMask(mask) {
  std::u32string chars = DecodeUtf8(mask);
  const size_t n = chars.size();
  // The pattern ends at the first ';' that is not escaped; the blank field is the rest.
  size_t end = 0;
  while (end < n && chars[end] != U';')
    end += chars[end] == U'\\' ? 2 : 1;
  end = std::min(end, n);
  if (end < n) {
    size_t saveStart = end + 1, saveEnd = saveStart;
    while (saveEnd < n && chars[saveEnd] != U';')
      ++saveEnd;
    FSaveLiterals = !(saveEnd - saveStart == 1 && chars[saveStart] == U'0');
    if (saveEnd + 1 < n) FBlank = chars[saveEnd + 1];
  }

  TCellCase caseMode = mcNone;
  for (size_t i = 0; i < end; ++i) {
    Char c = chars[i];
    TCell cell;
    switch (c) {
      case U'!':
        FLeadingBlanks = true;
        continue;
      case U'>':
      case U'<':
        if (c == U'<' && i + 1 < end && chars[i + 1] == U'>') {
          caseMode = mcNone;
          ++i;
        } else {
          caseMode = c == U'>' ? mcUpper : mcLower;
        }
        continue;
      case U'\\':
        if (++i >= end) continue;
        cell.Literal = chars[i];
        break;
      case U'L':
      case U'l':
        cell.Kind = mkLetter;
        break;
      case U'A':
      case U'a':
        cell.Kind = mkAlphaNum;
        break;
      case U'C':
      case U'c':
        cell.Kind = mkAny;
        break;
      case U'0':
      case U'9':
        cell.Kind = mkDigit;
        break;
      case U'#':
        cell.Kind = mkDigitOrSign;
        break;
      case U'_':
        cell.Literal = U' ';
        break;
      default:
        cell.Literal = c;
        break;
    }
    if (cell.Kind != mkLiteral) {
      cell.Required = c == U'L' || c == U'A' || c == U'C' || c == U'0';
      cell.Case = caseMode;
    }
    FCells.push_back(cell);
  }
}

bool TEditMask::Fits(int32_t pos, Char& c) const {
  if (pos < 0 || pos >= Length()) return false;
  const TCell& cell = FCells[pos];
  if (cell.Kind == mkLiteral) return false;
  // A space empties an optional place.
  if (c == U' ' && !cell.Required) {
    c = FBlank;
    return true;
  }
  if (cell.Case == mcUpper) c = UpperCaseChar(c);
  if (cell.Case == mcLower) c = LowerCaseChar(c);
  switch (cell.Kind) {
    case mkLetter:
      return IsLetterChar(c);
    case mkAlphaNum:
      return IsLetterChar(c) || IsDigitChar(c);
    case mkAny:
      return c >= 0x20 && c != 0x7F;
    case mkDigit:
      return IsDigitChar(c);
    case mkDigitOrSign:
      return IsDigitChar(c) || c == U'+' || c == U'-';
    default:
      return false;
  }
}

int32_t TEditMask::NextInput(int32_t pos) const {
  int32_t p = std::max(pos, 0);
  while (p < Length() && IsLiteral(p))
    ++p;
  return std::min(p, Length());
}

int32_t TEditMask::PrevInput(int32_t pos) const {
  int32_t p = std::min(pos, Length()) - 1;
  while (p >= 0 && IsLiteral(p))
    --p;
  return p;
}

std::u32string TEditMask::EmptyEditText() const {
  std::u32string out;
  out.reserve(FCells.size());
  for (const TCell& cell : FCells)
    out.push_back(cell.Kind == mkLiteral ? cell.Literal : FBlank);
  return out;
}

std::u32string TEditMask::EditTextOf(const String& value) const {
  std::u32string chars = DecodeUtf8(value);
  chars.erase(std::find(chars.begin(), chars.end(), U'\0'), chars.end());
  std::u32string data;
  if (FSaveLiterals) {
    size_t j = 0;
    for (const TCell& cell : FCells) {
      if (j >= chars.size()) break;
      if (cell.Kind != mkLiteral)
        data.push_back(chars[j++]);
      else if (chars[j] == cell.Literal)
        ++j;
    }
  } else {
    data = std::move(chars);
  }
  const size_t inputs = std::count_if(FCells.begin(), FCells.end(),
                                      [](const TCell& cell) { return cell.Kind != mkLiteral; });
  if (FLeadingBlanks && !FSaveLiterals && data.size() < inputs)
    data.insert(0, inputs - data.size(), U' ');

  std::u32string out = EmptyEditText();
  size_t k = 0;
  for (int32_t pos = 0; pos < Length() && k < data.size(); ++pos) {
    if (IsLiteral(pos)) continue;
    Char c = data[k++];
    if (c == U' ' || c == FBlank) continue;
    // A value without literals may still carry formatting: what fits no place is
    // skipped, and the place takes the next character.
    if (!FSaveLiterals)
      while (!Fits(pos, c) && k < data.size())
        c = data[k++];
    if (Fits(pos, c)) out[pos] = c;
  }
  return out;
}

std::u32string TEditMask::NormalEditText(const String& text) const {
  std::u32string chars = DecodeUtf8(text);
  std::u32string out = EmptyEditText();
  for (int32_t pos = 0; pos < Length() && pos < static_cast<int32_t>(chars.size()); ++pos) {
    Char c = chars[pos];
    if (!IsLiteral(pos) && c != U' ' && c != FBlank && Fits(pos, c)) out[pos] = c;
  }
  return out;
}

String TEditMask::ValueOf(const std::u32string& editText) const {
  return Collect(editText, FSaveLiterals);
}

String TEditMask::InputsOf(const std::u32string& editText) const {
  return Collect(editText, false);
}

String TEditMask::Collect(const std::u32string& editText, bool literals) const {
  std::u32string out;
  for (int32_t pos = 0; pos < Length() && pos < static_cast<int32_t>(editText.size()); ++pos) {
    Char c = editText[pos];
    if (IsLiteral(pos)) {
      if (literals) out.push_back(c);
    } else {
      out.push_back(c == FBlank ? U' ' : c);
    }
  }
  if (!literals) {
    const size_t first = out.find_first_not_of(U' ');
    if (first == std::u32string::npos) return {};
    out = out.substr(first, out.find_last_not_of(U' ') + 1 - first);
  }
  return EncodeUtf8(out);
}

int32_t TEditMask::FirstMissing(const std::u32string& editText) const {
  for (int32_t pos = 0; pos < Length(); ++pos) {
    if (!FCells[pos].Required) continue;
    if (pos >= static_cast<int32_t>(editText.size()) || editText[pos] == FBlank) return pos;
  }
  return -1;
}

std::u32string TEditMask::Blanked(const std::u32string& chars, int32_t start, int32_t end) const {
  std::u32string out = chars;
  for (int32_t pos = std::max(start, 0); pos < end && pos < Length(); ++pos)
    if (!IsLiteral(pos)) out[pos] = FBlank;
  return out;
}

bool TEditMask::TypeChar(TEditText& text, Char c) const {
  if (text.Length() != Length()) return false;
  const int32_t start = text.SelStart();
  const int32_t p = NextInput(start);
  if (p < Length() && Fits(p, c)) {
    std::u32string chars = Blanked(text.Chars(), start, start + text.SelLength());
    chars[p] = c;
    bool changed = chars != text.Chars();
    text.SetChars(chars, NextInput(p + 1), 0);
    return changed;
  }
  // Typing the literal that comes next steps over it.
  if (text.SelLength() == 0) {
    for (int32_t q = start; q < p; ++q)
      if (FCells[q].Literal == c) {
        text.SetSelStart(NextInput(q + 1));
        break;
      }
  }
  return false;
}

bool TEditMask::BlankRange(TEditText& text, int32_t start, int32_t end) const {
  std::u32string chars = Blanked(text.Chars(), start, end);
  bool changed = chars != text.Chars();
  text.SetChars(chars, start, 0);
  return changed;
}

bool TEditMask::ClearSelection(TEditText& text) const {
  if (text.Length() != Length()) return false;
  return BlankRange(text, text.SelStart(), text.SelStart() + text.SelLength());
}

bool TEditMask::DeleteLeft(TEditText& text) const {
  if (text.SelLength() > 0) return ClearSelection(text);
  if (text.Length() != Length()) return false;
  const int32_t p = PrevInput(text.Caret());
  return p >= 0 && BlankRange(text, p, p + 1);
}

bool TEditMask::DeleteRight(TEditText& text) const {
  if (text.SelLength() > 0) return ClearSelection(text);
  if (text.Length() != Length()) return false;
  const int32_t p = NextInput(text.Caret());
  return p < Length() && BlankRange(text, p, p + 1);
}

bool TEditMask::Paste(TEditText& text, const String& value) const {
  if (text.Length() != Length()) return false;
  std::u32string line = DecodeUtf8(value);
  line.erase(std::find_if(line.begin(), line.end(),
                          [](Char c) { return c == U'\r' || c == U'\n' || c == U'\0'; }),
             line.end());
  const int32_t start = text.SelStart();
  std::u32string chars = Blanked(text.Chars(), start, start + text.SelLength());
  int32_t pos = start;
  for (Char c : line) {
    const int32_t p = NextInput(pos);
    if (p >= Length()) break;
    if (Fits(p, c)) {
      chars[p] = c;
      pos = p + 1;
      continue;
    }
    for (int32_t q = pos; q < p; ++q)
      if (FCells[q].Literal == c) {
        pos = q + 1;
        break;
      }
  }
  bool changed = chars != text.Chars();
  text.SetChars(chars, NextInput(pos), 0);
  return changed;
}

String FormatMaskText(const String& EditMask, const String& Value) {
  TEditMask mask(EditMask);
  if (!mask.IsMasked()) return Value;
  std::u32string chars = mask.EditTextOf(Value);
  for (int32_t pos = 0; pos < mask.Length(); ++pos)
    if (!mask.IsLiteral(pos) && chars[pos] == mask.BlankChar()) chars[pos] = U' ';
  return EncodeUtf8(chars);
}

}  // namespace bw
