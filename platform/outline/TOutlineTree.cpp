#include "platform/outline/TOutlineTree.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/core/Format.h"
#include "platform/outline/EOutlineError.h"
#include "platform/outline/OutlineConsts.h"
#include "platform/outline/TLineBreaks.h"
#include "platform/outline/TOutlineNode.h"
#include "platform/outline/TOutlineNodeBlock.h"

namespace bw {

char* TItemText::BlockFor(std::string_view s) {
  if (s.size() <= kInline) return nullptr;
  if (s.size() > UINT32_MAX) throw std::length_error("outline item text too long");
  char* block = static_cast<char*>(std::malloc(s.size()));
  if (!block) throw std::bad_alloc();
  return block;
}

void TItemText::Free() {
  if (Length > kInline) {
    char* block;
    std::memcpy(&block, Bytes + 4, sizeof block);
    std::free(block);
  }
  Length = 0;
}

std::string_view TItemText::View() const {
  if (Length <= kInline) return {Bytes, Length};
  const char* block;
  std::memcpy(&block, Bytes + 4, sizeof block);
  return {block, Length};
}

TOutlineTree::TOutlineTree() {
  NewLayout();
  Append(TOutlineShape::Make(TOutlineShape::kToEnd, 0, 0, true), {}, nullptr);
}

TOutlineTree::~TOutlineTree() {
  FreeCells(0, int32_t(FCells.Size()));
}

void TOutlineTree::Append(const TOutlineShape& shape, std::string_view text, Pointer data) {
  char* const block = TItemText::BlockFor(text);
  try {
    FShape.PushBack(shape);
    TOutlineCell& cell = FCells.PushBackSlot();
    cell.Text.Set(text, block);
    cell.Data = data;
    FNodes.PushBack();
  } catch (...) {
    std::free(block);
    FShape.Truncate(FNodes.Size());
    FCells.Truncate(FNodes.Size());
    throw;
  }
}

void TOutlineTree::SetText(int32_t p, std::string_view v) {
  const TItemText t = TItemText::Make(v);
  FCells[size_t(p)].Text.Free();
  FCells[size_t(p)].Text = t;
}

void TOutlineTree::NewLayout() {
  static uint64_t stamps = 0;
  FLayoutStamp = ++stamps;
}

void TOutlineTree::NoteExpansion(int32_t p) {
  FExpansionLog[size_t(FExpansions % kExpansionLog)] = p;
  ++FExpansions;
}

void TOutlineTree::SetExpanded(int32_t p, bool v) {
  if (FShape[size_t(p)].Expanded() == v) return;
  FShape[size_t(p)].SetExpanded(v);
  NoteExpansion(p);
}

void TOutlineTree::SetAllExpanded(bool v) {
  for (size_t p = 1; p < FShape.Size(); ++p)
    FShape[p].SetExpanded(v);
  NewLayout();
}

void TOutlineTree::SetBranchExpanded(int32_t p, bool v) {
  if (p == 0) {
    SetAllExpanded(v);
    return;
  }
  for (int32_t q = p, end = End(p); q < end; ++q)
    FShape[size_t(q)].SetExpanded(v);
  NoteExpansion(p);
}

int32_t TOutlineTree::MinLevelAt(int32_t x) const {
  return x <= Count() ? std::max(1, Level(x) - 1) : 1;
}

int32_t TOutlineTree::NextClosed(int32_t p, int32_t to) const {
  while (p < to) {
    size_t n = 0;
    const TOutlineShape* s = FShape.RunAt(size_t(p), n);
    n = std::min(n, size_t(to - p));
    size_t i = 0;
    // Most items of a stretch that shows are expanded or leaves: four at a time, with one
    // branch for the four.
    while (i + 4 <= n &&
           !(s[i].MayHide() | s[i + 1].MayHide() | s[i + 2].MayHide() | s[i + 3].MayHide()))
      i += 4;
    for (; i < n; ++i) {
      // A size of 1 is a leaf; so is an item "to the end" that is the last one.
      if (s[i].MayHide()) {
        const int32_t q = p + int32_t(i);
        if (End(q) != q + 1) return q;
      }
    }
    p += int32_t(n);
  }
  return to;
}

bool TOutlineTree::IsShown(int32_t p) const {
  for (p = Parent(p); p > 0; p = Parent(p))
    if (!Expanded(p)) return false;
  return true;
}

void TOutlineTree::InsertAt(int32_t x, int32_t level, std::string_view text, Pointer data) {
  NewLayout();
  const int32_t n = Count();
  // Make room first, so that running out of memory changes nothing.
  char* const block = TItemText::BlockFor(text);
  try {
    FShape.Reserve(FShape.Size() + 1);
    FCells.Reserve(FCells.Size() + 1);
    FNodes.Reserve(FNodes.Size() + 1);
    // The handles go first: this is the step that may need memory.
    if (x > n)
      FNodes.PushBack();
    else
      FNodes.Insert(size_t(x));
  } catch (...) {
    std::free(block);
    throw;
  }

  int32_t parent = x - 1;
  while (Level(parent) >= level)
    parent = Parent(parent);

  // Items right after x that are deeper than the new item become its descendants; those
  // one level below it become its children.
  int32_t end = x;
  while (end <= n && Level(end) > level) {
    FShape[size_t(end)].Up = end + 1 - x;
    end += Size(end);
  }
  // The ancestors of the item before x that are as deep as the new item or deeper now
  // end at x: they no longer hold an adopted run, or they were last and no longer are.
  CloseBefore(x, parent);

  // Every later item whose parent lies before x is now one position further from it.
  // Those are the later children of the new item's ancestors; step over each one's
  // subtree. Each ancestor's subtree grows by the new item, which an ancestor that
  // reaches the end records by itself; so do all above it, and once nothing follows
  // the new item no ancestor has later children left to shift.
  int32_t q = end;
  for (int32_t a = parent;; a = Parent(a)) {
    if (ReachesEnd(a) && q > n) break;
    const int32_t aEnd = End(a);
    while (q < aEnd) {
      FShape[size_t(q)].Up += 1;
      q += Size(q);
    }
    if (!ReachesEnd(a)) FShape[size_t(a)].Size += 1;
    if (a == 0) break;
  }

  const int32_t size = end > n ? TOutlineShape::kToEnd : 1 + end - x;
  const TOutlineShape shape = TOutlineShape::Make(size, x - parent, level, false);
  if (x > n) {
    FShape.PushBack(shape);
  } else {
    FShape.Insert(size_t(x), shape);
    NoteMoved(x);
  }
  TOutlineCell& cell = x > n ? FCells.PushBackSlot() : FCells.InsertSlot(size_t(x));
  cell.Text.Set(text, block);
  cell.Data = data;
}

void TOutlineTree::CloseBefore(int32_t x, int32_t stop) {
  for (int32_t a = x - 1; a != stop; a = Parent(a))
    FShape[size_t(a)].Size = x - a;
}

void TOutlineTree::DeleteAt(int32_t p) {
  const int32_t n = Count();
  const int32_t k = Size(p);
  FNodes.PrepareErase(size_t(p), size_t(p + k));
  NewLayout();
  const int32_t parent = Parent(p);
  int32_t q = p + k;
  for (int32_t a = parent;; a = Parent(a)) {
    if (ReachesEnd(a) && q > n) break;
    const int32_t aEnd = End(a);
    while (q < aEnd) {
      FShape[size_t(q)].Up -= k;
      q += Size(q);
    }
    if (!ReachesEnd(a)) FShape[size_t(a)].Size -= k;
    if (a == 0) break;
  }
  // When the branch was last, the item before it and its ancestors below the branch's
  // parent are last now.
  if (p + k > n) {
    for (int32_t a = p - 1; a != parent; a = Parent(a))
      FShape[size_t(a)].Size = TOutlineShape::kToEnd;
  }
  FreeCells(p, p + k);
  FShape.Erase(size_t(p), size_t(p + k));
  FCells.Erase(size_t(p), size_t(p + k));
  FNodes.Erase(size_t(p), size_t(p + k));
  NoteMoved(p);
}

void TOutlineTree::Clear() {
  NewLayout();
  FreeCells(1, int32_t(FCells.Size()));
  FShape.Truncate(1);
  FCells.Truncate(1);
  FNodes.Truncate(1);
  FShape[0].Size = TOutlineShape::kToEnd;
  FStaleFrom = INT32_MAX;
}

void TOutlineTree::Swap(TOutlineTree& other) {
  FNodesReleased += uint64_t(FNodeCount);
  FShape.Swap(other.FShape);
  FCells.Swap(other.FCells);
  FNodes.Swap(other.FNodes);
  // Each tree keeps its own root handle.
  TOutlineNode* root = FNodes.Get(0);
  FNodes.Set(0, other.FNodes.Get(0));
  other.FNodes.Set(0, root);
  std::swap(FNodeCount, other.FNodeCount);
  std::swap(FStaleFrom, other.FStaleFrom);
  NewLayout();
  other.NewLayout();
}

void TOutlineTree::Reserve(int32_t count) {
  FShape.Reserve(size_t(count) + 1);
  FCells.Reserve(size_t(count) + 1);
  FNodes.Reserve(size_t(count) + 1);
}

void TOutlineTree::SetNode(int32_t p, TOutlineNode* node) {
  FNodes.Set(size_t(p), node);
  if (p > 0) ++FNodeCount;
}

TOutlineNode* TOutlineTree::MakeNodes(int32_t p, TCustomOutline* outline) {
  const size_t chunk = size_t(p) & ~TOutlineNodeArray::kMask;
  const size_t end = std::min(chunk + TOutlineNodeArray::kChunk, FNodes.Size());
  std::vector<int32_t> positions;
  size_t runs = 0;
  for (size_t q = std::max<size_t>(chunk, 1); q < end; ++q) {
    if (FNodes.Get(q)) continue;
    runs += positions.empty() || size_t(positions.back()) + 1 != q;
    positions.push_back(int32_t(q));
  }
  FNodes.PrepareRuns(chunk, runs);
  TOutlineNode* const nodes = TOutlineNodeBlock::Make(outline, positions);
  // Store each stretch of consecutive positions as one run.
  for (size_t k = 0; k < positions.size();) {
    size_t n = 1;
    while (k + n < positions.size() && positions[k + n] == positions[k] + int32_t(n))
      ++n;
    FNodes.SetRun(size_t(positions[k]), n, nodes + k);
    k += n;
  }
  FNodeCount += int32_t(positions.size());
  return FNodes.Get(size_t(p));
}

void TOutlineTree::NoteMoved(int32_t from) {
  if (FNodeCount > 0) FStaleFrom = std::min(FStaleFrom, from);
}

void TOutlineTree::ReindexNodes() {
  for (size_t p = size_t(FStaleFrom); p < FNodes.Size(); ++p)
    if (TOutlineNode* node = FNodes.Get(p)) node->FIndex = int32_t(p);
  FStaleFrom = INT32_MAX;
}

void TOutlineTree::FreeCells(int32_t from, int32_t to) {
  for (int32_t p = from; p < to; ++p) {
    FCells[size_t(p)].Text.Free();
    if (TOutlineNode* node = FNodes.Get(size_t(p))) {
      if (p > 0) --FNodeCount;
      ++FNodesReleased;
      TOutlineNodeBlock::Free(node);
    }
  }
  FNodes.Clear(size_t(from), size_t(to));
}

void TOutlineTree::BeginLoad(int32_t expected) {
  NewLayout();
  Reserve(expected);
  FOpen.assign(1, 0);
}

void TOutlineTree::LoadLine(std::string_view line, Pointer data, int32_t lineNo,
                            const String& source) {
  size_t tabs = 0;
  while (tabs < line.size() && line[tabs] == '\t')
    ++tabs;
  if (tabs >= FOpen.size()) {
    if (FShape.Size() == 1) throw EOutlineError(Format(SOutlineFirstLineIndented, {source}));
    throw EOutlineError(
        Format(SOutlineLineTooDeep, {std::to_string(lineNo), source, std::to_string(tabs)}));
  }
  if (FShape.Size() >= size_t(INT32_MAX))
    throw EOutlineError(Format(SOutlineTooManyItems, {source}));
  const int32_t level = int32_t(tabs) + 1;
  const int32_t p = int32_t(FShape.Size());
  while (int32_t(FOpen.size()) > level) {
    FShape[size_t(FOpen.back())].Size = p - FOpen.back();
    FOpen.pop_back();
  }
  Append(TOutlineShape::Make(1, p - FOpen.back(), level, false), line.substr(tabs), data);
  FOpen.push_back(p);
}

void TOutlineTree::EndLoad() {
  for (int32_t p : FOpen)
    FShape[size_t(p)].Size = TOutlineShape::kToEnd;
  FOpen.clear();
  FOpen.shrink_to_fit();
}

void TOutlineTree::LoadText(std::string_view text, const String& source) {
  // A line is at least its break, so the text's size bounds the count of items.
  BeginLoad(int32_t(std::min(text.size() + 1, size_t(INT32_MAX - 1))));
  TLineBreaks breaks(text);
  const size_t n = text.size();
  int32_t line = 0;
  for (size_t s = 0; s < n;) {
    // A line ends at CR LF, LF or a lone CR; a break at the very end adds no empty line.
    size_t eol = breaks.Next(s);
    LoadLine(text.substr(s, eol - s), nullptr, ++line, source);
    if (eol < n && text[eol] == '\r') ++eol;
    if (eol < n && text[eol] == '\n') ++eol;
    s = eol;
  }
  EndLoad();
}

void TOutlineTree::AppendText(String& out) const {
  size_t bytes = 0;
  for (size_t p = 1; p < FShape.Size(); ++p) {
    CheckSavable(int32_t(p));
    bytes += FCells[p].Text.Length + size_t(FShape[p].Level());
  }
  out.reserve(out.size() + bytes);
  for (size_t p = 1; p < FShape.Size(); ++p) {
    out.append(size_t(FShape[p].Level() - 1), '\t');
    out += FCells[p].Text.View();
    out += '\n';
  }
}

void TOutlineTree::CheckSavable(int32_t p) const {
  const std::string_view text = Text(p);
  bool bad = !text.empty() && text[0] == '\t';
  for (char c : text)
    bad |= c == '\n' || c == '\r' || c == '\0';
  if (bad) throw EOutlineError(Format(SOutlineUnsavableText, {std::to_string(p)}));
}

String TOutlineTree::Line(int32_t p) const {
  String line(size_t(Level(p) - 1), '\t');
  line += Text(p);
  return line;
}

}  // namespace bw
