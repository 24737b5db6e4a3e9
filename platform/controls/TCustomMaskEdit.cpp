#include "platform/controls/TCustomMaskEdit.h"

#include "platform/backend/Backend.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/controls/EDBEditError.h"
#include "platform/controls/EditChars.h"
#include "platform/controls/EditStrings.h"

namespace bw {

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::SetEditMask(const String& Value) {
  if (Value == FMask.Mask()) return;
  // The value moves to the new mask; from one mask to another only its places do.
  String value =
      IsMasked() && TEditMask(Value).IsMasked() ? FMask.InputsOf(EditModel().Chars()) : Text();
  FMask = TEditMask(Value);
  if (IsMasked())
    SetShownText(FMask.EditTextOf(value));
  else
    inherited::SetText(value);
}

String TCustomMaskEdit::Text() const {
  return IsMasked() ? FMask.ValueOf(EditModel().Chars()) : EditText();
}

void TCustomMaskEdit::SetText(const String& Value) {
  if (IsMasked())
    SetShownText(FMask.EditTextOf(Value));
  else
    inherited::SetText(Value);
  FOldValue = EditText();
}

void TCustomMaskEdit::SetEditText(const String& Value) {
  if (IsMasked())
    SetShownText(FMask.NormalEditText(Value));
  else
    inherited::SetText(Value);
  FOldValue = EditText();
}

void TCustomMaskEdit::SetShownText(const std::u32string& Chars) {
  inherited::SetText(EncodeUtf8(Chars));
}

void TCustomMaskEdit::SetSelText(const String& Value) {
  if (!IsMasked()) return inherited::SetSelText(Value);
  if (FMask.Paste(EditBuffer(), Value)) TextEdited();
}

bool TCustomMaskEdit::EditCanModify() {
  return true;
}

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked() || !Modified()) return;
  int32_t missing = FMask.FirstMissing(EditModel().Chars());
  if (missing < 0) return;
  SetSelStart(missing);
  throw EDBEditError(SMaskEditErr);
}

void TCustomMaskEdit::Reset() {
  if (!Modified()) return;
  inherited::SetText(FOldValue);
  SetModified(false);
}

void TCustomMaskEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  TControlWatch watch(this);
  inherited::KeyDown(Key, Shift);
  if (!watch.Alive()) return;  // the handler freed the edit
  if (!IsMasked() || Key == 0 || Shift.Contains(ssAlt)) return;
  TEditText& edit = EditBuffer();
  const bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_ESCAPE:
      if (Modified()) {
        Reset();
        Key = 0;
      }
      break;
    case VK_LEFT:
    case VK_RIGHT:
      // The caret steps from place to place over the literals.
      if (!plain) break;
      if (edit.SelLength() > 0)
        edit.SetSelStart(Key == VK_LEFT ? edit.SelStart() : edit.SelStart() + edit.SelLength());
      else if (Key == VK_LEFT && FMask.PrevInput(edit.Caret()) >= 0)
        edit.SetSelStart(FMask.PrevInput(edit.Caret()));
      else if (Key == VK_RIGHT)
        edit.SetSelStart(FMask.NextInput(FMask.NextInput(edit.Caret()) + 1));
      SelectionMoved();
      Key = 0;
      break;
    case VK_DELETE:
      if (Shift.Contains(ssShift)) break;  // cut
      if (CanModify() && FMask.DeleteRight(edit))
        TextEdited();
      else
        SelectionMoved();
      Key = 0;
      break;
    case VK_BACK:
      // A plain Backspace arrives as a typed character (KeyPress).
      if (!Shift.Contains(ssCtrl)) break;
      if (CanModify() && FMask.DeleteLeft(edit))
        TextEdited();
      else
        SelectionMoved();
      Key = 0;
      break;
    default:
      break;
  }
}

void TCustomMaskEdit::KeyPress(Char& Key) {
  TControlWatch watch(this);
  inherited::KeyPress(Key);
  if (!watch.Alive()) return;
  if (!IsMasked() || Key == 0) return;
  TEditText& edit = EditBuffer();
  if (CanModify()) {
    bool changed = false;
    if (Key == 8)
      changed = FMask.DeleteLeft(edit);
    else if (Key >= 32 && Key != 127)
      changed = FMask.TypeChar(edit, Key);
    if (changed)
      TextEdited();
    else
      SelectionMoved();
  }
  Key = 0;
}

void TCustomMaskEdit::WMCut(TMessage& Message) {
  if (!IsMasked()) return inherited::WMCut(Message);
  if (!CanModify() || EditModel().SelLength() == 0) return;
  Backend().SetClipboardText(SelText());
  if (FMask.ClearSelection(EditBuffer())) TextEdited();
}

void TCustomMaskEdit::WMPaste(TMessage& Message) {
  if (!IsMasked()) return inherited::WMPaste(Message);
  if (!CanModify()) return;
  if (FMask.Paste(EditBuffer(), Backend().ClipboardText())) TextEdited();
}

void TCustomMaskEdit::CMEnter(TMessage& Message) {
  // Coming back after a failed check keeps the caret on the empty place and the value
  // to go back to.
  if (FReEnter) {
    FReEnter = false;
    return;
  }
  FOldValue = EditText();
  inherited::CMEnter(Message);
}

void TCustomMaskEdit::CMExit(TMessage& Message) {
  try {
    ValidateEdit();
  } catch (...) {
    // The user stays in the edit to mend the value.
    if (CanFocus()) {
      FReEnter = true;
      SetFocus();
      FReEnter = false;
    }
    throw;
  }
  inherited::CMExit(Message);
}

void TCustomMaskEdit::DefaultHandler(TMessage& Message) {
  // Clearing a masked selection blanks its places instead of removing characters.
  if (Message.Msg == WM_CLEAR && IsMasked()) {
    if (CanModify() && FMask.ClearSelection(EditBuffer())) TextEdited();
    return;
  }
  inherited::DefaultHandler(Message);
}

}  // namespace bw
