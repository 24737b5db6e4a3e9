#include "ControlsFixture.h"
#include "platform/controls/TScreen.h"
#include "platform/core/Exception.h"

namespace bw::test {

namespace {

/// A control whose creation parameters are counted and can be changed before re-creation.
class TStyled : public TProbe {
  BW_CLASS(TStyled, TProbe)

 public:
  using TProbe::TProbe;
  uint32_t ExtraStyle = 0;
  int32_t ParamsAsked = 0;
  int32_t Sizes = 0;

 protected:
  void CreateParams(TCreateParams& P) override {
    inherited::CreateParams(P);
    ++ParamsAsked;
    P.Style |= ExtraStyle;
  }
  void WMSize(TMessage& M) override {
    ++Sizes;
    inherited::WMSize(M);
  }
};

}  // namespace

class WindowTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = NewForm();
    styled = new TStyled(form, &log, "s");
    styled->SetParent(form);
    styled->SetBounds(10, 10, 80, 30);
    styled->SetTabStop(true);
    child = new TProbe(form, &log, "child");
    child->SetParent(styled);
    child->SetBounds(2, 2, 10, 10);
    Application->ProcessMessages();
  }
  std::vector<std::string> log;
  TForm* form = nullptr;
  TStyled* styled = nullptr;
  TProbe* child = nullptr;
};

TEST_F(WindowTest, HandlesAreMadeWhenShownAndNewOnRecreation) {
  ASSERT_TRUE(styled->HandleAllocated());
  HWND before = styled->Handle();
  HWND childBefore = child->Handle();
  EXPECT_EQ(FindControl(before), styled);
  styled->SetText("kept");
  styled->ExtraStyle = WS_BORDER;
  int32_t asked = styled->ParamsAsked;
  styled->RecreateWnd();
  EXPECT_TRUE(styled->HandleAllocated());
  EXPECT_NE(styled->Handle(), before);
  EXPECT_NE(child->Handle(), childBefore) << "children are made again too";
  EXPECT_EQ(FindControl(before), nullptr);
  EXPECT_GT(styled->ParamsAsked, asked);
  EXPECT_TRUE(styled->WindowStyle() & WS_BORDER);
  EXPECT_EQ(styled->ClientWidth(), 78);
  EXPECT_EQ(styled->Text(), "kept");
}

TEST_F(WindowTest, RecreationKeepsTheFocusAndSendsItAgain) {
  styled->SetFocus();
  log.clear();
  styled->RecreateWnd();
  EXPECT_TRUE(styled->Focused());
  EXPECT_EQ(log, (std::vector<std::string>{"s:killfocus", "s:createwnd", "child:createwnd",
                                           "s:setfocus"}));
}

TEST_F(WindowTest, ANewWindowLearnsItsSize) {
  auto* late = new TStyled(form, &log, "late");
  late->SetBounds(0, 0, 20, 20);
  EXPECT_FALSE(late->HandleAllocated());
  late->SetParent(form);
  EXPECT_TRUE(late->HandleAllocated());
  EXPECT_EQ(late->Sizes, 1);
  late->SetWidth(30);
  EXPECT_EQ(late->Sizes, 2);
  late->SetLeft(5);
  EXPECT_EQ(late->Sizes, 2) << "a move is not a resize";
}

TEST_F(WindowTest, HiddenFormHasNoHandlesForItsChildrenYet) {
  TForm* hidden = new TForm(Application);
  auto* p = new TProbe(hidden, &log, "p");
  p->SetParent(hidden);
  EXPECT_FALSE(p->HandleAllocated());
  hidden->Show();
  EXPECT_TRUE(p->HandleAllocated());
  EXPECT_TRUE(Headless().WindowVisible(hidden->Surface()));
  hidden->Hide();
  EXPECT_FALSE(Headless().WindowVisible(hidden->Surface()));
  EXPECT_TRUE(form->Active()) << "the other form takes over";
}

TEST_F(WindowTest, CaretIsDrawnInvertedAtItsPlaceWhileShown) {
  styled->SetFocus();
  HWND h = styled->Handle();
  ASSERT_TRUE(CreateCaret(h, nullptr, 2, 10));
  SetCaretPos(5, 3);
  Application->ProcessMessages();
  TWindowId s = form->Surface();
  // The probe is white at (10, 10) on the form: the caret turns it black.
  EXPECT_EQ(Headless().WindowPixel(s, 15, 13), ColorToPixel(clWhite)) << "new carets are hidden";
  ShowCaret(h);
  Application->ProcessMessages();
  EXPECT_EQ(Headless().WindowPixel(s, 15, 13), 0u);
  EXPECT_EQ(Headless().WindowPixel(s, 16, 22), 0u);
  EXPECT_EQ(Headless().WindowPixel(s, 17, 13), ColorToPixel(clWhite));
  EXPECT_EQ(Headless().WindowPixel(s, 15, 23), ColorToPixel(clWhite));
  TCaretInfo info = GetCaretInfo();
  EXPECT_EQ(info.Owner, h);
  EXPECT_TRUE(info.Visible);

  HideCaret(h);
  HideCaret(h);
  ShowCaret(h);
  EXPECT_FALSE(GetCaretInfo().Visible) << "hides and shows pair up";
  ShowCaret(h);
  SetCaretPos(20, 3);
  Application->ProcessMessages();
  EXPECT_EQ(Headless().WindowPixel(s, 15, 13), ColorToPixel(clWhite)) << "the old place heals";
  EXPECT_EQ(Headless().WindowPixel(s, 30, 13), 0u);

  DestroyCaret();
  Application->ProcessMessages();
  EXPECT_EQ(Headless().WindowPixel(s, 30, 13), ColorToPixel(clWhite));
  EXPECT_FALSE(ShowCaret(h));
}

TEST_F(WindowTest, CaretGoesWithItsWindow) {
  CreateCaret(styled->Handle(), nullptr, 1, 5);
  ShowCaret(styled->Handle());
  styled->RecreateWnd();
  EXPECT_EQ(GetCaretInfo().Owner, 0u);
}

TEST_F(WindowTest, ScreenSizeComesFromTheBackEnd) {
  EXPECT_EQ(Screen->Width(), 1024);
  EXPECT_EQ(Screen->Height(), 768);
  Headless().SetScreenSize(640, 480);
  EXPECT_EQ(Screen->Height(), 480);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
  EXPECT_EQ(GetSystemMetrics(SM_CYBORDER), 1);
}

TEST_F(WindowTest, ClientToScreenFollowsTheParents) {
  EXPECT_EQ(child->ClientToScreen(TPoint{1, 1}), (TPoint{100 + 10 + 2 + 1, 100 + 10 + 2 + 1}));
  EXPECT_EQ(child->ScreenToClient(TPoint{113, 113}), (TPoint{1, 1}));
}

TEST_F(WindowTest, ParentFontAndColorFlowDownUntilSetOwn) {
  form->Font()->SetSize(14);
  EXPECT_EQ(styled->Font()->Size(), 14);
  EXPECT_EQ(child->Font()->Size(), 14);
  styled->Font()->SetSize(9);
  EXPECT_FALSE(styled->ParentFont());
  form->Font()->SetSize(20);
  EXPECT_EQ(styled->Font()->Size(), 9);
  EXPECT_EQ(child->Font()->Size(), 9) << "the child follows its own parent";
  child->SetParentColor(true);
  EXPECT_EQ(child->Color(), styled->Color());
  styled->SetColor(clYellow);
  EXPECT_EQ(child->Color(), clYellow);
}

TEST_F(WindowTest, Ctl3DFollowsTheParentUntilSetOwn) {
  EXPECT_TRUE(child->Ctl3D());
  styled->SetCtl3D(false);
  EXPECT_FALSE(child->Ctl3D());
  child->SetCtl3D(true);
  EXPECT_FALSE(child->ParentCtl3D());
  styled->SetCtl3D(true);
  styled->SetCtl3D(false);
  EXPECT_TRUE(child->Ctl3D());
}

TEST_F(WindowTest, TimersSendWmTimerAsTheClockMoves) {
  struct TTicker : TProbe {
    using TProbe::TProbe;
    int32_t Ticks = 0;
    void Dispatch(TMessage& M) override {
      if (M.Msg == WM_TIMER && M.WParam == 7) ++Ticks;
      TProbe::Dispatch(M);
    }
  };
  auto* t = new TTicker(form, &log, "t");
  t->SetParent(form);
  SetTimer(t->Handle(), 7, 100);
  Headless().AdvanceTime(350);
  Application->ProcessMessages();
  EXPECT_EQ(t->Ticks, 3);
  KillTimer(t->Handle(), 7);
  Headless().AdvanceTime(500);
  Application->ProcessMessages();
  EXPECT_EQ(t->Ticks, 3);
}

}  // namespace bw::test

namespace bw::test {

TEST_F(WindowTest, RecreatingAFormGivesItANewSurfaceInTheSamePlace) {
  TWindowId before = form->Surface();
  form->RecreateWnd();
  EXPECT_NE(form->Surface(), before);
  EXPECT_FALSE(Headless().WindowExists(before));
  EXPECT_TRUE(Headless().WindowVisible(form->Surface()));
  EXPECT_EQ(Headless().WindowBounds(form->Surface()), form->BoundsRect());
  EXPECT_TRUE(styled->HandleAllocated());
  Application->ProcessMessages();
  EXPECT_EQ(Headless().WindowPixel(form->Surface(), 15, 15), ColorToPixel(clWhite));
}

TEST_F(WindowTest, TheUserResizingAFormRealignsItsChildren) {
  auto* fill = new TProbe(form, &log, "fill");
  fill->SetAlign(alClient);
  fill->SetParent(form);
  Headless().UserResize(form->Surface(), 500, 400);
  Application->ProcessMessages();
  EXPECT_EQ(form->Width(), 500);
  EXPECT_EQ(fill->BoundsRect(), Rect(0, 0, 500, 400));
  EXPECT_EQ(Headless().WindowPixel(form->Surface(), 499, 399), ColorToPixel(clWhite));
}

TEST_F(WindowTest, SetWindowPosOrdersChildWindows) {
  auto* front = new TProbe(form, &log, "front");
  front->SetParent(form);
  front->SetBounds(10, 10, 80, 30);
  front->PaintColor = clRed;
  Application->ProcessMessages();
  EXPECT_EQ(Headless().WindowPixel(form->Surface(), 50, 20), ColorToPixel(clRed));
  SetWindowPos(styled->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Application->ProcessMessages();
  EXPECT_EQ(Headless().WindowPixel(form->Surface(), 50, 20), ColorToPixel(clWhite));
}

TEST_F(WindowTest, ShowWindowWithoutActivationKeepsTheActiveForm) {
  TForm* other = new TForm(Application);
  other->SetBounds(500, 100, 100, 100);
  HWND h = other->Handle();
  ShowWindow(h, SW_SHOWNA);
  EXPECT_TRUE(other->Visible());
  EXPECT_TRUE(form->Active());
  EXPECT_FALSE(other->Active());
  ShowWindow(h, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(WindowTest, ActiveControlMustBeAFocusableControlOfTheForm) {
  TForm* other = NewForm();
  auto* foreign = new TProbe(other, &log, "foreign");
  foreign->SetParent(other);
  EXPECT_THROW(form->SetActiveControl(foreign), EInvalidOperation);
  styled->SetVisible(false);
  EXPECT_THROW(form->SetActiveControl(styled), EInvalidOperation);
  EXPECT_EQ(form->ActiveControl(), nullptr);
}

TEST_F(WindowTest, AFailingOnEnterIsReportedAndTheFocusStillMoves) {
  std::vector<std::string> reported;
  Application->OnException =
      TExceptionEvent([&](TObject*, const Exception& E) { reported.push_back(E.Message()); });
  styled->OnEnter = TNotifyEvent([](TObject*) { throw EInvalidOperation("enter failed"); });
  styled->SetFocus();
  EXPECT_EQ(reported, std::vector<std::string>{"enter failed"});
  EXPECT_TRUE(styled->Focused());
}

}  // namespace bw::test
