#pragma once
// A form: a top-level window that keeps its active control, tracks which of its controls
// has the focus (sending CM_EXIT and CM_ENTER along the way), offers dialog keys (Tab and
// the arrows move the focus; Enter and Escape reach the default and cancel buttons), can
// preview its controls' keys, and closes through OnCloseQuery and OnClose.
//
// A form's bounds are its surface's bounds on the screen; the back end draws any frame
// and caption bar around it.

#include <memory>

#include "platform/controls/TCustomControl.h"
#include "platform/graphics/TBitmap.h"

namespace bw {

enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };

using TModalResult = int32_t;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TCustomControl {
  BW_CLASS(TCustomForm, TCustomControl)

 public:
  /// A new form is hidden, 320x240 at (100, 100), in clBtnFace.
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  /// Makes the form visible, on top and active.
  void Show();
  void Hide() { SetVisible(false); }
  /// Asks OnCloseQuery, then OnClose decides: hide (the default), free, or nothing. The
  /// main form's close ends the application. A modal form just gets mrCancel.
  void Close();
  /// Frees the form once the messages being handled are done; a modal form ends its
  /// ShowModal (with mrCancel unless a result was set) and goes when that returns.
  void Release();
  /// Shows the form and runs messages until ModalResult is set; returns it. A handler
  /// that frees the form ends the loop with mrCancel.
  TModalResult ShowModal();
  bool CloseQuery();

  /// The form's pixels as they stand now. What waits to be painted is painted first, so a
  /// snapshot taken straight after building or changing the form shows the change, with
  /// no turn of the message loop needed. Works on every back end; EInvalidOperation when
  /// the form is not shown.
  std::unique_ptr<TBitmap> Snapshot();
  /// Snapshot() written as a PNG file, atomically.
  void SaveSnapshotPng(const String& FileName);

  /// True while the form is the active window.
  bool Active() const { return FActive; }
  /// The control that has (or gets, when the form is activated) the focus.
  TWinControl* ActiveControl() const { return FActiveControl; }
  /// EInvalidOperation for a control that is not on this form or cannot take the focus.
  void SetActiveControl(TWinControl* Control);
  /// Makes Control the active control and activates the form when it was not active.
  void FocusControl(TWinControl* Control);
  /// Called when a control of the form receives the focus: CM_EXIT goes to the controls
  /// the focus leaves and CM_ENTER to those it enters. False when a handler moved the
  /// focus elsewhere meanwhile.
  bool SetFocusedControl(TWinControl* Control);
  /// A control is hidden, disabled or removed: the form forgets it as active control.
  void DefocusControl(TWinControl* Control, bool Removing);
  /// Sends CM_CANCELMODE naming Sender to the active control, while the form is active.
  void SendCancelMode(TControl* Sender);
  void SetFocus() override;
  bool CanFocus() const override { return Visible() && Enabled(); }
  /// While the form is read from a form file, showing waits until it is loaded.
  void SetVisible(bool Value) override;
  void Loaded() override;
  TColor DefaultColor() const override { return clBtnFace; }
  bool DefaultVisible() const override { return false; }

  /// Default false: when true the form's key events see its controls' keys first.
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Modal() const { return FModal; }
  /// Default poDesigned; poScreenCenter centres the form on the screen when it is shown.
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  /// Default bsSizeable. Kept for form files; the back end draws the frame it likes.
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }
  /// Default true. Kept for form files; forms are not rescaled.
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  bool PreviewsKeys() const override { return FKeyPreview; }
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  void SetWindowFocus();
  void SetActive(bool Value);

  void Dispatch(TMessage& Message) override;
  void CMShowingChanged(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  virtual void WMActivate(TMessage& Message);
  virtual void WMClose(TMessage& Message);
  virtual void CMRelease(TMessage& Message);
  void CMTextChanged(TMessage& Message) override;

 private:
  bool SendFocusMessage(HWND Wnd, uint32_t Msg);

  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  bool FActive = false;
  bool FKeyPreview = false;
  bool FModal = false;
  bool FReleaseAfterModal = false;  // released while modal: freed once ShowModal ends
  bool FShowWhenLoaded = false;
  bool FScaled = true;
  TPosition FPosition = poDesigned;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TModalResult FModalResult = mrNone;
};

}  // namespace bw
