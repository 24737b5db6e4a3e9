#pragma once
// A one-line edit. The text model (TEditText) keeps the characters, caret, selection
// and undo; this control lays the text out in its formatting rectangle, scrolls it
// sideways so the caret stays visible, and answers the keyboard and the mouse.
//
// What a system edit window does by itself lives in DefaultHandler, so a descendant's
// message handler can act before it or refuse a message by not calling the inherited
// handler: typing (WM_CHAR), editing and movement keys (WM_KEYDOWN), the mouse, focus
// and caret, and the clipboard. The keyboard shortcuts for the clipboard (Ctrl+X/C/V,
// Shift+Delete, Ctrl+Insert, Shift+Insert) are sent as WM_CUT, WM_COPY and WM_PASTE.
// Edit requests: EM_SETRECT and EM_SETRECTNP (LParam a TRect* in client coordinates,
// the rectangle that text is laid out and clipped in), EM_GETRECT, EM_SETSEL, EM_GETSEL,
// EM_SETREADONLY, EM_LIMITTEXT, EM_GETMODIFY, EM_SETMODIFY, EM_CANUNDO, EM_UNDO.
// Alignment comes from the window style (ES_LEFT, ES_CENTER, ES_RIGHT); text wider than
// the rectangle is laid out from the left and scrolled.

#include <vector>

#include "platform/controls/TEditText.h"
#include "platform/controls/TWinControl.h"

namespace bw {

/// True while controls have the flat, client-edge look (a 3-D edit border is a sunken
/// client edge); false gives the older plain borders.
inline bool NewStyleControls = true;

class TCustomEdit : public TWinControl {
  BW_CLASS(TCustomEdit, TWinControl)

 public:
  /// A new edit is 121 pixels wide, as high as its font asks, and a tab stop.
  explicit TCustomEdit(TComponent* AOwner);

  /// Sets the whole text (in CharCase); the caret goes to the start, Modified becomes
  /// false, undo is forgotten, and OnChange fires when the text differs.
  void SetText(const String& Value) override;

  /// Default true: entering the edit by the keyboard selects all of its text.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  /// Default true: a single-border edit keeps the height its font needs.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  /// Default bsSingle (a sunken 3-D edge when Ctl3D, a plain line otherwise).
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  /// Default ecNormal.
  TEditCharCase CharCase() const { return FEdit.CharCase(); }
  void SetCharCase(TEditCharCase Value);
  /// Default true: the selection shows only while the edit has the focus.
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  /// Default 0 (no limit): most characters the user can enter.
  int32_t MaxLength() const { return FEdit.MaxLength(); }
  void SetMaxLength(int32_t Value) { FEdit.SetMaxLength(Value); }
  /// True once the user changed the text since it was last set.
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  /// Default false: the user can select and copy but not change the text.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  /// Default taLeftJustify; applied as the window's ES_ style.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  // Selection, in characters (code points).
  int32_t SelStart() const { return FEdit.SelStart(); }
  void SetSelStart(int32_t Value);
  int32_t SelLength() const { return FEdit.SelLength(); }
  void SetSelLength(int32_t Value);
  String SelText() const { return FEdit.SelText(); }
  /// Replaces the selection as a paste does (first line, MaxLength), even when ReadOnly.
  void SetSelText(const String& Value);
  virtual void SelectAll();
  void ClearSelection();
  void Clear() { SetText(String()); }

  void CutToClipboard() { Perform(WM_CUT, 0, 0); }
  void CopyToClipboard() { Perform(WM_COPY, 0, 0); }
  void PasteFromClipboard() { Perform(WM_PASTE, 0, 0); }
  bool CanUndo() const { return FEdit.CanUndo(); }
  void Undo() { Perform(WM_UNDO, 0, 0); }
  void ClearUndo() { FEdit.ClearUndo(); }

  /// The rectangle text is laid out and clipped in (client coordinates).
  TRect FormatRect() const;
  /// How far the text is scrolled to the left, in pixels.
  int32_t ScrollOffset() const { return FScrollX; }
  /// The client x where the caret stands before character Pos.
  int32_t PosToX(int32_t Pos) const;
  /// The caret position nearest to client x.
  int32_t CaretPosAt(int32_t X) const;
  /// The character under client x (the last one right of the text).
  int32_t CharAt(int32_t X) const;
  /// The text model, for descendants and tests.
  const TEditText& EditModel() const { return FEdit; }

  TNotifyEvent OnChange;

 protected:
  /// The text changed (by the user or by code); raises OnChange.
  virtual void Change();

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void PaintWindow(TCanvas* ACanvas) override;
  void DefaultHandler(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void CMEnter(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMCtl3DChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;

  /// The text model; after changing it call TextEdited (user edits) or SelectionMoved.
  TEditText& EditBuffer() { return FEdit; }
  /// After the user changed the text: Modified, scrolling, repaint and OnChange.
  void TextEdited();
  /// After the caret or selection moved: scrolling, caret and repaint.
  void SelectionMoved();
  /// Height that AutoSize keeps.
  void AdjustHeight();
  /// The text height of the font (the caret's height).
  int32_t FontHeight() const;

 private:
  // The window's own behaviour, by message.
  void EditKeyDown(uint16_t Key, TShiftState Shift);
  void EditChar(Char Key);
  void EditMouseDown(TPoint P, TShiftState Shift, bool Double);
  void EditMouseMove(TPoint P);
  void EditCut();
  void EditCopy();
  void EditPaste();
  void EditUndo();

  /// TControl's text follows the model.
  void SyncText();
  void ScrollToCaret();
  void UpdateCaret();
  uint32_t EditStyle() const;
  /// The x of the text's start, relative to FormatRect().Left.
  int32_t TextOrigin() const;
  /// Pixel offsets of every caret position from the text's start.
  const std::vector<int32_t>& Offsets() const;

  TEditText FEdit;
  bool FAutoSelect = true;
  bool FAutoSize = true;
  TBorderStyle FBorderStyle = bsSingle;
  bool FHideSelection = true;
  bool FModified = false;
  bool FReadOnly = false;
  TAlignment FAlignment = taLeftJustify;
  bool FHasFormatRect = false;
  TRect FFormatRect;
  int32_t FScrollX = 0;
  bool FSelecting = false;  // the left button is down and drags the selection

  mutable std::vector<int32_t> FOffsets;
  mutable String FOffsetsKey;  // text and font the offsets were measured for
};

}  // namespace bw
