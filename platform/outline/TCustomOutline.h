#pragma once
// An outline: a tree of text items numbered from 1 in outline (pre-)order. Items are added,
// inserted, deleted, expanded and collapsed by index, read through TOutlineNode handles,
// and loaded and saved in the text form: one item a line, its level given by its count of
// leading tabs.
//
// Speed: Get and TOutlineNode::Index are constant time; adding at the end is amortised
// constant; loading and saving are linear; walking the shown items skips collapsed
// branches whole (ForEachVisible, NextVisible).

#include <memory>
#include <span>
#include <vector>

#include "platform/controls/TCustomControl.h"
#include "platform/core/TEvent.h"
#include "platform/outline/TOutlineNode.h"
#include "platform/outline/TOutlineTree.h"

namespace bw {

class TBitmap;
class TStream;
class TStrings;
class TOutlineStrings;

/// An item index with the outline it belongs to, for OnExpand and OnCollapse.
using TOutlineEvent = TEvent<void(TObject* Sender, int32_t Index)>;

/// Indexes of the outline's pictures (GetPicture, SetPicture).
enum TOutlinePicture : int32_t { opPlus = 0, opMinus = 1, opOpen = 2, opClosed = 3, opLeaf = 4 };

class TCustomOutline : public TCustomControl {
  BW_CLASS(TCustomOutline, TCustomControl)

 public:
  explicit TCustomOutline(TComponent* AOwner);
  ~TCustomOutline() override;

  /// Number of items, 0 when empty.
  int32_t ItemCount() const { return FTree.Count(); }
  /// The item with that index, 1 <= Index <= ItemCount; EOutlineError otherwise.
  TOutlineNode* Get(int32_t Index);
  /// The root: the parent of the top-level items. It is no item and has index 0.
  TOutlineNode* RootNode() const { return FRoot; }

  // Adding. Each returns the new item's index. Index 0 stands for the root, so Add(0, ..),
  // AddChild(0, ..) and Insert(0, ..) all append a top-level item. Any other index must
  // name an item (EOutlineError otherwise). New items are collapsed.

  /// Adds a last sibling of item Index.
  int32_t Add(int32_t Index, const String& Text) { return AddObject(Index, Text, nullptr); }
  int32_t AddObject(int32_t Index, const String& Text, Pointer Data);
  /// Adds a last child of item Index.
  int32_t AddChild(int32_t Index, const String& Text) {
    return AddChildObject(Index, Text, nullptr);
  }
  int32_t AddChildObject(int32_t Index, const String& Text, Pointer Data);
  /// Inserts a sibling just before item Index, which moves down by one.
  int32_t Insert(int32_t Index, const String& Text) { return InsertObject(Index, Text, nullptr); }
  int32_t InsertObject(int32_t Index, const String& Text, Pointer Data);

  /// Deletes item Index with all of its descendants.
  void Delete(int32_t Index);
  void Clear();
  void FullExpand();
  void FullCollapse();

  /// The first item whose Data is Value, 0 when none.
  int32_t GetDataItem(Pointer Value) const;
  /// The first item whose Text is Value, 0 when none.
  int32_t GetTextItem(const String& Value) const;

  /// The selected item, 0 when none. It follows its item when others are inserted or
  /// deleted, and becomes 0 when the item itself goes.
  int32_t SelectedItem() const { return FSelected; }
  void SetSelectedItem(int32_t Value);

  /// Separator of FullPath; "\" by default.
  const String& ItemSeparator() const { return FItemSeparator; }
  void SetItemSeparator(const String& Value) { FItemSeparator = Value; }

  // The text form. Loading is all or nothing: a line more than one level deeper than the
  // one before it, a zero character (which no text holds; the zero device is refused at
  // once), a source that does not tell its size and goes on past 64 MB, or a source that
  // cannot be read, raises EOutlineError naming the line or the source and leaves the
  // items as they were. Saving writes every item; an item whose text would not read back
  // (a leading tab, a line break or a zero character) raises EOutlineError before anything
  // is written. SaveToFile replaces the file atomically.
  // Files and streams may open with a UTF-8 byte order mark: loading drops one, and saving
  // writes one only when the first item's text begins with U+FEFF, which keeps that
  // character. Lines' text in memory never carries a mark.

  void LoadFromFile(const String& FileName);
  /// Reads from the stream's position to its end.
  void LoadFromStream(TStream* Stream);
  void SaveToFile(const String& FileName);
  void SaveToStream(TStream* Stream);

  /// Whether the text form keeps which branches are open; false by default. Saving then
  /// ends the line of every open item with children in CR LF and every other line in LF,
  /// and loading opens the items whose lines end in CR LF. Every reader takes both as
  /// line ends, so one that keeps no state, or another tool, reads the same items, all
  /// closed. A text none of whose lines ends in a bare LF (one that some editor rewrote
  /// with CR LF throughout) holds no state: its items load closed. The last line, always a
  /// leaf's, ends in LF.
  bool KeepExpanded() const { return FKeepExpanded; }
  void SetKeepExpanded(bool Value) { FKeepExpanded = Value; }

  /// The open items that have children, in order.
  std::vector<int32_t> ExpandedBranches() const;
  /// Opens exactly the items listed and closes every other, raising no OnExpand or
  /// OnCollapse. An index that names no item raises EOutlineError and changes nothing.
  void SetExpandedBranches(std::span<const int32_t> Items);

  /// The items as a list of strings, one a line in the text form (leading tabs give the
  /// level) with each item's Data as the line's object. Editing it edits the items;
  /// Assign and SetTextStr replace them all or nothing.
  TStrings* Lines() const;
  /// Replaces the items with the lines of Value (Lines()->Assign(Value)).
  void SetLines(TStrings* Value);

  // Update brackets nest; the outline settles (renumbers node handles, repaints) once,
  // when the outermost bracket closes.
  void BeginUpdate();
  void EndUpdate();
  /// Called with true when the outermost bracket opens and false when it closes.
  virtual void SetUpdateState(bool Value);
  bool Updating() const { return FUpdateCount > 0; }

  /// The outline's own bitmap for picture Index (0 plus, 1 minus, 2 open, 3 closed, 4 leaf;
  /// EOutlineError for any other index); never null. Plus and minus start as the
  /// platform's own 11x11 images, transparent around the box; the others start empty.
  TBitmap* GetPicture(int32_t Index) const;
  /// Makes picture Index show Value's image (null empties it).
  void SetPicture(int32_t Index, TBitmap* Value);
  /// True while picture Index shows the image it started with (form files leave it out).
  bool IsDefaultPicture(int32_t Index) const;

  /// Toggles the expansion of the selected item, then raises OnDblClick.
  void DblClick() override;

  // The view: one row per shown item from TopItem down, each with tree lines, the plus or
  // minus box of an item with children, its open, closed or leaf picture and its text.
  // A click on the box expands or collapses, elsewhere on a row it selects; the arrow,
  // Home, End and page keys move the selection, Left and Right also collapse and expand,
  // "+", "-" and "*" expand, collapse and fully expand the selected item.

  /// Height of a row in pixels; also the indentation per level. Default 16.
  int32_t ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int32_t Value);
  /// The item on the top row (0 when there are none). Setting an item inside a collapsed
  /// branch shows its outermost collapsed ancestor there instead.
  int32_t TopItem() const;
  void SetTopItem(int32_t Value);
  /// The item on the row at client point (X, Y), 0 when none.
  int32_t GetItem(int32_t X, int32_t Y) const;
  /// Scrolls as little as needed for item Index's row to be in view.
  void MakeVisible(int32_t Index);

  // Walking the items that are shown, that is whose ancestors are all expanded, in order.

  /// The shown item after item Index (Index 0: the first shown item); 0 after the last.
  /// For an item inside a collapsed branch, the first shown item after that branch.
  int32_t NextVisible(int32_t Index) const;
  /// The shown item before item Index, 0 before the first. Costs the depth of the item
  /// before it.
  int32_t PrevVisible(int32_t Index) const;
  /// Item Index when it is shown, else its outermost collapsed ancestor, which is.
  int32_t ShownItem(int32_t Index) const;
  /// Calls Visit(index) for every shown item in order. Costs the number of shown items.
  template <class F>
  void ForEachVisible(F&& Visit) const {
    const int32_t n = FTree.Count();
    for (int32_t p = 1; p <= n; p = FTree.NextShown(p))
      Visit(p);
  }
  /// The item array itself, for callers that walk it in bulk (positions are indexes).
  const TOutlineTree& Tree() const { return FTree; }

  TOutlineEvent OnExpand;
  TOutlineEvent OnCollapse;

 protected:
  /// Called after every change of the items or their expansion, outside update brackets;
  /// repaints.
  virtual void Changed();
  /// Called when a node's expansion changes through SetExpandedState.
  virtual void ExpandedChanged(int32_t Index, bool Expanded);

  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  bool DoMouseWheel(TShiftState Shift, int32_t WheelDelta, TPoint MousePos) override;
  void WMGetDlgCode(TMessage& Message) override;

 private:
  friend class TOutlineNode;
  friend class TOutlineStrings;

  TOutlineTree FTree;
  TOutlineNode* FRoot;  // owned by FTree, at position 0
  int32_t FSelected = 0;
  int32_t FUpdateCount = 0;
  int32_t FItemHeight = 16;
  int32_t FTopItem = 0;  // may be stale; TopItem() gives the shown item
  String FItemSeparator = "\\";
  bool FKeepExpanded = false;
  std::unique_ptr<TOutlineStrings> FLines;
  std::unique_ptr<TBitmap> FPictures[5];

  void CheckIndex(int32_t Index, int32_t low) const;
  /// The handle of the item at p, made on first use.
  TOutlineNode* NodeAt(int32_t p);
  int32_t InsertItem(int32_t x, int32_t level, const String& Text, Pointer Data);
  /// Replaces the items with those of text, all or nothing; source names it in errors.
  void LoadText(std::string_view text, const String& source);
  /// Puts a loaded tree in place of the items.
  void ReplaceItems(TOutlineTree& items);
  String SaveText() const;
  void NotifyChanged();
  /// Rows that fit in the client area, at least 1.
  int32_t RowsInView() const;
  /// The last shown item, 0 when empty.
  int32_t LastVisible() const;
  /// Moves by count shown items (negative: up), stopping at either end.
  int32_t StepVisible(int32_t Index, int32_t count) const;
  void PaintItem(TCanvas* ACanvas, int32_t Index, int32_t Y);
  void SelectAndShow(int32_t Index);
};

}  // namespace bw
