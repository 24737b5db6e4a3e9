#include "platform/controls/TButton.h"

#include "platform/core/TPropertyTable.h"
#include "platform/graphics/TCanvas.h"

namespace bw {

BW_PUBLISHED(TButton) {
  P.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
  P.Property("Caption", &TButton::Caption, &TButton::SetCaption);
  P.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
  P.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(mrNone);
}

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
  // No csDoubleClicks: a quick second press is a second click.
  FControlStyle = {csSetCaption, csCaptureMouse, csClickEvents, csOpaque};
  SetBoundsQuiet(0, 0, 75, 25);
  SetColor(clBtnFace);
  SetTabStop(true);
}

void TButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  if (TCustomForm* form = GetParentForm(this))
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(form->ActiveControl()));
  else
    FActive = Value;
  Invalidate();
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  inherited::Click();
}

void TButton::SetDown(bool Value) {
  if (FDown == Value) return;
  FDown = Value;
  Invalidate();
}

void TButton::CMDialogKey(TMessage& Message) {
  bool plain = KeyDataToShiftState(Message.LParam).Empty();
  if (plain &&
      ((Message.WParam == VK_RETURN && FActive) || (Message.WParam == VK_ESCAPE && FCancel)) &&
      CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  inherited::CMDialogKey(Message);
}

void TButton::CMFocusChanged(TMessage& Message) {
  auto* sender = reinterpret_cast<TWinControl*>(Message.LParam);
  bool active = dynamic_cast<TButton*>(sender) ? sender == this : FDefault;
  if (active != FActive) {
    FActive = active;
    Invalidate();
  }
  inherited::CMFocusChanged(Message);
}

void TButton::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      // A button takes the focus when pressed, as the desktop's buttons do; its OnEnter
      // may free it.
      if (CanFocus() && !Focused()) {
        TControlWatch watch(this);
        SetFocus();
        if (!watch.Alive()) return;
      }
      SetDown(true);
      break;
    case WM_LBUTTONUP:
      SetDown(false);
      break;
    case WM_MOUSEMOVE:
      if (FControlState.Contains(csLButtonDown))
        SetDown(ClientRect().Contains(LParamToPoint(Message.LParam)));
      break;
    case WM_KEYDOWN:
      if (Message.WParam == VK_SPACE) SetDown(true);
      break;
    case WM_KEYUP:
      if (Message.WParam == VK_SPACE && FDown) {
        SetDown(false);
        TControlWatch watch(this);
        Click();
        if (!watch.Alive()) return;
      }
      break;
    case WM_CANCELMODE:
      // The press is abandoned: its release no longer clicks.
      FControlState.Exclude(csClicked);
      SetDown(false);
      break;
    case WM_KILLFOCUS:
      SetDown(false);
      break;
    case WM_SETFOCUS:
      Invalidate();
      break;
    default:
      break;
  }
  inherited::DefaultHandler(Message);
}

void TButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Pen()->SetWidth(1);
  if (FActive || Focused()) {
    c->Brush()->SetColor(clWindowFrame);
    c->FrameRect(r);
    r = r.Inflate(-1, -1);
  }
  if (FDown) {
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(r);
    r = r.Inflate(-1, -1);
  } else {
    c->Frame3D(r, clBtnHighlight, cl3DDkShadow, 1);
    c->Frame3D(r, cl3DLight, clBtnShadow, 1);
  }
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  c->SetFont(Font());
  c->Font()->SetColor(Enabled() ? clBtnText : clGrayText);
  c->Brush()->SetStyle(bsClear);
  int32_t tw = c->TextWidth(Caption()), th = c->TextHeight(Caption());
  int32_t shift = FDown ? 1 : 0;
  TRect client = ClientRect();
  c->TextOut((client.Width() - tw) / 2 + shift, (client.Height() - th) / 2 + shift, Caption());
  if (Focused()) {
    c->Brush()->SetStyle(bsSolid);
    c->DrawFocusRect(client.Inflate(-4, -4));
  }
}

}  // namespace bw
