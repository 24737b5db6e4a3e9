#include "platform/controls/TCustomForm.h"

#include <algorithm>

#include "platform/backend/Backend.h"
#include "platform/controls/ControlStrings.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TScreen.h"
#include "platform/controls/TWindowManager.h"
#include "platform/core/Exception.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

TCustomForm::TCustomForm(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetVisible(false);
  SetBoundsQuiet(100, 100, 320, 240);
  SetColor(clBtnFace);
  SetParentFont(false);
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  Destroying();
  if (Screen) Screen->RemoveForm(this);
  if (Application) Application->FormDestroying(this);
  TWindowManager& wm = TWindowManager::Get();
  if (HandleAllocated() && wm.Active == Handle()) {
    // The most recent other visible form takes over the keyboard.
    try {
      wm.ActivateNextForm(this);
    } catch (...) {
      wm.Active = 0;  // a destructor must not throw; the other form stays inactive
    }
    if (wm.Active == Handle()) wm.Active = 0;
  }
}

void TCustomForm::SetVisible(bool Value) {
  if (ComponentState().Contains(csLoading)) {
    FShowWhenLoaded = Value;
    return;
  }
  inherited::SetVisible(Value);
}

void TCustomForm::Loaded() {
  inherited::Loaded();
  if (FShowWhenLoaded) {
    FShowWhenLoaded = false;
    Show();
  }
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The back end draws the caption bar and frame, so the window has no border of ours.
  Params.Style = WS_OVERLAPPED | WS_SYSMENU | WS_CLIPCHILDREN;
  Params.ExStyle = 0;
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
  if (Showing() && !FActive && !TWindowManager::Get().SuppressActivation)
    TWindowManager::Get().SetActiveWindow(this);
}

void TCustomForm::CMShowingChanged(TMessage& Message) {
  TWindowManager& wm = TWindowManager::Get();
  if (Showing() && FPosition == poScreenCenter)
    SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(),
              Height());
  if (Showing() && OnShow) OnShow(this);
  if (!Showing() && OnHide) OnHide(this);
  inherited::CMShowingChanged(Message);
  // Hidden, the window has handed the activation on already.
  if (Showing() && !wm.SuppressActivation) wm.SetActiveWindow(this);
}

void TCustomForm::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  if (Surface()) Backend().SetWindowCaption(Surface(), Text());
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm() == this)
    Application->Terminate();
  else if (action == caHide || action == caMinimize)
    Hide();
  else
    Release();
}

void TCustomForm::Release() {
  PostMessage(Handle(), CM_RELEASE, 0, 0);
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || FModal) throw EInvalidOperation(SCannotShowModal);
  FModal = true;
  FModalResult = mrNone;
  TWindowManager& wm = TWindowManager::Get();
  wm.ModalForms.push_back(this);
  struct TModalGuard {
    TWindowManager& wm;
    TCustomForm* form;
    ~TModalGuard() {
      wm.ModalForms.erase(std::remove(wm.ModalForms.begin(), wm.ModalForms.end(), form),
                          wm.ModalForms.end());
    }
  } guard{wm, this};
  // A handler may free the form while it is modal: then nothing here touches it again.
  TControlWatch watch(this);
  try {
    Show();
    while (watch.Alive() && FModalResult == mrNone) {
      if (!Application || Application->Terminated()) break;
      if (!Application->HandleMessage()) break;  // a scripted back end ran dry
      if (!watch.Alive() || FReleaseAfterModal) break;
      if (FModalResult != mrNone) {
        TCloseAction action = caNone;
        if (CloseQuery() && watch.Alive()) {
          action = caHide;
          DoClose(action);
        }
        if (!watch.Alive()) break;
        if (action == caNone) FModalResult = mrNone;
        if (action == caFree) Release();
      }
    }
  } catch (...) {
    if (watch.Alive()) {
      FModal = false;
      Hide();
      if (watch.Alive() && FReleaseAfterModal) delete this;
    }
    throw;
  }
  if (!watch.Alive()) return mrCancel;
  FModal = false;
  TModalResult result = FModalResult;
  Hide();
  if (watch.Alive() && FReleaseAfterModal) delete this;
  return result;
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  bool loading = ComponentState().Contains(csLoading);
  if (Control &&
      !(Control != this && GetParentForm(Control) == this && (loading || Control->CanFocus())))
    throw EInvalidOperation(SCannotFocus);
  FActiveControl = Control;
  if (!loading && FActive) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
  bool wasActive = FActive;
  SetActiveControl(Control);
  if (!wasActive) SetFocus();
}

void TCustomForm::SetFocus() {
  if (FActive) return;
  if (!Visible() || !Enabled()) throw EInvalidOperation(SCannotFocus);
  SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  TWinControl* target = FActiveControl ? FActiveControl : this;
  bw::SetFocus(target->Handle());
}

void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (!Value) return;
  if (!FActiveControl) FActiveControl = FindNextControl(nullptr, true, true, false);
  SetWindowFocus();
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::WMActivate(TMessage& Message) {
  bool active = Message.WParam != WA_INACTIVE;
  if (active == FActive) return;
  SetActive(active);
  if (active)
    Activate();
  else
    Deactivate();
}

bool TCustomForm::SendFocusMessage(HWND Wnd, uint32_t Msg) {
  HWND focus = GetFocus();
  if (TWinControl* c = FindControl(Wnd)) {
    TMessage m{Msg, 0, 0, 0};
    c->MainWndProc(m);
  }
  return GetFocus() == focus;
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  FActiveControl = Control != this ? Control : nullptr;
  if (Screen) Screen->SetFocused(this, Control);
  if (Control->ControlState().Contains(csFocusing)) return false;
  Control->SetControlState(Control->ControlState() + TControlState{csFocusing});
  // An OnExit handler may free the control that was to take the focus.
  struct TGuard {
    TWinControl* c;
    TControlWatch watch{c};
    ~TGuard() {
      if (watch.Alive()) c->SetControlState(c->ControlState() - TControlState{csFocusing});
    }
  } guard{Control};
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl != Control) {
    while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
      HWND h = FFocusedControl->HandleAllocated() ? FFocusedControl->Handle() : 0;
      FFocusedControl = FFocusedControl->Parent();
      if (h && !SendFocusMessage(h, CM_EXIT)) return false;
      if (!guard.watch.Alive()) return false;
    }
    while (FFocusedControl != Control) {
      TWinControl* step = Control;
      while (step->Parent() != FFocusedControl)
        step = step->Parent();
      FFocusedControl = step;
      if (!SendFocusMessage(step->Handle(), CM_ENTER) || !guard.watch.Alive()) return false;
    }
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(Control));
  return true;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (Removing && FFocusedControl && Control->ContainsControl(FFocusedControl))
    FFocusedControl = Control->Parent();
  if (Screen && Screen->ActiveControl() && Control->ContainsControl(Screen->ActiveControl()))
    Screen->SetFocused(this, Removing ? nullptr : Screen->ActiveControl());
  if (FActiveControl && Control->ContainsControl(FActiveControl)) {
    FActiveControl = nullptr;
    // The form keeps the focus itself rather than leaving it on a control that goes.
    if (FActive && !ComponentState().Contains(csDestroying)) SetWindowFocus();
  }
}

void TCustomForm::SendCancelMode(TControl* Sender) {
  if (FActive && FActiveControl)
    FActiveControl->Perform(CM_CANCELMODE, 0, reinterpret_cast<intptr_t>(Sender));
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  TShiftState shift = KeyDataToShiftState(Message.LParam);
  if (!shift.Contains(ssAlt)) {
    switch (Message.WParam) {
      case VK_TAB:
        if (!shift.Contains(ssCtrl)) {
          SelectNext(FActiveControl, !shift.Contains(ssShift), true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->Parent()) {
          FActiveControl->Parent()->SelectNext(
              FActiveControl, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
          Message.Result = 1;
        }
        return;
      default:
        break;
    }
  }
  inherited::CMDialogKey(Message);
}

void TCustomForm::WMClose(TMessage&) {
  Close();
}

void TCustomForm::CMRelease(TMessage&) {
  if (FModal) {
    // ShowModal is still using the form: it ends and frees it on the way out.
    FReleaseAfterModal = true;
    if (FModalResult == mrNone) FModalResult = mrCancel;
    return;
  }
  delete this;
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      WMActivate(Message);
      break;
    case WM_CLOSE:
      WMClose(Message);
      break;
    case CM_RELEASE:
      CMRelease(Message);
      break;
    default:
      inherited::Dispatch(Message);
      break;
  }
}

std::unique_ptr<TBitmap> TCustomForm::Snapshot() {
  if (!Showing()) throw EInvalidOperation(SSnapshotNotShown);
  PaintTopLevel();  // presents as well, so the screen agrees with the picture
  auto shot = std::make_unique<TBitmap>();
  if (BackBuffer()) shot->Assign(BackBuffer());
  return shot;
}

void TCustomForm::SaveSnapshotPng(const String& FileName) {
  Snapshot()->SaveToPngFile(FileName);
}

}  // namespace bw
