#pragma once
// Where the cells of a grid lie: the column and row axes, the fixed columns and rows,
// the first scrolled column and row (the top-left cell), and the size of the view. It
// answers the geometry questions (which cell is under a point, where a cell is on screen,
// how many cells fit, how far the grid can scroll, where a keyboard move leads) and
// changes nothing by itself: TCustomGrid keeps it consistent and raises the events.
//
// Every answer costs O(log exceptions) or works per visible cell, never per column or
// row of the grid.

#include <climits>

#include "platform/core/TRect.h"
#include "platform/grids/GridTypes.h"
#include "platform/grids/TGridAxis.h"

namespace bw {

/// Where a keyboard move leads: the new current cell and the top-left cell that shows it.
struct TGridNavigation {
  TGridCoord Current;
  TGridCoord TopLeft;
};

class TGridLayout {
 public:
  TGridLayout();

  TGridAxis& Cols() { return FCols; }
  const TGridAxis& Cols() const { return FCols; }
  TGridAxis& Rows() { return FRows; }
  const TGridAxis& Rows() const { return FRows; }

  int32_t FixedCols() const { return FFixedCols; }
  int32_t FixedRows() const { return FFixedRows; }
  void SetFixedCols(int32_t value) {
    FFixedCols = value;
    ++FVersion;
  }
  void SetFixedRows(int32_t value) {
    FFixedRows = value;
    ++FVersion;
  }

  /// The first scrolled column (X) and row (Y) shown after the fixed ones.
  TGridCoord TopLeft() const { return FTopLeft; }
  void SetTopLeft(TGridCoord value) {
    FTopLeft = value;
    ++FVersion;
  }

  int32_t ViewWidth() const { return FViewWidth; }
  int32_t ViewHeight() const { return FViewHeight; }
  void SetViewSize(int32_t width, int32_t height);

  /// Grows with every change of what decides which cells are on screen and where: the
  /// axes, the fixed counts, the top-left cell, the view's size, and whatever a grid
  /// reports through MarkChanged. An answer worked out from the layout holds while the
  /// version stays.
  uint64_t Version() const { return FVersion + FCols.Version() + FRows.Version(); }
  /// Reports a change the layout cannot see, such as a new order of the rows' contents.
  void MarkChanged() { ++FVersion; }

  /// The room the fixed columns and rows take on screen.
  int32_t FixedWidth() const { return Clamp32(FCols.Position(FFixedCols)); }
  int32_t FixedHeight() const { return Clamp32(FRows.Position(FFixedRows)); }

  /// Scrolled columns and rows that fit whole into the view from the top-left cell.
  int32_t VisibleColCount() const;
  int32_t VisibleRowCount() const;
  /// The last column and row shown at least in part.
  int32_t LastVisibleCol() const;
  int32_t LastVisibleRow() const;

  /// The largest top-left cell: the one that shows the last column and row at the far
  /// edges of the view (or the last ones themselves when they are larger than the view).
  TGridCoord MaxTopLeft() const;
  /// value moved into the range from the first scrolled cell to MaxTopLeft.
  TGridCoord ClampTopLeft(TGridCoord value) const;
  /// The top-left cell nearest to `from` that shows cell whole (or from its start when it
  /// is larger than the view). Fixed coordinates leave their axis as it is.
  TGridCoord TopLeftToShow(TGridCoord cell, TGridCoord from) const;

  /// The cell's rectangle in view coordinates, its grid lines included (they lie at its
  /// right and bottom); empty when the cell is scrolled out of sight or out of range.
  TRect CellRect(int32_t ACol, int32_t ARow) const;
  /// The cell under a view point; -1 for a coordinate outside every column or row.
  TGridCoord CellAt(int32_t X, int32_t Y) const;
  /// Where column ACol (row ARow) starts in the view; -1 when scrolled out of sight.
  int32_t ColStart(int32_t ACol) const;
  int32_t RowStart(int32_t ARow) const;

  /// The column (row) whose right (bottom) edge lies within `slack` pixels of the point,
  /// -1 when there is none: where a drag in the fixed area sizes a column (row).
  int32_t ColEdgeAt(int32_t X, int32_t slack) const;
  int32_t RowEdgeAt(int32_t Y, int32_t slack) const;

  /// Where a keyboard move from `current` leads. With rowSelect the columns scroll
  /// instead of moving the current cell sideways.
  TGridNavigation Navigate(TGridCoord current, TGridMove move, bool rowSelect) const;

 private:
  static int32_t Clamp32(int64_t v) { return v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v); }

  TGridAxis FCols;
  TGridAxis FRows;
  int32_t FFixedCols = 1;
  int32_t FFixedRows = 1;
  TGridCoord FTopLeft{1, 1};
  int32_t FViewWidth = 0;
  int32_t FViewHeight = 0;
  uint64_t FVersion = 0;
};

}  // namespace bw
