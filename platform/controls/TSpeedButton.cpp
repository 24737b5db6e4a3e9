#include "platform/controls/TSpeedButton.h"

#include "platform/controls/TWinControl.h"
#include "platform/core/TPropertyTable.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TCanvas.h"

namespace bw {

namespace {

// The caption as drawn: a single '&' marks an accelerator and is not shown; "&&" is '&'.
String DisplayCaption(const String& caption) {
  String out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

// Dark enough to be part of the picture when a disabled image is embossed from it.
bool IsInk(uint32_t pixel) {
  uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
  return (r * 30 + g * 59 + b * 11) / 100 < 0xC0;
}

}  // namespace

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FControlStyle = {csCaptureMouse, csDoubleClicks};
  SetBoundsQuiet(0, 0, 23, 22);
  FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() = default;

BW_PUBLISHED(TSpeedButton) {
  P.Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  P.Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  P.Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
  P.Property(
      "Caption", [](TSpeedButton* B) { return B->Caption(); }, &TSpeedButton::SetCaption);
  P.Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
  P.Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
  P.Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout,
             {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"})
      .Default(blGlyphLeft);
  P.Property("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
  P.Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  P.Property("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
  auto event = [&P](const char* Name, auto Member) {
    P.Property(
        Name, [Member](TSpeedButton * b) -> const auto& { return b->*Member; },
        [Member](TSpeedButton* b, const auto& Value) { b->*Member = Value; });
  };
  event("OnClick", &TSpeedButton::OnClick);
  event("OnDblClick", &TSpeedButton::OnDblClick);
  event("OnMouseDown", &TSpeedButton::OnMouseDown);
  event("OnMouseMove", &TSpeedButton::OnMouseMove);
  event("OnMouseUp", &TSpeedButton::OnMouseUp);
}

// ---- properties ----------------------------------------------------------------------

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int32_t Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  FState = Value ? bsExclusive : bsUp;
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  if (Value && FGlyph->Height() > 0 && FGlyph->Width() % FGlyph->Height() == 0) {
    int32_t count = FGlyph->Width() / FGlyph->Height();
    SetNumGlyphs(count > 4 ? 1 : count);
  }
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  if (Value < 1 || Value > 4) Value = 1;
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int32_t Value) {
  if (FMargin == Value || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int32_t Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

TButtonState TSpeedButton::State() const {
  return Enabled() ? FState : bsDisabled;
}

void TSpeedButton::Click() {
  inherited::Click();
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage m{CM_BUTTONPRESSED, static_cast<uintptr_t>(FGroupIndex),
             reinterpret_cast<intptr_t>(this), 0};
  Parent()->Broadcast(m);
}

// ---- messages ------------------------------------------------------------------------

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_BUTTONPRESSED:
      CMButtonPressed(Message);
      break;
    case CM_MOUSEENTER:
      CMMouseEnter(Message);
      break;
    case CM_MOUSELEAVE:
      CMMouseLeave(Message);
      break;
    default:
      inherited::Dispatch(Message);
      break;
  }
}

void TSpeedButton::CMButtonPressed(TMessage& Message) {
  if (static_cast<int32_t>(Message.WParam) != FGroupIndex) return;
  auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
  if (sender == this) return;
  if (sender->Down() && FDown) {
    FDown = false;
    FState = bsUp;
    Invalidate();
  }
  FAllowAllUp = sender->AllowAllUp();
}

void TSpeedButton::CMMouseEnter(TMessage&) {
  FMouseInControl = true;
  if (FFlat && Enabled()) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage&) {
  FMouseInControl = false;
  if (FFlat && Enabled()) Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& Message) {
  if (!Enabled()) CancelPress();
  inherited::CMEnabledChanged(Message);
}

void TSpeedButton::WMCancelMode(TMessage& Message) {
  CancelPress();
  inherited::WMCancelMode(Message);
}

void TSpeedButton::CancelPress() {
  // The press is abandoned: the button shows its settled state and its release no
  // longer clicks.
  if (!FDragging) return;
  FDragging = false;
  FState = FDown ? bsExclusive : bsUp;
  Invalidate();
}

// ---- mouse ---------------------------------------------------------------------------

bool TSpeedButton::InClient(int32_t X, int32_t Y) const {
  return X >= 0 && X < Width() && Y >= 0 && Y < Height();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TControlWatch watch(this);  // the handler may free the button
  inherited::MouseDown(Button, Shift, X, Y);
  if (!watch.Alive() || Button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  TControlWatch watch(this);  // the handler may free the button
  inherited::MouseMove(Shift, X, Y);
  if (!watch.Alive() || !FDragging) return;
  TButtonState state = FDown ? bsExclusive : (InClient(X, Y) ? bsDown : bsUp);
  if (state != FState) {
    FState = state;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TControlWatch watch(this);  // the handler may free the button
  inherited::MouseUp(Button, Shift, X, Y);
  if (!watch.Alive() || !FDragging || Button != mbLeft) return;
  FDragging = false;
  const bool doClick = InClient(X, Y);
  if (FGroupIndex == 0) {
    FState = bsUp;
  } else if (doClick) {
    SetDown(!FDown);
    FState = FDown ? bsExclusive : bsUp;
  } else {
    FState = FDown ? bsExclusive : bsUp;
  }
  Invalidate();
  if (doClick) Click();
}

// ---- painting ------------------------------------------------------------------------

TColor TSpeedButton::GlyphTransparentColor() const {
  if (FGlyph->Empty()) return clNone;
  return PixelToColor(FGlyph->ScanLine(FGlyph->Height() - 1)[0]);
}

std::unique_ptr<TBitmap> TSpeedButton::GlyphImage(TButtonState AState) const {
  if (FGlyph->Empty()) return nullptr;
  // A picture too narrow for NumGlyphs images is taken as one image.
  const int32_t count = FGlyph->Width() / FNumGlyphs > 0 ? FNumGlyphs : 1;
  const int32_t width = FGlyph->Width() / count;
  const int32_t height = FGlyph->Height();
  int32_t index = static_cast<int32_t>(AState);
  const bool emboss = AState == bsDisabled && count < 2;
  if (index >= count) index = 0;
  const uint32_t transparent = FGlyph->ScanLine(height - 1)[0];

  auto image = std::make_unique<TBitmap>();
  image->SetSize(width, height);
  image->SetTransparentMode(tmFixed);
  if (!emboss) {
    for (int32_t y = 0; y < height; ++y) {
      const uint32_t* src = FGlyph->ScanLine(y) + index * width;
      std::copy(src, src + width, image->ScanLine(y));
    }
    image->SetTransparentColor(PixelToColor(transparent));
    return image;
  }
  // Embossed: the picture's ink in the highlight colour one pixel down and right, and
  // in the shadow colour over it, on a background that is neither.
  const uint32_t highlight = ColorToPixel(clBtnHighlight), shadow = ColorToPixel(clBtnShadow);
  uint32_t background = 0xFF00FF;
  while (background == highlight || background == shadow)
    background -= 0x010101;
  for (int32_t y = 0; y < height; ++y)
    std::fill_n(image->ScanLine(y), width, background);
  auto ink = [&](int32_t x, int32_t y) {
    uint32_t p = FGlyph->ScanLine(y)[x];
    return p != transparent && IsInk(p);
  };
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      if (ink(x, y) && x + 1 < width && y + 1 < height) image->ScanLine(y + 1)[x + 1] = highlight;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      if (ink(x, y)) image->ScanLine(y)[x] = shadow;
  image->SetTransparentColor(PixelToColor(background));
  return image;
}

void TSpeedButton::DrawFace(TCanvas* C, TRect& R, TButtonState AState) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(R);
  const bool pressed = AState == bsDown || AState == bsExclusive;
  if (FFlat) {
    TRect frame = R;
    if (pressed)
      C->Frame3D(frame, clBtnShadow, clBtnHighlight, 1);
    else if (FMouseInControl && AState != bsDisabled)
      C->Frame3D(frame, clBtnHighlight, clBtnShadow, 1);
    R = R.Inflate(-1, -1);
  } else if (pressed) {
    C->Frame3D(R, cl3DDkShadow, clBtnHighlight, 1);
    C->Frame3D(R, clBtnShadow, cl3DLight, 1);
  } else {
    C->Frame3D(R, clBtnHighlight, cl3DDkShadow, 1);
    C->Frame3D(R, cl3DLight, clBtnShadow, 1);
  }
  // A button held down in its group shows a dithered face.
  if (AState == bsExclusive && (!FFlat || !FMouseInControl))
    for (int32_t y = R.Top; y < R.Bottom; ++y)
      for (int32_t x = R.Left + ((R.Left + y) & 1); x < R.Right; x += 2)
        C->SetPixels(x, y, clBtnHighlight);
}

void TSpeedButton::Paint() {
  TCanvas* C = Canvas();
  const TButtonState state = State();
  TRect r = ClientRect();
  DrawFace(C, r, state);

  std::unique_ptr<TBitmap> image = GlyphImage(state);
  const String caption = DisplayCaption(Caption());
  C->SetFont(Font());
  const TSize text = caption.empty() ? TSize{} : C->TextExtent(caption);
  const TSize glyph = image ? TSize{image->Width(), image->Height()} : TSize{};

  // Glyph and caption along the layout's axis; each centred across it.
  const bool across = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  const TRect client = ClientRect();
  const int32_t size = across ? client.Width() : client.Height();
  const int32_t glyphLen = across ? glyph.cx : glyph.cy;
  const int32_t textLen = across ? text.cx : text.cy;
  int32_t spacing = glyphLen == 0 || textLen == 0 ? 0 : FSpacing;
  int32_t margin = FMargin;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (size - glyphLen - textLen) / 3;
      spacing = margin;
    } else {
      margin = (size - glyphLen - spacing - textLen + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = (size - margin - glyphLen - textLen) / 2;
  }
  int32_t glyphAt, textAt;
  if (FLayout == blGlyphLeft || FLayout == blGlyphTop) {
    glyphAt = margin;
    textAt = glyphAt + glyphLen + spacing;
  } else {
    glyphAt = size - margin - glyphLen;
    textAt = glyphAt - spacing - textLen;
  }
  TPoint glyphPos, textPos;
  if (across) {
    glyphPos = TPoint{glyphAt, (client.Height() - glyph.cy + 1) / 2};
    textPos = TPoint{textAt, (client.Height() - text.cy + 1) / 2};
  } else {
    glyphPos = TPoint{(client.Width() - glyph.cx + 1) / 2, glyphAt};
    textPos = TPoint{(client.Width() - text.cx + 1) / 2, textAt};
  }
  if (state == bsDown || state == bsExclusive) {
    glyphPos = TPoint{glyphPos.X + 1, glyphPos.Y + 1};
    textPos = TPoint{textPos.X + 1, textPos.Y + 1};
  }

  if (image) {
    C->Brush()->SetStyle(bsClear);
    C->BrushCopy(Bounds(glyphPos.X, glyphPos.Y, glyph.cx, glyph.cy), image.get(),
                 Bounds(0, 0, glyph.cx, glyph.cy), image->TransparentColor());
  }
  if (!caption.empty()) {
    C->Brush()->SetStyle(bsClear);
    if (state == bsDisabled) {
      C->Font()->SetColor(clBtnHighlight);
      C->TextOut(textPos.X + 1, textPos.Y + 1, caption);
      C->Font()->SetColor(clBtnShadow);
    }
    C->TextOut(textPos.X, textPos.Y, caption);
  }
}

}  // namespace bw
