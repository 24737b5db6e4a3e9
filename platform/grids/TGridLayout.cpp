#include "platform/grids/TGridLayout.h"

#include <algorithm>

namespace bw {

namespace {

// One axis as the view shows it: the fixed items, then the scrolled items from First on,
// in a view Length pixels long. Columns and rows share this arithmetic.
struct AxisView {
  const TGridAxis& Axis;
  int32_t Fixed;
  int32_t First;
  int32_t Length;

  int64_t FixedExtent() const { return Axis.Position(Fixed); }
  // Room left for the scrolled items; zero or less when the fixed ones fill the view.
  int64_t Room() const { return Length - FixedExtent(); }

  int64_t Start(int32_t i) const {
    if (i < 0 || i >= Axis.Count()) return -1;
    if (i < Fixed) return Axis.Position(i);
    if (i < First) return -1;
    return FixedExtent() + Axis.Position(i) - Axis.Position(First);
  }

  int32_t IndexAt(int64_t p) const {
    if (p < 0) return -1;
    int64_t fixedExtent = FixedExtent();
    int32_t i =
        p < fixedExtent ? Axis.IndexAt(p) : Axis.IndexAt(p - fixedExtent + Axis.Position(First));
    return i >= Axis.Count() ? -1 : i;
  }

  int32_t WholeCount() const {
    int64_t room = Room();
    if (room <= 0) return 0;
    // The item holding the first pixel past the view is the first one not shown whole.
    return std::max(0, Axis.IndexAt(Axis.Position(First) + room) - First);
  }

  int32_t LastShown() const {
    int64_t room = Room();
    if (room <= 0) return First - 1;
    return std::min(Axis.IndexAt(Axis.Position(First) + room - 1), Axis.Count() - 1);
  }

  // The smallest first item that lets the items up to `end` (a position on the axis)
  // fit into the room, but never past `limit`.
  int32_t FirstEndingAt(int64_t end, int32_t limit) const {
    int64_t room = Room();
    if (room <= 0) return limit;
    int64_t target = end - room;
    if (target <= Axis.Position(Fixed)) return Fixed;
    int32_t j = Axis.IndexAt(target);
    if (j < Axis.Count() && Axis.Position(j) < target) ++j;
    return std::clamp(j, Fixed, limit);
  }

  int32_t MaxFirst() const { return FirstEndingAt(Axis.Length(), Axis.Count() - 1); }

  int32_t FirstToShow(int32_t i) const {
    if (i < Fixed || i >= Axis.Count()) return First;
    if (i < First) return i;
    if (Axis.Position(i + 1) - Axis.Position(First) <= Room()) return First;
    return FirstEndingAt(Axis.Position(i + 1), i);
  }

  int32_t EdgeAt(int64_t p, int32_t slack) const {
    if (p < 0) return -1;
    int32_t i = IndexAt(p);
    if (i < 0) {
      // Past the last item: only the last item's own edge can be near.
      i = LastShown();
      if (i < 0 || Start(i) < 0) return -1;
      return p - (Start(i) + Axis.Extent(i)) <= slack ? i : -1;
    }
    int64_t start = Start(i);
    int64_t end = start + Axis.Extent(i);
    if (end - p <= slack + Axis.LineWidth()) return i;
    if (p - start < slack) {
      // The edge before i belongs to the nearest item shown before it: hidden ones take
      // no room, and sizing one would bring it back unasked.
      auto before = [this](int32_t j) { return j == First ? Fixed - 1 : j - 1; };
      int32_t previous = before(i);
      while (previous >= 0 && Axis.Extent(previous) == 0)
        previous = before(previous);
      if (previous >= 0 && Start(previous) >= 0) return previous;
    }
    return -1;
  }
};

// The nearest shown item to i in [lo, hi], looking first the way the move went; i itself
// when nothing there is shown.
int32_t SkipHidden(const TGridAxis& axis, int32_t i, int32_t from, int32_t lo, int32_t hi) {
  if (axis.Extent(i) > 0) return i;
  const int32_t first = i >= from ? 1 : -1;
  for (int32_t step : {first, -first})
    for (int32_t j = i + step; j >= lo && j <= hi; j += step)
      if (axis.Extent(j) > 0) return j;
  return i;
}

AxisView ColView(const TGridLayout& g) {
  return {g.Cols(), g.FixedCols(), g.TopLeft().X, g.ViewWidth()};
}
AxisView RowView(const TGridLayout& g) {
  return {g.Rows(), g.FixedRows(), g.TopLeft().Y, g.ViewHeight()};
}

}  // namespace

TGridLayout::TGridLayout() : FCols(5, 64, 1), FRows(5, 24, 1) {}

void TGridLayout::SetViewSize(int32_t width, int32_t height) {
  FViewWidth = std::max(width, 0);
  FViewHeight = std::max(height, 0);
  ++FVersion;
}

int32_t TGridLayout::VisibleColCount() const {
  return ColView(*this).WholeCount();
}
int32_t TGridLayout::VisibleRowCount() const {
  return RowView(*this).WholeCount();
}
int32_t TGridLayout::LastVisibleCol() const {
  return ColView(*this).LastShown();
}
int32_t TGridLayout::LastVisibleRow() const {
  return RowView(*this).LastShown();
}

TGridCoord TGridLayout::MaxTopLeft() const {
  return {ColView(*this).MaxFirst(), RowView(*this).MaxFirst()};
}

TGridCoord TGridLayout::ClampTopLeft(TGridCoord value) const {
  TGridCoord max = MaxTopLeft();
  return {std::clamp(value.X, FFixedCols, std::max(max.X, FFixedCols)),
          std::clamp(value.Y, FFixedRows, std::max(max.Y, FFixedRows))};
}

TGridCoord TGridLayout::TopLeftToShow(TGridCoord cell, TGridCoord from) const {
  AxisView cols{FCols, FFixedCols, from.X, FViewWidth};
  AxisView rows{FRows, FFixedRows, from.Y, FViewHeight};
  return {cols.FirstToShow(cell.X), rows.FirstToShow(cell.Y)};
}

int32_t TGridLayout::ColStart(int32_t ACol) const {
  int64_t s = ColView(*this).Start(ACol);
  return s < 0 || s >= FViewWidth ? -1 : static_cast<int32_t>(s);
}

int32_t TGridLayout::RowStart(int32_t ARow) const {
  int64_t s = RowView(*this).Start(ARow);
  return s < 0 || s >= FViewHeight ? -1 : static_cast<int32_t>(s);
}

TRect TGridLayout::CellRect(int32_t ACol, int32_t ARow) const {
  int32_t left = ColStart(ACol), top = RowStart(ARow);
  if (left < 0 || top < 0) return TRect{};
  return Bounds(left, top, FCols.Extent(ACol), FRows.Extent(ARow));
}

TGridCoord TGridLayout::CellAt(int32_t X, int32_t Y) const {
  return {ColView(*this).IndexAt(X), RowView(*this).IndexAt(Y)};
}

int32_t TGridLayout::ColEdgeAt(int32_t X, int32_t slack) const {
  return ColView(*this).EdgeAt(X, slack);
}
int32_t TGridLayout::RowEdgeAt(int32_t Y, int32_t slack) const {
  return RowView(*this).EdgeAt(Y, slack);
}

TGridNavigation TGridLayout::Navigate(TGridCoord current, TGridMove move, bool rowSelect) const {
  const int32_t firstCol = FFixedCols, lastCol = FCols.Count() - 1;
  const int32_t firstRow = FFixedRows, lastRow = FRows.Count() - 1;
  const int32_t pageCols = std::max(VisibleColCount(), 1);
  const int32_t pageRows = std::max(VisibleRowCount(), 1);
  TGridCoord cur = current;
  TGridCoord topLeft = FTopLeft;
  switch (move) {
    case gmUp:
      --cur.Y;
      break;
    case gmDown:
      ++cur.Y;
      break;
    case gmLeft:
      (rowSelect ? topLeft.X : cur.X) -= 1;
      break;
    case gmRight:
      (rowSelect ? topLeft.X : cur.X) += 1;
      break;
    case gmPageUp:
      cur.Y -= pageRows;
      topLeft.Y -= pageRows;
      break;
    case gmPageDown:
      cur.Y += pageRows;
      topLeft.Y += pageRows;
      break;
    case gmPageLeft:
      if (!rowSelect) cur.X -= pageCols;
      topLeft.X -= pageCols;
      break;
    case gmPageRight:
      if (!rowSelect) cur.X += pageCols;
      topLeft.X += pageCols;
      break;
    case gmTopOfPage:
      cur.Y = topLeft.Y;
      break;
    case gmBottomOfPage:
      cur.Y = topLeft.Y + pageRows - 1;
      break;
    case gmHome:
      (rowSelect ? cur.Y : cur.X) = rowSelect ? firstRow : firstCol;
      break;
    case gmEnd:
      (rowSelect ? cur.Y : cur.X) = rowSelect ? lastRow : lastCol;
      break;
    case gmFirstCell:
      cur = {firstCol, firstRow};
      break;
    case gmLastCell:
      cur = {lastCol, lastRow};
      break;
    case gmNextCell:
      if (rowSelect)
        ++cur.Y;
      else if (cur.X < lastCol)
        ++cur.X;
      else if (cur.Y < lastRow)
        cur = {firstCol, cur.Y + 1};
      break;
    case gmPrevCell:
      if (rowSelect)
        --cur.Y;
      else if (cur.X > firstCol)
        --cur.X;
      else if (cur.Y > firstRow)
        cur = {lastCol, cur.Y - 1};
      break;
  }
  cur.X = std::clamp(cur.X, firstCol, lastCol);
  cur.Y = std::clamp(cur.Y, firstRow, lastRow);
  // Hidden columns and rows are stepped over.
  if (!(cur.X == current.X)) cur.X = SkipHidden(FCols, cur.X, current.X, firstCol, lastCol);
  if (!(cur.Y == current.Y)) cur.Y = SkipHidden(FRows, cur.Y, current.Y, firstRow, lastRow);
  topLeft = ClampTopLeft(topLeft);
  // With whole rows selected the columns scroll on their own; only the row must show.
  topLeft = TopLeftToShow({rowSelect ? -1 : cur.X, cur.Y}, topLeft);
  return {cur, ClampTopLeft(topLeft)};
}

}  // namespace bw
