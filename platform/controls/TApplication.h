#pragma once
// The application: it owns the forms it creates, runs the message loop (back-end events
// and posted messages, then painting), and reports failures in event handlers through
// OnException, or on standard error, so that the loop goes on.

#include <exception>

#include "platform/core/Exception.h"
#include "platform/core/TComponent.h"
#include "platform/core/TEvent.h"

namespace bw {

class TCustomForm;

using TExceptionEvent = TEvent<void(TObject* Sender, const Exception& E)>;

class TApplication : public TComponent {
  BW_CLASS(TApplication, TComponent)

 public:
  explicit TApplication(TComponent* AOwner) : TComponent(AOwner) {}

  /// Creates a form owned by the application; the first one becomes the main form.
  template <class TFormClass>
  void CreateForm(TFormClass*& Reference) {
    Reference = new TFormClass(this);
    if (!FMainForm) FMainForm = Reference;
  }
  TCustomForm* MainForm() const { return FMainForm; }

  /// Shows the main form and handles messages until Terminate (closing the main form
  /// terminates). With a scripted back end it returns once the script is used up.
  void Run();
  /// Handles every waiting message, then paints what needs it.
  void ProcessMessages();
  /// Handles one waiting message, or paints and waits when none is waiting. False when
  /// there was nothing to do and the back end cannot produce more.
  bool HandleMessage();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }

  /// Reports the exception being handled (call it inside a catch block): OnException
  /// when assigned, else ShowException.
  void HandleException(TObject* Sender);
  /// Writes the exception's message to standard error.
  void ShowException(const Exception& E);

  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }

  /// Frees every form and window and starts again on a fresh back end (tests use it
  /// between cases).
  void Reset();

  TExceptionEvent OnException;
  TNotifyEvent OnIdle;

 private:
  friend class TCustomForm;
  void FormDestroying(TCustomForm* Form);
  /// One waiting message or back-end event; false when none was waiting.
  bool ProcessMessage();
  /// Paints every top-level window that needs it.
  void PaintWindows();

  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  String FTitle;
};

/// The program's application object; it lives as long as the program.
extern TApplication* Application;

}  // namespace bw
