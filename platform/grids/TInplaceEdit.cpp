#include "platform/grids/TInplaceEdit.h"

#include <algorithm>

#include "platform/backend/VirtualKeys.h"
#include "platform/core/Unicode.h"
#include "platform/graphics/TCanvas.h"
#include "platform/grids/TCustomGrid.h"

namespace bw {

namespace {

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

int32_t NextBoundary(const String& s, int32_t i) {
  const int32_t n = static_cast<int32_t>(s.size());
  if (i >= n) return n;
  ++i;
  while (i < n && IsContinuation(s[static_cast<size_t>(i)]))
    ++i;
  return i;
}

int32_t PrevBoundary(const String& s, int32_t i) {
  if (i <= 0) return 0;
  --i;
  while (i > 0 && IsContinuation(s[static_cast<size_t>(i)]))
    --i;
  return i;
}

int32_t CharCount(const String& s) {
  return static_cast<int32_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return !IsContinuation(c); }));
}

}  // namespace

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : inherited(AOwner) {
  FGrid = dynamic_cast<TCustomGrid*>(AOwner);
  SetParentCtl3D(false);
  SetCtl3D(false);
  SetTabStop(false);
  SetVisible(false);
}

void TInplaceEdit::SetText(const String& Value) {
  inherited::SetText(Value);
  FSelStart = static_cast<int32_t>(Text().size());
  FSelLength = 0;
  Invalidate();
}

void TInplaceEdit::SetSelStart(int32_t Value) {
  const String& s = Text();
  Value = std::clamp(Value, 0, static_cast<int32_t>(s.size()));
  while (Value > 0 && Value < static_cast<int32_t>(s.size()) &&
         IsContinuation(s[static_cast<size_t>(Value)]))
    --Value;
  FSelStart = Value;
  FSelLength = 0;
  Invalidate();
}

void TInplaceEdit::SetSelLength(int32_t Value) {
  const String& s = Text();
  int32_t end =
      std::clamp(FSelStart + std::max(Value, 0), FSelStart, static_cast<int32_t>(s.size()));
  while (end < static_cast<int32_t>(s.size()) && IsContinuation(s[static_cast<size_t>(end)]))
    ++end;
  FSelLength = end - FSelStart;
  Invalidate();
}

void TInplaceEdit::SelectAll() {
  FSelStart = 0;
  FSelLength = static_cast<int32_t>(Text().size());
  Invalidate();
}

void TInplaceEdit::Deselect() {
  FSelStart = static_cast<int32_t>(Text().size());
  FSelLength = 0;
  Invalidate();
}

void TInplaceEdit::Move(const TRect& Loc) {
  SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
  SetVisible(true);
}

void TInplaceEdit::UpdateContents() {
  if (!FGrid) return;
  const int32_t col = FGrid->Col(), row = FGrid->Row();
  SetEditMask(FGrid->GetEditMask(col, row));
  SetMaxLength(FGrid->GetEditLimit());
  SetText(FGrid->GetEditText(col, row));
}

bool TInplaceEdit::EditCanModify() {
  return !FGrid || FGrid->CanEditModify();
}

void TInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (FGrid) {
    auto sendToGrid = [&] {
      FGrid->KeyDown(Key, Shift);
      Key = 0;
    };
    // With an always-shown editor the arrows leave the text at its ends and move
    // between cells; otherwise they stay in the text.
    const bool forwardMovement = FGrid->Options().Contains(goAlwaysShowEditor);
    const int32_t length = static_cast<int32_t>(Text().size());
    switch (Key) {
      case VK_UP:
      case VK_DOWN:
      case VK_PRIOR:
      case VK_NEXT:
      case VK_ESCAPE:
        sendToGrid();
        break;
      case VK_TAB:
        if (!Shift.Contains(ssAlt)) sendToGrid();
        break;
      case VK_LEFT:
      case VK_HOME:
        if (forwardMovement && FSelStart == 0 && FSelLength == 0) sendToGrid();
        break;
      case VK_RIGHT:
      case VK_END:
        if (forwardMovement && FSelStart + FSelLength >= length) sendToGrid();
        break;
      case VK_DELETE:
        if (Shift.Contains(ssCtrl))
          sendToGrid();
        else if (!EditCanModify())
          Key = 0;
        break;
      case VK_F2:
        Deselect();
        Key = 0;
        break;
      default:
        break;
    }
  }
  if (Key == 0) return;
  inherited::KeyDown(Key, Shift);
  const String& s = Text();
  switch (Key) {
    case VK_LEFT:
      SetSelStart(FSelLength > 0 ? FSelStart : PrevBoundary(s, FSelStart));
      break;
    case VK_RIGHT:
      SetSelStart(FSelLength > 0 ? FSelStart + FSelLength : NextBoundary(s, FSelStart));
      break;
    case VK_HOME:
      SetSelStart(0);
      break;
    case VK_END:
      SetSelStart(static_cast<int32_t>(s.size()));
      break;
    case VK_DELETE:
      if (FSelLength == 0) FSelLength = NextBoundary(s, FSelStart) - FSelStart;
      InsertChar(0);
      break;
    default:
      return;
  }
  Key = 0;
}

void TInplaceEdit::KeyPress(Char& Key) {
  if (FGrid) {
    switch (Key) {
      case U'\r':
        // The grid decides: store and close, or store and stay.
        FGrid->KeyPress(Key);
        Key = 0;
        return;
      case U'\t':
      case 27:
        Key = 0;
        return;  // handled as keys by KeyDown
      default:
        break;
    }
    if (Key >= 32 && Key != 127 && (!EditCanModify() || !FGrid->CanEditAcceptKey(Key))) {
      Key = 0;
      return;
    }
  }
  inherited::KeyPress(Key);
}

void TInplaceEdit::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) InsertChar(static_cast<Char>(Message.WParam));
}

void TInplaceEdit::InsertChar(Char Key) {
  String s = Text();
  int32_t start = FSelStart, length = FSelLength;
  if (Key == 8 && length == 0) {  // backspace
    start = PrevBoundary(s, start);
    length = FSelStart - start;
  }
  String typed;
  if (Key >= 32 && Key != 127)
    AppendUtf8(typed, Key);
  else if (Key != 0 && Key != 8)
    return;  // other control characters do nothing
  if (!typed.empty() && FMaxLength > 0 &&
      CharCount(s) - CharCount(s.substr(static_cast<size_t>(start), static_cast<size_t>(length))) >=
          FMaxLength)
    return;
  s.replace(static_cast<size_t>(start), static_cast<size_t>(length), typed);
  inherited::SetText(s);
  FSelStart = start + static_cast<int32_t>(typed.size());
  FSelLength = 0;
  Invalidate();
}

void TInplaceEdit::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Color());
  TRect r = Rect(0, 0, Width(), Height());
  canvas->TextRect(r, 2, 2, Text());
  if (FSelLength > 0) {
    // The selection shows inverted in the highlight colours.
    const String& s = Text();
    int32_t x0 = 2 + canvas->TextWidth(s.substr(0, static_cast<size_t>(FSelStart)));
    String sel = s.substr(static_cast<size_t>(FSelStart), static_cast<size_t>(FSelLength));
    canvas->Brush()->SetColor(clHighlight);
    canvas->Font()->SetColor(clHighlightText);
    canvas->TextRect(Rect(x0, 0, x0 + canvas->TextWidth(sel), Height()).Intersect(r), x0, 2, sel);
  } else if (Focused()) {
    int32_t x = 2 + canvas->TextWidth(Text().substr(0, static_cast<size_t>(FSelStart)));
    canvas->Brush()->SetColor(Font()->Color());
    canvas->FillRect(Rect(x, 2, x + 1, Height() - 2));
  }
}

void TInplaceEdit::DblClick() {
  inherited::DblClick();
  SelectAll();
}

}  // namespace bw
