#include "platform/outline/TOutlineStrings.h"

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"
#include "platform/core/TFiler.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"
#include "platform/outline/EOutlineError.h"
#include "platform/outline/OutlineConsts.h"
#include "platform/outline/TCustomOutline.h"

namespace bw {

namespace {

size_t LeadingTabs(const String& S) {
  const size_t n = S.find_first_not_of('\t');
  return n == String::npos ? S.size() : n;
}

}  // namespace

void TOutlineStrings::CheckLine(int32_t Index, int32_t count) const {
  if (Index < 0 || Index >= count) throw EListError(SListIndexError);
}

String TOutlineStrings::Get(int32_t Index) const {
  CheckLine(Index, GetCount());
  return FOutline->FTree.Line(Index + 1);
}

int32_t TOutlineStrings::GetCount() const {
  return FOutline->ItemCount();
}

void TOutlineStrings::Put(int32_t Index, const String& S) {
  CheckLine(Index, GetCount());
  FOutline->NodeAt(Index + 1)->SetText(S.substr(LeadingTabs(S)));
}

TObject* TOutlineStrings::GetObject(int32_t Index) const {
  CheckLine(Index, GetCount());
  return static_cast<TObject*>(FOutline->FTree.Data(Index + 1));
}

void TOutlineStrings::PutObject(int32_t Index, TObject* AObject) {
  CheckLine(Index, GetCount());
  FOutline->FTree.SetData(Index + 1, AObject);
}

void TOutlineStrings::Insert(int32_t Index, const String& S) {
  CheckLine(Index, GetCount() + 1);
  const TOutlineTree& tree = FOutline->FTree;
  const int32_t x = Index + 1;
  const size_t tabs = LeadingTabs(S);
  const int32_t level = int32_t(tabs) + 1;
  const int32_t low = tree.MinLevelAt(x), high = tree.MaxLevelAt(x);
  if (level < low || level > high)
    throw EOutlineError(
        Format(SOutlineLevelError, {std::to_string(Index), std::to_string(low - 1),
                                    std::to_string(high - 1), std::to_string(tabs)}));
  FOutline->InsertItem(x, level, S.substr(tabs), nullptr);
}

void TOutlineStrings::Delete(int32_t Index) {
  CheckLine(Index, GetCount());
  FOutline->Delete(Index + 1);
}

void TOutlineStrings::Clear() {
  FOutline->Clear();
}

void TOutlineStrings::Move(int32_t CurIndex, int32_t NewIndex) {
  const int32_t count = GetCount();
  CheckLine(CurIndex, count);
  CheckLine(NewIndex, count);
  if (CurIndex == NewIndex) return;
  const TOutlineTree& tree = FOutline->FTree;
  const int32_t x = CurIndex + 1, y = NewIndex + 1;
  if (tree.Size(x) > 1) throw EOutlineError(Format(SOutlineMoveBranch, {std::to_string(CurIndex)}));
  // Check the level against its new neighbours, numbered as if the line were gone.
  const int32_t level = tree.Level(x);
  auto levelWithout = [&](int32_t r) { return r <= 0 ? 0 : tree.Level(r < x ? r : r + 1); };
  const int32_t low = y <= count - 1 ? std::max(1, levelWithout(y) - 1) : 1;
  const int32_t high = levelWithout(y - 1) + 1;
  if (level < low || level > high)
    throw EOutlineError(
        Format(SOutlineLevelError, {std::to_string(NewIndex), std::to_string(low - 1),
                                    std::to_string(high - 1), std::to_string(level - 1)}));
  const String text(tree.Text(x));
  const Pointer data = tree.Data(x);
  TUpdateScope update(*this);
  FOutline->Delete(x);
  FOutline->InsertItem(y, level, text, data);
}

void TOutlineStrings::Assign(TPersistent* Source) {
  auto* strings = dynamic_cast<TStrings*>(Source);
  if (!strings) {
    inherited::Assign(Source);
    return;
  }
  if (strings == this) return;
  const int32_t count = strings->GetCount();
  TOutlineTree items;
  items.BeginLoad(count);
  for (int32_t i = 0; i < count; ++i)
    items.LoadLine(strings->Get(i), strings->GetObject(i), i + 1, "the lines");
  items.EndLoad();
  SetDelimiter(strings->Delimiter());
  SetQuoteChar(strings->QuoteChar());
  SetLineBreak(strings->LineBreak());
  FOutline->ReplaceItems(items);
}

void TOutlineStrings::SetTextStr(const String& Value) {
  FOutline->LoadText(Value, "the text");
}

void TOutlineStrings::LoadFromStream(TStream* Stream) {
  FOutline->LoadFromStream(Stream);
}

void TOutlineStrings::DefineProperties(TFiler* Filer) {
  // The plain string list's "Strings" would add line by line and write texts unchecked.
  TPersistent::DefineProperties(Filer);
  Filer->DefineProperty(
      "Strings",
      [this](TReader* Reader) {
        const std::vector<String> lines = ReadStoredLines(Reader);
        TOutlineTree items;
        items.BeginLoad(int32_t(lines.size()));
        for (size_t i = 0; i < lines.size(); ++i) {
          // Refused here rather than on the next store, which could not write it.
          if (lines[i].find_first_of(String("\n\r\0", 3)) != String::npos)
            throw EOutlineError(Format(SOutlineStoredLineBreak, {std::to_string(i + 1)}));
          items.LoadLine(lines[i], nullptr, int32_t(i) + 1, "the stored lines");
        }
        items.EndLoad();
        FOutline->ReplaceItems(items);
      },
      [this](TWriter* Writer) {
        const TOutlineTree& tree = FOutline->FTree;
        for (int32_t p = 1; p <= tree.Count(); ++p)
          tree.CheckSavable(p);
        Writer->WriteListBegin();
        for (int32_t p = 1; p <= tree.Count(); ++p)
          Writer->WriteString(tree.Line(p));
        Writer->WriteListEnd();
      },
      GetCount() > 0);
}

void TOutlineStrings::SetUpdateState(bool Updating) {
  if (Updating)
    FOutline->BeginUpdate();
  else
    FOutline->EndUpdate();
}

}  // namespace bw
