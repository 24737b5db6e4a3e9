#pragma once
// An edit with an edit mask (see TEditMask for the mask characters). While a mask is
// set the edit text always has the mask's length: literals stand in place, empty places
// show the blank character, typing overwrites the next place that accepts the character,
// Backspace and Delete blank places, and a paste is typed in place by place. Text is the
// value (see TEditMask::ValueOf); EditText is what the edit shows. Leaving a changed
// edit with a required place empty raises EDBEditError and keeps the focus; Escape
// brings back the text the edit had when it was entered. Without a mask it is a plain
// TCustomEdit.

#include "platform/controls/TCustomEdit.h"
#include "platform/controls/TEditMask.h"

namespace bw {

class TCustomMaskEdit : public TCustomEdit {
  BW_CLASS(TCustomMaskEdit, TCustomEdit)

 public:
  explicit TCustomMaskEdit(TComponent* AOwner);

  /// Default empty (no mask). Setting a mask lays the current value out in it.
  const String& EditMask() const { return FMask.Mask(); }
  void SetEditMask(const String& Value);
  bool IsMasked() const { return FMask.IsMasked(); }
  const TEditMask& Mask() const { return FMask; }

  /// The value: the edit text read through the mask.
  String Text() const;
  /// Lays a value out in the mask.
  void SetText(const String& Value) override;
  /// The text as shown, literals and blanks included.
  const String& EditText() const { return TControl::Text(); }
  /// Sets the text as shown, place by place; a character that does not fit its place
  /// leaves it blank.
  void SetEditText(const String& Value);
  /// Replaces the selection as a paste does.
  void SetSelText(const String& Value);

  /// Raises EDBEditError, with the caret on the first empty required place, when the
  /// user changed a masked text and left a required place empty.
  virtual void ValidateEdit();
  /// Brings back the text the edit had when it was entered or last set, if changed.
  void Reset();

 protected:
  /// Whether the user may change the text now (ReadOnly aside); this class says yes.
  virtual bool EditCanModify();

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void WMCut(TMessage& Message) override;
  void WMPaste(TMessage& Message) override;
  void CMEnter(TMessage& Message) override;
  void CMExit(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

 private:
  bool CanModify() { return !ReadOnly() && EditCanModify(); }
  /// Sets the edit text without treating it as the user's change.
  void SetShownText(const std::u32string& Chars);

  TEditMask FMask;
  String FOldValue;       // edit text that Reset brings back
  bool FReEnter = false;  // focus comes back after a failed check
};

}  // namespace bw
