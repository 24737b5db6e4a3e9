// Lines and outlines only walk the part inside the clip: the pixels must be those a walk
// over every point of the line would draw, and lines billions of pixels long must finish.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>

#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TPen.h"
#include "tests/platform/graphics/GraphicsTestSupport.h"

namespace bw {
namespace {

using graphicstest::Picture;

// --- a slow reference: every point plotted, those outside the clip thrown away -----------

struct Pixels {
  int32_t Width = 0, Height = 0;
  std::vector<uint32_t> Bits;
  uint32_t& At(int64_t x, int64_t y) { return Bits[size_t(y * Width + x)]; }
};

template <class F>
void EveryPoint(int64_t x0, int64_t y0, int64_t x1, int64_t y1, bool withEnd, F&& visit) {
  const int64_t dx = std::llabs(x1 - x0), dy = -std::llabs(y1 - y0);
  const int64_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int64_t err = dx + dy;
  for (;;) {
    const bool atEnd = x0 == x1 && y0 == y1;
    if (atEnd && !withEnd) return;
    visit(x0, y0);
    if (atEnd) return;
    const int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

struct Scene {
  TPoint Origin;
  TRect Clip;  // device coordinates, inside the bitmap
  TColor Color = clBlack;
  TPenMode Mode = pmCopy;
  TPenStyle Style = psSolid;
  int32_t Width = 1;
};

// What a polyline through the points draws, by the slow walk.
void ReferencePolyline(Pixels& px, const Scene& s, const std::vector<TPoint>& pts) {
  const uint32_t pen = ColorToPixel(s.Color);
  auto inside = [&](int64_t x, int64_t y) {
    return x >= s.Clip.Left && x < s.Clip.Right && y >= s.Clip.Top && y < s.Clip.Bottom;
  };
  if (s.Width > 1) {
    std::vector<uint8_t> covered(px.Bits.size());  // each pixel changes once
    const int32_t w = s.Width;
    const double c = (w - 1) / 2.0, r2 = (w / 2.0) * (w / 2.0);
    for (size_t i = 1; i < pts.size(); ++i)
      EveryPoint(int64_t{pts[i - 1].X} + s.Origin.X, int64_t{pts[i - 1].Y} + s.Origin.Y,
                 int64_t{pts[i].X} + s.Origin.X, int64_t{pts[i].Y} + s.Origin.Y, true,
                 [&](int64_t x, int64_t y) {
                   for (int32_t j = 0; j < w; ++j)
                     for (int32_t k = 0; k < w; ++k)
                       if ((k - c) * (k - c) + (j - c) * (j - c) <= r2 &&
                           inside(x - w / 2 + k, y - w / 2 + j))
                         covered[size_t((y - w / 2 + j) * px.Width + x - w / 2 + k)] = 1;
                 });
    for (size_t i = 0; i < covered.size(); ++i)
      if (covered[i]) px.Bits[i] = ApplyPenMode(s.Mode, pen, px.Bits[i]);
    return;
  }
  int64_t phase = 0;
  for (size_t i = 1; i < pts.size(); ++i)
    EveryPoint(int64_t{pts[i - 1].X} + s.Origin.X, int64_t{pts[i - 1].Y} + s.Origin.Y,
               int64_t{pts[i].X} + s.Origin.X, int64_t{pts[i].Y} + s.Origin.Y, false,
               [&](int64_t x, int64_t y) {
                 if (DashOn(DashPattern(s.Style), phase++) && inside(x, y))
                   px.At(x, y) = ApplyPenMode(s.Mode, pen, px.At(x, y));
               });
}

std::unique_ptr<TBitmap> Noise(int32_t w, int32_t h, std::mt19937& rng) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      b->ScanLine(y)[x] = rng() & 0xFFFFFF;
  return b;
}

Pixels Copy(TBitmap& b) {
  Pixels p{b.Width(), b.Height(), {}};
  for (int32_t y = 0; y < b.Height(); ++y)
    p.Bits.insert(p.Bits.end(), b.ScanLine(y), b.ScanLine(y) + b.Width());
  return p;
}

// Draws random short polylines, by Polyline or by MoveTo and LineTo, on a canvas with a
// small clip and origin, and compares every pixel with the reference.
void CompareRandomLines(TPenStyle style, int32_t width, uint32_t seed, int trials = 400) {
  std::mt19937 rng(seed);
  auto coord = [&](int32_t range) { return int32_t(rng() % uint32_t(2 * range + 1)) - range; };
  for (int trial = 0; trial < trials; ++trial) {
    auto b = Noise(24, 18, rng);
    Scene s;
    s.Origin = {coord(20), coord(20)};
    const int32_t l = int32_t(rng() % 20) - 2, t = int32_t(rng() % 14) - 2;
    // The canvas gets a clip that may reach past the bitmap; the reference its visible part.
    const TRect clip{l, t, l + int32_t(rng() % 16), t + int32_t(rng() % 12)};
    s.Clip = clip.Intersect(Rect(0, 0, 24, 18));
    s.Color = TColor(rng() & 0xFFFFFF);
    s.Mode = TPenMode(rng() % 16);
    s.Style = style;
    s.Width = width;
    // Within a few hundred pixels, half the points close to the bitmap; every third
    // polyline a line of a small whole slope (1/2, 1/4...) through a point near the
    // bitmap, where the stepping meets exact ties at the clip's edges.
    std::vector<TPoint> pts(2 + rng() % 3);
    if (trial % 3 == 2) {
      static const TPoint slopes[] = {{2, 1}, {1, 2}, {4, 1}, {1, 4}, {3, 1}, {2, 3}, {1, 1}};
      TPoint r = slopes[rng() % 7];
      r = {rng() % 2 ? r.X : -r.X, rng() % 2 ? r.Y : -r.Y};
      const TPoint mid{12 - s.Origin.X + coord(15), 9 - s.Origin.Y + coord(12)};
      const int32_t back = 1 + int32_t(rng() % 80), ahead = 1 + int32_t(rng() % 80);
      pts = {{mid.X - back * r.X, mid.Y - back * r.Y}, {mid.X + ahead * r.X, mid.Y + ahead * r.Y}};
    } else {
      for (size_t i = 0; i < pts.size(); ++i) {
        const uint32_t kind = rng() % 4;
        if (kind == 0 && i > 0)  // short steps meet ties at the clip's far edges
          pts[i] = {pts[i - 1].X + coord(5), pts[i - 1].Y + coord(5)};
        else if (kind < 2)
          pts[i] = {12 - s.Origin.X + coord(20), 9 - s.Origin.Y + coord(20)};
        else
          pts[i] = {coord(300), coord(300)};
      }
    }
    Pixels expected = Copy(*b);
    ReferencePolyline(expected, s, pts);

    TCanvas* c = b->Canvas();
    c->SetOrigin(s.Origin);
    c->SetClipRect(clip.Offset(-s.Origin.X, -s.Origin.Y));
    c->Pen()->SetColor(s.Color);
    c->Pen()->SetMode(s.Mode);
    c->Pen()->SetStyle(style);
    c->Pen()->SetWidth(width);
    if (width == 1 && trial % 2 == 1) {
      c->MoveTo(pts[0].X, pts[0].Y);
      for (size_t i = 1; i < pts.size(); ++i)
        c->LineTo(pts[i].X, pts[i].Y);
    } else {
      c->Polyline(pts);
    }
    ASSERT_EQ(Copy(*b).Bits, expected.Bits)
        << "trial " << trial << " style " << style << " width " << width << " mode " << s.Mode;
  }
}

TEST(CanvasLineClip, SolidLinesMatchTheFullWalk) {
  CompareRandomLines(psSolid, 1, 1);
}

TEST(CanvasLineClip, DashedLinesKeepTheirPhaseAtTheClip) {
  CompareRandomLines(psDash, 1, 2);
  CompareRandomLines(psDot, 1, 3);
  CompareRandomLines(psDashDot, 1, 4);
  CompareRandomLines(psDashDotDot, 1, 5);
}

TEST(CanvasLineClip, WidePensMatchTheFullWalk) {
  CompareRandomLines(psSolid, 2, 6, 150);
  CompareRandomLines(psSolid, 3, 7, 150);
  CompareRandomLines(psDash, 5, 8, 150);  // wide pens draw dashed styles solid
}

// Every line between points of a small window around the bitmap, so that each way of
// entering and leaving the clip, ties included, is met.
TEST(CanvasLineClip, AllShortLinesMatchTheFullWalk) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(8, 7);
  TCanvas* c = b->Canvas();
  c->Pen()->SetMode(pmNot);  // a pixel changed twice would show
  for (TPenStyle style : {psSolid, psDot})
    for (TRect clip : {Rect(2, 1, 6, 5), Rect(-3, -3, 20, 20)}) {
      Scene s;
      s.Clip = clip.Intersect(Rect(0, 0, 8, 7));
      s.Mode = pmNot;
      s.Style = style;
      c->Pen()->SetStyle(style);
      c->SetClipRect(clip);
      for (int32_t x0 = -3; x0 <= 10; ++x0)
        for (int32_t y0 = -3; y0 <= 9; ++y0)
          for (int32_t x1 = -3; x1 <= 10; ++x1)
            for (int32_t y1 = -3; y1 <= 9; ++y1) {
              for (int32_t y = 0; y < 7; ++y)
                std::fill(b->ScanLine(y), b->ScanLine(y) + 8, 0xFFFFFF);
              Pixels expected = Copy(*b);
              ReferencePolyline(expected, s, {{x0, y0}, {x1, y1}});
              c->MoveTo(x0, y0);
              c->LineTo(x1, y1);
              ASSERT_EQ(Copy(*b).Bits, expected.Bits)
                  << x0 << "," << y0 << " to " << x1 << "," << y1 << " style " << style;
            }
    }
}

// --- lines billions of pixels long ---------------------------------------------------------

std::unique_ptr<TBitmap> White(int32_t w, int32_t h) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(w, h);
  return b;
}

// A line of slope 1/3 through (0, 0), drawn from far away and from close by: both reach
// (0, 0) after a number of steps divisible by 3 (and equal modulo the dash cycle), so the
// visible pixels and dashes must agree.
TEST(CanvasLineClip, HugeLinesDrawWhatTheirShortCounterpartsDraw) {
  const int32_t n = 600000002;  // 3n is 30 modulo 24
  for (TPenStyle style : {psSolid, psDashDot}) {
    for (int32_t width : {1, 3}) {
      auto far = White(30, 20), near = White(30, 20);
      for (auto* b : {far.get(), near.get()}) {
        b->Canvas()->SetOrigin(Point(15, 10));
        b->Canvas()->Pen()->SetStyle(style);
        b->Canvas()->Pen()->SetWidth(width);
      }
      far->Canvas()->MoveTo(-3 * n, -n);
      far->Canvas()->LineTo(3 * n, n);
      near->Canvas()->MoveTo(-30, -10);
      near->Canvas()->LineTo(30, 10);
      EXPECT_EQ(Picture(*far), Picture(*near)) << style << " " << width;
      // The steep way round.
      far = White(30, 20);
      near = White(30, 20);
      for (auto* b : {far.get(), near.get()}) {
        b->Canvas()->SetOrigin(Point(15, 10));
        b->Canvas()->Pen()->SetStyle(style);
        b->Canvas()->Pen()->SetWidth(width);
      }
      far->Canvas()->Polyline({{n, 3 * n}, {-n, -3 * n}});
      near->Canvas()->Polyline({{10, 30}, {-10, -30}});
      EXPECT_EQ(Picture(*far), Picture(*near)) << style << " " << width;
    }
  }
}

TEST(CanvasLineClip, LinesAcrossTheWholeIntegerRange) {
  auto b = White(8, 6);
  TCanvas* c = b->Canvas();
  c->SetOrigin(Point(3, 0));  // device coordinates beyond 32 bits
  c->MoveTo(INT32_MIN, 1);
  c->LineTo(INT32_MAX, 1);
  c->MoveTo(-3, INT32_MAX);
  c->LineTo(-3, INT32_MIN);
  c->SetOrigin(Point(0, 0));
  c->MoveTo(INT32_MIN, INT32_MIN);
  c->LineTo(INT32_MAX, INT32_MAX);  // the diagonal through (0, 0)
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{"#.......", "########", "#.#.....", "#..#....",
                                                   "#...#...", "#....#.."}));
  // A dashed line's phase carries on past a long invisible stretch.
  auto far = White(12, 1), near = White(12, 1);
  for (auto* bm : {far.get(), near.get()})
    bm->Canvas()->Pen()->SetStyle(psDash);
  far->Canvas()->MoveTo(-1800000006, 0);
  far->Canvas()->LineTo(0, 0);
  far->Canvas()->LineTo(12, 0);
  near->Canvas()->MoveTo(-30, 0);
  near->Canvas()->LineTo(0, 0);
  near->Canvas()->LineTo(12, 0);
  EXPECT_EQ(Picture(*far), Picture(*near));
  EXPECT_EQ(Picture(*near)[0], "############");
}

TEST(CanvasLineClip, HugeOriginsAndCoordinatesDoNotOverflow) {
  auto b = White(6, 4);
  TCanvas* c = b->Canvas();
  c->SetOrigin(Point(INT32_MIN + 2, INT32_MIN + 1));
  c->MoveTo(INT32_MAX, INT32_MAX);
  c->LineTo(INT32_MIN, INT32_MIN);  // starts at device (1, 0) and leaves at once
  EXPECT_EQ(Picture(*b)[0], ".#....");
  c->SetPixels(INT32_MAX, 0, clRed);  // device x far right of the buffer
  c->SetOrigin(Point(-2000000000, 0));
  c->MoveTo(2000000001, 2);
  c->LineTo(2000000004, 2);
  EXPECT_EQ(Picture(*b)[2], ".###..");
  EXPECT_EQ(c->Pixels(INT32_MIN, 0), -1);
  c->SetOrigin(Point(INT32_MAX, INT32_MAX));
  c->SetClipRect(Rect(INT32_MAX - 5, 0, INT32_MAX, 10));
  c->SetOrigin(Point(0, 0));
  EXPECT_EQ(c->ClipRect(), Rect(0, 0, 0, 0));
  c->ResetClip();
  c->SetOrigin(Point(INT32_MIN, 0));
  EXPECT_TRUE(c->ClipRect().IsEmpty());  // the buffer lies beyond 32-bit logical space
  c->SetOrigin(Point(0, 0));
  c->Pen()->SetWidth(4);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  c->Pen()->SetWidth(1);
  c->Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  c->Pen()->SetStyle(psDot);
  c->Rectangle(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBlack);
  c->FrameRect(Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));
  c->Polygon({{INT32_MAX, INT32_MAX}});
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{".#....", "......", ".###..", "......"}))
      << "the shapes' edges lie outside the bitmap";
  c->PatBlt(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, DSTINVERT);  // from (-1, -1)
  EXPECT_EQ(Picture(*b), (std::vector<std::string>{"#.####", "######", "#...##", "######"}));
}

TEST(CanvasLineClip, HugeShapesDrawTheirVisiblePart) {
  // A filled triangle reaching two billion pixels out covers the bitmap; its outline is
  // far away.
  auto b = White(5, 4);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clBlack);
  c->Polygon({{-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}});
  EXPECT_EQ(graphicstest::Ink(*b), Rect(0, 0, 5, 4));

  // A focus rectangle far wider than the bitmap: its dots keep their checkerboard.
  auto far = White(6, 4), near = White(6, 4);
  far->Canvas()->DrawFocusRect(Rect(-2000000000, 0, 2000000000, 4));
  near->Canvas()->DrawFocusRect(Rect(-100, 0, 100, 4));
  EXPECT_EQ(Picture(*far), Picture(*near));
  EXPECT_EQ(Picture(*near)[0], "#.#.#.");

  // A cell 2^30 pixels wide gets its left and top edges.
  far = White(8, 8);
  near = White(8, 8);
  TRect r = Rect(2, 3, 2 + (1 << 30), 3 + (1 << 30)), small = Rect(2, 3, 102, 103);
  far->Canvas()->Frame3D(r, clBlack, clRed, 2);
  near->Canvas()->Frame3D(small, clBlack, clRed, 2);
  EXPECT_EQ(Picture(*far), Picture(*near));
  EXPECT_EQ(r, Rect(4, 5, (1 << 30), 1 + (1 << 30)));
  EXPECT_EQ(Picture(*far)[3], "..######");

  // Frames a billion deep, only a few of which show.
  far = White(10, 10);
  near = White(10, 10);
  r = Rect(0, 0, 10, 10);
  small = Rect(0, 0, 10, 10);
  far->Canvas()->Frame3D(r, clBlack, clRed, 1000000000);
  near->Canvas()->Frame3D(small, clBlack, clRed, 40);
  EXPECT_EQ(Picture(*far), Picture(*near));
  EXPECT_EQ(r, Rect(1000000000, 1000000000, 10 - 1000000000, 10 - 1000000000));
  EXPECT_EQ(far->Canvas()->Pen()->Color(), clRed);
}

}  // namespace
}  // namespace bw
