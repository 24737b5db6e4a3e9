#include "platform/controls/TWindowManager.h"

#include <algorithm>

#include "platform/backend/Backend.h"
#include "platform/controls/TCustomForm.h"
#include "platform/controls/TScreen.h"
#include "platform/controls/TWinControl.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

TWindowManager& TWindowManager::Get() {
  static TWindowManager manager;
  return manager;
}

HWND TWindowManager::Register(TWinControl* Control) {
  HWND h = NextHandle++;
  Handles[h] = Control;
  return h;
}

void TWindowManager::Unregister(HWND Wnd) {
  if (!Wnd) return;
  Handles.erase(Wnd);
  if (Focus == Wnd) Focus = 0;
  if (Active == Wnd) Active = 0;
  std::erase(ActivationOrder, Wnd);
  if (Caret.Owner == Wnd) {
    Caret = TCaretInfo();
    CaretHideLevel = 0;
    StopCaretBlink();
  }
  for (auto it = Timers.begin(); it != Timers.end();) {
    if (it->first.Wnd == Wnd) {
      Backend().StopTimer(it->second);
      TimersById.erase(it->second);
      it = Timers.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& posted : Posted)
    if (posted.Wnd == Wnd) posted.Wnd = 0;  // dropped when its turn comes
}

TWinControl* TWindowManager::Find(HWND Wnd) const {
  auto it = Handles.find(Wnd);
  return it == Handles.end() ? nullptr : it->second;
}

TWinControl* TWindowManager::ActiveWindow() const {
  return Find(Active);
}

void TWindowManager::SetActiveWindow(TWinControl* TopLevel) {
  HWND newHandle = TopLevel ? TopLevel->Handle() : 0;
  if (Active == newHandle) return;
  HWND oldHandle = Active;
  Active = newHandle;
  if (newHandle) {
    std::erase(ActivationOrder, newHandle);
    ActivationOrder.push_back(newHandle);
  }
  if (TWinControl* old = Find(oldHandle)) {
    TMessage m{WM_ACTIVATE, WA_INACTIVE, intptr_t(newHandle), 0};
    old->MainWndProc(m);
  }
  if (Active != newHandle) return;  // the old window moved the activation elsewhere
  if (!TopLevel) {
    SetFocus(0);
    return;
  }
  Backend().RaiseWindow(TopLevel->Surface(), true);
  TMessage m{WM_ACTIVATE, WA_ACTIVE, intptr_t(oldHandle), 0};
  TopLevel->MainWndProc(m);
  // An activated window that did not place the focus itself takes it.
  TWinControl* focused = Find(Focus);
  if (Active == newHandle && (!focused || focused->TopLevelWindow() != TopLevel))
    SetFocus(newHandle);
}

void TWindowManager::ActivateNextForm(TWinControl* Leaving) {
  auto candidate = [&](TWinControl* w) {
    return w && w != Leaving && dynamic_cast<TCustomForm*>(w) && w->Showing();
  };
  TWinControl* next = nullptr;
  for (auto it = ActivationOrder.rbegin(); it != ActivationOrder.rend() && !next; ++it)
    if (TWinControl* w = Find(*it); candidate(w)) next = w;
  // Forms never activated yet: the latest created one.
  if (Screen)
    for (int32_t i = Screen->FormCount() - 1; i >= 0 && !next; --i)
      if (candidate(Screen->Forms(i))) next = Screen->Forms(i);
  SetActiveWindow(next);
}

void TWindowManager::SetCaptureControl(TControl* Control) {
  if (FCaptureControl == Control) return;
  FCaptureControl = Control;
  TWinControl* window = nullptr;
  if (Control) {
    window = dynamic_cast<TWinControl*>(Control);
    if (!window) window = Control->Parent();
  }
  TWindowId surface = 0;
  if (window && window->HandleAllocated()) surface = window->TopLevelWindow()->Surface();
  Backend().SetMouseCapture(surface);
}

void TWindowManager::ControlDestroying(TControl* Control) {
  if (FCaptureControl == Control) SetCaptureControl(nullptr);
  if (MouseControl == Control) MouseControl = nullptr;
  for (TControl** watched : Watches)
    if (*watched == Control) *watched = nullptr;
}

bool TWindowManager::AcceptsInput(TWinControl* TopLevel) const {
  if (ModalForms.empty() || !TopLevel) return true;
  // A pop-up parented inside the modal form belongs to it.
  TWinControl* root = TopLevel;
  while (root->Parent())
    root = root->Parent();
  return root == ModalForms.back();
}

void TWindowManager::AddTopLevel(TWinControl* Window) {
  if (std::find(FTopLevels.begin(), FTopLevels.end(), Window) == FTopLevels.end())
    FTopLevels.push_back(Window);
}

void TWindowManager::RemoveTopLevel(TWinControl* Window) {
  FTopLevels.erase(std::remove(FTopLevels.begin(), FTopLevels.end(), Window), FTopLevels.end());
  ModalForms.erase(std::remove(ModalForms.begin(), ModalForms.end(), Window), ModalForms.end());
  PresentedCaret.erase(Window);
}

TWinControl* TWindowManager::FindSurface(TWindowId Surface) const {
  for (TWinControl* w : FTopLevels)
    if (w->Surface() == Surface) return w;
  return nullptr;
}

void TWindowManager::RestartCaretBlink() {
  StopCaretBlink();
  if (uint32_t blink = Backend().CaretBlinkTime()) CaretBlinkTimer = Backend().StartTimer(blink);
}

void TWindowManager::StopCaretBlink() {
  if (CaretBlinkTimer) Backend().StopTimer(CaretBlinkTimer);
  CaretBlinkTimer = 0;
  CaretBlinkOff = false;
}

bool TWindowManager::CaretBlinkTimerFired(uint32_t TimerId) {
  if (!CaretBlinkTimer || TimerId != CaretBlinkTimer) return false;
  CaretBlinkOff = !CaretBlinkOff;  // the next paint presents the change
  return true;
}

TRect TWindowManager::CaretRectIn(TWinControl* TopLevel) const {
  if (!Caret.Visible || CaretBlinkOff || Caret.Width <= 0 || Caret.Height <= 0) return TRect();
  TWinControl* owner = Find(Caret.Owner);
  if (!owner || !owner->IsShowing() || owner->TopLevelWindow() != TopLevel) return TRect();
  TPoint origin = owner->ClientOrigin();
  int32_t dx = origin.X - TopLevel->Left(), dy = origin.Y - TopLevel->Top();
  TRect client = owner->ClientRect().Offset(dx, dy);
  return Bounds(Caret.Pos.X + dx, Caret.Pos.Y + dy, Caret.Width, Caret.Height).Intersect(client);
}

bool TWindowManager::CaretChanged(TWinControl* TopLevel) const {
  auto it = PresentedCaret.find(TopLevel);
  TRect last = it == PresentedCaret.end() ? TRect() : it->second;
  return !(last == CaretRectIn(TopLevel));
}

void TWindowManager::PresentWithCaret(TWinControl* TopLevel, const TRect& Changed) {
  TBitmap* buffer = TopLevel->BackBuffer();
  if (!buffer || buffer->Empty() || !TopLevel->Surface()) return;
  TRect caret = CaretRectIn(TopLevel).Intersect(Bounds(0, 0, buffer->Width(), buffer->Height()));
  // The caret inverts what lies under it; inverting again after presenting restores it.
  auto invert = [&] {
    for (int32_t y = caret.Top; y < caret.Bottom; ++y) {
      uint32_t* row = buffer->ScanLine(y);
      for (int32_t x = caret.Left; x < caret.Right; ++x)
        row[x] ^= 0x00FFFFFF;
    }
  };
  invert();
  TPixelView view{buffer->ScanLine(0), buffer->Width(), buffer->Height(), buffer->Width()};
  auto last = PresentedCaret.find(TopLevel);
  TRect changed = Changed.Union(caret);
  if (last != PresentedCaret.end()) changed = changed.Union(last->second);
  Backend().Present(TopLevel->Surface(), view, changed);
  invert();
  PresentedCaret[TopLevel] = caret;
  // The off half of a blink leaves the place as it was.
  if (!caret.IsEmpty() && !(caret == TextInputPlace)) {
    TextInputPlace = caret;
    Backend().SetTextInputPlace(TopLevel->Surface(), caret);
  }
}

void TWindowManager::Reset() {
  Handles.clear();
  NextHandle = 1;
  Focus = 0;
  Active = 0;
  ActivationOrder.clear();
  FCaptureControl = nullptr;
  Caret = TCaretInfo();
  CaretHideLevel = 0;
  CaretBlinkTimer = 0;  // it belonged to the back end being replaced
  CaretBlinkOff = false;
  Timers.clear();
  TimersById.clear();
  Posted.clear();
  Modifiers = 0;
  Buttons = 0;
  MouseControl = nullptr;
  SuppressActivation = 0;
  ModalForms.clear();
  PresentedCaret.clear();
  TextInputPlace = TRect();
  FTopLevels.clear();
}

}  // namespace bw
