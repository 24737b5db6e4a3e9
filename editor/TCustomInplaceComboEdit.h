#pragma once
// The outline grids' in-place cell editor: the grid's in-place edit with a push button
// (TEditButton) at its right edge and, for descendants that supply one, a drop-down
// popup (TPopupWindow).
//
// Layout: the button sits in a holder window at the right edge; the text area (the
// edit's formatting rectangle) always ends 2 pixels left of the holder, after every
// window creation and every resize. The editor is never lower than GetMinHeight, which
// comes from the font's metrics. The button shows a custom glyph, a default one from
// GetDefaultBitmap, a drop-down arrow or three dots drawn for its width (TGlyphKind).
//
// Input: ClickKey (Ctrl+Down) presses the button; the button action raises the grid's
// OnButtonClick, or with a popup drops it down or closes it. ReadOnly stops typing,
// paste, cut and the button; DirectInput false stops typing, paste and cut but keeps
// the button. While the popup is shown the text cannot be typed into, change
// notifications are held back, Enter accepts the popup's value and Escape drops it.
// Without a popup Enter stores the text in the grid's cell and is then offered to the
// form (its default button), Escape is offered to the form and then cancels the edit.

#include <memory>

#include "platform/controls/ShortCut.h"
#include "platform/controls/TSpeedButton.h"
#include "platform/graphics/TBitmap.h"
#include "platform/grids/TInplaceEdit.h"

namespace bw {

class TComboEditGrid;
class TEditButton;
class TPopupWindow;

/// Where the editor's button glyph comes from: whatever was assigned to Glyph, the
/// overridable GetDefaultBitmap, a drop-down arrow, or three dots drawn by the editor.
enum TGlyphKind : uint8_t { gkCustom, gkDefault, gkDropDown, gkEllipsis };

/// The shortcut that presses the button by default: Ctrl+Down.
inline constexpr TShortCut kDefaultClickKey = scCtrl | 0x28;

class TCustomInplaceComboEdit : public TInplaceEdit {
  BW_CLASS(TCustomInplaceComboEdit, TInplaceEdit)

 public:
  /// A new editor is 21 pixels high with a 15-pixel button and no glyph (gkCustom).
  explicit TCustomInplaceComboEdit(TComponent* AOwner);
  ~TCustomInplaceComboEdit() override;

  // ---- layout ----
  /// Default taLeftJustify; the text is laid out within the text area only.
  TAlignment Alignment() const { return TCustomEdit::Alignment(); }
  void SetAlignment(TAlignment Value);
  /// Default 15 (a stand-alone editor's stored default is 21). A width not below
  /// ClientWidth is ignored; with gkDefault it is at least the glyph's width + 4.
  int32_t GetButtonWidth() const;
  void SetButtonWidth(int32_t Value);
  const String& GetButtonHint() const;
  void SetButtonHint(const String& Value);
  /// Text height in pixels: the editor's font, but no taller than the screen's font.
  int32_t GetTextHeight() const;
  /// The lowest the editor may be: the text height, the border allowance and a pixel.
  int32_t GetMinHeight() const;
  /// Places the button holder at the right edge and the text area left of it.
  void UpdateBtnBounds();
  TEditButton* Button() const { return FButton; }
  TWinControl* ButtonHolder() const { return FBtnControl; }

  // ---- glyph ----
  /// The button's glyph object itself.
  TBitmap* GetGlyph() const;
  /// Copies Value into the button's glyph and makes the kind gkCustom.
  void SetGlyph(TBitmap* Value);
  TNumGlyphs GetNumGlyphs() const;
  /// Only gkCustom takes the value; the arrow and the dots are one image, gkDefault has
  /// the count its bitmap declares.
  void SetNumGlyphs(TNumGlyphs Value);
  /// Default gkCustom.
  TGlyphKind GlyphKind() const { return FCurrentGlyphKind; }
  void SetGlyphKind(TGlyphKind Value);
  /// True for gkCustom: only then is Glyph stored.
  bool IsCustomGlyph() const { return FCurrentGlyphKind == gkCustom; }
  /// Rebuilds the glyph for the current kind.
  void RecreateGlyph();

  // ---- input ----
  /// Default false: no typing, paste, cut or button action.
  bool ReadOnly() const { return GetReadOnly(); }
  virtual bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  /// Default true: false allows changes only through the button, the popup or code.
  bool GetDirectInput() const { return FDirectInput; }
  void SetDirectInput(bool Value);
  /// Default Ctrl+Down: the key that presses the button (while it is wider than 0).
  TShortCut ClickKey() const { return FClickShortCut; }
  void SetClickKey(TShortCut Value) { FClickShortCut = Value; }
  /// Selects the whole text, only while DirectInput.
  void SelectAll() override;
  /// Presses the button from code.
  void DoClick();
  /// The button's OnClick handler: the button action, unless read-only.
  void EditButtonClick(TObject* Sender);

  // ---- popup ----
  /// True when a popup is attached and dropped down.
  bool GetPopupVisible() const;
  TPopupWindow* Popup() const { return FPopup; }
  void PopupDropDown();
  /// Closes a shown popup; Accept offers its value to the editor's text.
  void PopupCloseUp(bool Accept);
  /// The popup's OnMouseUp: a left release inside its client area accepts, outside drops.
  void PopupMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y);

  /// The grid whose OnButtonClick the button raises.
  void SetGrid(TComboEditGrid* Value) { FGrid = Value; }
  /// The editor's own parts (button holder, button, popup) are made by its constructor
  /// and never stored with it.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  /// Closes the popup before the editor moves to another cell's text.
  void UpdateContents() override;

 protected:
  /// The glyph of gkDefault; this class has none. Set FreeAfterUse when the caller is to
  /// free the bitmap.
  virtual TBitmap* GetDefaultBitmap(bool& FreeAfterUse);
  /// The last say on a value chosen in the popup (which it may change); true takes it.
  virtual bool AcceptPopup(String& Value);
  /// The button action: drop the popup down or close it, or raise the grid's
  /// OnButtonClick and show the text it returns.
  virtual void ButtonClick();

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  /// Not the grid's say: only ReadOnly forbids changes.
  bool EditCanModify() override;
  void Change() override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void BoundsChanged(bool Moved, bool Sized) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  void WMSize(TMessage& Message) override;
  void WMPaste(TMessage& Message) override;
  void WMCut(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void CMEnter(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMCtl3DChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMCancelMode(TMessage& Message) override;
  void CMShowingChanged(TMessage& Message) override;

  /// The popup, or null; a descendant that offers one creates it with the editor as owner.
  TPopupWindow* FPopup = nullptr;

 private:
  /// The text area: from the base editor's inset to 2 pixels left of the button holder.
  void SetEditRect();
  /// The three dots for the current button width, as a new monochrome bitmap.
  std::unique_ptr<TBitmap> CreateEllipsisGlyph() const;
  /// The screen point where the popup goes (PlacePopup): below or above the editor,
  /// wholly on the screen when it fits there.
  TPoint PopupPosition() const;
  /// The close-up's steps after the popup is hidden.
  void FinishCloseUp(bool Accept, String& Value);
  /// Offers Enter or Escape to the parent form's default or cancel button.
  void SendDialogKey(Char Key);

  TEditButton* FButton = nullptr;      // owned as a component; parent FBtnControl
  TWinControl* FBtnControl = nullptr;  // owned as a component; child of the editor
  TShortCut FClickShortCut = kDefaultClickKey;
  bool FReadOnly = false;
  bool FDirectInput = true;
  bool FPopupVisible = false;
  bool FFocused = false;
  TGlyphKind FCurrentGlyphKind = gkCustom;
  TComboEditGrid* FGrid = nullptr;
  TNumGlyphs FDefNumGlyphs = 1;
};

}  // namespace bw
