#pragma once
// A button without a window, for tool bars and the edge of an edit. It shows a glyph
// and a caption; its glyph bitmap may hold 1 to 4 images side by side: up, disabled,
// down (pressed) and exclusive (held down in a group). Pixels of the glyph's transparent
// colour (its bottom-left pixel) let the face show through; without a disabled image one
// is embossed from the up image. A press and release inside clicks it; buttons with the
// same GroupIndex under one parent stay down one at a time (or none, with AllowAllUp).
// Flat buttons show their edge only while the mouse is over them or they are down.

#include <memory>

#include "platform/controls/TGraphicControl.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using TNumGlyphs = int32_t;

class TSpeedButton : public TGraphicControl {
  BW_CLASS(TSpeedButton, TGraphicControl)

 public:
  /// A new speed button is 23x22 pixels, up, with no glyph.
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  /// Default false: with a GroupIndex, a click on the down button lets it up.
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  /// Default 0: not grouped; such a button never stays down.
  int32_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t Value);
  /// Default false. Only a grouped button can be down; putting it down lets the other
  /// buttons of its group up; a down button goes up only when AllowAllUp.
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  /// Default false.
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  /// The images, side by side. Assigning copies the bitmap (null empties it); a bitmap
  /// whose width is 1 to 4 times its height sets NumGlyphs to that count.
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  /// Default 1; values outside 1 to 4 are taken as 1.
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  /// Default blGlyphLeft.
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  /// Default -1: glyph and caption are centred together; else pixels from the edge.
  int32_t Margin() const { return FMargin; }
  void SetMargin(int32_t Value);
  /// Default 4: pixels between glyph and caption.
  int32_t Spacing() const { return FSpacing; }
  void SetSpacing(int32_t Value);
  /// How the button is drawn now.
  TButtonState State() const;
  /// True while the mouse is over the button.
  bool MouseInControl() const { return FMouseInControl; }

  /// The image drawn for a state: its own, or the up image (the disabled one embossed);
  /// null without a glyph. Its TransparentColor marks the pixels that are not drawn.
  std::unique_ptr<TBitmap> GlyphImage(TButtonState AState) const;
  /// The glyph's transparent colour: its bottom-left pixel.
  TColor GlyphTransparentColor() const;

  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void Dispatch(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;
  virtual void CMButtonPressed(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);

 private:
  /// Tells the other buttons of the group that this one went down.
  void UpdateExclusive();
  /// Ends a press without a click (disabled or cancelled while held).
  void CancelPress();
  bool InClient(int32_t X, int32_t Y) const;
  void DrawFace(TCanvas* C, TRect& R, TButtonState AState);

  std::unique_ptr<TBitmap> FGlyph;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int32_t FMargin = -1;
  int32_t FSpacing = 4;
  int32_t FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FDown = false;
  bool FFlat = false;
  bool FDragging = false;
  bool FMouseInControl = false;
  TButtonState FState = bsUp;
};

}  // namespace bw
