#include "platform/controls/TCustomEdit.h"

#include <algorithm>

#include "platform/backend/Backend.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/controls/EditChars.h"
#include "platform/graphics/TCanvas.h"
#include "platform/graphics/TFontEngine.h"

namespace bw {

namespace {

constexpr uint32_t kAlignStyles[] = {ES_LEFT, ES_RIGHT, ES_CENTER};

}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight, csCaptureMouse};
  SetBoundsQuiet(0, 0, 121, 25);
  SetTabStop(true);
  AdjustHeight();
}

// ---- properties ----------------------------------------------------------------------

void TCustomEdit::SetText(const String& Value) {
  TEditText probe;
  probe.SetCharCase(FEdit.CharCase());
  probe.SetText(Value);
  if (probe.Text() == Text()) return;
  FEdit.SetText(Value);
  FModified = false;
  FScrollX = 0;
  SyncText();
  SelectionMoved();
  Change();
}

void TCustomEdit::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  AdjustHeight();
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FEdit.CharCase() == Value) return;
  String before = Text();
  FEdit.SetCharCase(Value);
  SyncText();
  RecreateWnd();  // the case is a window style
  if (Text() != before) Change();
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  Invalidate();
}

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  Perform(EM_SETREADONLY, Value ? 1 : 0, 0);
}

void TCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
  SelectionMoved();
}

void TCustomEdit::SetSelStart(int32_t Value) {
  FEdit.SetSelStart(Value);
  SelectionMoved();
}

void TCustomEdit::SetSelLength(int32_t Value) {
  FEdit.SetSelLength(Value);
  SelectionMoved();
}

void TCustomEdit::SetSelText(const String& Value) {
  if (FEdit.ReplaceSelection(Value))
    TextEdited();
  else if (Value.empty() && FEdit.DeleteSelection())
    TextEdited();
}

void TCustomEdit::SelectAll() {
  FEdit.SelectAll();
  SelectionMoved();
}

void TCustomEdit::ClearSelection() {
  Perform(WM_CLEAR, 0, 0);
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

// ---- state after changes -------------------------------------------------------------

void TCustomEdit::SyncText() {
  inherited::SetText(FEdit.Text());
}

void TCustomEdit::TextEdited() {
  SyncText();
  FModified = true;
  SelectionMoved();
  Change();
}

void TCustomEdit::SelectionMoved() {
  ScrollToCaret();
  UpdateCaret();
  Invalidate();
}

// ---- geometry ------------------------------------------------------------------------

int32_t TCustomEdit::FontHeight() const {
  return TFontEngine::Instance().Face(*Font())->Metrics().tmHeight;
}

void TCustomEdit::AdjustHeight() {
  if (!FAutoSize || FBorderStyle != bsSingle) return;
  int32_t frame = (NewStyleControls && Ctl3D() ? 8 : 6) * GetSystemMetrics(SM_CYBORDER);
  SetHeight(FontHeight() + frame);
}

uint32_t TCustomEdit::EditStyle() const {
  if (HandleAllocated()) return WindowStyle();
  TCreateParams params;
  const_cast<TCustomEdit*>(this)->CreateParams(params);
  return params.Style;
}

TRect TCustomEdit::FormatRect() const {
  if (FHasFormatRect) return FFormatRect;
  TRect client = ClientRect();
  // A little air between the border and the text.
  int32_t margin = FBorderStyle == bsSingle ? 1 : 0;
  return TRect{client.Left + margin, client.Top + margin, client.Right - margin, client.Bottom};
}

const std::vector<int32_t>& TCustomEdit::Offsets() const {
  const TFont* font = Font();
  String key = Text();
  key += '\0' + font->Name() + '\0' + std::to_string(font->Height()) + '\0' +
         std::to_string(font->Style().Bits());
  if (key != FOffsetsKey || FOffsets.empty()) {
    TFontFace* face = TFontEngine::Instance().Face(*font);
    FOffsets.assign(1, 0);
    for (Char c : FEdit.Chars())
      FOffsets.push_back(FOffsets.back() + face->Glyph(c).Advance);
    FOffsetsKey = std::move(key);
  }
  return FOffsets;
}

int32_t TCustomEdit::TextOrigin() const {
  const int32_t width = FormatRect().Width();
  const int32_t total = Offsets().back();
  if (total < width) {
    // Text that fits is placed by the alignment style; the caret may sit after it.
    uint32_t style = EditStyle();
    if (style & ES_RIGHT) return width - 1 - total;
    if (style & ES_CENTER) return (width - 1 - total) / 2;
  }
  return -FScrollX;
}

int32_t TCustomEdit::PosToX(int32_t Pos) const {
  const auto& offsets = Offsets();
  int32_t p = std::clamp(Pos, 0, static_cast<int32_t>(offsets.size()) - 1);
  return FormatRect().Left + TextOrigin() + offsets[p];
}

int32_t TCustomEdit::CaretPosAt(int32_t X) const {
  const auto& offsets = Offsets();
  int32_t rel = X - FormatRect().Left - TextOrigin();
  auto it = std::lower_bound(offsets.begin(), offsets.end(), rel);
  if (it == offsets.end()) return static_cast<int32_t>(offsets.size()) - 1;
  int32_t i = static_cast<int32_t>(it - offsets.begin());
  if (i > 0 && rel - offsets[i - 1] < *it - rel) --i;
  return i;
}

int32_t TCustomEdit::CharAt(int32_t X) const {
  const auto& offsets = Offsets();
  const int32_t n = static_cast<int32_t>(offsets.size()) - 1;
  if (n == 0) return 0;
  int32_t rel = X - FormatRect().Left - TextOrigin();
  int32_t i = static_cast<int32_t>(std::upper_bound(offsets.begin(), offsets.end(), rel) -
                                   offsets.begin()) -
              1;
  return std::clamp(i, 0, n - 1);
}

void TCustomEdit::ScrollToCaret() {
  const int32_t width = FormatRect().Width();
  const auto& offsets = Offsets();
  const int32_t total = offsets.back();
  if (width <= 0 || total < width) {
    FScrollX = 0;
    return;
  }
  // Scroll a quarter of the width past the caret, so typing does not scroll each time.
  const int32_t caretX = offsets[FEdit.Caret()];
  const int32_t maxScroll = total - width + 1;
  if (caretX - FScrollX < 0) FScrollX = caretX - width / 4;
  if (caretX - FScrollX > width - 1) FScrollX = caretX - width + 1 + width / 4;
  FScrollX = std::clamp(FScrollX, 0, maxScroll);
}

void TCustomEdit::UpdateCaret() {
  if (!HandleAllocated() || GetCaretInfo().Owner != Handle()) return;
  SetCaretPos(PosToX(FEdit.Caret()), FormatRect().Top);
}

// ---- window ----------------------------------------------------------------------------

void TCustomEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= ES_AUTOHSCROLL | kAlignStyles[FAlignment];
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (FEdit.CharCase() == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FEdit.CharCase() == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FBorderStyle == bsSingle) {
    if (NewStyleControls && Ctl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
}

void TCustomEdit::CreateWnd() {
  inherited::CreateWnd();
  // A new window starts with the default formatting rectangle.
  FHasFormatRect = false;
  ScrollToCaret();
}

void TCustomEdit::PaintWindow(TCanvas* ACanvas) {
  // A descendant may have made the caret anew (other size, at the origin): place it.
  UpdateCaret();
  const bool hadClip = ACanvas->HasClip();
  const TRect savedClip = ACanvas->ClipRect();
  const TRect r = FormatRect();
  ACanvas->IntersectClipRect(r);
  ACanvas->SetFont(Font());
  ACanvas->Brush()->SetStyle(bsClear);
  if (!Enabled()) ACanvas->Font()->SetColor(clGrayText);
  const String& text = Text();
  ACanvas->TextOut(PosToX(0), r.Top, text);
  if (FEdit.SelLength() > 0 && (!FHideSelection || Focused())) {
    const int32_t start = PosToX(FEdit.SelStart());
    const int32_t end = PosToX(FEdit.SelStart() + FEdit.SelLength());
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(clHighlight);
    ACanvas->FillRect(TRect{start, r.Top, end, r.Top + FontHeight()});
    ACanvas->Brush()->SetStyle(bsClear);
    ACanvas->Font()->SetColor(clHighlightText);
    ACanvas->TextOut(start, r.Top, FEdit.SelText());
  }
  ACanvas->ResetClip();
  if (hadClip) ACanvas->SetClipRect(savedClip);
}

void TCustomEdit::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
}

void TCustomEdit::CMEnter(TMessage& Message) {
  // A multi-line window leaves the selection on entry to its owner.
  if (FAutoSelect && !FControlState.Contains(csLButtonDown) && !(EditStyle() & ES_MULTILINE))
    SelectAll();
  inherited::CMEnter(Message);
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  AdjustHeight();
  SelectionMoved();
}

void TCustomEdit::CMCtl3DChanged(TMessage& Message) {
  if (NewStyleControls && FBorderStyle == bsSingle) {
    AdjustHeight();
    RecreateWnd();
  }
  inherited::CMCtl3DChanged(Message);
}

void TCustomEdit::CMEnabledChanged(TMessage& Message) {
  inherited::CMEnabledChanged(Message);
  Invalidate();
}

void TCustomEdit::DefaultHandler(TMessage& Message) {
  // An edit ends in OnChange, whose handler may free the edit.
  TControlWatch watch(this);
  switch (Message.Msg) {
    case WM_SETFOCUS:
      CreateCaret(Handle(), nullptr, 1, FontHeight());
      UpdateCaret();
      ShowCaret(Handle());
      Invalidate();
      break;
    case WM_KILLFOCUS:
      if (GetCaretInfo().Owner == Handle()) DestroyCaret();
      FSelecting = false;
      Invalidate();
      break;
    case WM_SIZE:
      SelectionMoved();
      break;
    case WM_KEYDOWN:
      EditKeyDown(static_cast<uint16_t>(Message.WParam), KeyDataToShiftState(Message.LParam));
      break;
    case WM_CHAR:
      EditChar(static_cast<Char>(Message.WParam));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      EditMouseDown(LParamToPoint(Message.LParam), MouseKeysToShiftState(Message.WParam),
                    Message.Msg == WM_LBUTTONDBLCLK);
      break;
    case WM_MOUSEMOVE:
      if (FSelecting) EditMouseMove(LParamToPoint(Message.LParam));
      break;
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
      FSelecting = false;
      break;
    case WM_CUT:
      EditCut();
      break;
    case WM_COPY:
      EditCopy();
      break;
    case WM_PASTE:
      EditPaste();
      break;
    case WM_CLEAR:
      if (!FReadOnly && FEdit.DeleteSelection()) TextEdited();
      break;
    case WM_UNDO:
    case EM_UNDO:
      EditUndo();
      Message.Result = 1;
      break;
    case EM_SETRECT:
    case EM_SETRECTNP:
      FHasFormatRect = Message.LParam != 0;
      if (FHasFormatRect) FFormatRect = *reinterpret_cast<const TRect*>(Message.LParam);
      ScrollToCaret();
      UpdateCaret();
      if (Message.Msg == EM_SETRECT) Invalidate();
      break;
    case EM_GETRECT:
      if (Message.LParam) *reinterpret_cast<TRect*>(Message.LParam) = FormatRect();
      break;
    case EM_SETSEL: {
      auto start = static_cast<intptr_t>(Message.WParam);
      intptr_t end = Message.LParam;
      if (end < 0) end = FEdit.Length();
      if (start < 0) start = end = FEdit.Caret();
      FEdit.Select(static_cast<int32_t>(start), static_cast<int32_t>(end));
      SelectionMoved();
      break;
    }
    case EM_GETSEL:
      Message.Result = MakeLParam(static_cast<uint16_t>(FEdit.SelStart()),
                                  static_cast<uint16_t>(FEdit.SelStart() + FEdit.SelLength()));
      break;
    case EM_SETREADONLY:
      FReadOnly = Message.WParam != 0;
      Message.Result = 1;
      break;
    case EM_LIMITTEXT:
      FEdit.SetMaxLength(static_cast<int32_t>(Message.WParam));
      break;
    case EM_GETMODIFY:
      Message.Result = FModified ? 1 : 0;
      break;
    case EM_SETMODIFY:
      FModified = Message.WParam != 0;
      break;
    case EM_CANUNDO:
      Message.Result = FEdit.CanUndo() ? 1 : 0;
      break;
    case EM_SCROLLCARET:
      SelectionMoved();
      break;
    default:
      break;
  }
  if (watch.Alive()) inherited::DefaultHandler(Message);
}

// ---- the window's own behaviour ---------------------------------------------------------

void TCustomEdit::EditKeyDown(uint16_t Key, TShiftState Shift) {
  const bool shift = Shift.Contains(ssShift);
  const bool ctrl = Shift.Contains(ssCtrl);
  if (Shift.Contains(ssAlt)) return;
  const int32_t caret = FEdit.Caret();
  switch (Key) {
    case VK_LEFT:
      if (!shift && !ctrl && FEdit.SelLength() > 0)
        FEdit.MoveCaret(FEdit.SelStart(), false);
      else
        FEdit.MoveCaret(ctrl ? FEdit.WordLeft(caret) : caret - 1, shift);
      SelectionMoved();
      break;
    case VK_RIGHT:
      if (!shift && !ctrl && FEdit.SelLength() > 0)
        FEdit.MoveCaret(FEdit.SelStart() + FEdit.SelLength(), false);
      else
        FEdit.MoveCaret(ctrl ? FEdit.WordRight(caret) : caret + 1, shift);
      SelectionMoved();
      break;
    case VK_HOME:
      FEdit.MoveCaret(0, shift);
      SelectionMoved();
      break;
    case VK_END:
      FEdit.MoveCaret(FEdit.Length(), shift);
      SelectionMoved();
      break;
    case VK_DELETE:
      if (shift && !ctrl)
        Perform(WM_CUT, 0, 0);
      else if (!FReadOnly && FEdit.DeleteRight(ctrl))
        TextEdited();
      break;
    case VK_BACK:
      // A plain Backspace arrives as a typed character; Ctrl+Backspace removes a word.
      if (ctrl && !FReadOnly && FEdit.DeleteLeft(true)) TextEdited();
      break;
    case VK_INSERT:
      if (ctrl && !shift) Perform(WM_COPY, 0, 0);
      if (shift && !ctrl) Perform(WM_PASTE, 0, 0);
      break;
    default:
      if (!ctrl || shift) break;
      if (Key == 'A') SelectAll();
      if (Key == 'C') Perform(WM_COPY, 0, 0);
      if (Key == 'X') Perform(WM_CUT, 0, 0);
      if (Key == 'V') Perform(WM_PASTE, 0, 0);
      if (Key == 'Z') Perform(WM_UNDO, 0, 0);
      break;
  }
}

void TCustomEdit::EditChar(Char Key) {
  if (FReadOnly) return;
  if (Key == 8) {
    if (FEdit.DeleteLeft(false)) TextEdited();
  } else if (FEdit.TypeChar(Key)) {
    TextEdited();
  }
}

void TCustomEdit::EditMouseDown(TPoint P, TShiftState Shift, bool Double) {
  if (!Focused() && CanFocus()) {
    TControlWatch watch(this);  // OnEnter may free the edit
    SetFocus();
    if (!watch.Alive()) return;
  }
  FSelecting = true;
  if (Double)
    FEdit.SelectWordAt(CharAt(P.X));
  else
    FEdit.MoveCaret(CaretPosAt(P.X), Shift.Contains(ssShift));
  SelectionMoved();
}

void TCustomEdit::EditMouseMove(TPoint P) {
  // Beyond the edges the selection grows one character per move, scrolling the text.
  const TRect r = FormatRect();
  int32_t pos;
  if (P.X < r.Left)
    pos = CaretPosAt(r.Left) - 1;
  else if (P.X >= r.Right)
    pos = CaretPosAt(r.Right - 1) + 1;
  else
    pos = CaretPosAt(P.X);
  FEdit.MoveCaret(pos, true);
  SelectionMoved();
}

void TCustomEdit::EditCopy() {
  if (FEdit.SelLength() > 0) Backend().SetClipboardText(FEdit.SelText());
}

void TCustomEdit::EditCut() {
  if (FReadOnly || FEdit.SelLength() == 0) return;
  EditCopy();
  if (FEdit.DeleteSelection()) TextEdited();
}

void TCustomEdit::EditPaste() {
  if (FReadOnly) return;
  if (FEdit.ReplaceSelection(Backend().ClipboardText())) TextEdited();
}

void TCustomEdit::EditUndo() {
  if (!FReadOnly && FEdit.Undo()) TextEdited();
}

}  // namespace bw
