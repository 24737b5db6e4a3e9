#include "platform/controls/THeadlessInput.h"

#include "platform/backend/Backend.h"
#include "platform/controls/ControlStrings.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TControl.h"
#include "platform/core/Exception.h"

namespace bw {

namespace {
uint8_t ButtonOf(TMouseButton Button) {
  return Button == mbRight ? kButtonRight : Button == mbMiddle ? kButtonMiddle : kButtonLeft;
}
void Settle() {
  Application->ProcessMessages();
}
}  // namespace

THeadlessBackend& THeadlessInput::Backend() {
  auto* headless = dynamic_cast<THeadlessBackend*>(&bw::Backend());
  if (!headless) throw EInvalidOperation(SNotHeadless);
  return *headless;
}

void THeadlessInput::MouseMove(TControl* Control, TPoint P, uint32_t Modifiers) {
  Backend().MouseMove(Control->ClientToScreen(P), Modifiers);
  Settle();
}

void THeadlessInput::MouseDown(TControl* Control, TPoint P, TMouseButton Button,
                               uint32_t Modifiers) {
  Backend().MouseDown(Control->ClientToScreen(P), ButtonOf(Button), Modifiers);
  Settle();
}

void THeadlessInput::MouseUp(TControl* Control, TPoint P, TMouseButton Button, uint32_t Modifiers) {
  Backend().MouseUp(Control->ClientToScreen(P), ButtonOf(Button), Modifiers);
  Settle();
}

void THeadlessInput::Click(TControl* Control, TPoint P, TMouseButton Button, uint32_t Modifiers) {
  Backend().Click(Control->ClientToScreen(P), ButtonOf(Button), Modifiers);
  Settle();
}

void THeadlessInput::Click(TControl* Control) {
  Click(Control, TPoint{Control->ClientWidth() / 2, Control->ClientHeight() / 2});
}

void THeadlessInput::DoubleClick(TControl* Control, TPoint P, uint32_t Modifiers) {
  Backend().DoubleClick(Control->ClientToScreen(P), Modifiers);
  Settle();
}

void THeadlessInput::Wheel(TControl* Control, TPoint P, int32_t Delta, uint32_t Modifiers) {
  Backend().MouseWheel(Control->ClientToScreen(P), Delta, Modifiers);
  Settle();
}

void THeadlessInput::Key(uint16_t Key, uint32_t Modifiers) {
  Backend().Key(Key, Modifiers);
  Settle();
}

void THeadlessInput::KeyDown(uint16_t Key, uint32_t Modifiers) {
  Backend().KeyDown(Key, Modifiers);
  Settle();
}

void THeadlessInput::KeyUp(uint16_t Key, uint32_t Modifiers) {
  Backend().KeyUp(Key, Modifiers);
  Settle();
}

void THeadlessInput::Type(const String& Text) {
  Backend().TypeText(Text);
  Settle();
}

void THeadlessInput::Wait(uint32_t Ms) {
  Backend().AdvanceTime(Ms);
  Settle();
}

}  // namespace bw
