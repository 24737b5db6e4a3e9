#pragma once
// The published properties that the form edits share, in the order forms store them:
// PublishEditLook, then (for a masked edit) EditMask, PublishEditLimits, Text, and
// PublishEditEvents.

#include "platform/controls/TCustomEdit.h"
#include "platform/core/TPropertyTable.h"

namespace bw {

template <class C>
void PublishEditLook(TPropertyBuilder<C>& P) {
  P.Property("AutoSelect", &C::AutoSelect, &C::SetAutoSelect).Default(true);
  P.Property("AutoSize", &C::AutoSize, &C::SetAutoSize).Default(true);
  P.Property("BorderStyle", &C::BorderStyle, &C::SetBorderStyle, {"bsNone", "bsSingle"})
      .Default(bsSingle);
  P.Property("CharCase", &C::CharCase, &C::SetCharCase, {"ecNormal", "ecUpperCase", "ecLowerCase"})
      .Default(ecNormal);
}

template <class C>
void PublishEditLimits(TPropertyBuilder<C>& P) {
  P.Property("HideSelection", &C::HideSelection, &C::SetHideSelection).Default(true);
  P.Property("MaxLength", &C::MaxLength, &C::SetMaxLength).Default(0);
  P.Property("ReadOnly", &C::ReadOnly, &C::SetReadOnly).Default(false);
}

template <class C>
void PublishEditEvents(TPropertyBuilder<C>& P) {
  auto event = [&P](const char* Name, auto Member) {
    P.Property(
        Name, [Member](C * e) -> const auto& { return e->*Member; },
        [Member](C* e, const auto& Value) { e->*Member = Value; });
  };
  event("OnChange", &C::OnChange);
  event("OnClick", &C::OnClick);
  event("OnDblClick", &C::OnDblClick);
  event("OnEnter", &C::OnEnter);
  event("OnExit", &C::OnExit);
  event("OnKeyDown", &C::OnKeyDown);
  event("OnKeyPress", &C::OnKeyPress);
  event("OnKeyUp", &C::OnKeyUp);
  event("OnMouseDown", &C::OnMouseDown);
  event("OnMouseMove", &C::OnMouseMove);
  event("OnMouseUp", &C::OnMouseUp);
}

}  // namespace bw
