// The outline component, in three parts:
//   - helpers: whole-stream reading and writing, the default plus and minus images;
//   - the model: construction, pictures, adding, deleting, expansion, searching,
//     selection, loading and saving, update brackets, walking the shown items;
//   - the view: top item and scrolling, painting the rows, mouse, keys and wheel.
// Every change to the items goes through TOutlineTree, then NotifyChanged, which repaints
// unless an update bracket is open.

#include "platform/outline/TCustomOutline.h"

#include <algorithm>
#include <cstring>

#include "platform/backend/VirtualKeys.h"
#include "platform/controls/Messages.h"
#include "platform/core/Format.h"
#include "platform/core/SaveFileAtomically.h"
#include "platform/core/TFileStream.h"
#include "platform/core/Unicode.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TCanvas.h"
#include "platform/outline/EOutlineError.h"
#include "platform/outline/OutlineConsts.h"
#include "platform/outline/TOutlineStrings.h"

namespace bw {

namespace {

// Stream calls move at most an int32_t's worth of bytes at a time.
constexpr int64_t kChunk = int64_t(1) << 30;

void WriteAll(TStream& stream, std::string_view text) {
  for (size_t done = 0; done < text.size();) {
    const int32_t count = int32_t(std::min<int64_t>(kChunk, int64_t(text.size() - done)));
    stream.WriteBuffer(text.data() + done, count);
    done += size_t(count);
  }
}

// A source that cannot tell its size (a pipe, a device) is read up to this many bytes; an
// outline text is never that long, and a source that goes on is not one.
constexpr int64_t kMaxUnsizedText = int64_t(64) << 20;
constexpr int32_t kBlock = 1 << 20;

// A text read whole into a buffer that is never zero-filled first: every byte is
// written once, by the read itself.
struct TReadText {
  std::unique_ptr<char[]> Bytes;
  size_t Size = 0;
  size_t Capacity = 0;

  std::string_view View() const { return {Bytes.get(), Size}; }
  /// Makes room for n more bytes and gives where they go.
  char* Room(size_t n) {
    if (Capacity - Size < n) {
      const size_t capacity = std::max(Size + n, Capacity + Capacity / 2);
      std::unique_ptr<char[]> bytes(new char[capacity]);
      if (Size > 0) std::memcpy(bytes.get(), Bytes.get(), Size);
      Bytes = std::move(bytes);
      Capacity = capacity;
    }
    return Bytes.get() + Size;
  }
};

// Reads from the position to the end, in blocks, so that a file whose size is not what it
// says (those under /proc say 0) is still read to its end. A zero character is refused as
// soon as it arrives: no outline text holds one, and the zero device would never end.
// Once the announced size is in, the end is confirmed by a read into a small block of its
// own, so that a source that keeps its word is read once, into a buffer of its size.
TReadText ReadAll(TStream& stream, const String& source) {
  int64_t announced = 0;
  try {
    announced = std::max<int64_t>(stream.Size() - stream.Position(), 0);
  } catch (const EStreamError&) {
  }
  const int64_t limit = std::max(announced, kMaxUnsizedText);
  TReadText text;
  text.Room(size_t(announced));
  char probe[4096];
  for (;;) {
    const int64_t at = int64_t(text.Size);
    // Up to the announced end in one call, then one block at a time, one byte past the limit.
    const int64_t wanted = at < announced ? std::min(announced - at, kChunk)
                                          : std::min<int64_t>(kBlock, limit + 1 - at);
    const bool probing = at >= announced && text.Size == text.Capacity;
    char* into = probing ? probe : text.Room(size_t(wanted));
    const int32_t got =
        std::max(stream.Read(into, probing ? int32_t(sizeof probe) : int32_t(wanted)), 0);
    if (got == 0) return text;
    if (probing) std::memcpy(text.Room(size_t(wanted)), probe, size_t(got));
    const char* fresh = text.Bytes.get() + at;
    text.Size += size_t(got);
    if (const void* zero = std::memchr(fresh, 0, size_t(got)))
      throw EOutlineError(
          Format(SOutlineZeroCharacter,
                 {source, std::to_string(static_cast<const char*>(zero) - text.Bytes.get())}));
    if (int64_t(text.Size) > limit)
      throw EOutlineError(Format(SOutlineSourceTooLong, {source, std::to_string(limit >> 20)}));
  }
}

// The lines of an outline text that end in CR LF, numbered from 1 as the items are, when
// some line ends in a bare LF; none otherwise (see KeepExpanded). Lines split as
// TOutlineTree::LoadText splits them.
std::vector<int32_t> LinesEndingInCrLf(std::string_view text) {
  std::vector<int32_t> lines;
  bool bareLf = false;
  int32_t line = 0;
  for (size_t i = 0; i < text.size();) {
    ++line;
    const size_t eol = text.find_first_of("\r\n", i);
    if (eol == std::string_view::npos) break;
    if (text[eol] == '\r' && eol + 1 < text.size() && text[eol + 1] == '\n') {
      lines.push_back(line);
      i = eol + 2;
    } else {
      bareLf |= text[eol] == '\n';
      i = eol + 1;
    }
  }
  if (!bareLf) lines.clear();
  return lines;
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

bool TCustomOutline::IsDefaultPicture(int32_t Index) const {
  const TBitmap* picture = GetPicture(Index);
  if (Index != opPlus && Index != opMinus) return picture->Empty();
  TBitmap box;
  DrawExpandBox(box, Index == opPlus);
  if (picture->Width() != box.Width() || picture->Height() != box.Height() ||
      picture->Transparent() != box.Transparent())
    return false;
  for (int32_t y = 0; y < box.Height(); ++y)
    if (std::memcmp(picture->ScanLine(y), box.ScanLine(y), size_t(box.Width()) * 4) != 0)
      return false;
  return true;
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
  return node ? node : FTree.MakeNodes(p, this);
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
  if (FTopItem >= x) ++FTopItem;
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
  if (FTopItem >= end)
    FTopItem -= end - Index;
  else if (FTopItem >= Index)
    FTopItem = Index;  // whatever comes next; TopItem() settles it
  NotifyChanged();
}

void TCustomOutline::Clear() {
  FTree.Clear();
  FSelected = 0;
  FTopItem = 0;
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
  if (FKeepExpanded)
    for (int32_t p : LinesEndingInCrLf(text))
      if (p <= items.Count() && items.Size(p) > 1) items.SetExpanded(p, true);
  ReplaceItems(items);
}

void TCustomOutline::ReplaceItems(TOutlineTree& items) {
  FTree.Swap(items);
  FSelected = 0;
  FTopItem = 0;
  NotifyChanged();
}

String TCustomOutline::SaveText() const {
  String text;
  FTree.AppendText(text);
  if (!FKeepExpanded) return text;
  // Item texts hold no line breaks, so line p ends at the p-th LF.
  String kept;
  kept.reserve(text.size() + text.size() / 8);
  int32_t p = 1;
  for (size_t from = 0, lf; (lf = text.find('\n', from)) != String::npos; from = lf + 1, ++p) {
    kept.append(text, from, lf - from);
    if (FTree.Size(p) > 1 && FTree.Expanded(p)) kept += '\r';
    kept += '\n';
  }
  return kept;
}

std::vector<int32_t> TCustomOutline::ExpandedBranches() const {
  std::vector<int32_t> items;
  for (int32_t p = 1, n = FTree.Count(); p <= n; ++p)
    if (FTree.Size(p) > 1 && FTree.Expanded(p)) items.push_back(p);
  return items;
}

void TCustomOutline::SetExpandedBranches(std::span<const int32_t> Items) {
  for (int32_t p : Items)
    CheckIndex(p, 1);
  FTree.SetAllExpanded(false);
  for (int32_t p : Items)
    FTree.SetExpanded(p, true);
  NotifyChanged();
}

void TCustomOutline::LoadFromFile(const String& FileName) {
  TReadText text;
  try {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    text = ReadAll(file, Quoted(FileName));
  } catch (const EStreamError& e) {
    throw EOutlineError(Format(SOutlineReadError, {Quoted(FileName), e.Message()}));
  }
  LoadText(WithoutByteOrderMark(text.View()), Quoted(FileName));
}

void TCustomOutline::LoadFromStream(TStream* Stream) {
  if (!Stream) throw EOutlineError(SOutlineNoStream);
  TReadText text;
  try {
    text = ReadAll(*Stream, "the stream");
  } catch (const EStreamError& e) {
    throw EOutlineError(Format(SOutlineReadError, {"the stream", e.Message()}));
  }
  LoadText(WithoutByteOrderMark(text.View()), "the stream");
}

void TCustomOutline::SaveToFile(const String& FileName) {
  const String text = SaveText();
  SaveFileAtomically(FileName, [&](TStream& file) {
    WriteAll(file, ByteOrderMarkFor(text));
    WriteAll(file, text);
  });
}

void TCustomOutline::SaveToStream(TStream* Stream) {
  if (!Stream) throw EOutlineError(SOutlineNoStream);
  const String text = SaveText();
  WriteAll(*Stream, ByteOrderMarkFor(text));
  WriteAll(*Stream, text);
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

int32_t TCustomOutline::ShownItem(int32_t Index) const {
  CheckIndex(Index, 1);
  int32_t shown = Index;
  for (int32_t a = FTree.Parent(Index); a > 0; a = FTree.Parent(a))
    if (!FTree.Expanded(a)) shown = a;
  return shown;
}

int32_t TCustomOutline::NextVisible(int32_t Index) const {
  CheckIndex(Index, 0);
  const int32_t n = FTree.Count();
  if (Index == 0) return n > 0 ? 1 : 0;
  // Inside a collapsed branch, continue after the outermost collapsed ancestor.
  const int32_t shown = ShownItem(Index);
  const int32_t next = shown != Index ? FTree.End(shown) : FTree.NextShown(Index);
  return next <= n ? next : 0;
}

int32_t TCustomOutline::PrevVisible(int32_t Index) const {
  CheckIndex(Index, 0);
  // The item before Index is its parent or the last of the previous sibling's branch;
  // the row above shows that item or its outermost collapsed ancestor.
  return Index > 1 ? ShownItem(ShownItem(Index) - 1) : 0;
}

// ---- the view ----

namespace {

bool HasNextSibling(const TOutlineTree& tree, int32_t p) {
  return tree.End(p) < tree.End(tree.Parent(p));
}

}  // namespace

void TCustomOutline::SetItemHeight(int32_t Value) {
  Value = std::max(Value, 1);
  if (Value == FItemHeight) return;
  FItemHeight = Value;
  Invalidate();
}

int32_t TCustomOutline::TopItem() const {
  const int32_t n = FTree.Count();
  if (n == 0) return 0;
  return ShownItem(std::clamp(FTopItem, 1, n));
}

void TCustomOutline::SetTopItem(int32_t Value) {
  CheckIndex(Value, 0);
  if (Value == FTopItem) return;
  FTopItem = Value;
  Invalidate();
}

int32_t TCustomOutline::RowsInView() const {
  return std::max(1, ClientHeight() / FItemHeight);
}

int32_t TCustomOutline::StepVisible(int32_t Index, int32_t count) const {
  for (; count > 0; --count) {
    const int32_t next = NextVisible(Index);
    if (next == 0) break;
    Index = next;
  }
  for (; count < 0; ++count) {
    const int32_t prev = PrevVisible(Index);
    if (prev == 0) break;
    Index = prev;
  }
  return Index;
}

int32_t TCustomOutline::LastVisible() const {
  // Descend into the last child while the branch is open.
  int32_t p = 0;
  while (FTree.Size(p) > 1 && (p == 0 || FTree.Expanded(p))) {
    int32_t q = FTree.End(p) - 1;
    while (FTree.Parent(q) != p)
      q = FTree.Parent(q);
    p = q;
  }
  return p;
}

int32_t TCustomOutline::GetItem(int32_t, int32_t Y) const {
  const int32_t top = TopItem();
  if (top == 0 || Y < 0) return 0;
  int32_t item = top;
  for (int32_t row = Y / FItemHeight; row > 0 && item != 0; --row)
    item = NextVisible(item);
  return item;
}

void TCustomOutline::MakeVisible(int32_t Index) {
  CheckIndex(Index, 1);
  const int32_t item = ShownItem(Index);
  const int32_t top = TopItem();
  const int32_t rows = RowsInView();
  if (item < top) {
    SetTopItem(item);
    return;
  }
  int32_t row = 0;
  for (int32_t p = top; p != item && row < rows; p = NextVisible(p))
    ++row;
  if (row >= rows) SetTopItem(StepVisible(item, -(rows - 1)));
}

void TCustomOutline::SelectAndShow(int32_t Index) {
  if (Index <= 0) return;
  SetSelectedItem(Index);
  MakeVisible(Index);
}

void TCustomOutline::Paint() {
  TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  canvas->SetFont(Font());
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(client);
  int32_t y = 0;
  for (int32_t i = TopItem(); i != 0 && y < client.Bottom; i = NextVisible(i), y += FItemHeight)
    PaintItem(canvas, i, y);
}

void TCustomOutline::PaintItem(TCanvas* ACanvas, int32_t Index, int32_t Y) {
  const int32_t h = FItemHeight;
  const int32_t level = FTree.Level(Index);
  const int32_t mid = Y + h / 2;
  const bool hasChildren = FTree.Size(Index) > 1;
  const bool expanded = FTree.Expanded(Index);

  // Tree lines: the item's own joint, then a line through the row for every ancestor
  // that has more children below.
  ACanvas->Pen()->SetColor(clBtnShadow);
  int32_t a = Index;
  for (int32_t k = level; k >= 1; --k, a = FTree.Parent(a)) {
    const int32_t x = (k - 1) * h + h / 2;
    const bool more = HasNextSibling(FTree, a);
    if (k == level) {
      ACanvas->MoveTo(x, Index == 1 ? mid : Y);
      ACanvas->LineTo(x, more ? Y + h : mid + 1);
      ACanvas->MoveTo(x, mid);
      ACanvas->LineTo(k * h, mid);
    } else if (more) {
      ACanvas->MoveTo(x, Y);
      ACanvas->LineTo(x, Y + h);
    }
  }

  int32_t x = (level - 1) * h;
  if (hasChildren) {
    TBitmap* box = FPictures[expanded ? opMinus : opPlus].get();
    ACanvas->Draw(x + (h - box->Width()) / 2, Y + (h - box->Height()) / 2, box);
  }
  x += h;
  TBitmap* picture = FPictures[!hasChildren ? opLeaf : expanded ? opOpen : opClosed].get();
  if (!picture->Empty()) {
    ACanvas->Draw(x, Y + (h - picture->Height()) / 2, picture);
    x += picture->Width() + 2;
  }

  const String text(FTree.Text(Index));
  const TSize extent = ACanvas->TextExtent(text);
  const TRect textRect{x, Y, x + extent.cx + 4, Y + h};
  const bool selected = Index == FSelected;
  if (selected) {
    ACanvas->Brush()->SetColor(clHighlight);
    ACanvas->FillRect(textRect);
    ACanvas->Font()->SetColor(clHighlightText);
  }
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->TextOut(x + 2, Y + (h - extent.cy) / 2, text);
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(Color());
  ACanvas->Font()->SetColor(Font()->Color());
  if (selected && Focused()) ACanvas->DrawFocusRect(textRect);
}

void TCustomOutline::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  if (Button == mbLeft) {
    if (CanFocus()) SetFocus();
    const int32_t item = GetItem(X, Y);
    if (item > 0) {
      const int32_t boxLeft = (FTree.Level(item) - 1) * FItemHeight;
      const bool onBox = FTree.Size(item) > 1 && X >= boxLeft && X < boxLeft + FItemHeight;
      if (onBox && !Shift.Contains(ssDouble))
        NodeAt(item)->SetExpandedState(!FTree.Expanded(item));
      else
        SetSelectedItem(item);
    }
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TCustomOutline::KeyDown(uint16_t& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key == 0 || FTree.Count() == 0) return;
  const int32_t selected = FSelected > 0 ? ShownItem(FSelected) : 0;
  const int32_t rows = RowsInView();
  switch (Key) {
    case VK_DOWN:
      SelectAndShow(selected ? NextVisible(selected) : TopItem());
      break;
    case VK_UP:
      SelectAndShow(selected ? PrevVisible(selected) : TopItem());
      break;
    case VK_NEXT:
      SelectAndShow(StepVisible(selected ? selected : TopItem(), rows - 1));
      break;
    case VK_PRIOR:
      SelectAndShow(StepVisible(selected ? selected : TopItem(), -(rows - 1)));
      break;
    case VK_HOME:
      SelectAndShow(1);
      break;
    case VK_END:
      SelectAndShow(LastVisible());
      break;
    case VK_RIGHT:
      if (selected && FTree.Size(selected) > 1) {
        if (!FTree.Expanded(selected))
          NodeAt(selected)->Expand();
        else
          SelectAndShow(selected + 1);
      }
      break;
    case VK_LEFT:
      if (selected) {
        if (FTree.Expanded(selected) && FTree.Size(selected) > 1)
          NodeAt(selected)->Collapse();
        else
          SelectAndShow(FTree.Parent(selected));
      }
      break;
    default:
      return;
  }
  Key = 0;
}

void TCustomOutline::KeyPress(Char& Key) {
  inherited::KeyPress(Key);
  if (FSelected == 0 || (Key != '+' && Key != '-' && Key != '*')) return;
  TOutlineNode* node = NodeAt(FSelected);
  if (Key == '+')
    node->Expand();
  else if (Key == '-')
    node->Collapse();
  else
    node->FullExpand();
  Key = 0;
}

bool TCustomOutline::DoMouseWheel(TShiftState Shift, int32_t WheelDelta, TPoint MousePos) {
  if (inherited::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  const int32_t top = TopItem();
  if (top == 0) return false;
  SetTopItem(StepVisible(top, -WheelDelta / 120 * 3));
  return true;
}

void TCustomOutline::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

}  // namespace bw
