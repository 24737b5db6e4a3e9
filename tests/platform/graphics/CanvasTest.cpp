#include <gtest/gtest.h>

#include "platform/graphics/TBitmap.h"
#include "tests/platform/graphics/GraphicsTestSupport.h"

namespace bw {
namespace {

using graphicstest::Ink;
using graphicstest::Picture;

// A white bitmap of the given size with a default canvas.
std::unique_ptr<TBitmap> White(int32_t w, int32_t h) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(w, h);
  return b;
}

TEST(CanvasLines, EndPointIsNotDrawn) {
  auto b = White(6, 4);
  TCanvas* c = b->Canvas();
  c->MoveTo(0, 1);
  c->LineTo(5, 1);
  c->MoveTo(2, 3);
  c->LineTo(2, 0);
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{"......", "#####.", "..#...", "..#..."}));
  EXPECT_EQ(c->PenPos(), Point(2, 0));
}

TEST(CanvasLines, DiagonalAndZeroLength) {
  auto b = White(4, 4);
  TCanvas* c = b->Canvas();
  c->MoveTo(0, 0);
  c->LineTo(3, 3);
  c->MoveTo(3, 0);
  c->LineTo(3, 0);  // nothing: a line to its own start is empty
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{"#...", ".#..", "..#.", "...."}));
}

TEST(CanvasLines, XorModeTwiceRestores) {
  auto b = White(5, 3);
  TCanvas* c = b->Canvas();
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(0, 1);
  c->LineTo(5, 1);
  EXPECT_EQ(Picture(*b)[1], "#####");
  c->MoveTo(0, 1);
  c->LineTo(5, 1);
  EXPECT_EQ(Picture(*b)[1], ".....");
}

TEST(CanvasLines, NotModeInvertsWhateverThePenColour) {
  auto b = White(3, 1);
  TCanvas* c = b->Canvas();
  c->Pen()->SetMode(pmNot);
  c->Pen()->SetColor(clRed);
  c->MoveTo(0, 0);
  c->LineTo(2, 0);
  EXPECT_EQ(Picture(*b)[0], "##.");
}

TEST(CanvasLines, WidePenCoversItsWidthOnceEvenInXor) {
  auto b = White(10, 7);
  TCanvas* c = b->Canvas();
  c->Pen()->SetWidth(3);
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->MoveTo(2, 3);
  c->LineTo(7, 3);
  // A 3-pixel band, its round ends reaching one pixel past both end points; xor would
  // leave holes where the pen tips overlap if any pixel were changed twice.
  EXPECT_EQ(Ink(*b), Rect(1, 2, 9, 5));
  for (int32_t x = 1; x < 9; ++x)
    for (int32_t y = 2; y < 5; ++y)
      EXPECT_EQ(c->Pixels(x, y), clBlack) << x << "," << y;
}

TEST(CanvasLines, PolylineLeavesPenPosAndSkipsLastPoint) {
  auto b = White(4, 4);
  TCanvas* c = b->Canvas();
  c->MoveTo(3, 3);
  c->Polyline({{0, 0}, {3, 0}, {3, 3}});
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{"####", "...#", "...#", "...."}));
  EXPECT_EQ(c->PenPos(), Point(3, 3));
}

TEST(CanvasLines, DottedPenLeavesGaps) {
  auto b = White(12, 1);
  TCanvas* c = b->Canvas();
  c->Pen()->SetStyle(psDot);
  c->MoveTo(0, 0);
  c->LineTo(12, 0);
  EXPECT_EQ(Picture(*b)[0], "###...###...");
}

TEST(CanvasShapes, RectangleOutlinesWithPenAndFillsWithBrush) {
  auto b = White(6, 5);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clRed);
  c->Rectangle(1, 1, 5, 4);
  EXPECT_EQ(Picture(*b),
            (std::vector<std::string>{"......", ".####.", ".#??#.", ".####.", "......"}));
  EXPECT_EQ(c->Pixels(2, 2), clRed);
}

TEST(CanvasShapes, PolygonFillsWithTheBrushAndOutlinesWithThePen) {
  auto b = White(7, 5);
  TCanvas* c = b->Canvas();
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(clBlack);
  // A down arrow, as scroll bars and combo buttons draw it.
  c->Polygon({{0, 0}, {6, 0}, {3, 3}});
  EXPECT_EQ(Picture(*b),
            (std::vector<std::string>{"#####..", ".###...", "..#....", ".......", "......."}));
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(clRed);
  c->Brush()->SetStyle(bsClear);
  c->Polygon({{0, 4}, {6, 4}});  // two points: a line there and back
  EXPECT_EQ(Picture(*b)[4], "???????");
}

TEST(CanvasShapes, WidePenRectangleCentresItsBandOnTheEdges) {
  auto b = White(9, 9);
  TCanvas* c = b->Canvas();
  c->Pen()->SetWidth(3);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(2, 2, 7, 7);
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{".........", ".#######.", ".#######.",
                                                   ".#######.", ".###.###.", ".#######.",
                                                   ".#######.", ".#######.", "........."}));
  auto inside = White(9, 9);
  c = inside->Canvas();
  c->Pen()->SetWidth(2);
  c->Pen()->SetStyle(psInsideFrame);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(0, 0, 9, 9);
  EXPECT_EQ(Ink(*inside), Rect(0, 0, 9, 9));
  EXPECT_EQ(Picture(*inside)[2], "##.....##");
}

TEST(CanvasShapes, RectangleWithClearPenFillsOneLessAtRightAndBottom) {
  auto b = White(5, 4);
  TCanvas* c = b->Canvas();
  c->Pen()->SetStyle(psClear);
  c->Brush()->SetColor(clBlack);
  c->Rectangle(1, 1, 4, 4);
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{".....", ".##..", ".##..", "....."}));
}

TEST(CanvasShapes, FillRectFrameRectAndClearBrush) {
  auto b = White(5, 5);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clBlack);
  c->FrameRect(Rect(0, 0, 5, 5));
  c->FillRect(Rect(2, 2, 3, 3));
  c->Brush()->SetStyle(bsClear);
  c->FillRect(Rect(0, 0, 5, 5));  // nothing
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{"#####", "#...#", "#.#.#", "#...#", "#####"}));
}

TEST(CanvasShapes, FocusRectIsDottedAndUndoesItself) {
  auto b = White(5, 4);
  TCanvas* c = b->Canvas();
  c->DrawFocusRect(Rect(0, 0, 5, 4));
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{"#.#.#", ".....", "#...#", ".#.#."}));
  c->DrawFocusRect(Rect(0, 0, 5, 4));
  EXPECT_EQ(Ink(*b), TRect{});
}

TEST(CanvasShapes, Frame3DDrawsTwoColoursAndShrinksTheRectangle) {
  auto b = White(4, 4);
  TCanvas* c = b->Canvas();
  TRect r = Rect(0, 0, 4, 4);
  c->Frame3D(r, clBlack, clRed, 1);
  EXPECT_EQ(r, Rect(1, 1, 3, 3));
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{"###?", "#..?", "#..?", "????"}));
}

TEST(CanvasShapes, BlacknessFillsWithBlackWhateverTheBrush) {
  auto b = White(4, 3);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clRed);
  c->PatBlt(1, 1, 2, 1, BLACKNESS);
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{"....", ".##.", "...."}));
}

TEST(CanvasClip, OriginShiftsAndClipLimits) {
  auto b = White(8, 6);
  TCanvas* c = b->Canvas();
  c->SetOrigin(Point(2, 1));
  c->SetClipRect(Rect(0, 0, 3, 3));  // device (2,1)-(5,4)
  c->Brush()->SetColor(clBlack);
  c->FillRect(Rect(-5, -5, 20, 20));
  EXPECT_EQ(Ink(*b), Rect(2, 1, 5, 4));
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 3, 3));
  EXPECT_EQ(c->Pixels(-1, 0), -1);  // outside the clip
  c->SetOrigin(Point(0, 0));
  EXPECT_EQ(c->ClipRect(), Rect(2, 1, 5, 4));  // the clip stays on its pixels
  c->ResetClip();
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 8, 6));
}

TEST(CanvasCopy, BrushCopyPaintsTheTransparentColourWithTheBrush) {
  TBitmap src;
  src.SetSize(3, 2);
  src.Canvas()->SetPixels(0, 0, clBlue);
  src.Canvas()->SetPixels(1, 0, clRed);
  src.Canvas()->SetPixels(2, 0, clBlue);
  src.Canvas()->SetPixels(0, 1, clBlue);  // bottom-left: the transparent colour
  src.Canvas()->SetPixels(1, 1, clBlack);
  src.Canvas()->SetPixels(2, 1, clBlue);
  EXPECT_EQ(src.TransparentColor(), clBlue);
  auto b = White(5, 4);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clLime);
  c->BrushCopy(Rect(1, 1, 4, 3), &src, Rect(0, 0, 3, 2), src.TransparentColor());
  EXPECT_EQ(c->Pixels(1, 1), clLime);
  EXPECT_EQ(c->Pixels(2, 1), clRed);
  EXPECT_EQ(c->Pixels(3, 1), clLime);
  EXPECT_EQ(c->Pixels(2, 2), clBlack);
  EXPECT_EQ(c->Pixels(0, 0), clWhite);
  EXPECT_EQ(c->Pixels(4, 3), clWhite);
}

TEST(CanvasCopy, DrawHonoursTransparencyAndStretchScales) {
  TBitmap src;
  src.SetSize(2, 2);
  src.Canvas()->SetPixels(1, 0, clBlack);  // the rest white, white is transparent
  auto b = White(4, 4);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 4, 4));
  src.SetTransparent(true);
  c->Draw(0, 0, &src);
  EXPECT_EQ(c->Pixels(0, 0), clRed);
  EXPECT_EQ(c->Pixels(1, 0), clBlack);
  src.SetTransparent(false);
  c->StretchDraw(Rect(0, 0, 4, 4), &src);
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{"..##", "..##", "....", "...."}));
}

TEST(CanvasCopy, CopyModeCombinesAndNegativeWidthMirrors) {
  TBitmap src;
  src.SetSize(3, 1);
  src.Canvas()->SetPixels(0, 0, clBlack);
  auto b = White(3, 2);
  TCanvas* c = b->Canvas();
  c->CopyRect(Rect(3, 0, 0, 1), src.Canvas(), Rect(0, 0, 3, 1));
  EXPECT_EQ(Picture(*b)[0], "..#");
  c->SetCopyMode(cmSrcInvert);
  c->CopyRect(Rect(0, 0, 3, 1), src.Canvas(), Rect(0, 0, 3, 1));
  EXPECT_EQ(Picture(*b)[0], ".#.");  // "#.." xor "..#", with black as 0
  c->SetCopyMode(cmBlackness);
  c->CopyRect(Rect(0, 1, 2, 2), src.Canvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(Picture(*b)[1], "##.");
}

TEST(CanvasCopy, CopyRectWithinOneCanvasReadsBeforeWriting) {
  auto b = White(4, 1);
  TCanvas* c = b->Canvas();
  c->SetPixels(0, 0, clBlack);
  c->CopyRect(Rect(1, 0, 4, 1), c, Rect(0, 0, 3, 1));
  EXPECT_EQ(Picture(*b)[0], "##..");
}

TEST(CanvasCopy, ExtremeCoordinatesAndOriginsNeitherOverflowNorDraw) {
  TBitmap src;
  src.SetSize(3, 3);
  src.Canvas()->Brush()->SetColor(clBlack);
  src.Canvas()->FillRect(Rect(0, 0, 3, 3));
  auto b = White(6, 6);
  TCanvas* c = b->Canvas();
  c->SetOrigin(Point(INT32_MAX - 1, INT32_MAX - 1));
  c->Draw(INT32_MAX - 1, INT32_MAX - 1, &src);
  c->StretchDraw(Rect(INT32_MAX - 5, INT32_MAX - 5, INT32_MAX, INT32_MAX), &src);
  c->CopyRect(Rect(INT32_MAX - 5, 0, INT32_MAX, 5), src.Canvas(), Rect(0, 0, 3, 3));
  c->BrushCopy(Rect(INT32_MAX - 5, 0, INT32_MAX, 5), &src, Rect(0, 0, 3, 3), clWhite);
  c->SetOrigin(Point(INT32_MIN + 1, INT32_MIN + 1));
  c->Draw(INT32_MIN, INT32_MIN, &src);
  c->StretchDraw(Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), &src);
  EXPECT_EQ(Ink(*b), TRect{});
  // A huge destination straddling the bitmap costs only the visible pixels and lands
  // where the scale puts it: the whole bitmap lies in the source's first column and row.
  c->SetOrigin(Point(0, 0));
  c->StretchDraw(Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), &src);
  EXPECT_EQ(Ink(*b), Rect(0, 0, 6, 6));
  auto d = White(6, 6);
  d->Canvas()->SetOrigin(Point(-3, -3));
  d->Canvas()->CopyRect(Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), src.Canvas(),
                        Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
  d->Canvas()->CopyRect(Rect(0, 0, 5, 5), src.Canvas(),
                        Rect(INT32_MAX - 2, INT32_MAX - 2, INT32_MAX, INT32_MAX));
  d->Canvas()->Draw(INT32_MAX - 2, 0, &src);
  // A far-out position brought back by the origin draws the bitmap unsqueezed.
  src.Canvas()->SetPixels(2, 0, clRed);
  auto e = White(4, 1);
  e->Canvas()->SetOrigin(Point(-(INT32_MAX - 1), 0));
  e->Canvas()->Draw(INT32_MAX - 2, 0, &src);
  EXPECT_EQ(Picture(*e)[0], "#?..");  // starts one pixel left of the bitmap
}

}  // namespace
}  // namespace bw
