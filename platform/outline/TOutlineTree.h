#pragma once
// The items of an outline as one pre-order array. Position 0 is the root; the items follow
// in outline order, so an item's position is its index. Each item records the size of its
// subtree, the distance back to its parent and its level, which makes every question a
// node can be asked (parent, children, siblings, visibility) a few array reads, and lets
// walks skip whole collapsed branches.
//
// Structure (sizes, levels, parents, expansion) lives in one compact array apart from the
// texts and data, so walks over the tree read 12 bytes an item; texts and data take 24
// more. Node handles are made on demand, a chunk of items at a time, and kept in a third
// array that takes memory only where handles exist; their cached positions are corrected
// in one pass after a batch of changes (see ReindexNodes).
//
// The items whose subtrees reach the end of the array (the last item and its ancestors)
// record no size but "to the end", so adding at the end touches only the items that stop
// being last: amortised constant time, however deep the new item. Adding or deleting
// elsewhere moves the items after it once (a memmove) and walks the new item's
// ancestors.

#include <cstring>
#include <string_view>
#include <vector>

#include "platform/core/CopyShort.h"
#include "platform/core/Types.h"
#include "platform/outline/TOutlineArray.h"
#include "platform/outline/TOutlineNodeArray.h"

namespace bw {

class TCustomOutline;
class TOutlineNode;

/// The structure of one item, in 12 bytes.
struct TOutlineShape {
  int32_t Size;           // the item and all of its descendants; kToEnd when they reach the end
  int32_t Up;             // how many positions back the parent is; 0 for the root
  uint32_t LevelAndOpen;  // the level (0 for the root) below kOpen, which marks it expanded

  static constexpr int32_t kToEnd = 0;
  static constexpr uint32_t kOpen = 0x80000000u;

  static TOutlineShape Make(int32_t size, int32_t up, int32_t level, bool expanded) {
    return {size, up, uint32_t(level) | (expanded ? kOpen : 0)};
  }
  int32_t Level() const { return int32_t(LevelAndOpen & ~kOpen); }
  bool Expanded() const { return (LevelAndOpen & kOpen) != 0; }
  /// Collapsed and not known to be a leaf (an item whose subtree size is "to the end" may
  /// still be one): kOpen set in the result, which is made without a branch or a flag
  /// so that a scan can combine many.
  uint32_t MayHide() const {
    const uint32_t notLeaf = uint32_t(Size) ^ 1u;  // 0 exactly for a size of 1
    return ~LevelAndOpen & (notLeaf | (0u - notLeaf)) & kOpen;
  }
  void SetExpanded(bool v) { LevelAndOpen = v ? LevelAndOpen | kOpen : LevelAndOpen & ~kOpen; }
};

/// An item's text in 16 bytes: up to 12 bytes in place, a longer text in a heap block of
/// its own whose address sits in Bytes[4..11]. Plain data, so that the array can move it
/// with memmove; the tree frees the block.
struct TItemText {
  uint32_t Length;
  char Bytes[12];

  static constexpr uint32_t kInline = 12;
  /// The heap block a text needs, null when it fits in place; raises for a text too long
  /// to record.
  static char* BlockFor(std::string_view s);
  /// Writes s here, in place or into block (from BlockFor), which this text then owns.
  /// Filling the record where it lives, rather than copying a finished one, spares the
  /// processor a wide read of narrow writes still on their way.
  void Set(std::string_view s, char* block) {
    Length = uint32_t(s.size());
    if (block) {
      std::memcpy(block, s.data(), s.size());
      std::memcpy(Bytes + 4, &block, sizeof block);
    } else {
      CopyShort(Bytes, s.data(), s.size());
    }
  }
  static TItemText Make(std::string_view s) {
    TItemText t;
    t.Set(s, BlockFor(s));
    return t;
  }
  void Free();
  std::string_view View() const;
};

/// The rest of an item: its text and the application's data.
struct TOutlineCell {
  TItemText Text;
  Pointer Data;
};

class TOutlineTree {
 public:
  TOutlineTree();
  ~TOutlineTree();
  TOutlineTree(const TOutlineTree&) = delete;
  TOutlineTree& operator=(const TOutlineTree&) = delete;

  /// Number of items, the root not counted.
  int32_t Count() const { return int32_t(FShape.Size()) - 1; }

  int32_t Level(int32_t p) const { return FShape[size_t(p)].Level(); }
  /// The number of items in p's subtree, p included.
  int32_t Size(int32_t p) const { return End(p) - p; }
  /// One past the last position of p's subtree.
  int32_t End(int32_t p) const {
    const int32_t s = FShape[size_t(p)].Size;
    return s != TOutlineShape::kToEnd ? p + s : int32_t(FShape.Size());
  }
  /// The parent's position; -1 for the root.
  int32_t Parent(int32_t p) const { return p == 0 ? -1 : p - FShape[size_t(p)].Up; }
  bool Expanded(int32_t p) const { return FShape[size_t(p)].Expanded(); }
  void SetExpanded(int32_t p, bool v);
  /// Sets the expansion of every item.
  void SetAllExpanded(bool v);
  /// Sets the expansion of p and every item below it; for the root, of every item.
  void SetBranchExpanded(int32_t p, bool v);

  // What changed, for readers that follow the shown items (a grid's row map). The layout
  // stamp is new after every change that may add, remove or move items, or show or hide
  // them other than through the expansion of one branch. Expansion changes of branches
  // are counted, and the positions of the last kExpansionLog of them are kept.
  static constexpr uint64_t kExpansionLog = 8;
  uint64_t LayoutStamp() const { return FLayoutStamp; }
  uint64_t Expansions() const { return FExpansions; }
  /// The item whose branch expansion change number `number` (from 0) was made on. Valid
  /// while the layout stamp is unchanged, for the last kExpansionLog numbers.
  int32_t ExpansionAt(uint64_t number) const {
    return FExpansionLog[size_t(number % kExpansionLog)];
  }

  std::string_view Text(int32_t p) const { return FCells[size_t(p)].Text.View(); }
  void SetText(int32_t p, std::string_view v);
  Pointer Data(int32_t p) const { return FCells[size_t(p)].Data; }
  void SetData(int32_t p, Pointer v) { FCells[size_t(p)].Data = v; }

  /// The levels a new item at position x may take so that the order of levels stays a
  /// tree: no deeper than one below the item before it, and no shallower than one above
  /// the item that will follow it.
  int32_t MinLevelAt(int32_t x) const;
  int32_t MaxLevelAt(int32_t x) const { return Level(x - 1) + 1; }

  /// Puts a new item at position x (1 <= x <= Count()+1) with a level in
  /// [MinLevelAt(x), MaxLevelAt(x)]. Following items deeper than the new one become its
  /// descendants, exactly as if the line were inserted into the text form.
  void InsertAt(int32_t x, int32_t level, std::string_view text, Pointer data);
  /// Removes the item at p (p >= 1) with its descendants and frees their node handles.
  void DeleteAt(int32_t p);
  /// Removes every item and frees every node handle but the root's.
  void Clear();
  /// Exchanges the items and their node handles; each tree keeps its root's handle.
  void Swap(TOutlineTree& other);
  void Reserve(int32_t count);

  /// The position after p in display order when p is shown: its first child when it is
  /// expanded, else the item after its subtree. Count()+1 after the last.
  int32_t NextShown(int32_t p) const { return FShape[size_t(p)].Expanded() ? p + 1 : End(p); }
  /// The first position in [p, to) whose item hides the ones after it, being collapsed
  /// with children; to when there is none. Reads the structure array as plain arrays.
  int32_t NextClosed(int32_t p, int32_t to) const;
  /// True when every ancestor of p is expanded (the root counts as expanded).
  bool IsShown(int32_t p) const;

  // Node handles. A handle caches its position; changes that move items only note the
  // first moved position, and ReindexNodes corrects the handles from there in one pass.
  TOutlineNode* Node(int32_t p) const { return FNodes.Get(size_t(p)); }
  void SetNode(int32_t p, TOutlineNode* node);
  /// Makes handles of outline for every item without one in the chunk of positions that
  /// holds p (p >= 1), and gives p's.
  TOutlineNode* MakeNodes(int32_t p, TCustomOutline* outline);
  bool NodesStale() const { return FStaleFrom != INT32_MAX; }
  void ReindexNodes();
  /// How many node handles have left this tree, freed with their items or handed away by
  /// Swap. While it is unchanged, a handle kept across changes still names its item: its
  /// address cannot have been given to another one.
  uint64_t NodesReleased() const { return FNodesReleased; }

  // The text form: one item a line, its level given by the number of leading tabs
  // (none for a top-level item).

  /// Fills an empty tree with the items of text; lines end at CR LF, LF or a lone CR.
  /// Raises EOutlineError naming the line when a line is more than one level deeper than
  /// the line before it; source names the text in that message. The tree is then
  /// half-filled: load into a fresh tree and Swap it in on success.
  void LoadText(std::string_view text, const String& source);
  /// The same one line at a time: BeginLoad, LoadLine for each line in order, EndLoad.
  void BeginLoad(int32_t expected);
  void LoadLine(std::string_view line, Pointer data, int32_t lineNo, const String& source);
  void EndLoad();
  /// Appends every item as a line ending in a line feed. Raises EOutlineError, leaving
  /// out as it was, for an item whose text would not read back (a leading tab or a line
  /// break).
  void AppendText(String& out) const;
  /// One item's line without the line end.
  String Line(int32_t p) const;
  /// Raises EOutlineError when item p's text would not read back from its line (it
  /// starts with a tab or holds a line break).
  void CheckSavable(int32_t p) const;

 private:
  TOutlineArray<TOutlineShape> FShape;
  TOutlineArray<TOutlineCell> FCells;
  TOutlineNodeArray FNodes;        // owned; null until asked for
  int32_t FNodeCount = 0;          // handles of items, the root's not counted
  int32_t FStaleFrom = INT32_MAX;  // first position whose handle may be out of date
  uint64_t FNodesReleased = 0;
  std::vector<int32_t> FOpen;  // while loading: the open item of each level
  uint64_t FLayoutStamp;
  uint64_t FExpansions = 0;
  int32_t FExpansionLog[kExpansionLog] = {};

  /// Gives the tree a layout stamp no tree has had before.
  void NewLayout();
  void NoteExpansion(int32_t p);

  void NoteMoved(int32_t from);
  bool ReachesEnd(int32_t p) const { return FShape[size_t(p)].Size == TOutlineShape::kToEnd; }
  /// Gives the ancestors of the item before x, up to but not including stop, their sizes
  /// when their subtrees now end at x.
  void CloseBefore(int32_t x, int32_t stop);
  /// Frees the texts and node handles of [from, to).
  void FreeCells(int32_t from, int32_t to);
  void Append(const TOutlineShape& shape, std::string_view text, Pointer data);
};

}  // namespace bw
