#include "platform/controls/TEditText.h"

#include <algorithm>

#include "platform/controls/EditChars.h"
#include "platform/core/TextCompare.h"

namespace bw {

namespace {

bool IsControlChar(Char c) {
  return c < 0x20 || c == 0x7F;
}

}  // namespace

int32_t TEditText::Clamp(int32_t pos) const {
  return std::clamp(pos, 0, Length());
}

Char TEditText::Cased(Char c) const {
  switch (FCharCase) {
    case ecUpperCase:
      return UpperCaseChar(c);
    case ecLowerCase:
      return LowerCaseChar(c);
    default:
      return c;
  }
}

void TEditText::SetText(const String& value) {
  std::u32string chars = DecodeUtf8(value);
  chars.erase(std::find(chars.begin(), chars.end(), U'\0'), chars.end());
  for (Char& c : chars)
    c = Cased(c);
  FChars = std::move(chars);
  FText = EncodeUtf8(FChars);
  FCaret = FAnchor = 0;
  ClearUndo();
}

void TEditText::SetChars(const std::u32string& chars, int32_t selStart, int32_t selLength) {
  if (chars != FChars) {
    RememberForUndo();
    FChars = chars;
    FText = EncodeUtf8(FChars);
  }
  FTyping = false;
  int32_t start = Clamp(selStart);
  Select(start, Clamp(start + std::max(selLength, 0)));
}

String TEditText::SelText() const {
  return EncodeUtf8(FChars.substr(SelStart(), SelLength()));
}

void TEditText::SetSelStart(int32_t value) {
  Select(value, value);
}

void TEditText::SetSelLength(int32_t value) {
  int32_t start = SelStart();
  Select(start, start + std::max(value, 0));
}

void TEditText::Select(int32_t anchor, int32_t caret) {
  FAnchor = Clamp(anchor);
  FCaret = Clamp(caret);
  FTyping = false;
}

void TEditText::MoveCaret(int32_t pos, bool extend) {
  if (extend)
    Select(FAnchor, pos);
  else
    Select(pos, pos);
}

void TEditText::SetCharCase(TEditCharCase value) {
  if (value == FCharCase) return;
  FCharCase = value;
  for (Char& c : FChars)
    c = Cased(c);
  FText = EncodeUtf8(FChars);
  ClearUndo();
}

void TEditText::RememberForUndo() {
  FUndoChars = FChars;
  FUndoCaret = FCaret;
  FUndoAnchor = FAnchor;
  FHasUndo = true;
}

void TEditText::ClearUndo() {
  FUndoChars.clear();
  FUndoCaret = FUndoAnchor = 0;
  FHasUndo = false;
  FTyping = false;
}

void TEditText::Replace(int32_t start, int32_t count, const std::u32string& with) {
  FChars.replace(start, count, with);
  FText = EncodeUtf8(FChars);
  FCaret = FAnchor = start + static_cast<int32_t>(with.size());
}

bool TEditText::ReplaceSelection(const String& text) {
  std::u32string chars = DecodeUtf8(text);
  // Only the first line goes into a one-line edit; the text ends at a zero character.
  chars.erase(std::find_if(chars.begin(), chars.end(),
                           [](Char c) { return c == U'\r' || c == U'\n' || c == U'\0'; }),
              chars.end());
  std::erase_if(chars, IsControlChar);
  if (chars.empty()) return false;
  for (Char& c : chars)
    c = Cased(c);
  if (FMaxLength > 0) {
    int32_t room = FMaxLength - (Length() - SelLength());
    if (room <= 0) return false;
    if (static_cast<int32_t>(chars.size()) > room) chars.resize(room);
  }
  RememberForUndo();
  Replace(SelStart(), SelLength(), chars);
  return true;
}

bool TEditText::TypeChar(Char c) {
  if (IsControlChar(c)) return false;
  // A run of typed characters is one change for undo.
  bool extendsRun = FTyping && SelLength() == 0;
  std::u32string savedUndo;
  int32_t savedCaret = FUndoCaret, savedAnchor = FUndoAnchor;
  if (extendsRun) savedUndo = FUndoChars;
  if (!ReplaceSelection(CharToUtf8(c))) return false;
  if (extendsRun) {
    FUndoChars = std::move(savedUndo);
    FUndoCaret = savedCaret;
    FUndoAnchor = savedAnchor;
  }
  FTyping = true;
  return true;
}

bool TEditText::DeleteSelection() {
  if (SelLength() == 0) return false;
  RememberForUndo();
  Replace(SelStart(), SelLength(), {});
  FTyping = false;
  return true;
}

bool TEditText::DeleteLeft(bool word) {
  if (SelLength() > 0) return DeleteSelection();
  if (FCaret == 0) return false;
  int32_t start = word ? WordLeft(FCaret) : FCaret - 1;
  RememberForUndo();
  Replace(start, FCaret - start, {});
  FTyping = false;
  return true;
}

bool TEditText::DeleteRight(bool word) {
  if (SelLength() > 0) return DeleteSelection();
  if (FCaret == Length()) return false;
  int32_t end = word ? WordRight(FCaret) : FCaret + 1;
  int32_t start = FCaret;
  RememberForUndo();
  Replace(start, end - start, {});
  FTyping = false;
  return true;
}

int32_t TEditText::WordLeft(int32_t pos) const {
  int32_t p = Clamp(pos);
  while (p > 0 && CharClassOf(FChars[p - 1]) == ccSpace)
    --p;
  if (p > 0) {
    TCharClass cls = CharClassOf(FChars[p - 1]);
    while (p > 0 && CharClassOf(FChars[p - 1]) == cls)
      --p;
  }
  return p;
}

int32_t TEditText::WordRight(int32_t pos) const {
  int32_t p = Clamp(pos);
  const int32_t n = Length();
  if (p < n && CharClassOf(FChars[p]) != ccSpace) {
    TCharClass cls = CharClassOf(FChars[p]);
    while (p < n && CharClassOf(FChars[p]) == cls)
      ++p;
  }
  while (p < n && CharClassOf(FChars[p]) == ccSpace)
    ++p;
  return p;
}

void TEditText::SelectWordAt(int32_t pos) {
  const int32_t n = Length();
  if (n == 0) {
    Select(0, 0);
    return;
  }
  int32_t p = std::min(Clamp(pos), n - 1);
  TCharClass cls = CharClassOf(FChars[p]);
  int32_t start = p, end = p + 1;
  while (start > 0 && CharClassOf(FChars[start - 1]) == cls)
    --start;
  while (end < n && CharClassOf(FChars[end]) == cls)
    ++end;
  Select(start, end);
}

bool TEditText::Undo() {
  if (!FHasUndo) return false;
  std::swap(FChars, FUndoChars);
  std::swap(FCaret, FUndoCaret);
  std::swap(FAnchor, FUndoAnchor);
  FText = EncodeUtf8(FChars);
  FTyping = false;
  return true;
}

}  // namespace bw
