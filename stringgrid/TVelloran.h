#pragma once
// The outline grid with a string and an object per cell. Cells are kept under their
// column and data row (see TCorvath.h: a fixed row r is data row r, the item with outline
// index i is data row FixedRows + i - 1), never under the row on screen, so collapsing
// and expanding branches moves nothing in the store and an item's cells show wherever
// the item is shown. Adding or deleting items renumbers the items after them; the cells
// stay with the number, not with the item.
//
// The store is sparse (see TCellStore): only cells holding a non-empty text or an object
// take room, and a data row's list (EnsureDataRow) is the store of that row's cells. Whole columns
// and data rows can be read and written as string lists through Cols and Rows. Objects stored in
// cells belong to the caller and are never freed by the grid. Cells are not stored in form files.

#include <cstdint>
#include <memory>
#include <vector>

#include "grid/TCorvath.h"
#include "grid/TInGridOutline.h"
#include "stringgrid/TCellStore.h"

namespace bw {

class TSparseList;
class TStringSparseList;
class TStrings;
class TVelloranStrings;

class TVelloran : public TCorvath {
  BW_CLASS(TVelloran, TCorvath)

 public:
  explicit TVelloran(TComponent* AOwner);
  /// Frees the views and the data rows; the objects in cells are the caller's.
  ~TVelloran() override;

  // ---- cells, by column and data row ----
  /// The empty string for a cell never written. EListError for a negative row or column.
  String GetCells(int32_t ACol, int32_t ARow) const { return FCells.Text(ACol, ARow); }
  /// Stores Value; the empty string on a cell without an object removes its entry.
  void SetCells(int32_t ACol, int32_t ARow, const String& Value) {
    // Inline, as most writes overwrite a stored text off screen: neither needs a call.
    FCells.SetText(ACol, ARow, Value, ColQuantum());
    Update(ACol, ARow);
  }
  /// nil for a cell without an object.
  TObject* GetObjects(int32_t ACol, int32_t ARow) const;
  /// Stores the reference (the grid never frees it); nil on a cell without text removes
  /// its entry.
  void SetObjects(int32_t ACol, int32_t ARow, TObject* Value);
  /// Column Index as a list: entry i is the cell in data row i. The view is the grid's
  /// and lives as long as the grid.
  TStrings* GetCols(int32_t Index);
  /// Copies Value into the column view (see TVelloranStrings::Assign).
  void SetCols(int32_t Index, TStrings* Value);
  /// Data row Index as a list: entry i is the cell in column i.
  TStrings* GetRows(int32_t Index);
  void SetRows(int32_t Index, TStrings* Value);

  // ---- the store ----
  /// Creates whichever of the two view lists is missing; the store is made with the grid.
  void Initialize();
  /// The cells of data row ARow, created when missing.
  TStringSparseList* EnsureDataRow(int32_t ARow);
  /// The view of column Index (IsCol) or of data row Index, created when missing.
  TVelloranStrings* EnsureColRow(int32_t Index, bool IsCol);
  /// Reports a changed cell of data row ARow: repaints it where it is shown (at once, or
  /// as one repaint of the whole grid when an update batch ends) and makes an open editor
  /// over it reload, unless the editor is storing its own text.
  void Update(int32_t ACol, int32_t ARow) {
    // Most writes go to a data row not shown on screen; that is settled here, the rest in
    // RepaintStored.
    const bool Offscreen = !FUpdating && ARow >= FixedRows() && ShownRowsKept() &&
                           (ARow < FShown.FirstData || ARow > FShown.LastData);
    if (!Offscreen || ACol == Col()) RepaintStored(ACol, ARow);
  }
  /// The control's Update: paints what is pending now.
  using TCorvath::Update;
  /// Starts (true) or ends (false) an update batch; called by the views' outermost
  /// BeginUpdate and EndUpdate. Ending a batch in which a cell changed repaints the grid.
  void SetUpdateState(bool Updating);

  // ---- editing ----
  /// While disabled, a cell change leaves an open editor's text alone. Used in pairs.
  void DisableEditUpdate() { ++FEditUpdateCount; }
  void EnableEditUpdate() { --FEditUpdateCount; }

 protected:
  /// The stored text of the data row shown on visual row ARow; OnGetEditText gets the
  /// data row.
  String GetEditText(int32_t ACol, int32_t ARow) override;
  /// Stores Value under the data row shown on visual row ARow, then raises OnSetEditText
  /// with that data row.
  void SetEditText(int32_t ACol, int32_t ARow, const String& Value) override;
  /// Only over a row that has a data row: the blank row of an empty outline, and a row
  /// whose item went without the rows being rebuilt, have no cell to edit.
  bool CanEditShow() override;
  /// The outline grid's painting, then the stored text of every cell but the outline
  /// column's item rows.
  void DrawCell(int32_t ACol, int32_t ARow, const TRect& ARect, TGridDrawState AState) override;
  /// Moves the column's cells in every data row, the fixed rows included.
  void ColumnMoved(int32_t FromIndex, int32_t ToIndex) override;
  /// Moves the cells of the rows shown between the two visual rows; the items stay.
  void RowMoved(int32_t FromIndex, int32_t ToIndex) override;

 private:
  friend class TVelloranStrings;

  // The scrolling rows on screen and the data rows shown on the first and the last;
  // FirstData > LastData when none is shown.
  struct TShownRows {
    int32_t Top, Bottom, FirstData, LastData;
  };
  /// The visual row on screen (fixed or scrolled into view) that shows data row ARow, or
  /// -1 when none does.
  int32_t VisibleRowOf(int32_t ARow) const;
  /// The scrolling rows on screen, partly shown or whole, and the data rows at their ends.
  const TShownRows& ShownRows() const;
  /// Whether ShownRows' last answer still holds. The rows on screen follow from the
  /// layout. The data row a visual row shows follows from the row map, which only
  /// SyncOutline changes (and reports to the layout), the fixed rows, and the number of
  /// items, which can change without a word inside an update bracket of the outline.
  bool ShownRowsKept() const {
    return FShownKey.Version == Layout().Version() &&
           FShownKey.Items == HiddenOutline()->ItemCount();
  }
  /// The quantum of a new data row list: large blocks only for very wide grids.
  TSparseQuantum ColQuantum() const { return ColCount() > kWideGrid ? sqLarge : sqSmall; }
  static constexpr int32_t kWideGrid = 512;
  /// Update for a cell that may be on screen or under the editor.
  void RepaintStored(int32_t ACol, int32_t ARow);
  /// The data row shown on visual row ARow, or -1 for a row without an item.
  int32_t ShownDataRow(int32_t ARow) const;
  /// The columns of data row ARow that hold a text or an object, ascending.
  std::vector<int32_t> StoredColumns(int32_t ARow) const;
  void DrawCellText(int32_t ACol, int32_t ARow, const TRect& ARect);

  // Views are made when asked for; they hold no cells, so a view not yet made and one
  // made later read and write the same.
  TCellStore FCells;                       // held in place: a read saves a load
  std::unique_ptr<TSparseList> FRowViews;  // of TVelloranStrings*, owned
  std::unique_ptr<TSparseList> FColViews;  // of TVelloranStrings*, owned
  bool FUpdating = false;
  bool FUpdatePending = false;
  int32_t FEditUpdateCount = 0;

  // What ShownRows' answer was worked out from, and the answer. The first key matches
  // nothing: a layout's version starts at 0 and only grows.
  struct TScreenKey {
    uint64_t Version;
    int32_t Items;
  };
  mutable TScreenKey FShownKey{UINT64_MAX, 0};
  mutable TShownRows FShown{};
};

}  // namespace bw
