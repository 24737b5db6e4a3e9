#include "platform/controls/TForm.h"

#include "platform/core/TPropertyTable.h"
#include "platform/graphics/TFont.h"

namespace bw {

// Defined here so that this file, and with it the property table, is always linked in.
TForm::TForm(TComponent* AOwner) : TCustomForm(AOwner) {}

BW_PUBLISHED(TForm) {
  P.Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle,
             {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})
      .Default(bsSizeable);
  P.Property("Caption", &TForm::Caption, &TForm::SetCaption);
  // Files of other tools give the client size instead of Width and Height; ours have no
  // frame, so both say the same and only Width and Height are written.
  P.Property("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight).Stored(false);
  P.Property("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth).Stored(false);
  P.Property("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview).Default(false);
  // Read for the sake of files made elsewhere; nothing here depends on them.
  P.Property(
       "OldCreateOrder", [](TForm*) { return false; }, [](TForm*, bool) {})
      .Stored(false);
  P.Property(
       "PixelsPerInch", [](TForm*) { return ScreenPixelsPerInch; }, [](TForm*, int32_t) {})
      .Stored(false);
  P.Property("Position", &TForm::Position, &TForm::SetPosition,
             {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter"})
      .Default(poDesigned);
  P.Property("Scaled", &TForm::Scaled, &TForm::SetScaled).Default(true);
  P.Property(
       "TextHeight", [](TForm*) { return 13; }, [](TForm*, int32_t) {})
      .Stored(false);
  auto event = [&P](const char* Name, auto Member) {
    P.Property(
        Name, [Member](TForm * f) -> const auto& { return f->*Member; },
        [Member](TForm* f, const auto& Value) { f->*Member = Value; });
  };
  event("OnActivate", &TForm::OnActivate);
  event("OnClose", &TForm::OnClose);
  event("OnCloseQuery", &TForm::OnCloseQuery);
  event("OnDeactivate", &TForm::OnDeactivate);
  event("OnHide", &TForm::OnHide);
  event("OnPaint", &TForm::OnPaint);
  event("OnShow", &TForm::OnShow);
}

}  // namespace bw
