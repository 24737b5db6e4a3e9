// Sections: clip and coordinates; lines (one-pixel Bresenham, dashes, wide pens through a
// coverage mask); shapes and fills; pixels; text; copies between buffers.

#include "platform/graphics/TCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TFontEngine.h"

namespace bw {

// The buffer and the device rectangle drawing may touch, fixed for one drawing call.
struct TCanvas::Target {
  TPixelBuffer Buf;
  TRect Clip;  // device coordinates, inside the buffer
  TPoint Org;

  bool Inside(int64_t x, int64_t y) const {
    return x >= Clip.Left && x < Clip.Right && y >= Clip.Top && y < Clip.Bottom;
  }
  // The visible part of a rectangle given in logical coordinates that may lie far outside
  // the 32-bit range once the origin is added.
  TRect Visible(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
    left = std::max<int64_t>(left + Org.X, Clip.Left);
    top = std::max<int64_t>(top + Org.Y, Clip.Top);
    right = std::min<int64_t>(right + Org.X, Clip.Right);
    bottom = std::min<int64_t>(bottom + Org.Y, Clip.Bottom);
    if (right <= left || bottom <= top) return {};
    return {int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
  }
  TRect Visible(const TRect& r) const { return Visible(r.Left, r.Top, r.Right, r.Bottom); }
  uint32_t& At(int32_t x, int32_t y) const {
    return Buf.Bits[static_cast<ptrdiff_t>(y) * Buf.Stride + x];
  }
};

// Coverage of pixels for shapes whose parts overlap (wide pens), so that each pixel is
// changed once, as xor and the other combining modes need.
class TCanvas::Mask {
 public:
  explicit Mask(TRect bounds)
      : FBounds(bounds),
        FBits(size_t(std::max(0, bounds.Width())) * size_t(std::max(0, bounds.Height()))) {}
  void Set(int32_t x, int32_t y) {
    if (FBounds.Contains({x, y}))
      FBits[size_t(y - FBounds.Top) * size_t(FBounds.Width()) + size_t(x - FBounds.Left)] = 1;
  }
  bool Get(int32_t x, int32_t y) const {
    return FBits[size_t(y - FBounds.Top) * size_t(FBounds.Width()) + size_t(x - FBounds.Left)];
  }
  const TRect& Bounds() const { return FBounds; }
  // A round pen tip of diameter w centred on (x, y); only its rows and columns inside the
  // bounds are visited.
  void Stamp(int64_t x, int64_t y, int32_t w) {
    const double c = (w - 1) / 2.0, r2 = (w / 2.0) * (w / 2.0);
    const int64_t left = x - w / 2, top = y - w / 2;
    const int64_t i0 = std::max<int64_t>(0, FBounds.Left - left),
                  i1 = std::min<int64_t>(w, FBounds.Right - left),
                  j0 = std::max<int64_t>(0, FBounds.Top - top),
                  j1 = std::min<int64_t>(w, FBounds.Bottom - top);
    for (int64_t j = j0; j < j1; ++j)
      for (int64_t i = i0; i < i1; ++i) {
        double dx = double(i) - c, dy = double(j) - c;
        if (dx * dx + dy * dy <= r2) Set(int32_t(left + i), int32_t(top + j));
      }
  }

 private:
  TRect FBounds;
  std::vector<uint8_t> FBits;
};

TCanvas::TCanvas()
    : FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>()),
      FFont(std::make_unique<TFont>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

// --- clip and coordinates ----------------------------------------------------------------

TCanvas::Target TCanvas::Begin() const {
  Target t;
  t.Buf = Buffer();
  t.Org = FOrigin;
  t.Clip = t.Buf.Bits ? TRect{0, 0, t.Buf.Width, t.Buf.Height} : TRect{};
  if (FHasClip) t.Clip = t.Clip.Intersect(FClip);
  return t;
}

namespace {

// A coordinate cut to what 32 bits hold: the buffer lies well inside that range, so the
// cut never changes what can be drawn.
int32_t Cut32(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

TRect Moved(const TRect& r, int64_t dx, int64_t dy) {
  return {Cut32(r.Left + dx), Cut32(r.Top + dy), Cut32(r.Right + dx), Cut32(r.Bottom + dy)};
}

TRect DeviceRect(const TRect& r, TPoint origin) {
  return Moved(r, origin.X, origin.Y);
}

}  // namespace

TRect TCanvas::ClipRect() const {
  return Moved(Begin().Clip, -int64_t{FOrigin.X}, -int64_t{FOrigin.Y});
}

void TCanvas::SetClipRect(const TRect& value) {
  FClip = DeviceRect(value, FOrigin);
  if (FClip.IsEmpty()) FClip = TRect{};
  FHasClip = true;
}

void TCanvas::IntersectClipRect(const TRect& value) {
  TRect r = DeviceRect(value, FOrigin);
  FClip = FHasClip ? FClip.Intersect(r) : (r.IsEmpty() ? TRect{} : r);
  FHasClip = true;
}

// --- lines ---------------------------------------------------------------------------------

namespace {

// Every dash pattern repeats within this many pixels, so the phase is kept modulo it and
// cannot overflow along lines billions of pixels long.
constexpr int64_t kDashCycle = 24;

// The steps k of a coordinate start + step * k (step 1 or -1) that fall in [lo, hi).
void StepsWithin(int64_t start, int64_t step, int64_t lo, int64_t hi, int64_t& first,
                 int64_t& last) {
  if (step > 0) {
    first = lo - start;
    last = hi - 1 - start;
  } else {
    first = start - (hi - 1);
    last = start - lo;
  }
}

// Visits the points of a line from (x0, y0) towards (x1, y1) that lie in the half-open
// box [left, right) x [top, bottom), the end point included only when asked, each with
// its step number k from the start (Bresenham). Only the steps inside the box are
// walked, starting with the position and error term the walk from the start would have
// there, so the points are the same as a full walk's however long the line is.
template <class F>
void WalkLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, bool withEnd, int64_t left,
              int64_t top, int64_t right, int64_t bottom, F&& visit) {
  using Wide = __int128;  // products of two 33-bit offsets and a factor 2
  const int64_t a = x1 > x0 ? x1 - x0 : x0 - x1, b = y1 > y0 ? y1 - y0 : y0 - y1;
  const int64_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  const int64_t n = std::max(a, b);  // steps to the end point
  int64_t kLo = 0, kHi = withEnd ? n : n - 1;
  if (kHi < 0) return;
  if (n == 0) {
    if (x0 >= left && x0 < right && y0 >= top && y0 < bottom) visit(x0, y0, int64_t{0});
    return;
  }
  // The walk moves one pixel along the major axis at every step; after k steps the
  // minor offset is j(k) = floor((2 * minor * k + major) / (2 * major)), which never
  // decreases, so the steps inside the box form one range.
  const bool xMajor = a >= b;
  const int64_t major = xMajor ? a : b, minor = xMajor ? b : a;
  int64_t first, last;
  StepsWithin(xMajor ? x0 : y0, xMajor ? sx : sy, xMajor ? left : top, xMajor ? right : bottom,
              first, last);
  kLo = std::max(kLo, first);
  kHi = std::min(kHi, last);
  int64_t jLo, jHi;
  StepsWithin(xMajor ? y0 : x0, xMajor ? sy : sx, xMajor ? top : left, xMajor ? bottom : right, jLo,
              jHi);
  if (jHi < 0 || jLo > minor || jLo > jHi) return;
  if (jLo > 0)  // the first step with j(k) >= jLo
    kLo = std::max<int64_t>(
        kLo, int64_t((Wide{2} * major * jLo - major + 2 * minor - 1) / (Wide{2} * minor)));
  if (jHi < minor)  // the last step with j(k) <= jHi
    kHi = std::min<int64_t>(kHi,
                            int64_t((Wide{2} * major * (jHi + 1) - major - 1) / (Wide{2} * minor)));
  if (kLo > kHi) return;
  const int64_t j = int64_t((Wide{2} * minor * kLo + major) / (Wide{2} * major));
  const int64_t X = xMajor ? kLo : j, Y = xMajor ? j : kLo;
  int64_t x = x0 + sx * X, y = y0 + sy * Y;
  int64_t err = int64_t(Wide{a} * (Y + 1) - Wide{b} * (X + 1));
  for (int64_t k = kLo;; ++k) {
    visit(x, y, k);
    if (k == kHi) return;
    const int64_t e2 = 2 * err;
    if (e2 >= -b) {
      err -= b;
      x += sx;
    }
    if (e2 <= a) {
      err += a;
      y += sy;
    }
  }
}

}  // namespace

void TCanvas::MoveTo(int32_t X, int32_t Y) {
  FPenPos = {X, Y};
  FDashPhase = 0;
}

void TCanvas::LineTo(int32_t X, int32_t Y) {
  Changing();
  Target t = Begin();
  PlotLine(t, FPenPos.X, FPenPos.Y, X, Y);
  FPenPos = {X, Y};
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& Points) {
  if (Points.size() < 2) return;
  Changing();
  Target t = Begin();
  TPoint saved = FPenPos;
  FDashPhase = 0;
  if (FPen->Width() > 1) {
    StrokeWide(t, Points);  // one mask for the whole figure: joints change once
  } else {
    for (size_t i = 1; i < Points.size(); ++i)
      PlotLine(t, Points[i - 1].X, Points[i - 1].Y, Points[i].X, Points[i].Y);
  }
  FPenPos = saved;
  Changed();
}

void TCanvas::StrokeWide(const Target& t, const std::vector<TPoint>& Points) {
  if (FPen->Style() == psClear) return;
  const int64_t w = FPen->Width();
  int64_t left = Points[0].X, top = Points[0].Y, right = left + 1, bottom = top + 1;
  for (const TPoint& p : Points) {
    left = std::min<int64_t>(left, p.X);
    top = std::min<int64_t>(top, p.Y);
    right = std::max<int64_t>(right, int64_t{p.X} + 1);
    bottom = std::max<int64_t>(bottom, int64_t{p.Y} + 1);
  }
  Mask m(t.Visible(left - w, top - w, right + w, bottom + w));
  if (m.Bounds().IsEmpty()) return;
  // Round pen tips along every segment, the end points included; only the points whose
  // tip can reach the mask are walked.
  const TRect& mb = m.Bounds();
  for (size_t i = 1; i < Points.size(); ++i)
    WalkLine(int64_t{Points[i - 1].X} + t.Org.X, int64_t{Points[i - 1].Y} + t.Org.Y,
             int64_t{Points[i].X} + t.Org.X, int64_t{Points[i].Y} + t.Org.Y, true,
             int64_t{mb.Left} - w, int64_t{mb.Top} - w, int64_t{mb.Right} + w,
             int64_t{mb.Bottom} + w,
             [&](int64_t x, int64_t y, int64_t) { m.Stamp(x, y, int32_t(w)); });
  ApplyMask(t, m, ColorToPixel(FPen->Color()), FPen->Mode());
}

void TCanvas::PlotLine(const Target& t, int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  if (FPen->Style() == psClear) return;
  if (FPen->Width() > 1) {
    StrokeWide(t, {{int32_t(x0), int32_t(y0)}, {int32_t(x1), int32_t(y1)}});
    return;
  }
  const uint32_t pixel = ColorToPixel(FPen->Color());
  const TPenMode mode = FPen->Mode();
  const auto& dashes = DashPattern(FPen->Style());
  const int64_t phase = FDashPhase;
  x0 += t.Org.X;
  y0 += t.Org.Y;
  x1 += t.Org.X;
  y1 += t.Org.Y;
  WalkLine(x0, y0, x1, y1, false, t.Clip.Left, t.Clip.Top, t.Clip.Right, t.Clip.Bottom,
           [&](int64_t x, int64_t y, int64_t k) {
             if ((dashes.empty() || DashOn(dashes, int32_t((phase + k) % kDashCycle))) &&
                 t.Inside(x, y)) {
               uint32_t& d = t.At(int32_t(x), int32_t(y));
               d = ApplyPenMode(mode, pixel, d);
             }
           });
  // The phase moves on by every point of the line, drawn or not.
  const int64_t steps = std::max(x1 > x0 ? x1 - x0 : x0 - x1, y1 > y0 ? y1 - y0 : y0 - y1);
  FDashPhase = int32_t((phase + steps) % kDashCycle);
}

void TCanvas::ApplyMask(const Target& t, const Mask& m, uint32_t pixel, TPenMode mode) {
  TRect r = m.Bounds().Intersect(t.Clip);
  for (int32_t y = r.Top; y < r.Bottom; ++y)
    for (int32_t x = r.Left; x < r.Right; ++x)
      if (m.Get(x, y)) {
        uint32_t& d = t.At(x, y);
        d = ApplyPenMode(mode, pixel, d);
      }
}

// --- shapes and fills ------------------------------------------------------------------------

void TCanvas::Fill(const Target& t, TRect device, uint32_t pixel, TPenMode mode) {
  TRect r = device.Intersect(t.Clip);
  if (r.IsEmpty()) return;
  for (int32_t y = r.Top; y < r.Bottom; ++y) {
    uint32_t* row = &t.At(r.Left, y);
    if (mode == pmCopy) {
      std::fill(row, row + r.Width(), pixel);
    } else {
      for (int32_t x = 0; x < r.Width(); ++x)
        row[x] = ApplyPenMode(mode, pixel, row[x]);
    }
  }
}

namespace {

TRect Normalized(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

// Whether a hatched brush covers a device pixel (8-pixel hatch cells).
bool Hatched(TBrushStyle style, int32_t x, int32_t y) {
  switch (style) {
    case bsHorizontal:
      return (y & 7) == 0;
    case bsVertical:
      return (x & 7) == 0;
    case bsFDiagonal:
      return ((x - y) & 7) == 0;
    case bsBDiagonal:
      return ((x + y) & 7) == 0;
    case bsCross:
      return (x & 7) == 0 || (y & 7) == 0;
    case bsDiagCross:
      return ((x - y) & 7) == 0 || ((x + y) & 7) == 0;
    default:
      return true;
  }
}

}  // namespace

void TCanvas::FillWithBrush(const Target& t, TRect device) {
  const uint32_t pixel = ColorToPixel(FBrush->Color());
  switch (FBrush->Style()) {
    case bsClear:
      return;
    case bsSolid:
      Fill(t, device, pixel, pmCopy);
      return;
    default: {
      TRect r = device.Intersect(t.Clip);
      for (int32_t y = r.Top; y < r.Bottom; ++y)
        for (int32_t x = r.Left; x < r.Right; ++x)
          if (Hatched(FBrush->Style(), x, y)) t.At(x, y) = pixel;
    }
  }
}

void TCanvas::FillRect(const TRect& R) {
  if (FBrush->Style() == bsClear) return;
  Changing();
  Target t = Begin();
  FillWithBrush(t, t.Visible(R));
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  if (FBrush->Style() != bsClear && Points.size() >= 3) {
    Changing();
    Target t = Begin();
    int64_t top = INT32_MAX, bottom = INT32_MIN;
    for (const TPoint& p : Points) {
      top = std::min<int64_t>(top, p.Y);
      bottom = std::max<int64_t>(bottom, p.Y);
    }
    // Only the rows inside the clip are scanned.
    top = std::max<int64_t>(top, int64_t{t.Clip.Top} - t.Org.Y);
    bottom = std::min<int64_t>(bottom, int64_t{t.Clip.Bottom} - t.Org.Y);
    std::vector<double> xs;
    for (int64_t y = top; y < bottom; ++y) {
      const double cy = double(y) + 0.5;
      xs.clear();
      for (size_t i = 0; i < Points.size(); ++i) {
        const TPoint& a = Points[i];
        const TPoint& b = Points[(i + 1) % Points.size()];
        if ((a.Y <= cy) == (b.Y <= cy)) continue;
        xs.push_back(a.X + (cy - a.Y) * (double(b.X) - a.X) / (double(b.Y) - a.Y));
      }
      std::sort(xs.begin(), xs.end());
      for (size_t i = 0; i + 1 < xs.size(); i += 2) {
        // Pixels whose centres lie in [xs[i], xs[i + 1]).
        int64_t x0 = int64_t(std::ceil(xs[i] - 0.5)), x1 = int64_t(std::ceil(xs[i + 1] - 0.5));
        FillWithBrush(t, t.Visible(x0, y, x1, y + 1));
      }
    }
    Changed();
  }
  std::vector<TPoint> outline = Points;
  outline.push_back(Points.front());
  if (outline.size() == 2) {  // one point: a dot, drawn as a line one pixel long
    const TPoint p = Points.front();
    outline.push_back({p.X < INT32_MAX ? p.X + 1 : p.X - 1, p.Y});
  }
  Polyline(outline);
}

void TCanvas::Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2) {
  TRect r = Normalized(X1, Y1, X2, Y2);
  if (r.IsEmpty()) return;
  if (FPen->Style() == psClear) {
    FillRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1});
    return;
  }
  const int64_t w = std::max(1, FPen->Width());
  // The pen's band: centred on the edges, or inside them for psInsideFrame.
  const int64_t grow = FPen->Style() == psInsideFrame || w == 1 ? 0 : w / 2;
  const int64_t oL = r.Left - grow, oT = r.Top - grow, oR = r.Right + grow, oB = r.Bottom + grow;
  const int64_t iL = oL + w, iT = oT + w, iR = oR - w, iB = oB - w;
  const bool hollow = iL < iR && iT < iB;
  // The inner part lies inside r, so it fits in 32 bits.
  if (hollow) FillRect({int32_t(iL), int32_t(iT), int32_t(iR), int32_t(iB)});
  Changing();
  Target t = Begin();
  const uint32_t pixel = ColorToPixel(FPen->Color());
  const TPenMode mode = FPen->Mode();
  if (w == 1 && !DashPattern(FPen->Style()).empty()) {
    TPoint saved = FPenPos;
    FDashPhase = 0;
    PlotLine(t, r.Left, r.Top, r.Right - 1, r.Top);
    PlotLine(t, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
    PlotLine(t, r.Right - 1, r.Bottom - 1, r.Left, r.Bottom - 1);
    PlotLine(t, r.Left, r.Bottom - 1, r.Left, r.Top);
    FPenPos = saved;
  } else if (!hollow) {
    Fill(t, t.Visible(oL, oT, oR, oB), pixel, mode);
  } else {
    Fill(t, t.Visible(oL, oT, oR, iT), pixel, mode);
    Fill(t, t.Visible(oL, iB, oR, oB), pixel, mode);
    Fill(t, t.Visible(oL, iT, iL, iB), pixel, mode);
    Fill(t, t.Visible(iR, iT, oR, iB), pixel, mode);
  }
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  if (R.IsEmpty() || FBrush->Style() == bsClear) return;
  Changing();
  Target t = Begin();
  const int64_t l = R.Left, tp = R.Top, r = R.Right, b = R.Bottom;
  const uint32_t pixel = ColorToPixel(FBrush->Color());
  Fill(t, t.Visible(l, tp, r, tp + 1), pixel, pmCopy);
  Fill(t, t.Visible(l, b - 1, r, b), pixel, pmCopy);
  Fill(t, t.Visible(l, tp + 1, l + 1, b - 1), pixel, pmCopy);
  Fill(t, t.Visible(r - 1, tp + 1, r, b - 1), pixel, pmCopy);
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  if (R.IsEmpty()) return;
  Changing();
  Target t = Begin();
  const int64_t left = int64_t{R.Left} + t.Org.X, top = int64_t{R.Top} + t.Org.Y,
                right = int64_t{R.Right} + t.Org.X, bottom = int64_t{R.Bottom} + t.Org.Y;
  auto dot = [&](int64_t x, int64_t y) {
    if (((x + y) & 1) == 0 && t.Inside(x, y)) t.At(int32_t(x), int32_t(y)) ^= 0xFFFFFF;
  };
  // Only the columns and rows inside the clip are visited.
  const int64_t x1 = std::min<int64_t>(right, t.Clip.Right);
  for (int64_t x = std::max<int64_t>(left, t.Clip.Left); x < x1; ++x) {
    dot(x, top);
    if (bottom - 1 > top) dot(x, bottom - 1);
  }
  const int64_t y1 = std::min<int64_t>(bottom - 1, t.Clip.Bottom);
  for (int64_t y = std::max<int64_t>(top + 1, t.Clip.Top); y < y1; ++y) {
    dot(left, y);
    if (right - 1 > left) dot(right - 1, y);
  }
  Changed();
}

void TCanvas::Frame3D(TRect& Rect, TColor TopColor, TColor BottomColor, int32_t Width) {
  FPen->SetWidth(1);
  const TPoint saved = FPenPos;
  const int64_t left = Rect.Left, top = Rect.Top, right = int64_t{Rect.Right} - 1,
                bottom = int64_t{Rect.Bottom} - 1;
  // Frame i has all its pixels on columns left + i and right - i and rows top + i and
  // bottom - i, so only the frames with one of those inside the clip are drawn: a wide
  // band costs what its visible part costs.
  const Target clip = Begin();
  const int64_t cl = int64_t{clip.Clip.Left} - clip.Org.X,
                cr = int64_t{clip.Clip.Right} - clip.Org.X,
                ct = int64_t{clip.Clip.Top} - clip.Org.Y,
                cb = int64_t{clip.Clip.Bottom} - clip.Org.Y;
  std::vector<std::pair<int64_t, int64_t>> spans;  // ranges of frame numbers
  auto add = [&](int64_t lo, int64_t hi) {
    lo = std::max<int64_t>(lo, 0);
    hi = std::min<int64_t>(hi, int64_t{Width} - 1);
    if (lo <= hi) spans.push_back({lo, hi});
  };
  add(cl - left, cr - 1 - left);
  add(right - (cr - 1), right - cl);
  add(ct - top, cb - 1 - top);
  add(bottom - (cb - 1), bottom - ct);
  std::sort(spans.begin(), spans.end());
  // One frame as two polylines, each drawn as Polyline draws one with a one-pixel pen.
  auto stroke = [&](int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t cx, int64_t cy) {
    Changing();
    Target t = Begin();
    FDashPhase = 0;
    PlotLine(t, ax, ay, bx, by);
    PlotLine(t, bx, by, cx, cy);
    Changed();
  };
  int64_t next = 0;  // the frames before it are drawn
  for (const auto& [lo, hi] : spans) {
    for (int64_t i = std::max(lo, next); i <= hi; ++i) {
      const int64_t l = left + i, tp = top + i, r = right - i, b = bottom - i;
      FPen->SetColor(TopColor);
      stroke(l, b, l, tp, r, tp);
      FPen->SetColor(BottomColor);
      stroke(r, tp, r, b, l - 1, b);
    }
    next = std::max(next, hi + 1);
  }
  if (Width > 0) {
    FPen->SetColor(BottomColor);
    Rect = {Cut32(int64_t{Rect.Left} + Width), Cut32(int64_t{Rect.Top} + Width),
            Cut32(int64_t{Rect.Right} - Width), Cut32(int64_t{Rect.Bottom} - Width)};
  }
  FPenPos = saved;
}

void TCanvas::PatBlt(int32_t X, int32_t Y, int32_t Width, int32_t Height, TCopyMode Rop) {
  const int64_t x2 = int64_t{X} + Width, y2 = int64_t{Y} + Height;
  Changing();
  Target t = Begin();
  TRect d = t.Visible(std::min<int64_t>(X, x2), std::min<int64_t>(Y, y2), std::max<int64_t>(X, x2),
                      std::max<int64_t>(Y, y2));
  const uint32_t brush = ColorToPixel(FBrush->Color());
  switch (Rop) {
    case BLACKNESS:
      Fill(t, d, 0, pmCopy);
      break;
    case WHITENESS:
      Fill(t, d, 0xFFFFFF, pmCopy);
      break;
    case PATCOPY:
      Fill(t, d, brush, pmCopy);
      break;
    case PATINVERT:
      Fill(t, d, brush, pmXor);
      break;
    case DSTINVERT:
      Fill(t, d, 0, pmNot);
      break;
    default:
      break;  // operations that need a source do nothing here
  }
  Changed();
}

// --- pixels --------------------------------------------------------------------------------

TColor TCanvas::Pixels(int32_t X, int32_t Y) const {
  Target t = Begin();
  const int64_t x = int64_t{X} + t.Org.X, y = int64_t{Y} + t.Org.Y;
  if (!t.Inside(x, y)) return -1;
  return PixelToColor(t.At(int32_t(x), int32_t(y)));
}

void TCanvas::SetPixels(int32_t X, int32_t Y, TColor Color) {
  Changing();
  Target t = Begin();
  const int64_t x = int64_t{X} + t.Org.X, y = int64_t{Y} + t.Org.Y;
  if (t.Inside(x, y)) t.At(int32_t(x), int32_t(y)) = ColorToPixel(Color);
  Changed();
}

// --- text ----------------------------------------------------------------------------------

TFontFace* TCanvas::Face() const {
  return TFontEngine::Instance().Face(*FFont);
}

TTextMetric TCanvas::TextMetrics() const {
  return Face()->Metrics();
}

int32_t TCanvas::TextWidth(const String& Text) const {
  return Face()->TextWidth(Text);
}

int32_t TCanvas::TextHeight(const String&) const {
  return Face()->Metrics().tmHeight;
}

TSize TCanvas::TextExtent(const String& Text) const {
  return {TextWidth(Text), TextHeight(Text)};
}

void TCanvas::TextOut(int32_t X, int32_t Y, const String& Text) {
  ExtTextOut(X, Y, 0, nullptr, Text);
  // Text running past the end of the range leaves the pen there rather than wrapping.
  FPenPos = {Cut32(int64_t{X} + TextWidth(Text)), Y};
}

void TCanvas::TextRect(const TRect& Rect, int32_t X, int32_t Y, const String& Text) {
  uint32_t options = ETO_CLIPPED;
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOut(X, Y, options, &Rect, Text);
}

void TCanvas::ExtTextOut(int32_t X, int32_t Y, uint32_t Options, const TRect* Rect,
                         const String& Text) {
  Changing();
  Target t = Begin();
  if (Rect && (Options & ETO_OPAQUE))
    Fill(t, t.Visible(*Rect), ColorToPixel(FBrush->Color()), pmCopy);
  if (Rect && (Options & ETO_CLIPPED)) t.Clip = t.Visible(*Rect);
  DrawText(t, X, Y, Text);
  Changed();
}

void TCanvas::DrawText(const Target& t, int64_t X, int64_t Y, const String& Text) {
  if (Text.empty() || t.Clip.IsEmpty()) return;
  TFontFace* face = Face();
  const TTextMetric& tm = face->Metrics();
  const std::u32string chars = TFontEngine::Decode(Text);
  // Positions stay logical and in 64 bits until cut to the clip: the text may lie far
  // outside the 32-bit range once the origin is added.
  int64_t width = 0;
  for (Char c : chars)
    width += face->Glyph(c).Advance;
  if (FBrush->Style() == bsSolid)  // hatched brushes leave the text background alone
    Fill(t, t.Visible(X, Y, X + width, Y + tm.tmHeight), ColorToPixel(FBrush->Color()), pmCopy);
  const uint32_t fg = ColorToPixel(FFont->Color());
  const uint32_t fr = (fg >> 16) & 0xFF, fgc = (fg >> 8) & 0xFF, fb = fg & 0xFF;
  const int64_t baseline = Y + tm.tmAscent;
  const int64_t clipRight = int64_t{t.Clip.Right} - t.Org.X;
  int64_t x = X;
  for (Char c : chars) {
    if (x >= clipRight) break;  // the rest lies past the clip's right edge
    const TGlyph& g = face->Glyph(c);
    const int64_t gx = x + g.Left, gy = baseline - g.Top;
    x += g.Advance;
    const TRect box = t.Visible(gx, gy, gx + g.Width, gy + g.Height);
    // Device position of the glyph's top-left: within 32 bits of the visible box.
    const int64_t dgx = gx + t.Org.X, dgy = gy + t.Org.Y;
    for (int32_t py = box.Top; py < box.Bottom; ++py) {
      const uint8_t* cov = &g.Coverage[size_t(py - dgy) * size_t(g.Width)];
      for (int32_t px = box.Left; px < box.Right; ++px) {
        uint32_t a = cov[px - dgx];
        if (a == 0) continue;
        uint32_t& d = t.At(px, py);
        if (a == 255) {
          d = fg;
          continue;
        }
        uint32_t dr = (d >> 16) & 0xFF, dg = (d >> 8) & 0xFF, db = d & 0xFF;
        dr = (fr * a + dr * (255 - a) + 127) / 255;
        dg = (fgc * a + dg * (255 - a) + 127) / 255;
        db = (fb * a + db * (255 - a) + 127) / 255;
        d = (dr << 16) | (dg << 8) | db;
      }
    }
  }
  const TFontStyles style = FFont->Style();
  const int32_t thick = face->LineThickness();
  if (style.Contains(fsUnderline)) {
    const int64_t uy = baseline + face->UnderlinePosition();
    Fill(t, t.Visible(X, uy, X + width, uy + thick), fg, pmCopy);
  }
  if (style.Contains(fsStrikeOut)) {
    const int64_t sy = baseline + face->StrikeOutPosition();
    Fill(t, t.Visible(X, sy, X + width, sy + thick), fg, pmCopy);
  }
}

// --- copies --------------------------------------------------------------------------------

namespace {

// Applies a raster operation with source S, destination D and brush P.
uint32_t Rop3(TCopyMode rop, uint32_t s, uint32_t d, uint32_t p) {
  uint32_t r;
  switch (rop) {
    case cmSrcCopy:
      r = s;
      break;
    case cmSrcPaint:
      r = s | d;
      break;
    case cmSrcAnd:
      r = s & d;
      break;
    case cmSrcInvert:
      r = s ^ d;
      break;
    case cmSrcErase:
      r = s & ~d;
      break;
    case cmNotSrcCopy:
      r = ~s;
      break;
    case cmNotSrcErase:
      r = ~(s | d);
      break;
    case cmMergeCopy:
      r = s & p;
      break;
    case cmMergePaint:
      r = ~s | d;
      break;
    case cmPatCopy:
      r = p;
      break;
    case cmPatPaint:
      r = p | ~s | d;
      break;
    case cmPatInvert:
      r = p ^ d;
      break;
    case cmDstInvert:
      r = ~d;
      break;
    case cmBlackness:
      r = 0;
      break;
    case cmWhiteness:
      r = 0xFFFFFF;
      break;
    default:
      r = s;
      break;
  }
  return r & 0xFFFFFF;
}

}  // namespace

namespace {

// For each visible pixel of one axis of a copy, the source coordinate it takes (a scaled
// and, for negative extents, mirrored mapping), or -1 where that lies outside the source.
std::vector<int32_t> SourceMap(int64_t destStart, int64_t destExtent, int32_t visStart,
                               int32_t visEnd, int64_t srcStart, int64_t srcExtent,
                               int64_t srcOrigin, int32_t srcSize) {
  const uint64_t ad = uint64_t(destExtent < 0 ? -destExtent : destExtent);
  const uint64_t as = uint64_t(srcExtent < 0 ? -srcExtent : srcExtent);
  std::vector<int32_t> map(size_t(visEnd - visStart));
  for (int32_t v = visStart; v < visEnd; ++v) {
    uint64_t i = uint64_t(v - destStart);
    if (destExtent < 0) i = ad - 1 - i;
    // Each extent spans at most two 32-bit edges, so the product fits 64 unsigned bits.
    const int64_t j = int64_t(i * as / ad);
    const int64_t s = (srcExtent > 0 ? srcStart + j : srcStart - 1 - j) + srcOrigin;
    map[size_t(v - visStart)] = s >= 0 && s < srcSize ? int32_t(s) : -1;
  }
  return map;
}

}  // namespace

void TCanvas::Blit(const Edges& Dest, const TPixelBuffer& src, TPoint srcOrigin,
                   const TRect& Source, TCopyMode rop, const uint32_t* transparent,
                   const uint32_t* replace) {
  const int64_t dw = Dest.Right - Dest.Left, dh = Dest.Bottom - Dest.Top;
  const int64_t sw = int64_t{Source.Right} - Source.Left;
  const int64_t sh = int64_t{Source.Bottom} - Source.Top;
  if (dw == 0 || dh == 0 || sw == 0 || sh == 0 || !src.Bits) return;
  Changing();
  Target t = Begin();
  // Only the visible pixels are walked, however large or far out the destination is.
  const int64_t left = std::min(Dest.Left, Dest.Right), top = std::min(Dest.Top, Dest.Bottom);
  const TRect vis =
      t.Visible(left, top, std::max(Dest.Left, Dest.Right), std::max(Dest.Top, Dest.Bottom));
  if (vis.IsEmpty()) {
    Changed();
    return;
  }
  const std::vector<int32_t> colMap =
      SourceMap(left + t.Org.X, dw, vis.Left, vis.Right, Source.Left, sw, srcOrigin.X, src.Width);
  const std::vector<int32_t> rowMap =
      SourceMap(top + t.Org.Y, dh, vis.Top, vis.Bottom, Source.Top, sh, srcOrigin.Y, src.Height);
  // Read the source first: it may be the destination itself. A pixel outside the source
  // buffer leaves the target alone.
  constexpr uint32_t kSkip = 0xFF000000;
  std::vector<uint32_t> tmp(size_t(vis.Width()) * size_t(vis.Height()));
  for (int32_t y = 0; y < vis.Height(); ++y) {
    int32_t sy = rowMap[size_t(y)];
    for (int32_t x = 0; x < vis.Width(); ++x) {
      int32_t sx = colMap[size_t(x)];
      uint32_t v = kSkip;
      if (sx >= 0 && sy >= 0) v = src.Bits[static_cast<ptrdiff_t>(sy) * src.Stride + sx] & 0xFFFFFF;
      tmp[size_t(y) * size_t(vis.Width()) + size_t(x)] = v;
    }
  }
  const uint32_t brush = ColorToPixel(FBrush->Color());
  const bool brushClear = FBrush->Style() == bsClear;
  for (int32_t y = 0; y < vis.Height(); ++y)
    for (int32_t x = 0; x < vis.Width(); ++x) {
      uint32_t s = tmp[size_t(y) * size_t(vis.Width()) + size_t(x)];
      if (s == kSkip) continue;
      uint32_t& d = t.At(vis.Left + x, vis.Top + y);
      if (transparent && s == *transparent) continue;
      if (replace && s == *replace) {
        if (!brushClear) d = brush;
        continue;
      }
      d = Rop3(rop, s, d, brush);
    }
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (!Canvas) return;
  Blit({Dest.Left, Dest.Top, Dest.Right, Dest.Bottom}, Canvas->Buffer(), Canvas->Origin(), Source,
       FCopyMode, nullptr, nullptr);
}

void TCanvas::Draw(int32_t X, int32_t Y, TBitmap* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  // The far edges may pass the 32-bit range: keep them exact so the bitmap is not squeezed.
  DrawStretched({X, Y, int64_t{X} + Graphic->Width(), int64_t{Y} + Graphic->Height()}, Graphic);
}

void TCanvas::StretchDraw(const TRect& Rect, TBitmap* Graphic) {
  DrawStretched({Rect.Left, Rect.Top, Rect.Right, Rect.Bottom}, Graphic);
}

void TCanvas::DrawStretched(const Edges& Rect, TBitmap* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  HBITMAP img = Graphic->Handle();
  TPixelBuffer src{img->Pixels.data(), img->Width, img->Height, img->Width};
  const TRect all{0, 0, img->Width, img->Height};
  if (Graphic->Transparent()) {
    uint32_t key = ColorToPixel(Graphic->TransparentColor());
    Blit(Rect, src, {}, all, cmSrcCopy, &key, nullptr);
  } else {
    Blit(Rect, src, {}, all, FCopyMode, nullptr, nullptr);
  }
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->Empty()) return;
  HBITMAP img = Bitmap->Handle();
  TPixelBuffer src{img->Pixels.data(), img->Width, img->Height, img->Width};
  uint32_t key = ColorToPixel(Color);
  Blit({Dest.Left, Dest.Top, Dest.Right, Dest.Bottom}, src, {}, Source, cmSrcCopy, nullptr, &key);
}

}  // namespace bw
