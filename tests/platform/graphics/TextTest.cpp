#include <gtest/gtest.h>

#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TFontEngine.h"
#include "tests/platform/graphics/GraphicsTestSupport.h"

namespace bw {
namespace {

using graphicstest::Ink;
using graphicstest::Picture;

struct TextCanvas : testing::Test {
  TBitmap b;
  TCanvas* c = nullptr;
  void SetUp() override {
    b.SetSize(200, 60);
    c = b.Canvas();
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
  }
};

TEST_F(TextCanvas, MetricsOfTheDefaultFont) {
  TTextMetric tm = c->TextMetrics();
  EXPECT_EQ(c->Font()->Size(), 8);
  EXPECT_EQ(c->Font()->Height(), -11);
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 11);
  EXPECT_GT(tm.tmDescent, 0);
  EXPECT_GT(tm.tmAveCharWidth, 2);
  EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  EXPECT_EQ(c->TextHeight("x"), tm.tmHeight);
  EXPECT_EQ(c->TextWidth(""), 0);
  EXPECT_EQ(c->TextWidth("ab"), c->TextWidth("a") + c->TextWidth("b"));
  EXPECT_EQ(c->TextExtent("ab"), (TSize{c->TextWidth("ab"), tm.tmHeight}));
}

TEST_F(TextCanvas, SizeAndHeightConvertAtNinetySixPixelsPerInch) {
  TFont f;
  f.SetSize(12);
  EXPECT_EQ(f.Height(), -16);
  f.SetHeight(-13);
  EXPECT_EQ(f.Size(), 10);
  f.SetHeight(20);  // a cell height: ascent + descent come to it
  EXPECT_EQ(f.TextMetrics().tmHeight, 20);
}

TEST_F(TextCanvas, TextLiesInsideItsCellAndDescendersGoBelowTheBaseLine) {
  const TTextMetric tm = c->TextMetrics();
  c->TextOut(10, 5, "Hg");
  TRect ink = Ink(b);
  const int32_t w = c->TextWidth("Hg");
  EXPECT_GE(ink.Left, 10);
  EXPECT_LE(ink.Left, 12);
  EXPECT_LE(ink.Right, 10 + w + 1);
  EXPECT_GE(ink.Top, 5);
  EXPECT_LE(ink.Top, 5 + tm.tmInternalLeading + 1);  // H reaches up to the cap height
  EXPECT_GT(ink.Bottom, 5 + tm.tmAscent);            // g reaches below the base line
  EXPECT_LE(ink.Bottom, 5 + tm.tmHeight);
  EXPECT_EQ(c->PenPos(), Point(10 + w, 5));
}

TEST_F(TextCanvas, SolidBrushFillsTheTextCell) {
  c->Brush()->SetColor(clRed);
  c->TextOut(10, 5, "Hg");
  EXPECT_EQ(Ink(b), Bounds(10, 5, c->TextWidth("Hg"), c->TextHeight("Hg")));
  EXPECT_EQ(c->Pixels(10, 5), clRed);
}

TEST_F(TextCanvas, ClippedOpaqueTextFillsItsRectangleAndStopsAtItsEdge) {
  const String text = "A long line of text that does not fit";
  TRect cell = Rect(20, 10, 70, 30);
  c->Brush()->SetColor(clYellow);
  c->ExtTextOut(cell.Left + 2, cell.Top + 2, ETO_OPAQUE | ETO_CLIPPED, &cell, text);
  EXPECT_EQ(Ink(b), cell);
  // Black ink reaches the right edge of the cell: the text is cut, not wrapped.
  bool inkAtEdge = false;
  for (int32_t y = cell.Top; y < cell.Bottom; ++y)
    if (c->Pixels(cell.Right - 1, y) != clYellow) inkAtEdge = true;
  EXPECT_TRUE(inkAtEdge);
}

TEST_F(TextCanvas, OpaqueFillUsesTheBrushColourEvenWhenTheBrushIsClear) {
  c->Brush()->SetColor(clLime);
  c->Brush()->SetStyle(bsClear);
  TRect cell = Rect(5, 5, 40, 25);
  c->ExtTextOut(7, 7, ETO_OPAQUE | ETO_CLIPPED, &cell, "");
  EXPECT_EQ(Ink(b), cell);
  EXPECT_EQ(c->Pixels(5, 5), clLime);
}

TEST_F(TextCanvas, EdgesBlendTheSameOnTheBrushColourAndOnAnyOther) {
  // Ink over the brush's own colour is blended from a table made per colour pair; it
  // must give what blending over any background gives.
  TBitmap other;
  other.SetSize(200, 60);
  for (TColor ink : {clBlack, clRed, clHighlightText}) {
    for (TColor ground : {clWhite, clYellow, clHighlight}) {
      c->Font()->SetColor(ink);
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(ground);
      c->FillRect(Rect(0, 0, 200, 60));
      c->TextOut(3, 3, "Wavy text, 0123");
      TCanvas* o = other.Canvas();
      o->Font()->SetColor(ink);
      o->Brush()->SetColor(ground);
      o->FillRect(Rect(0, 0, 200, 60));
      o->Brush()->SetColor(ground == clWhite ? clBlue
                                             : clWhite);  // a clear brush of another colour
      o->Brush()->SetStyle(bsClear);
      o->TextOut(3, 3, "Wavy text, 0123");
      for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 200; ++x)
          ASSERT_EQ(b.ScanLine(y)[x], other.ScanLine(y)[x]) << x << "," << y;
    }
  }
}

TEST_F(TextCanvas, TextRectClipsWithoutFillingForAClearBrush) {
  TRect cell = Rect(30, 10, 45, 40);
  c->TextRect(cell, 32, 12, "WWWWWWWW");
  TRect ink = Ink(b);
  EXPECT_GE(ink.Left, cell.Left);
  EXPECT_EQ(ink.Right, cell.Right);
  EXPECT_EQ(c->Pixels(cell.Left, cell.Bottom - 1), clWhite);
}

TEST_F(TextCanvas, OriginMovesTextAndClipCutsIt) {
  c->TextOut(10, 5, "Hg");
  TRect plain = Ink(b);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 200, 60));
  c->Brush()->SetStyle(bsClear);
  c->SetOrigin(Point(30, 20));
  c->TextOut(10, 5, "Hg");
  EXPECT_EQ(Ink(b), plain.Offset(30, 20));
}

TEST_F(TextCanvas, ColourStyleAndFallback) {
  c->Font()->SetColor(clBlue);
  c->TextOut(0, 0, "Hg");
  int blue = 0, mixed = 0;
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 30; ++x) {
      TColor p = c->Pixels(x, y);
      if (p == clWhite) continue;
      // Anti-aliased edges blend blue into white: red and green fall together.
      (GetRValue(p) == GetGValue(p) && GetBValue(p) == 255 ? blue : mixed)++;
    }
  EXPECT_GT(blue, 5);
  EXPECT_EQ(mixed, 0);
  c->Font()->SetColor(clBlack);

  const int32_t regular = c->TextWidth("Bold words");
  c->Font()->SetStyle({fsBold});
  EXPECT_GT(c->TextWidth("Bold words"), regular);

  // A family that is not installed draws with the default sans font.
  c->Font()->SetStyle({});
  c->Font()->SetName("No Such Family Anywhere");
  EXPECT_GT(c->TextWidth("Fallback"), 20);
  TBitmap ref;
  ref.SetSize(100, 20);
  ref.Canvas()->Font()->SetColor(clBlack);
  ref.Canvas()->TextOut(0, 0, "Fallback");
  TBitmap other;
  other.SetSize(100, 20);
  other.Canvas()->Font()->Assign(c->Font());
  other.Canvas()->TextOut(0, 0, "Fallback");
  EXPECT_EQ(ref.Handle()->Pixels, other.Handle()->Pixels);
}

TEST_F(TextCanvas, UnderlineDrawsBelowTheBaseLine) {
  const TTextMetric tm = c->TextMetrics();
  c->Font()->SetStyle({fsUnderline});
  c->TextOut(0, 0, "HH");
  TRect ink = Ink(b);
  EXPECT_GT(ink.Bottom, tm.tmAscent);
  EXPECT_EQ(ink.Right - ink.Left, c->TextWidth("HH"));
}

TEST_F(TextCanvas, MalformedUtf8DrawsWithoutHarm) {
  c->TextOut(0, 0, std::string("a\xC3", 2));
  c->TextOut(0, 20, std::string("\xFF\xFE\x80", 3));
  EXPECT_GT(c->TextWidth(std::string("\xE2\x82", 2)), 0);
  // A lead byte near the end without its continuation stands for one replacement
  // character; what follows it is still drawn.
  const int32_t replacementA = c->TextWidth(
      "\xEF\xBF\xBD"
      "a");
  EXPECT_EQ(c->TextWidth(std::string("\xE2"
                                     "a",
                                     2)),
            replacementA);
}

TEST_F(TextCanvas, FontCachesStayBoundedAndTextStaysRight) {
  TFontEngine& engine = TFontEngine::Instance();
  for (int32_t h = -6; h > -400; h -= 3) {
    c->Font()->SetHeight(h);
    (void)c->TextWidth("x");
  }
  EXPECT_LE(engine.CachedFaces(), 64u);
  c->Font()->SetHeight(-2000);
  TFontFace* face = engine.Face(*c->Font());
  for (Char ch = U'A'; ch <= U'z'; ++ch)
    (void)face->Glyph(ch);
  EXPECT_LE(face->CachedGlyphBytes(), size_t{16} << 20);
  // Drawing after the caches were emptied gives the same pixels as before.
  c->Font()->SetHeight(-11);
  c->TextOut(0, 0, "Same");
  const std::vector<uint32_t> first = b.Handle()->Pixels;
  for (int32_t h = -12; h > -400; h -= 2)
    engine.Face(c->Font()->Name(), {}, fpDefault, h);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 200, 60));
  c->Brush()->SetStyle(bsClear);
  c->TextOut(0, 0, "Same");
  EXPECT_EQ(b.Handle()->Pixels, first);
}

TEST_F(TextCanvas, ExtremeFontSizesGiveUsableMetrics) {
  for (int32_t h : {INT32_MIN, INT32_MIN + 1, -1, 0, 1, 1 << 20, INT32_MAX}) {
    SCOPED_TRACE(h);
    c->Font()->SetHeight(h);
    const TTextMetric tm = c->TextMetrics();
    EXPECT_GT(tm.tmHeight, 0);
    EXPECT_GE(c->TextWidth("x"), 0);
    c->TextOut(0, 0, "x");
    (void)c->Font()->Size();
  }
  for (int32_t size : {INT32_MIN, -8, 0, INT32_MAX}) {
    c->Font()->SetSize(size);
    EXPECT_GT(c->TextHeight("x"), 0);
  }
}

TEST_F(TextCanvas, ExtremeCoordinatesAndOriginsNeitherOverflowNorDraw) {
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBlack);
  c->Font()->SetStyle(TFontStyles{fsUnderline, fsStrikeOut});
  c->SetOrigin(Point(INT32_MAX - 1, INT32_MAX - 1));
  c->TextOut(INT32_MAX - 1, INT32_MAX - 1, "Wide text");
  c->TextRect(Rect(INT32_MAX - 9, INT32_MAX - 9, INT32_MAX, INT32_MAX), INT32_MAX - 9,
              INT32_MAX - 9, "Wide text");
  TRect r = Rect(INT32_MAX - 9, 0, INT32_MAX, 10);
  c->ExtTextOut(INT32_MAX, INT32_MAX, ETO_OPAQUE | ETO_CLIPPED, &r, "Wide text");
  c->SetOrigin(Point(INT32_MIN + 1, INT32_MIN + 1));
  c->TextOut(INT32_MIN, INT32_MIN, "Wide text");
  c->TextRect(Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN + 5), INT32_MIN, INT32_MIN, "x");
  c->SetOrigin(Point(0, 0));
  c->TextOut(INT32_MAX - 3, 0, "Wide text");
  c->TextOut(INT32_MIN, 0, "Wide text");
  EXPECT_EQ(Ink(b), TRect{});
  // The pen position stops at the end of the range rather than wrapping to the far side.
  EXPECT_EQ(c->PenPos().X, INT32_MIN + c->TextWidth("Wide text"));
  c->TextOut(INT32_MAX - 3, 0, "Wide text");
  EXPECT_EQ(c->PenPos().X, INT32_MAX);
  // Far-out text brought back by the origin lands where the same text at 0 does.
  c->Brush()->SetStyle(bsClear);
  c->TextOut(0, 0, "Wide text");
  const TRect near = Ink(b);
  ASSERT_FALSE(near.IsEmpty());
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 200, 60));
  c->Brush()->SetStyle(bsClear);
  c->SetOrigin(Point(-(INT32_MAX - 1), INT32_MIN + 1));
  c->TextOut(INT32_MAX - 1, INT32_MAX, "Wide text");
  EXPECT_EQ(Ink(b), near);
}

}  // namespace
}  // namespace bw
