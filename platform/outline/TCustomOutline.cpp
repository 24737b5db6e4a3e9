#include "platform/outline/TCustomOutline.h"

#include <algorithm>

#include "platform/core/Format.h"
#include "platform/core/SaveFileAtomically.h"
#include "platform/core/TFileStream.h"
#include "platform/graphics/TBitmap.h"
#include "platform/outline/EOutlineError.h"
#include "platform/outline/OutlineConsts.h"
#include "platform/outline/TOutlineStrings.h"

namespace bw {

namespace {

// Stream calls move at most an int32_t's worth of bytes at a time.
constexpr int64_t kChunk = int64_t(1) << 30;

void WriteAll(TStream& stream, const String& text) {
  for (size_t done = 0; done < text.size();) {
    const int32_t count = int32_t(std::min<int64_t>(kChunk, int64_t(text.size() - done)));
    stream.WriteBuffer(text.data() + done, count);
    done += size_t(count);
  }
}

// Reads from the position to the end. Asks for the size first so that a file is read in
// one call; streams that cannot tell their size are read until they run dry.
String ReadAll(TStream& stream) {
  String text;
  int64_t left = -1;
  try {
    left = stream.Size() - stream.Position();
  } catch (const EStreamError&) {
  }
  if (left >= 0) {
    text.resize(size_t(left));
    for (size_t done = 0; done < text.size();) {
      const int32_t count = int32_t(std::min<int64_t>(kChunk, int64_t(text.size() - done)));
      stream.ReadBuffer(text.data() + done, count);
      done += size_t(count);
    }
    return text;
  }
  char buffer[65536];
  for (;;) {
    const int32_t got = stream.Read(buffer, int32_t(sizeof buffer));
    if (got <= 0) break;
    text.append(buffer, size_t(got));
  }
  return text;
}

String Quoted(const String& FileName) {
  return "\"" + FileName + "\"";
}

// The plus and minus images: a grey box with a white inside and a black sign, on a
// fuchsia margin that the bottom-left pixel makes the transparent colour.
void DrawExpandBox(TBitmap& bitmap, bool plus) {
  constexpr int32_t kSize = 11;
  bitmap.SetSize(kSize, kSize);
  for (int32_t y = 0; y < kSize; ++y) {
    uint32_t* row = bitmap.ScanLine(y);
    for (int32_t x = 0; x < kSize; ++x) {
      const bool margin = x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1;
      const bool border = x == 1 || y == 1 || x == kSize - 2 || y == kSize - 2;
      const bool across = y == kSize / 2 && x >= 3 && x <= kSize - 4;
      const bool down = plus && x == kSize / 2 && y >= 3 && y <= kSize - 4;
      row[x] = margin ? 0xFF00FF : border ? 0x808080 : (across || down) ? 0x000000 : 0xFFFFFF;
    }
  }
  bitmap.SetTransparent(true);
}

}  // namespace

TCustomOutline::TCustomOutline(TComponent* AOwner)
    : TCustomControl(AOwner),
      FRoot(new TOutlineNode(this, 0)),
      FLines(std::make_unique<TOutlineStrings>(this)) {
  FTree.SetNode(0, FRoot);
  for (auto& picture : FPictures)
    picture = std::make_unique<TBitmap>();
  DrawExpandBox(*FPictures[opPlus], true);
  DrawExpandBox(*FPictures[opMinus], false);
}

TBitmap* TCustomOutline::GetPicture(int32_t Index) const {
  if (Index < 0 || Index > 4)
    throw EOutlineError(Format(SOutlinePictureIndex, {std::to_string(Index)}));
  return FPictures[Index].get();
}

void TCustomOutline::SetPicture(int32_t Index, TBitmap* Value) {
  GetPicture(Index)->Assign(Value);
  Invalidate();
}

void TCustomOutline::Changed() {
  Invalidate();
}

TCustomOutline::~TCustomOutline() = default;

TStrings* TCustomOutline::Lines() const {
  return FLines.get();
}

void TCustomOutline::SetLines(TStrings* Value) {
  FLines->Assign(Value);
}

void TCustomOutline::CheckIndex(int32_t Index, int32_t low) const {
  if (Index < low || Index > FTree.Count())
    throw EOutlineError(
        Format(SOutlineIndexError, {std::to_string(Index), std::to_string(FTree.Count())}));
}

TOutlineNode* TCustomOutline::NodeAt(int32_t p) {
  TOutlineNode* node = FTree.Node(p);
  if (!node) {
    node = new TOutlineNode(this, p);
    FTree.SetNode(p, node);
  }
  return node;
}

TOutlineNode* TCustomOutline::Get(int32_t Index) {
  CheckIndex(Index, 1);
  return NodeAt(Index);
}

int32_t TCustomOutline::AddObject(int32_t Index, const String& Text, Pointer Data) {
  CheckIndex(Index, 0);
  if (Index == 0) return InsertItem(FTree.Count() + 1, 1, Text, Data);
  return InsertItem(FTree.End(FTree.Parent(Index)), FTree.Level(Index), Text, Data);
}

int32_t TCustomOutline::AddChildObject(int32_t Index, const String& Text, Pointer Data) {
  CheckIndex(Index, 0);
  return InsertItem(FTree.End(Index), FTree.Level(Index) + 1, Text, Data);
}

int32_t TCustomOutline::InsertObject(int32_t Index, const String& Text, Pointer Data) {
  CheckIndex(Index, 0);
  if (Index == 0) return InsertItem(FTree.Count() + 1, 1, Text, Data);
  return InsertItem(Index, FTree.Level(Index), Text, Data);
}

int32_t TCustomOutline::InsertItem(int32_t x, int32_t level, const String& Text, Pointer Data) {
  FTree.InsertAt(x, level, Text, Data);
  if (FSelected >= x) ++FSelected;
  NotifyChanged();
  return x;
}

void TCustomOutline::Delete(int32_t Index) {
  CheckIndex(Index, 1);
  const int32_t end = FTree.End(Index);
  FTree.DeleteAt(Index);
  if (FSelected >= end)
    FSelected -= end - Index;
  else if (FSelected >= Index)
    FSelected = 0;
  NotifyChanged();
}

void TCustomOutline::Clear() {
  FTree.Clear();
  FSelected = 0;
  NotifyChanged();
}

void TCustomOutline::FullExpand() {
  FTree.SetAllExpanded(true);
  NotifyChanged();
}

void TCustomOutline::FullCollapse() {
  FTree.SetAllExpanded(false);
  NotifyChanged();
}

int32_t TCustomOutline::GetDataItem(Pointer Value) const {
  for (int32_t p = 1, n = FTree.Count(); p <= n; ++p)
    if (FTree.Data(p) == Value) return p;
  return 0;
}

int32_t TCustomOutline::GetTextItem(const String& Value) const {
  for (int32_t p = 1, n = FTree.Count(); p <= n; ++p)
    if (FTree.Text(p) == Value) return p;
  return 0;
}

void TCustomOutline::SetSelectedItem(int32_t Value) {
  CheckIndex(Value, 0);
  if (Value == FSelected) return;
  FSelected = Value;
  NotifyChanged();
}

void TCustomOutline::LoadText(std::string_view text, const String& source) {
  TOutlineTree items;
  items.LoadText(text, source);
  ReplaceItems(items);
}

void TCustomOutline::ReplaceItems(TOutlineTree& items) {
  FTree.Swap(items);
  FSelected = 0;
  NotifyChanged();
}

String TCustomOutline::SaveText() const {
  String text;
  FTree.AppendText(text);
  return text;
}

void TCustomOutline::LoadFromFile(const String& FileName) {
  String text;
  try {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    text = ReadAll(file);
  } catch (const EStreamError& e) {
    throw EOutlineError(Format(SOutlineReadError, {Quoted(FileName), e.Message()}));
  }
  LoadText(text, Quoted(FileName));
}

void TCustomOutline::LoadFromStream(TStream* Stream) {
  String text;
  try {
    text = ReadAll(*Stream);
  } catch (const EStreamError& e) {
    throw EOutlineError(Format(SOutlineReadError, {"the stream", e.Message()}));
  }
  LoadText(text, "the stream");
}

void TCustomOutline::SaveToFile(const String& FileName) {
  const String text = SaveText();
  SaveFileAtomically(FileName, [&](TStream& file) { WriteAll(file, text); });
}

void TCustomOutline::SaveToStream(TStream* Stream) {
  WriteAll(*Stream, SaveText());
}

void TCustomOutline::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TCustomOutline::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TCustomOutline::SetUpdateState(bool Value) {
  if (Value) return;
  if (FTree.NodesStale()) FTree.ReindexNodes();
  Changed();
}

void TCustomOutline::NotifyChanged() {
  if (FUpdateCount == 0) Changed();
}

void TCustomOutline::ExpandedChanged(int32_t Index, bool Expanded) {
  if (Expanded && OnExpand) OnExpand(this, Index);
  if (!Expanded && OnCollapse) OnCollapse(this, Index);
  NotifyChanged();
}

void TCustomOutline::DblClick() {
  if (FSelected > 0) {
    TOutlineNode* node = NodeAt(FSelected);
    node->SetExpandedState(!node->Expanded());
  }
  inherited::DblClick();
}

int32_t TCustomOutline::NextVisible(int32_t Index) const {
  CheckIndex(Index, 0);
  const int32_t n = FTree.Count();
  if (Index == 0) return n > 0 ? 1 : 0;
  // Inside a collapsed branch, continue after the outermost collapsed ancestor.
  int32_t hiddenTop = 0;
  for (int32_t a = FTree.Parent(Index); a > 0; a = FTree.Parent(a))
    if (!FTree.Expanded(a)) hiddenTop = a;
  const int32_t next = hiddenTop > 0 ? FTree.End(hiddenTop) : FTree.NextShown(Index);
  return next <= n ? next : 0;
}

}  // namespace bw
