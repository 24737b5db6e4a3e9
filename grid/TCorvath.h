#pragma once
// An owner-drawn grid whose outline column shows a tree. The tree lives in a hidden
// outline the grid owns; the grid's non-fixed rows show exactly the items whose
// ancestors are all expanded, in outline order. The row map says which item each
// non-fixed row shows; SyncOutline rebuilds it after every change of the items, their
// expansion or the grid's size.
//
// Row terms: a visual row is a row as displayed, fixed rows included. A data row is where
// a row's cells are kept: a fixed row r is data row r, the item with outline index i is
// data row FixedRows + i - 1, whether or not it is shown.
//
// Sections of TCorvath.cpp: construction and form storage; the row map; painting of the
// outline column; mouse and editor interaction; the tree options (keys, boxes, typing).

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "editor/EditEvents.h"
#include "editor/TComboEditGrid.h"
#include "grid/TOutlineRowMap.h"
#include "grid/TTypeAhead.h"
#include "grid/TreeOptions.h"
#include "platform/grids/TDrawGrid.h"

namespace bw {

class TBitmap;
class TGridEditProperties;
class TGridOutlineProperties;
class TInGridOutline;
class TOutlineNode;
class TPen;
class TReader;
class TWriter;

class TCorvath : public TDrawGrid, public TComboEditGrid {
  BW_CLASS(TCorvath, TDrawGrid)

 public:
  explicit TCorvath(TComponent* AOwner);
  ~TCorvath() override;

  // ---- row map ----
  /// Rebuilds the row map from the outline, sets RowCount (FixedRows + 1 for an empty
  /// outline, which keeps one blank row) and repaints.
  virtual void SyncOutline();
  /// The item shown on visual row ARow; null for fixed rows, rows without an item and
  /// stale map entries. Never raises.
  TOutlineNode* RowToOutline(int32_t ARow) const;
  /// The data row of visual row ARow: ARow itself for a fixed row, -1 for a stale map
  /// entry. EListError for a non-fixed row without a map entry.
  int32_t RowToOutlineRow(int32_t ARow) const;
  /// Handler for the hidden outline's OnChange: resynchronises.
  void ExpandCollapse(TObject* Sender);

  // ---- pictures ----
  /// Pictures 0 to 4: plus, minus, open, closed, leaf, held by the hidden outline; null
  /// for any other index. Only open, closed and leaf are painted.
  TBitmap* GetPicture(int32_t Index) const;
  /// Copies Value into picture Index (0 to 4; other indexes are ignored). The grid shows
  /// it at its next paint.
  void SetPicture(int32_t Index, TBitmap* Value);

  // ---- published ----
  /// The column that shows the tree; 0 by default.
  int32_t OutlineCol() const { return FOutlineColIndex; }
  /// EInvalidGridOperation "Grid index out of range" unless 0 <= Value < ColCount.
  void SetOutlineCol(int32_t Value);
  /// Adding, removing, loading and saving items.
  TGridOutlineProperties* Outline() const { return FOutlineProps.get(); }
  /// Glyph and button width for the in-place editors.
  TGridEditProperties* Editor() const { return FEditorProps.get(); }
  /// What the tree offers beyond the double-click (see TreeOptions.h); none by default.
  /// The keys act while the current column is the tree column, or on the current row of
  /// a grid with goRowSelect.
  TTreeOptions TreeOptions() const { return FTreeOptions; }
  void SetTreeOptions(TTreeOptions Value);

  TEditButtonClickEvent OnButtonClick;
  TEditAcceptKeyEvent OnEditAcceptKey;
  /// Raises OnButtonClick for the current column and the current row's data row.
  bool EditButtonClick(TObject* Editor, String& EditText) override;

  // ---- form storage ----
  /// Builds the rows from the items a form file has filled in.
  void Loaded() override;
  /// The grid's stored children, less the hidden outline: its items are stored as
  /// Outline.Lines, and the grid makes the outline itself.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

 protected:
  void DefineProperties(TFiler* Filer) override;
  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override;
  /// Paints Pictures side by side, one per indentation step from ARect.Left, each centred
  /// vertically in a DefaultRowHeight square, their transparent colour left to the brush.
  void DrawPictures(std::span<TBitmap* const> Pictures, const TRect& ARect);

  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void DblClick() override;
  /// The tree stays with its column when columns are moved.
  void ColumnMoved(int32_t FromIndex, int32_t ToIndex) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void SizeChanged(int32_t OldColCount, int32_t OldRowCount) override;
  void FixedRowsChanged() override;
  bool CanEditAcceptKey(Char Key) override;
  bool CanEditShow() override;
  /// The in-place combo editor, with the glyph and button width of Editor.
  TInplaceEdit* CreateEditor() override;

  void ReadColWidths(TReader* Reader);
  void WriteColWidths(TWriter* Writer);

  TInGridOutline* HiddenOutline() const { return FHiddenOutline; }

  /// The data row shown on visual row V, or INT32_MAX for a row without an item (one
  /// whose item went, or that has no map entry): such rows come last, so the data rows
  /// still grow down the rows. Never raises.
  int32_t ShownOn(int32_t V) const;
  /// The visual row among First..Last that shows data row ARow, or -1 when none does.
  int32_t FindShownRow(int32_t ARow, int32_t First, int32_t Last) const;

 private:
  friend class TGridOutlineProperties;

  // An item remembered across changes of the outline: its handle, with the outline's
  // count of released handles at that time, which tells whether the handle may since
  // have gone (Resolve gives null then).
  struct TItemRef {
    TOutlineNode* Node = nullptr;
    uint64_t Released = 0;
  };
  TItemRef RefTo(TOutlineNode* Node) const;
  TOutlineNode* Resolve(const TItemRef& Ref) const;

  void DrawTreeLines(const TRect& R, TOutlineNode* Node);
  /// The item whose tree cell is under a client point, or null.
  TOutlineNode* ItemAt(int32_t X, int32_t Y) const;
  /// Expands or collapses Node and rebuilds the rows, also when OnExpand or OnCollapse
  /// fails.
  void ToggleItem(TOutlineNode* Node);
  void ItemsChanged();
  /// Remembers the item on the current row while the row map is known to match the
  /// outline; called by SyncOutline and before each change made through Outline.
  void NoteEditedItem();
  /// The plus or minus box of Node, on its own line: R is the cell less the step the
  /// boxes of top-level items take.
  void DrawExpander(const TRect& R, TOutlineNode* Node);
  /// The item whose box lies under a client point, or null.
  TOutlineNode* ExpanderAt(int32_t X, int32_t Y) const;
  void PressExpander(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);
  /// The row that shows item Index, or -1 when it is not shown.
  int32_t RowOfItem(int32_t Index) const;

  // What a key does to the tree's current item.
  enum class TTreeStep : uint8_t { None, Expand, Collapse, ExpandAll, ToFirstChild, ToParent };
  TTreeStep TreeStepFor(uint16_t Key, TShiftState Shift) const;
  TTreeStep TreeStepFor(Char Key) const;
  /// Whether the tree takes a typed character (a step or type-ahead) rather than the grid.
  bool TakesChar(Char Key) const;
  void TakeTreeStep(TTreeStep Step);
  /// The item on the current row when the tree's keys act there, else null.
  TOutlineNode* KeyedItem() const;
  /// Moves to the next shown item whose text starts with what was typed; Fresh when
  /// the prefix has just begun, which starts the search below the current row.
  void FindTyped(bool Fresh);
  /// Expands Node and every branch below it, each raising OnExpand, then rebuilds once.
  void ExpandBranch(TOutlineNode* Node);
  /// Scrolls so that as many of the shown rows below Node as fit come into view, Node's
  /// own row staying in view: what the keys that open a branch do after opening it.
  void ShowBranch(TOutlineNode* Node);

  int32_t FOutlineColIndex = 0;
  TInGridOutline* FHiddenOutline = nullptr;  // owned as a component
  std::unique_ptr<TGridOutlineProperties> FOutlineProps;
  int32_t FDownX = 0;
  int32_t FDownY = 0;
  // Set by the grid's own double press, which raises DblClick right after it; a
  // double-click the in-place editor hands on finds it clear.
  bool FDownDouble = false;
  // The item under the last single press, noted before the grid's handling could scroll:
  // the first press of a double-click says which item the double-click toggles.
  TItemRef FFirstPress;
  bool FFirstPressNoted = false;
  // No change of the items since the row map was last built.
  bool FMapCurrent = false;
  // The item on row FEditedRow when the map was last known to be current: an open editor
  // on that row holds text typed for it.
  TItemRef FEditedItem;
  int32_t FEditedRow = -1;
  int32_t FEditedData = -1;  // the data row FEditedRow showed then
  // The last left press toggled a box: its release selects no row.
  bool FDownOnExpander = false;
  TTreeOptions FTreeOptions;
  TTypeAhead FTypeAhead;
  // Entry k: outline index of the item on visual row FixedRows + k.
  TOutlineRowMap FRowMap;
  std::unique_ptr<TGridEditProperties> FEditorProps;

  // Set while SyncOutline changes the row count: the nested run that SizeChanged makes
  // finds the map it would build already in place.
  bool FSettingRowCount = false;
};

}  // namespace bw
