#include "editor/TInplaceComboEdit.h"

#include "platform/core/TPropertyTable.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

TInplaceComboEdit::TInplaceComboEdit(TComponent* AOwner) : TCustomInplaceComboEdit(AOwner) {}

// The glyph kind comes before the glyph and the glyph before the width, so a form sets
// them in that order.
BW_PUBLISHED(TInplaceComboEdit) {
  using E = TInplaceComboEdit;
  P.Property("Alignment", &E::Alignment, &E::SetAlignment,
             {"taLeftJustify", "taRightJustify", "taCenter"})
      .Default(taLeftJustify);
  P.Property("ButtonHint", &E::GetButtonHint, &E::SetButtonHint);
  P.Property("ClickKey", &E::ClickKey, &E::SetClickKey).Default(kDefaultClickKey);
  P.Property("DirectInput", &E::GetDirectInput, &E::SetDirectInput).Default(true);
  P.Property("GlyphKind", &E::GlyphKind, &E::SetGlyphKind,
             {"gkCustom", "gkDefault", "gkDropDown", "gkEllipsis"})
      .Default(gkCustom);
  P.Property("Glyph", &E::GetGlyph, &E::SetGlyph).Stored([](E* e) { return e->IsCustomGlyph(); });
  P.Property("ButtonWidth", &E::GetButtonWidth, &E::SetButtonWidth).Default(21);
  P.Property("NumGlyphs", &E::GetNumGlyphs, &E::SetNumGlyphs);
  P.Property("ReadOnly", &E::ReadOnly, &E::SetReadOnly).Default(false);
  P.Property("AutoSelect", &E::AutoSelect, &E::SetAutoSelect).Default(true);
  P.Property("CharCase", &E::CharCase, &E::SetCharCase, {"ecNormal", "ecUpperCase", "ecLowerCase"})
      .Default(ecNormal);
  P.Property(
      "EditMask", [](E* e) { return e->EditMask(); }, &E::SetEditMask);
  P.Property("MaxLength", &E::MaxLength, &E::SetMaxLength).Default(0);
  P.Property(
      "Text", [](E* e) { return e->Text(); }, &E::SetText);
  P.Property(
      "OnChange", [](E * e) -> const auto& { return e->OnChange; },
      [](E* e, const TNotifyEvent& Value) { e->OnChange = Value; });
}

}  // namespace bw
