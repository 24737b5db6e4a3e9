#include "platform/grids/TInplaceEdit.h"

#include "platform/backend/VirtualKeys.h"
#include "platform/grids/TCustomGrid.h"

namespace bw {

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : inherited(AOwner) {
  FGrid = dynamic_cast<TCustomGrid*>(AOwner);
  SetParentCtl3D(false);
  SetCtl3D(false);
  SetTabStop(false);
  SetBorderStyle(bsNone);
  SetAutoSize(false);
  SetVisible(false);
}

void TInplaceEdit::Deselect() {
  SetSelStart(EditModel().Length());
  SetSelLength(0);
}

void TInplaceEdit::Move(const TRect& Loc) {
  SetBounds(Loc.Left, Loc.Top, Loc.Width(), Loc.Height());
  SetVisible(true);
}

void TInplaceEdit::UpdateContents() {
  if (!FGrid) return;
  // OnGetEditMask and OnGetEditText may free the grid, and this editor with it.
  TControlWatch watch(this);
  const int32_t col = FGrid->Col(), row = FGrid->Row();
  const String mask = FGrid->GetEditMask(col, row);
  if (!watch.Alive()) return;
  SetEditMask(mask);
  SetMaxLength(FGrid->GetEditLimit());
  const String text = FGrid->GetEditText(col, row);
  if (watch.Alive()) SetText(text);
}

void TInplaceEdit::BoundsChanged(bool Moved, bool Sized) {
  inherited::BoundsChanged(Moved, Sized);
  if (Sized) UpdateFormatRect();
}

void TInplaceEdit::CreateWnd() {
  inherited::CreateWnd();
  UpdateFormatRect();
}

void TInplaceEdit::UpdateFormatRect() {
  TRect r = Rect(2, 2, Width() - 2, Height());
  Perform(EM_SETRECTNP, 0, reinterpret_cast<intptr_t>(&r));
}

bool TInplaceEdit::EditCanModify() {
  return !FGrid || FGrid->CanEditModify();
}

void TInplaceEdit::WndProc(TMessage& Message) {
  // Enter and Escape belong to the editor, never to the form's default or cancel button.
  if (Message.Msg == CM_WANTSPECIALKEY &&
      (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
    Message.Result = 1;
    return;
  }
  inherited::WndProc(Message);
}

void TInplaceEdit::WMPaste(TMessage& Message) {
  if (EditCanModify()) inherited::WMPaste(Message);
}

void TInplaceEdit::WMCut(TMessage& Message) {
  if (EditCanModify()) inherited::WMCut(Message);
}

void TInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!FGrid) {
    inherited::KeyDown(Key, Shift);
    return;
  }
  auto sendToGrid = [&] {
    FGrid->KeyDown(Key, Shift);
    Key = 0;
  };
  // With an always-shown editor the arrows leave the text at its ends and move between
  // cells; otherwise they stay in the text.
  const bool forwardMovement = FGrid->Options().Contains(goAlwaysShowEditor);
  const int32_t length = EditModel().Length();
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
      if (forwardMovement && SelStart() == 0 && SelLength() == 0) sendToGrid();
      break;
    case VK_RIGHT:
    case VK_END:
      if (forwardMovement && SelStart() + SelLength() >= length) sendToGrid();
      break;
    case VK_DELETE:
      if (Shift.Contains(ssCtrl))
        sendToGrid();
      else if (!EditCanModify())
        Key = 0;
      break;
    case VK_BACK:
      if (!EditCanModify()) Key = 0;
      break;
    case VK_F2:
      Deselect();
      Key = 0;
      break;
    default:
      break;
  }
  if (Key != 0) inherited::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(Char& Key) {
  if (!FGrid) {
    inherited::KeyPress(Key);
    return;
  }
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
  TControlWatch watch(this);  // OnEditAcceptKey may free the grid, and this editor with it
  const bool refused =
      (Key >= 32 && Key != 127 && (!EditCanModify() || !FGrid->CanEditAcceptKey(Key))) ||
      (Key == 8 && !EditCanModify());
  if (!watch.Alive()) return;
  if (refused) {
    Key = 0;
    return;
  }
  inherited::KeyPress(Key);
}

void TInplaceEdit::DblClick() {
  // A double-click in the editor is a double-click on its cell.
  if (FGrid)
    FGrid->DblClick();
  else
    inherited::DblClick();
}

}  // namespace bw
