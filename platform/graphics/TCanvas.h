#pragma once
// A raster canvas: draws into a 32-bit pixel buffer (0x00RRGGBB) with a pen, a brush and
// a font, exact to the pixel and with no display. Coordinates are logical: the origin is
// added to them to find the pixel, and nothing is drawn outside the clip rectangle, so a
// control paints in its own coordinates while its parent's buffer is the target.
//
// Conventions kept from the classic canvas: LineTo does not draw its end point; a
// rectangle's right and bottom edges lie outside it; a rectangle drawn with a clear pen
// fills one pixel less at the right and bottom; text is placed by the top-left corner of
// its cell and is drawn on the brush colour when the brush is solid.

#include <memory>
#include <vector>

#include "platform/core/TEvent.h"
#include "platform/core/TPersistent.h"
#include "platform/core/TRect.h"
#include "platform/graphics/TBrush.h"
#include "platform/graphics/TFont.h"
#include "platform/graphics/TPen.h"

namespace bw {

class TBitmap;
class TFontFace;

/// The pixels a canvas draws into: Stride pixels per row, top row first.
struct TPixelBuffer {
  uint32_t* Bits = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Stride = 0;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  constexpr bool operator==(const TSize&) const = default;
};

/// Raster operations of CopyRect, Draw and PatBlt (the classic ternary codes).
using TCopyMode = uint32_t;
inline constexpr TCopyMode cmBlackness = 0x00000042;
inline constexpr TCopyMode cmDstInvert = 0x00550009;
inline constexpr TCopyMode cmMergeCopy = 0x00C000CA;   // source and brush
inline constexpr TCopyMode cmMergePaint = 0x00BB0226;  // not source or dest
inline constexpr TCopyMode cmNotSrcCopy = 0x00330008;
inline constexpr TCopyMode cmNotSrcErase = 0x001100A6;  // not (source or dest)
inline constexpr TCopyMode cmPatCopy = 0x00F00021;
inline constexpr TCopyMode cmPatInvert = 0x005A0049;
inline constexpr TCopyMode cmPatPaint = 0x00FB0A09;  // brush or not source or dest
inline constexpr TCopyMode cmSrcAnd = 0x008800C6;
inline constexpr TCopyMode cmSrcCopy = 0x00CC0020;
inline constexpr TCopyMode cmSrcErase = 0x00440328;  // source and not dest
inline constexpr TCopyMode cmSrcInvert = 0x00660046;
inline constexpr TCopyMode cmSrcPaint = 0x00EE0086;
inline constexpr TCopyMode cmWhiteness = 0x00FF0062;
inline constexpr TCopyMode BLACKNESS = cmBlackness;
inline constexpr TCopyMode WHITENESS = cmWhiteness;
inline constexpr TCopyMode PATCOPY = cmPatCopy;
inline constexpr TCopyMode PATINVERT = cmPatInvert;
inline constexpr TCopyMode DSTINVERT = cmDstInvert;

/// Options of ExtTextOut.
inline constexpr uint32_t ETO_OPAQUE = 2;
inline constexpr uint32_t ETO_CLIPPED = 4;

class TCanvas : public TPersistent {
  BW_CLASS(TCanvas, TPersistent)

 public:
  TCanvas();
  ~TCanvas() override;

  // --- tools -------------------------------------------------------------------------
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* value) { FPen->Assign(value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* value) { FBrush->Assign(value); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* value) { FFont->Assign(value); }
  /// The raster operation of CopyRect and Draw; default cmSrcCopy.
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode value) { FCopyMode = value; }
  TPoint PenPos() const { return FPenPos; }
  void SetPenPos(TPoint value) { MoveTo(value.X, value.Y); }

  // --- target and coordinates ----------------------------------------------------------
  /// The pixels drawn into. A canvas with no buffer draws nothing.
  virtual TPixelBuffer Buffer() const { return FBuffer; }
  void SetBuffer(const TPixelBuffer& buffer) { FBuffer = buffer; }
  /// Added to every logical coordinate to find the pixel.
  TPoint Origin() const { return FOrigin; }
  void SetOrigin(TPoint value) { FOrigin = value; }
  /// The part of the buffer that drawing may change, in logical coordinates.
  TRect ClipRect() const;
  /// Limits drawing to a rectangle given in logical coordinates (under the current
  /// origin); it stays on the same pixels when the origin changes later.
  void SetClipRect(const TRect& value);
  /// Narrows the clip rectangle to its common part with a logical rectangle.
  void IntersectClipRect(const TRect& value);
  /// Lets drawing reach the whole buffer again.
  void ResetClip() { FHasClip = false; }
  bool HasClip() const { return FHasClip; }

  // --- lines and shapes ----------------------------------------------------------------
  void MoveTo(int32_t X, int32_t Y);
  /// A line from PenPos to (X, Y) without its end point (wider pens draw round ends);
  /// PenPos becomes (X, Y).
  void LineTo(int32_t X, int32_t Y);
  /// Lines through the points, the last point not drawn; PenPos is not changed.
  void Polyline(const std::vector<TPoint>& Points);
  /// A closed figure: the interior (alternate rule: pixels whose centres lie inside) with
  /// the brush, then the outline through every point and back to the first with the pen.
  void Polygon(const std::vector<TPoint>& Points);
  /// Outline with the pen, interior with the brush.
  void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  /// Fills with the brush (nothing with a clear brush).
  void FillRect(const TRect& R);
  /// A one-pixel border in the brush colour.
  void FrameRect(const TRect& R);
  /// A dotted one-pixel border drawn by inverting every other pixel; drawing it twice
  /// restores what was there.
  void DrawFocusRect(const TRect& R);
  /// Width nested one-pixel frames, left and top edges in TopColor, right and bottom in
  /// BottomColor; Rect shrinks by Width on each side. Sets the pen width to 1.
  void Frame3D(TRect& Rect, TColor TopColor, TColor BottomColor, int32_t Width);
  /// Fills a rectangle by a raster operation without source: BLACKNESS, WHITENESS,
  /// PATCOPY (brush), PATINVERT (brush xor) or DSTINVERT. Negative sizes extend left or up.
  void PatBlt(int32_t X, int32_t Y, int32_t Width, int32_t Height, TCopyMode Rop);

  // --- pixels --------------------------------------------------------------------------
  /// The colour at a point; -1 outside the clip rectangle.
  TColor Pixels(int32_t X, int32_t Y) const;
  void SetPixels(int32_t X, int32_t Y, TColor Color);

  // --- text ----------------------------------------------------------------------------
  /// Draws text with its cell's top-left corner at (X, Y); PenPos moves to its right end.
  void TextOut(int32_t X, int32_t Y, const String& Text);
  /// Draws text at (X, Y) clipped to Rect; a brush that is not clear fills Rect first.
  void TextRect(const TRect& Rect, int32_t X, int32_t Y, const String& Text);
  /// ETO_OPAQUE fills Rect with the brush colour (whatever the brush style); ETO_CLIPPED
  /// keeps the text inside Rect. Rect may be null when neither option is given.
  void ExtTextOut(int32_t X, int32_t Y, uint32_t Options, const TRect* Rect, const String& Text);
  int32_t TextWidth(const String& Text) const;
  int32_t TextHeight(const String& Text) const;
  TSize TextExtent(const String& Text) const;
  /// Metrics of the current font.
  TTextMetric TextMetrics() const;

  // --- pictures ------------------------------------------------------------------------
  /// Draws a bitmap at its own size; a transparent bitmap leaves the pixels of its
  /// transparent colour out, any other is copied with CopyMode.
  void Draw(int32_t X, int32_t Y, TBitmap* Graphic);
  /// Draws a bitmap scaled to fill Rect (nearest pixel).
  void StretchDraw(const TRect& Rect, TBitmap* Graphic);
  /// Copies (and scales) a rectangle of another canvas, or of this one, with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  /// Copies (and scales) a rectangle of a bitmap, painting its pixels of Color with the
  /// brush instead (a clear brush leaves them out).
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

  /// Raised before and after each drawing call.
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  virtual void Changing();
  virtual void Changed();

 private:
  class Mask;
  struct Target;
  // A rectangle whose edges may lie beyond the 32-bit range (a bitmap's size added to a
  // far-out position).
  struct Edges {
    int64_t Left, Top, Right, Bottom;
  };

  Target Begin() const;
  void PlotLine(const Target& t, int64_t x0, int64_t y0, int64_t x1, int64_t y1);
  void StrokeWide(const Target& t, const std::vector<TPoint>& Points);
  void Fill(const Target& t, TRect device, uint32_t pixel, TPenMode mode);
  void FillWithBrush(const Target& t, TRect device);
  void ApplyMask(const Target& t, const Mask& m, uint32_t pixel, TPenMode mode);
  /// Draws Text's glyphs, over its background in the brush when Background is set.
  void DrawText(const Target& t, int64_t X, int64_t Y, const String& Text, bool Background);
  void Blit(const Edges& Dest, const TPixelBuffer& src, TPoint srcOrigin, const TRect& Source,
            TCopyMode rop, const uint32_t* transparent, const uint32_t* replace);
  void DrawStretched(const Edges& Rect, TBitmap* Graphic);
  TFontFace* Face() const;

  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TFont> FFont;
  TCopyMode FCopyMode = cmSrcCopy;
  TPoint FPenPos;
  TPixelBuffer FBuffer;
  TPoint FOrigin;
  TRect FClip;  // in buffer coordinates
  bool FHasClip = false;
  int32_t FDashPhase = 0;  // position in the dash pattern, kept along a polyline
};

}  // namespace bw
