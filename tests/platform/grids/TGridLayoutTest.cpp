#include "platform/grids/TGridLayout.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace bw {
namespace {

// The classic 5 x 5 grid: cells 64 x 24 plus a 1-pixel line, so 65 x 25 apart.
TGridLayout Classic(int32_t width, int32_t height) {
  TGridLayout g;
  g.SetViewSize(width, height);
  return g;
}

TEST(TGridLayout, VisibleCountsAndScrollLimits) {
  TGridLayout g = Classic(200, 100);
  EXPECT_EQ(g.FixedWidth(), 65);
  EXPECT_EQ(g.FixedHeight(), 25);
  EXPECT_EQ(g.VisibleColCount(), 2);  // 135 pixels of room
  EXPECT_EQ(g.VisibleRowCount(), 3);  // exactly 75
  EXPECT_EQ(g.LastVisibleCol(), 3);   // in part
  EXPECT_EQ(g.LastVisibleRow(), 3);
  EXPECT_EQ(g.MaxTopLeft(), (TGridCoord{3, 2}));
  EXPECT_EQ(g.ClampTopLeft({0, 9}), (TGridCoord{1, 2}));
  // A view smaller than the fixed cells leaves no room, but scrolling stays in range.
  g.SetViewSize(50, 20);
  EXPECT_EQ(g.VisibleColCount(), 0);
  EXPECT_EQ(g.MaxTopLeft(), (TGridCoord{4, 4}));
}

TEST(TGridLayout, CellRectAndCellAtFollowScrolling) {
  TGridLayout g = Classic(200, 100);
  g.SetTopLeft({2, 2});
  EXPECT_EQ(g.CellRect(0, 0), Rect(0, 0, 65, 25));
  EXPECT_EQ(g.CellRect(2, 2), Rect(65, 25, 130, 50));
  EXPECT_EQ(g.CellRect(0, 3), Rect(0, 50, 65, 75));
  EXPECT_TRUE(g.CellRect(1, 1).IsEmpty());  // scrolled away
  EXPECT_TRUE(g.CellRect(5, 1).IsEmpty());  // out of range
  EXPECT_EQ(g.CellAt(64, 24), (TGridCoord{0, 0}));
  EXPECT_EQ(g.CellAt(65, 25), (TGridCoord{2, 2}));
  EXPECT_EQ(g.CellAt(199, 99), (TGridCoord{4, 4}));
  EXPECT_EQ(g.CellAt(-1, 300), (TGridCoord{-1, -1}));
}

TEST(TGridLayout, EveryViewPixelLiesInTheCellFoundForIt) {
  TGridLayout g = Classic(300, 160);
  g.Cols().SetCount(40);
  g.Rows().SetCount(40);
  g.SetFixedCols(2);
  g.Cols().SetSize(0, 10);
  g.Cols().SetSize(7, 150);
  g.Cols().SetSize(8, -1);
  g.Rows().SetSize(9, 3);
  g.Rows().SetLineWidth(0);
  for (TGridCoord topLeft : {TGridCoord{2, 1}, TGridCoord{6, 8}, TGridCoord{9, 30}}) {
    g.SetTopLeft(topLeft);
    for (int32_t y = 0; y < g.ViewHeight(); ++y)
      for (int32_t x = 0; x < g.ViewWidth(); ++x) {
        TGridCoord c = g.CellAt(x, y);
        ASSERT_GE(c.X, 0);
        ASSERT_GE(c.Y, 0);
        ASSERT_TRUE(g.CellRect(c.X, c.Y).Contains({x, y})) << x << "," << y;
      }
  }
}

TEST(TGridLayout, TopLeftToShowScrollsAsLittleAsPossible) {
  TGridLayout g = Classic(200, 100);
  g.Rows().SetCount(100);
  EXPECT_EQ(g.TopLeftToShow({1, 3}, {1, 1}), (TGridCoord{1, 1}));  // already whole
  EXPECT_EQ(g.TopLeftToShow({1, 4}, {1, 1}), (TGridCoord{1, 2}));  // now at the bottom
  EXPECT_EQ(g.TopLeftToShow({4, 50}, {1, 60}), (TGridCoord{3, 50}));
  // A row taller than the view starts at the top.
  g.Rows().SetSize(70, 500);
  EXPECT_EQ(g.TopLeftToShow({1, 70}, {1, 1}), (TGridCoord{1, 70}));
  // Fixed cells never scroll.
  EXPECT_EQ(g.TopLeftToShow({0, 0}, {3, 40}), (TGridCoord{3, 40}));
}

TEST(TGridLayout, EdgesNearThePointerSizeTheirColumn) {
  TGridLayout g = Classic(400, 100);
  EXPECT_EQ(g.ColEdgeAt(62, 2), 0);  // just left of column 0's line
  EXPECT_EQ(g.ColEdgeAt(64, 2), 0);  // on it
  EXPECT_EQ(g.ColEdgeAt(66, 2), 0);  // just right of it, inside column 1
  EXPECT_EQ(g.ColEdgeAt(100, 2), -1);
  EXPECT_EQ(g.ColEdgeAt(326, 2), 4);  // past the last column
  EXPECT_EQ(g.ColEdgeAt(340, 2), -1);
  EXPECT_EQ(g.RowEdgeAt(24, 2), 0);
}

TEST(TGridLayout, NavigationOnAMillionRows) {
  TGridLayout g = Classic(1200, 800);
  g.Rows().SetCount(1'000'000);
  ASSERT_EQ(g.VisibleRowCount(), 31);  // 775 pixels of room
  TGridNavigation n = g.Navigate({1, 1}, gmPageDown, false);
  EXPECT_EQ(n.Current, (TGridCoord{1, 32}));
  EXPECT_EQ(n.TopLeft, (TGridCoord{1, 32}));
  n = g.Navigate({3, 1}, gmLastCell, false);
  EXPECT_EQ(n.Current, (TGridCoord{4, 999'999}));
  EXPECT_EQ(n.TopLeft, (TGridCoord{1, 999'969}));
  g.SetTopLeft(n.TopLeft);
  EXPECT_EQ(g.LastVisibleRow(), 999'999);
  n = g.Navigate(n.Current, gmPageDown, false);  // nothing further down
  EXPECT_EQ(n.Current, (TGridCoord{4, 999'999}));
  EXPECT_EQ(n.TopLeft, (TGridCoord{1, 999'969}));
  n = g.Navigate(n.Current, gmFirstCell, false);
  EXPECT_EQ(n.Current, (TGridCoord{1, 1}));
  EXPECT_EQ(n.TopLeft, (TGridCoord{1, 1}));
}

TEST(TGridLayout, NavigationMovesAndWraps) {
  TGridLayout g = Classic(200, 100);
  struct Case {
    const char* name;
    TGridCoord from;
    TGridMove move;
    bool rowSelect;
    TGridCoord to;
  } cases[] = {
      {"up stops at the first scrolled row", {2, 1}, gmUp, false, {2, 1}},
      {"left stops at the first scrolled column", {1, 2}, gmLeft, false, {1, 2}},
      {"tab wraps to the next row", {4, 2}, gmNextCell, false, {1, 3}},
      {"tab stops in the last cell", {4, 4}, gmNextCell, false, {4, 4}},
      {"shift-tab wraps back", {1, 3}, gmPrevCell, false, {4, 2}},
      {"home goes to the first column", {3, 3}, gmHome, false, {1, 3}},
      {"end goes to the last column", {2, 3}, gmEnd, false, {4, 3}},
      {"home with row select goes to the first row", {3, 3}, gmHome, true, {3, 1}},
      {"right with row select keeps the column", {2, 2}, gmRight, true, {2, 2}},
      {"bottom of the page", {2, 1}, gmBottomOfPage, false, {2, 3}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(g.Navigate(c.from, c.move, c.rowSelect).Current, c.to) << c.name;
  EXPECT_EQ(g.Navigate({2, 2}, gmRight, true).TopLeft, (TGridCoord{2, 1}));
}

TEST(TGridLayout, KeyboardMovesStepOverHiddenColumnsAndRows) {
  TGridLayout g = Classic(400, 200);
  g.Cols().SetSize(2, -1);
  g.Rows().SetSize(4, -1);
  EXPECT_EQ(g.Navigate({1, 1}, gmRight, false).Current, (TGridCoord{3, 1}));
  EXPECT_EQ(g.Navigate({3, 1}, gmLeft, false).Current, (TGridCoord{1, 1}));
  EXPECT_EQ(g.Navigate({1, 3}, gmDown, false).Current, (TGridCoord{1, 3}));  // only hidden below
  EXPECT_EQ(g.Navigate({1, 1}, gmLastCell, false).Current, (TGridCoord{4, 3}));
  g.Cols().SetSize(1, -1);
  EXPECT_EQ(g.Navigate({3, 1}, gmHome, false).Current, (TGridCoord{3, 1}));
}

// A version kept with an answer tells whether the answer still holds: every change of
// what is on screen moves it on, a change to the same value and a read do not matter.
TEST(TGridLayout, VersionMovesOnWithEveryChangeOfWhatIsOnScreen) {
  TGridLayout g = Classic(200, 100);
  const uint64_t First = g.Version();
  g.LastVisibleRow();
  g.Rows().SetCount(5);
  EXPECT_EQ(g.Version(), First);
  const std::vector<std::function<void()>> Changes{[&] { g.Rows().SetSize(3, 40); },
                                                   [&] { g.Rows().SetCount(50); },
                                                   [&] { g.Rows().SetDefaultSize(30); },
                                                   [&] { g.Rows().SetLineWidth(0); },
                                                   [&] { g.Cols().Move(1, 3); },
                                                   [&] { g.Rows().Insert(2); },
                                                   [&] { g.Rows().Delete(2); },
                                                   [&] { g.SetFixedRows(2); },
                                                   [&] {
                                                     g.SetTopLeft({1, 4});
                                                   },
                                                   [&] { g.SetViewSize(300, 100); },
                                                   [&] { g.MarkChanged(); }};
  for (size_t i = 0; i < Changes.size(); ++i) {
    const uint64_t Before = g.Version();
    Changes[i]();
    EXPECT_GT(g.Version(), Before) << "change " << i;
  }
}

}  // namespace
}  // namespace bw
