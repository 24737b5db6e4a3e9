#include <functional>
#include <memory>

#include "ControlsFixture.h"
#include "platform/controls/TButton.h"
#include "platform/controls/TScreen.h"

namespace bw::test {

class ApplicationTest : public ControlsTest {};

TEST_F(ApplicationTest, AFailingHandlerIsReportedAndTheLoopGoesOn) {
  TForm* form = NewForm();
  auto* button = new TButton(form);
  button->SetParent(form);
  int32_t clicks = 0;
  button->OnClick = TNotifyEvent([&](TObject*) {
    if (++clicks == 1) throw EInvalidOperation("first click fails");
  });
  std::vector<std::string> reported;
  TObject* reportedSender = nullptr;
  Application->OnException = TExceptionEvent([&](TObject* Sender, const Exception& E) {
    reported.push_back(E.Message());
    reportedSender = Sender;
  });
  THeadlessInput::Click(button);
  THeadlessInput::Click(button);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(reported, std::vector<std::string>{"first click fails"});
  EXPECT_EQ(reportedSender, button);
  EXPECT_FALSE(button->MouseCapture()) << "the release still came through";
}

TEST_F(ApplicationTest, WithoutOnExceptionTheMessageGoesToStandardError) {
  TForm* form = NewForm();
  form->OnPaint = TNotifyEvent([](TObject*) { throw std::runtime_error("paint broke"); });
  testing::internal::CaptureStderr();
  form->Repaint();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("paint broke"), std::string::npos);
  form->OnPaint.Clear();
  EXPECT_FALSE(form->NeedsPaint()) << "a failed paint does not stay marked for ever";
}

TEST_F(ApplicationTest, RunEndsWhenTheMainFormCloses) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  EXPECT_EQ(Application->MainForm(), main);
  main->OnShow = TNotifyEvent([&](TObject*) { Headless().UserClose(main->Surface()); });
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(ApplicationTest, CloseAsksFirstAndThenHidesOrFrees) {
  NewForm();  // the main form
  TForm* other = NewForm();
  bool allow = false;
  other->OnCloseQuery = TCloseQueryEvent([&](TObject*, bool& CanClose) { CanClose = allow; });
  other->Close();
  EXPECT_TRUE(other->Visible());
  allow = true;
  other->Close();
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(Application->Terminated());

  other->Show();
  other->OnClose = TCloseEvent([](TObject*, TCloseAction& Action) { Action = caFree; });
  int32_t forms = Screen->FormCount();
  other->Close();
  EXPECT_EQ(Screen->FormCount(), forms) << "freed only once the messages are done";
  Application->ProcessMessages();
  EXPECT_EQ(Screen->FormCount(), forms - 1);
  EXPECT_TRUE(Screen->Forms(0)->Active()) << "the remaining form takes over";
}

TEST_F(ApplicationTest, UserClosingAFormClosesIt) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->Show();
  TForm* other = NewForm();
  Headless().UserClose(other->Surface());
  Application->ProcessMessages();
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(Application->Terminated());
  Headless().UserClose(main->Surface());
  Application->ProcessMessages();
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(ApplicationTest, ShowModalRunsUntilAButtonSetsTheResult) {
  NewForm();
  TForm* dialog = new TForm(Application);
  dialog->SetBounds(300, 300, 200, 100);
  auto* ok = new TButton(dialog);
  ok->SetParent(dialog);
  ok->SetBounds(10, 10, 75, 25);
  ok->SetModalResult(mrOk);
  ok->SetDefault(true);
  Headless().Key(VK_RETURN);  // arrives once the dialog is up and active
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(dialog->Visible());
  EXPECT_THROW(
      {
        dialog->Show();
        dialog->ShowModal();
      },
      EInvalidOperation);
}

TEST_F(ApplicationTest, AModalFormMayBeReleasedOrFreedByItsOwnHandlers) {
  TForm* main = NewForm();
  const int32_t forms = Screen->FormCount();
  auto modal = [&](std::function<void(TForm*)> OnClick) {
    TForm* dialog = new TForm(Application);
    dialog->SetBounds(500, 400, 200, 100);
    dialog->OnClick = TNotifyEvent([OnClick](TObject* S) { OnClick(static_cast<TForm*>(S)); });
    dialog->OnActivate = TNotifyEvent([&](TObject*) { Headless().Click(TPoint{550, 450}); });
    return dialog->ShowModal();
  };
  // Released: the loop ends and the form goes once ShowModal is done with it.
  EXPECT_EQ(modal([](TForm* F) { F->Release(); }), mrCancel);
  EXPECT_EQ(Screen->FormCount(), forms);
  EXPECT_TRUE(main->Active());
  EXPECT_EQ(modal([](TForm* F) {
              F->SetModalResult(mrOk);
              F->Release();
            }),
            mrOk);
  Application->ProcessMessages();
  EXPECT_EQ(Screen->FormCount(), forms);
  // Freed outright inside the loop.
  EXPECT_EQ(modal([](TForm* F) { delete F; }), mrCancel);
  EXPECT_EQ(Screen->FormCount(), forms);
  EXPECT_TRUE(main->Active());
  THeadlessInput::Click(main, TPoint{50, 50});  // the modal state is over
}

TEST_F(ApplicationTest, WhileAFormIsModalOtherFormsGetNoInput) {
  TForm* main = NewForm();
  int32_t mainClicks = 0;
  main->OnClick = TNotifyEvent([&](TObject*) { ++mainClicks; });
  TForm* dialog = new TForm(Application);
  dialog->SetBounds(500, 400, 200, 100);
  dialog->OnClick =
      TNotifyEvent([](TObject* Sender) { static_cast<TForm*>(Sender)->SetModalResult(mrYes); });
  dialog->OnActivate = TNotifyEvent([&](TObject*) {
    Headless().Click(TPoint{150, 150});     // on the main form: dropped
    Headless().UserClose(main->Surface());  // dropped as well
    Headless().Click(TPoint{550, 450});     // on the dialog
  });
  EXPECT_EQ(dialog->ShowModal(), mrYes);
  EXPECT_EQ(mainClicks, 0);
  EXPECT_FALSE(Application->Terminated());
  THeadlessInput::Click(main, TPoint{50, 50});
  EXPECT_EQ(mainClicks, 1) << "input flows again once the dialog is gone";
}

TEST_F(ApplicationTest, AFailingHandlerWhileAWindowIsFreedIsReported) {
  struct TStubborn : TProbe {
    using TProbe::TProbe;
    void WMKillFocus(TMessage&) override { throw EInvalidOperation("cannot let go"); }
  };
  std::vector<std::string> reported;
  Application->OnException =
      TExceptionEvent([&](TObject*, const Exception& E) { reported.push_back(E.Message()); });
  TForm* other = NewForm();
  TForm* form = NewForm();
  auto* p = new TStubborn(form, nullptr, "p");
  p->SetParent(form);
  p->SetTabStop(true);
  p->SetFocus();
  p->RecreateWnd();  // the window goes while the control stays whole
  ASSERT_EQ(reported.size(), 1u);
  EXPECT_EQ(reported.front(), "cannot let go");
  EXPECT_TRUE(p->HandleAllocated()) << "the re-creation still finished";
  delete form;  // the focused control is still whole while its form goes
  EXPECT_EQ(reported.size(), 2u);
  EXPECT_TRUE(other->Active());
}

TEST_F(ApplicationTest, PostedMessagesWaitForTheLoop) {
  std::vector<std::string> log;
  TForm* form = NewForm();
  auto* p = new TProbe(form, &log, "p");
  p->SetParent(form);
  p->SetTabStop(true);
  Application->ProcessMessages();
  log.clear();
  PostMessage(p->Handle(), WM_CHAR, 'x', 0);
  EXPECT_TRUE(log.empty());
  Application->ProcessMessages();
  EXPECT_EQ(log, std::vector<std::string>{"p:char(120)"});
  HWND gone = p->Handle();
  PostMessage(gone, WM_CHAR, 'y', 0);
  delete p;
  Application->ProcessMessages();  // a message for a dead window is dropped
  EXPECT_FALSE(PostMessage(gone, WM_CHAR, 'z', 0));
}

// A back end with a real source of events, whose waits are only counted.
class TCountingWaits : public THeadlessBackend {
 public:
  bool CanWaitForEvents() const override { return true; }
  void WaitEvent(int32_t TimeoutMs) override { Waits.push_back(TimeoutMs); }
  std::vector<int32_t> Waits;
};

// The loop sleeps until input comes once nothing is left to do, and never over work the
// idle handler left: a posted message or a Terminate would otherwise wait for input.
TEST_F(ApplicationTest, TheLoopSleepsOnlyWhenNothingIsLeftToDo) {
  auto owned = std::make_unique<TCountingWaits>();
  TCountingWaits* backend = owned.get();
  SetBackend(std::move(owned));
  TForm* form = NewForm();
  int32_t idles = 0;
  Application->OnIdle = TNotifyEvent([&](TObject*) {
    if (++idles == 1) PostMessage(form->Handle(), WM_USER, 0, 0);
  });
  EXPECT_TRUE(Application->HandleMessage());
  EXPECT_TRUE(backend->Waits.empty()) << "a message was posted while idling";
  EXPECT_TRUE(Application->HandleMessage());  // the posted message
  EXPECT_TRUE(Application->HandleMessage());
  EXPECT_EQ(backend->Waits, std::vector<int32_t>{kWaitWithoutLimit});

  Application->OnIdle = TNotifyEvent([](TObject*) { Application->Terminate(); });
  EXPECT_TRUE(Application->HandleMessage());
  EXPECT_EQ(backend->Waits.size(), 1u) << "the idle handler ended the program";
  EXPECT_EQ(idles, 2);
}

}  // namespace bw::test
