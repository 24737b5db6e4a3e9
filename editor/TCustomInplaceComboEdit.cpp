// Sections: construction; layout and heights; glyphs; read-only and direct input; keys
// and mouse; focus and cancel mode; the button action; the popup.

#include "editor/TCustomInplaceComboEdit.h"

#include <algorithm>

#include "editor/PlacePopup.h"
#include "editor/TComboEditGrid.h"
#include "editor/TEditButton.h"
#include "editor/TPopupWindow.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/controls/TCustomForm.h"
#include "platform/controls/TScreen.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TFont.h"
#include "platform/graphics/TResourceModule.h"

namespace bw {

namespace {

constexpr uint32_t kAlignStyles[] = {ES_LEFT, ES_RIGHT, ES_CENTER};

// A screen context starts with the system font: a cell height of 16 pixels.
int32_t ScreenFontTextHeight() {
  TFont screenFont;
  screenFont.SetHeight(16);
  return screenFont.TextMetrics().tmHeight;
}

}  // namespace

// ---- construction ---------------------------------------------------------------------

TCustomInplaceComboEdit::TCustomInplaceComboEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {
  SetAutoSize(false);
  FDirectInput = true;
  FClickShortCut = kDefaultClickKey;
  FBtnControl = new TWinControl(this);
  FBtnControl->SetBounds(0, 0, 15, 17);
  FBtnControl->SetVisible(true);
  FBtnControl->SetParent(this);
  FButton = new TEditButton(this);
  FButton->SetBounds(0, 0, FBtnControl->Width(), FBtnControl->Height());
  FButton->SetVisible(true);
  FButton->SetParent(FBtnControl);
  FButton->OnClick = TNotifyEvent([this](TObject* Sender) { EditButtonClick(Sender); });
  SetHeight(21);
  FDefNumGlyphs = 1;
  FCurrentGlyphKind = gkCustom;
  SetParentCtl3D(false);
  SetCtl3D(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
}

TCustomInplaceComboEdit::~TCustomInplaceComboEdit() {
  FButton->OnClick.Clear();
  // The popup goes with the children; nothing may close it through this editor any more.
  FPopup = nullptr;
  FPopupVisible = false;
}

void TCustomInplaceComboEdit::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopup) {
    FPopup = nullptr;
    FPopupVisible = false;
  }
}

void TCustomInplaceComboEdit::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  inherited::GetChildren(
      [&](TComponent* Child) {
        if (Child != FBtnControl && Child != FPopup) Proc(Child);
      },
      Root);
}

void TCustomInplaceComboEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // Multi-line, so that the text area can be set; the holder is not painted over.
  Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN | kAlignStyles[Alignment()];
}

void TCustomInplaceComboEdit::CreateWnd() {
  inherited::CreateWnd();
  SetEditRect();
}

// ---- layout and heights ---------------------------------------------------------------

void TCustomInplaceComboEdit::SetEditRect() {
  if (!HandleAllocated()) return;
  // Left and top keep the base editor's inset, where the grid paints a cell's text.
  TRect r = Rect(2, 2, ClientWidth() - FBtnControl->Width() - 2, ClientHeight() + 1);
  Perform(EM_SETRECTNP, 0, reinterpret_cast<intptr_t>(&r));
}

void TCustomInplaceComboEdit::UpdateBtnBounds() {
  const int32_t w = Width(), h = Height(), b = FButton->Width();
  if (!NewStyleControls)
    FBtnControl->SetBounds(w - b, 1, b, h - 1);
  else if (Ctl3D())
    FBtnControl->SetBounds(w - b - 4, 0, b, h - 4);
  else
    FBtnControl->SetBounds(w - b - 2, 2, b, h - 4);
  FButton->SetHeight(FBtnControl->Height());
  SetEditRect();
}

void TCustomInplaceComboEdit::BoundsChanged(bool Moved, bool Sized) {
  inherited::BoundsChanged(Moved, Sized);
  // The base editor lays its text out over the whole width on every resize: the text
  // area is narrowed to leave the button free again.
  if (Sized) SetEditRect();
  // A popup stays with its cell when the grid scrolls the editor.
  if (Moved && GetPopupVisible() && FPopup->HandleAllocated()) {
    const TPoint p = PopupPosition();
    FPopup->SetBounds(p.X, p.Y, FPopup->Width(), FPopup->Height());
  }
}

void TCustomInplaceComboEdit::WMSize(TMessage& Message) {
  inherited::WMSize(Message);
  if (!ComponentState().Contains(csLoading)) {
    const int32_t minHeight = GetMinHeight();
    if (Height() < minHeight) {
      SetHeight(minHeight);  // the resize comes back here and places the button
      return;
    }
  } else if (FPopup && ComponentState().Contains(csDesigning)) {
    FPopup->SetBounds(0, Height() + 1, 10, 10);
  }
  UpdateBtnBounds();
}

int32_t TCustomInplaceComboEdit::GetTextHeight() const {
  return std::min(Font()->TextMetrics().tmHeight, ScreenFontTextHeight());
}

int32_t TCustomInplaceComboEdit::GetMinHeight() const {
  return GetTextHeight() + 4 * GetSystemMetrics(SM_CYBORDER) + 1;
}

void TCustomInplaceComboEdit::SetAlignment(TAlignment Value) {
  TCustomEdit::SetAlignment(Value);  // re-creates the window with the new style
}

int32_t TCustomInplaceComboEdit::GetButtonWidth() const {
  return FButton->Width();
}

void TCustomInplaceComboEdit::SetButtonWidth(int32_t Value) {
  if (Value == FButton->Width() || Value >= ClientWidth()) return;
  if (FCurrentGlyphKind == gkDefault && Value < FButton->Glyph()->Width() + 4)
    FButton->SetWidth(FButton->Glyph()->Width() + 4);
  else
    FButton->SetWidth(Value);
  RecreateWnd();
  RecreateGlyph();
}

const String& TCustomInplaceComboEdit::GetButtonHint() const {
  return FButton->Hint();
}

void TCustomInplaceComboEdit::SetButtonHint(const String& Value) {
  FButton->SetHint(Value);
}

void TCustomInplaceComboEdit::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  // The new window checks the height against the new font.
  if (HandleAllocated()) RecreateWnd();
}

void TCustomInplaceComboEdit::CMCtl3DChanged(TMessage& Message) {
  inherited::CMCtl3DChanged(Message);
  UpdateBtnBounds();
}

void TCustomInplaceComboEdit::CMEnabledChanged(TMessage& Message) {
  inherited::CMEnabledChanged(Message);
  FButton->SetEnabled(Enabled());
}

// ---- glyphs ---------------------------------------------------------------------------

TBitmap* TCustomInplaceComboEdit::GetGlyph() const {
  return FButton->Glyph();
}

void TCustomInplaceComboEdit::SetGlyph(TBitmap* Value) {
  FButton->SetGlyph(Value);
  FCurrentGlyphKind = gkCustom;
}

TNumGlyphs TCustomInplaceComboEdit::GetNumGlyphs() const {
  return FButton->NumGlyphs();
}

void TCustomInplaceComboEdit::SetNumGlyphs(TNumGlyphs Value) {
  switch (FCurrentGlyphKind) {
    case gkDropDown:
    case gkEllipsis:
      FButton->SetNumGlyphs(1);
      break;
    case gkDefault:
      FButton->SetNumGlyphs(FDefNumGlyphs);
      break;
    case gkCustom:
      FButton->SetNumGlyphs(Value);
      break;
  }
}

void TCustomInplaceComboEdit::SetGlyphKind(TGlyphKind Value) {
  if (Value == FCurrentGlyphKind) return;
  FCurrentGlyphKind = Value;
  // A stream that names gkCustom brings its own glyph, or none.
  if (Value == gkCustom && ComponentState().Contains(csReading)) SetGlyph(nullptr);
  RecreateGlyph();
}

TBitmap* TCustomInplaceComboEdit::GetDefaultBitmap(bool&) {
  return nullptr;
}

std::unique_ptr<TBitmap> TCustomInplaceComboEdit::CreateEllipsisGlyph() const {
  auto glyph = std::make_unique<TBitmap>();
  glyph->SetMonochrome(true);
  const int32_t w = FButton->Width() - 4;
  glyph->SetSize(w, 4);
  // The gap between the dots; a narrow button cuts the first dot at the left edge.
  int32_t gap = (w - 6) / 2;
  if (gap == 0) gap = 1;
  if (gap > 3) gap = 3;
  const int32_t x = (w - 6 - 2 * gap) / 2;
  TCanvas* canvas = glyph->Canvas();
  for (int32_t dot = 0; dot < 3; ++dot)
    canvas->PatBlt(x + dot * (gap + 2), 1, 2, 2, BLACKNESS);
  return glyph;
}

void TCustomInplaceComboEdit::RecreateGlyph() {
  switch (FCurrentGlyphKind) {
    case gkCustom:
      break;
    case gkDefault: {
      bool freeAfterUse = false;
      TBitmap* bitmap = GetDefaultBitmap(freeAfterUse);
      std::unique_ptr<TBitmap> owned(freeAfterUse ? bitmap : nullptr);
      FButton->SetGlyph(bitmap);
      FButton->SetNumGlyphs(FDefNumGlyphs);
      break;
    }
    case gkDropDown: {
      TBitmap arrow;
      arrow.SetHandle(LoadBitmap(nullptr, OBM_COMBO));
      FButton->SetGlyph(&arrow);
      FButton->SetNumGlyphs(1);
      break;
    }
    case gkEllipsis:
      // One image, whatever its proportions suggest to the button (16 pixels wide
      // would read as four 4x4 images).
      FButton->SetGlyph(CreateEllipsisGlyph().get());
      FButton->SetNumGlyphs(1);
      break;
  }
}

// ---- read-only and direct input -------------------------------------------------------

void TCustomInplaceComboEdit::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  TCustomEdit::SetReadOnly(Value || !FDirectInput);
}

void TCustomInplaceComboEdit::SetDirectInput(bool Value) {
  // Runs in full even for the current value: closing the popup relies on it to restore
  // the edit's read-only state.
  TCustomEdit::SetReadOnly(!Value || FReadOnly);
  FDirectInput = Value;
}

bool TCustomInplaceComboEdit::EditCanModify() {
  return !FReadOnly;
}

void TCustomInplaceComboEdit::SelectAll() {
  if (FDirectInput) inherited::SelectAll();
}

void TCustomInplaceComboEdit::WMPaste(TMessage& Message) {
  if (FDirectInput && !GetReadOnly()) inherited::WMPaste(Message);
}

void TCustomInplaceComboEdit::WMCut(TMessage& Message) {
  if (FDirectInput && !GetReadOnly()) inherited::WMCut(Message);
}

void TCustomInplaceComboEdit::Change() {
  if (GetPopupVisible()) return;
  inherited::Change();
}

// ---- keys and mouse -------------------------------------------------------------------

void TCustomInplaceComboEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  TControlWatch watch(this);  // OnButtonClick may free the editor
  if (ShortCut(Key, Shift) == FClickShortCut && FButton->Width() > 0) {
    Key = 0;
    Shift = TShiftState();
    EditButtonClick(this);
    if (!watch.Alive()) return;
  }
  // Escape closes an open popup when it arrives as a character; the grid must not
  // cancel the whole edit first.
  if (Key == VK_ESCAPE && GetPopupVisible()) Key = 0;
  inherited::KeyDown(Key, Shift);
}

void TCustomInplaceComboEdit::SendDialogKey(Char Key) {
  if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, Key, 0);
}

void TCustomInplaceComboEdit::KeyPress(Char& Key) {
  TControlWatch watch(this);  // closing the popup and the form's buttons run handlers
  if (Key == U'\r' || Key == 27) {
    if (GetPopupVisible()) {
      PopupCloseUp(Key == U'\r');
      if (!watch.Alive()) return;
      Key = 0;
    } else if (Key == U'\r') {
      // The grid stores the text first, as it does for its plain editor; only then is
      // Enter offered to the form's default button, and it goes no further.
      Char enter = Key;
      Key = 0;
      inherited::KeyPress(enter);
      if (!watch.Alive()) return;
      SendDialogKey(U'\r');
      return;
    } else {
      SendDialogKey(27);
      if (!watch.Alive()) return;
    }
  }
  inherited::KeyPress(Key);
}

void TCustomInplaceComboEdit::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X,
                                        int32_t Y) {
  TControlWatch watch(this);
  if (FPopup && Button == mbLeft) {
    if (CanFocus()) SetFocus();
    if (!watch.Alive() || !FFocused) return;
    if (GetPopupVisible())
      PopupCloseUp(false);
    else if (!GetReadOnly() && !FDirectInput)
      PopupDropDown();
    if (!watch.Alive()) return;
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

// ---- focus and cancel mode ------------------------------------------------------------

void TCustomInplaceComboEdit::CMEnter(TMessage& Message) {
  if (AutoSelect() && !ControlState().Contains(csLButtonDown)) SelectAll();
  inherited::CMEnter(Message);
}

void TCustomInplaceComboEdit::WMSetFocus(TMessage& Message) {
  inherited::WMSetFocus(Message);
  FFocused = true;
  const int32_t width = Font()->Style().Contains(fsBold) ? 2 : 1;
  CreateCaret(Handle(), nullptr, width, GetTextHeight());
  ShowCaret(Handle());
  Perform(EM_SCROLLCARET, 0, 0);  // places the new caret
}

void TCustomInplaceComboEdit::WMKillFocus(TMessage& Message) {
  inherited::WMKillFocus(Message);
  FFocused = false;
  PopupCloseUp(false);
}

void TCustomInplaceComboEdit::CMCancelMode(TMessage& Message) {
  TControl* sender = CancelModeSender(Message);
  const bool ours =
      sender == this || sender == FButton || (FPopup && sender && FPopup->ContainsControl(sender));
  if (!ours) PopupCloseUp(false);
}

void TCustomInplaceComboEdit::CMShowingChanged(TMessage& Message) {
  inherited::CMShowingChanged(Message);
  // A popup never floats on its own over a grid whose editor went out of sight.
  if (!Showing()) PopupCloseUp(false);
}

void TCustomInplaceComboEdit::UpdateContents() {
  PopupCloseUp(false);  // its value belonged to the cell the editor leaves
  inherited::UpdateContents();
}

// ---- the button action ----------------------------------------------------------------

void TCustomInplaceComboEdit::DoClick() {
  EditButtonClick(this);
}

void TCustomInplaceComboEdit::EditButtonClick(TObject*) {
  if (!FReadOnly) ButtonClick();
}

void TCustomInplaceComboEdit::ButtonClick() {
  if (FPopup) {
    if (FPopupVisible)
      PopupCloseUp(true);
    else
      PopupDropDown();
    return;
  }
  if (!FGrid) return;
  String text = Text();
  TControlWatch watch(this);
  if (FGrid->EditButtonClick(this, text) && watch.Alive()) SetText(text);
}

// ---- the popup ------------------------------------------------------------------------

bool TCustomInplaceComboEdit::GetPopupVisible() const {
  return FPopup && FPopupVisible;
}

bool TCustomInplaceComboEdit::AcceptPopup(String&) {
  return true;
}

TPoint TCustomInplaceComboEdit::PopupPosition() const {
  const TPoint p =
      Parent() ? Parent()->ClientToScreen(TPoint{Left(), Top()}) : TPoint{Left(), Top()};
  const TRect screen{0, 0, Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN),
                     Screen ? Screen->Height() : GetSystemMetrics(SM_CYSCREEN)};
  return PlacePopup(Bounds(p.X, p.Y, Width(), Height()), FPopup->Width(), FPopup->Height(), screen);
}

void TCustomInplaceComboEdit::PopupDropDown() {
  if (!FPopup || GetReadOnly() || FPopupVisible) return;
  const TPoint p = PopupPosition();
  FPopup->SetValue(Text());
  if (CanFocus()) SetFocus();
  SetWindowPos(FPopup->Handle(), HWND_TOP, p.X, p.Y, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  FPopup->SetVisible(true);
  FPopupVisible = true;
  TCustomEdit::SetReadOnly(true);
}

void TCustomInplaceComboEdit::PopupCloseUp(bool Accept) {
  if (!FPopup || !FPopupVisible) return;
  if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);
  String value = FPopup->GetValue();
  if (FPopup->HandleAllocated())
    SetWindowPos(FPopup->Handle(), 0, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  FPopup->SetVisible(false);
  // The popup counts as shown until the end, so that the text set below reports no
  // change of its own; whatever fails, it is not shown afterwards (an OnChange handler
  // may free the editor: then there is nothing left to clear).
  TControlWatch watch(this);
  try {
    FinishCloseUp(Accept, value);
  } catch (...) {
    if (watch.Alive()) FPopupVisible = false;
    throw;
  }
  if (watch.Alive()) FPopupVisible = false;
}

void TCustomInplaceComboEdit::FinishCloseUp(bool Accept, String& Value) {
  if (CanFocus() && !Focused()) {
    try {
      SetFocus();
    } catch (...) {
      // The text still takes the value; the focus stays where it is.
    }
  }
  SetDirectInput(FDirectInput);
  Invalidate();
  if (Accept && AcceptPopup(Value) && EditCanModify()) {
    TControlWatch watch(this);
    SetText(Value);
    if (!watch.Alive()) return;
    inherited::Change();  // the one change reported for the accepted value
    if (watch.Alive() && FFocused) SelectAll();
  }
}

void TCustomInplaceComboEdit::PopupMouseUp(TObject*, TMouseButton Button, TShiftState, int32_t X,
                                           int32_t Y) {
  if (FPopup && Button == mbLeft) PopupCloseUp(FPopup->ClientRect().Contains(TPoint{X, Y}));
}

}  // namespace bw
