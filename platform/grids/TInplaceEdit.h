#pragma once
// The grid's in-place editor: a borderless one-line edit that the grid places over the
// current cell. It hands the keys that move between cells to the grid, offers every
// typed character to the grid's CanEditAcceptKey (dropping a refused one), and loads its
// text, mask and length limit from the grid.
//
// It keeps a plain text buffer with a caret and a selection of its own for now; the
// masked edit control takes that part over once it is available.

#include "platform/controls/TCustomControl.h"

namespace bw {

class TCustomGrid;

class TInplaceEdit : public TCustomControl {
  BW_CLASS(TInplaceEdit, TCustomControl)

 public:
  explicit TInplaceEdit(TComponent* AOwner);

  /// The grid that shows this editor; set by the grid when it first uses the editor.
  TCustomGrid* Grid() const { return FGrid; }
  /// Puts the caret after the text, selecting nothing.
  void Deselect();
  /// Places the editor over a cell rectangle (client coordinates of the grid) and shows it.
  void Move(const TRect& Loc);
  /// Loads text, mask and length limit of the grid's current cell.
  virtual void UpdateContents();

  // The edit part.
  void SetText(const String& Value) override;
  int32_t SelStart() const { return FSelStart; }
  void SetSelStart(int32_t Value);
  int32_t SelLength() const { return FSelLength; }
  void SetSelLength(int32_t Value);
  void SelectAll();
  const String& EditMask() const { return FEditMask; }
  void SetEditMask(const String& Value) { FEditMask = Value; }
  /// 0: no limit. Counted in characters.
  int32_t MaxLength() const { return FMaxLength; }
  void SetMaxLength(int32_t Value) { FMaxLength = Value < 0 ? 0 : Value; }

 protected:
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void DblClick() override;
  virtual bool EditCanModify();
  void WMChar(TMessage& Message) override;
  void Paint() override;

 private:
  friend class TCustomGrid;
  /// Puts a typed character in place of the selection (backspace deletes).
  void InsertChar(Char Key);

  TCustomGrid* FGrid = nullptr;
  // Caret and selection in bytes of the UTF-8 text, always on character boundaries.
  int32_t FSelStart = 0;
  int32_t FSelLength = 0;
  String FEditMask;
  int32_t FMaxLength = 0;
};

}  // namespace bw
