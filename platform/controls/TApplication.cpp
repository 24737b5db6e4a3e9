#include "platform/controls/TApplication.h"

#include <cstdio>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TCustomForm.h"
#include "platform/controls/TInputRouter.h"
#include "platform/controls/TScreen.h"
#include "platform/controls/TWindowManager.h"

namespace bw {

TApplication* Application = new TApplication(nullptr);

void TApplication::Run() {
  if (FMainForm) FMainForm->Show();
  while (!FTerminated)
    if (!HandleMessage()) break;
}

bool TApplication::ProcessMessage() {
  TWindowManager& wm = TWindowManager::Get();
  if (!wm.Posted.empty()) {
    TWindowManager::TPosted posted = wm.Posted.front();
    wm.Posted.pop_front();
    if (TWinControl* c = wm.Find(posted.Wnd)) c->MainWndProc(posted.Message);
    return true;
  }
  TBackendEvent event;
  if (!Backend().PollEvent(event)) return false;
  try {
    TInputRouter::HandleEvent(event);
  } catch (...) {
    HandleException(this);
  }
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
  PaintWindows();
}

bool TApplication::HandleMessage() {
  if (ProcessMessage()) return true;
  // Idle work first, so that what it changes is painted before the loop sleeps.
  if (OnIdle) {
    try {
      OnIdle(this);
    } catch (...) {
      HandleException(this);
    }
  }
  PaintWindows();
  if (!Backend().CanWaitForEvents()) return ProcessMessage();
  // Nothing but input or a timer ends the wait: a message posted while idling or
  // painting, or a Terminate from the idle handler, is seen first.
  if (FTerminated || !TWindowManager::Get().Posted.empty()) return true;
  Backend().WaitEvent(kWaitWithoutLimit);
  return true;
}

void TApplication::PaintWindows() {
  // Painting can mark more to paint (a Paint that resizes a child); a few rounds settle it.
  // Windows are looked up by handle each time, since a Paint may free one.
  TWindowManager& wm = TWindowManager::Get();
  for (int round = 0; round < 4; ++round) {
    std::vector<HWND> handles;
    for (TWinControl* w : wm.TopLevels())
      if (w->HandleAllocated()) handles.push_back(w->Handle());
    bool any = false;
    for (HWND h : handles) {
      TWinControl* w = wm.Find(h);
      if (!w) continue;
      bool needs = w->NeedsPaint();
      w->PaintTopLevel();
      any = any || needs;
    }
    if (!any) break;
  }
}

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const Exception& e) {
    if (OnException)
      OnException(Sender, e);
    else
      ShowException(e);
  } catch (const std::exception& e) {
    Exception wrapped(e.what());
    if (OnException)
      OnException(Sender, wrapped);
    else
      ShowException(wrapped);
  } catch (...) {
    Exception wrapped("Unknown error");
    if (OnException)
      OnException(Sender, wrapped);
    else
      ShowException(wrapped);
  }
}

void TApplication::ShowException(const Exception& E) {
  std::fprintf(stderr, "%s\n", E.Message().c_str());
}

void TApplication::FormDestroying(TCustomForm* Form) {
  if (FMainForm == Form) FMainForm = nullptr;
}

void TApplication::Reset() {
  DestroyComponents();
  while (Screen && Screen->FormCount() > 0)
    delete Screen->Forms(Screen->FormCount() - 1);
  FMainForm = nullptr;
  FTerminated = false;
  OnException.Clear();
  OnIdle.Clear();
  TWindowManager::Get().Reset();
  SetBackend(std::make_unique<THeadlessBackend>());
}

}  // namespace bw
