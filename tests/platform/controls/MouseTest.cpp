#include <functional>

#include "ControlsFixture.h"
#include "platform/controls/TGraphicControl.h"

namespace bw::test {

namespace {

/// A graphic control that logs presses and clicks.
class TGraphicProbe : public TGraphicControl {
  BW_CLASS(TGraphicProbe, TGraphicControl)

 public:
  TGraphicProbe(TComponent* AOwner, std::vector<std::string>* Log)
      : TGraphicControl(AOwner), FLog(Log) {}

 protected:
  void MouseDown(TMouseButton, TShiftState, int32_t X, int32_t Y) override {
    FLog->push_back("g:down(" + std::to_string(X) + "," + std::to_string(Y) + ")");
  }
  void Click() override { FLog->push_back("g:click"); }

 private:
  std::vector<std::string>* FLog;
};

/// A pop-up window that refuses activation by the mouse, as drop-down lists do.
class TPopupProbe : public TProbe {
  BW_CLASS(TPopupProbe, TProbe)

 public:
  using TProbe::TProbe;
  /// When true a click activates the pop-up, as a palette window may.
  bool TakesActivation = false;

 protected:
  void CreateParams(TCreateParams& Params) override {
    inherited::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOOLWINDOW;
  }
  void WndProc(TMessage& M) override {
    if (M.Msg == WM_MOUSEACTIVATE && !TakesActivation) {
      M.Result = MA_NOACTIVATE;
      return;
    }
    inherited::WndProc(M);
  }
};

}  // namespace

class MouseTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = NewForm();
    a = new TProbe(form, &log, "a");
    a->SetName("a");
    a->SetParent(form);
    a->SetBounds(10, 10, 50, 20);
    b = new TProbe(form, &log, "b");
    b->SetName("b");
    b->SetParent(form);
    b->SetBounds(100, 10, 50, 20);
    Application->ProcessMessages();
    log.clear();
  }
  // A pop-up child of a shown at (400, 500) without being activated, as drop-downs are.
  TPopupProbe* ShowPopup(bool TakesActivation) {
    auto* popup = new TPopupProbe(form, &log, "pop");
    popup->TakesActivation = TakesActivation;
    popup->SetVisible(false);
    popup->SetParent(a);
    popup->SetBounds(0, 0, 80, 60);
    SetWindowPos(popup->Handle(), HWND_TOP, 400, 500, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Application->ProcessMessages();
    return popup;
  }
  std::vector<std::string> Without(const std::string& What) const {
    std::vector<std::string> out;
    for (auto& s : log)
      if (s.find(What) == std::string::npos) out.push_back(s);
    return out;
  }
  std::vector<std::string> log;
  TForm* form = nullptr;
  TProbe* a = nullptr;
  TProbe* b = nullptr;
};

TEST_F(MouseTest, ClickThenDoubleClickSequence) {
  THeadlessInput::DoubleClick(a, TPoint{5, 6});
  EXPECT_EQ(Without("paint"),
            (std::vector<std::string>{"a:down(5,6)", "a:click", "a:up(5,6)", "a:down2(5,6)",
                                      "a:dblclick", "a:up(5,6)"}));
  EXPECT_FALSE(a->ControlState().Contains(csLButtonDown));
}

TEST_F(MouseTest, ReleaseOutsideGivesNoClickAndCaptureKeepsTheMouse) {
  THeadlessInput::MouseDown(a, TPoint{5, 5});
  EXPECT_TRUE(a->MouseCapture());
  EXPECT_TRUE(a->ControlState().Contains(csLButtonDown));
  EXPECT_EQ(GetCapture(), a->Handle());
  THeadlessInput::MouseMove(b, TPoint{1, 1});  // over b, but a holds the mouse
  THeadlessInput::MouseUp(b, TPoint{1, 1});
  EXPECT_EQ(Without("paint"),
            (std::vector<std::string>{"a:down(5,5)", "a:move(91,1)", "a:up(91,1)"}));
  EXPECT_FALSE(a->MouseCapture());
  EXPECT_EQ(GetCapture(), 0u);
}

TEST_F(MouseTest, CancelModeReleasesTheCapture) {
  THeadlessInput::MouseDown(a, TPoint{5, 5});
  SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), 0u);
  log.clear();
  THeadlessInput::MouseMove(b, TPoint{2, 2});
  EXPECT_EQ(Without("paint"), std::vector<std::string>{"b:move(2,2)"});
  SetCapture(b->Handle());
  EXPECT_TRUE(b->MouseCapture());
  ReleaseCapture();
  EXPECT_FALSE(b->MouseCapture());
}

TEST_F(MouseTest, PressTellsTheActiveControlWhoAsksForCancelMode) {
  a->SetTabStop(true);
  a->SetFocus();
  log.clear();
  THeadlessInput::Click(b, TPoint{1, 1});
  EXPECT_EQ(log.front(), "a:cancelmode(b)");
}

TEST_F(MouseTest, GraphicControlsGetTheMouseInTheirOwnCoordinates) {
  auto* g = new TGraphicProbe(form, &log);
  g->SetParent(form);
  g->SetBounds(10, 100, 40, 40);
  THeadlessInput::Click(form, TPoint{15, 110});
  EXPECT_EQ(log, (std::vector<std::string>{"g:down(5,10)", "g:click"}));
  log.clear();
  g->SetEnabled(false);
  THeadlessInput::Click(form, TPoint{15, 110});
  EXPECT_TRUE(log.empty()) << "a disabled control lets the press fall to its parent";
}

TEST_F(MouseTest, CancelModeToTheCaptureWindowReachesTheGraphicControlHoldingIt) {
  auto* g = new TGraphicProbe(form, &log);
  g->SetParent(form);
  g->SetBounds(10, 100, 40, 40);
  THeadlessInput::MouseDown(form, TPoint{15, 110});
  ASSERT_TRUE(g->MouseCapture());
  EXPECT_EQ(GetCapture(), form->Handle());
  SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), 0u);
  EXPECT_FALSE(g->MouseCapture());
}

TEST_F(MouseTest, EnterAndLeaveFollowThePointer) {
  struct THover : TProbe {
    using TProbe::TProbe;
    void Dispatch(TMessage& M) override {
      if (M.Msg == CM_MOUSEENTER) Add("in");
      if (M.Msg == CM_MOUSELEAVE) Add("out");
      TProbe::Dispatch(M);
    }
  };
  auto* h = new THover(form, &log, "h");
  h->SetParent(form);
  h->SetBounds(10, 60, 40, 40);
  THeadlessInput::MouseMove(h, TPoint{5, 5});
  THeadlessInput::MouseMove(h, TPoint{6, 5});
  THeadlessInput::MouseMove(h, TPoint{100, 5});  // onto the form
  THeadlessInput::MouseMove(h, TPoint{5, 5});
  Headless().MouseMove(TPoint{900, 700});  // off every window
  Application->ProcessMessages();
  std::vector<std::string> seen;
  for (auto& s : log)
    if (s == "h:in" || s == "h:out") seen.push_back(s);
  EXPECT_EQ(seen, (std::vector<std::string>{"h:in", "h:out", "h:in", "h:out"}));
}

TEST_F(MouseTest, DisabledWindowGetsNoMouse) {
  a->SetEnabled(false);
  THeadlessInput::Click(a, TPoint{5, 5});
  EXPECT_TRUE(Without("paint").empty());
}

TEST_F(MouseTest, PopupShownWithoutActivationStaysInactiveWhenClicked) {
  a->SetTabStop(true);
  a->SetFocus();
  TPopupProbe* popup = ShowPopup(false);
  popup->SetName("pop");
  EXPECT_TRUE(popup->Visible());
  EXPECT_EQ(Headless().WindowBounds(popup->Surface()), Bounds(400, 500, 80, 60));
  EXPECT_EQ(Headless().WindowStack().back(), popup->Surface());
  EXPECT_TRUE(form->Active());
  EXPECT_TRUE(a->Focused());
  log.clear();
  Headless().Click(TPoint{410, 510});
  Application->ProcessMessages();
  EXPECT_TRUE(form->Active()) << "a click into the pop-up does not activate it";
  EXPECT_TRUE(a->Focused());
  auto seen = Without("paint");
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), "a:cancelmode(pop)");
  EXPECT_NE(std::find(seen.begin(), seen.end(), "pop:click"), seen.end());

  SetWindowPos(popup->Handle(), 0, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  EXPECT_FALSE(popup->Visible());
  EXPECT_FALSE(Headless().WindowVisible(popup->Surface()));
  EXPECT_EQ(popup->Left(), 400) << "hiding does not move it";
}

TEST_F(MouseTest, WheelGoesToTheFocusedControlThenUpToItsParents) {
  struct TWheelProbe : TProbe {
    using TProbe::TProbe;
    int32_t Turned = 0;
    bool Wants = true;
    bool DoMouseWheel(TShiftState, int32_t Delta, TPoint) override {
      Turned += Delta;
      return Wants;
    }
  };
  auto* outer = new TWheelProbe(form, &log, "outer");
  outer->SetParent(form);
  outer->SetBounds(10, 60, 200, 100);
  auto* inner = new TWheelProbe(form, &log, "inner");
  inner->SetParent(outer);
  inner->SetTabStop(true);
  inner->SetFocus();
  THeadlessInput::Wheel(a, TPoint{1, 1}, -120);
  EXPECT_EQ(inner->Turned, -120);
  EXPECT_EQ(outer->Turned, 0);
  inner->Wants = false;
  THeadlessInput::Wheel(a, TPoint{1, 1}, 240);
  EXPECT_EQ(outer->Turned, 240);
}

TEST_F(MouseTest, AControlMayFreeItselfInItsMouseHandlers) {
  using TMouse = TMouseEvent;
  auto fresh = [&] {
    auto* c = new TProbe(form, nullptr, "c");
    c->SetParent(form);
    c->SetBounds(10, 60, 50, 20);
    return c;
  };
  const std::vector<std::function<void(TProbe*)>> handlers{
      [](TProbe* c) {
        c->OnMouseDown = TMouse([c](TObject*, TMouseButton, TShiftState S, int32_t, int32_t) {
          if (S.Contains(ssDouble)) delete c;
        });
      },
      [](TProbe* c) { c->OnDblClick = TNotifyEvent([c](TObject*) { delete c; }); },
      [](TProbe* c) {
        c->OnMouseUp =
            TMouse([c](TObject*, TMouseButton, TShiftState, int32_t, int32_t) { delete c; });
      },
  };
  for (const auto& handler : handlers) {
    TProbe* c = fresh();
    handler(c);
    THeadlessInput::DoubleClick(c, TPoint{5, 5});
    EXPECT_EQ(form->ControlCount(), 2);
  }
  TProbe* c = fresh();
  c->OnMouseMove = TMouseMoveEvent([c](TObject*, TShiftState, int32_t, int32_t) { delete c; });
  THeadlessInput::MouseMove(c, TPoint{5, 5});
  EXPECT_EQ(form->ControlCount(), 2);
}

TEST_F(MouseTest, AControlMayFreeItselfOrTheNextWhenTheMouseEntersOrLeaves) {
  struct THoverProbe : TProbe {
    using TProbe::TProbe;
    std::function<void()> OnEnterMouse, OnLeaveMouse;
    void WndProc(TMessage& M) override {
      if (M.Msg == CM_MOUSEENTER && OnEnterMouse) return OnEnterMouse();
      if (M.Msg == CM_MOUSELEAVE && OnLeaveMouse) return OnLeaveMouse();
      inherited::WndProc(M);
    }
  };
  auto* h = new THoverProbe(form, &log, "h");
  h->SetParent(form);
  h->SetBounds(10, 60, 50, 20);
  h->OnEnterMouse = [h] { delete h; };
  THeadlessInput::MouseMove(h, TPoint{5, 5});
  EXPECT_EQ(form->ControlCount(), 2);

  // The control the mouse leaves frees the one it moves onto.
  h = new THoverProbe(form, &log, "h");
  h->SetParent(form);
  h->SetBounds(10, 60, 50, 20);
  auto* next = new THoverProbe(form, &log, "n");
  next->SetParent(form);
  next->SetBounds(70, 60, 50, 20);
  THeadlessInput::MouseMove(h, TPoint{5, 5});
  h->OnLeaveMouse = [next] { delete next; };
  log.clear();
  THeadlessInput::MouseDown(next, TPoint{5, 5});
  EXPECT_EQ(form->ControlCount(), 3);
  for (const auto& s : log)
    EXPECT_EQ(s.rfind("n:", 0), std::string::npos) << s;
}

TEST_F(MouseTest, APopupThatTookActivationHandsItBackWhenItGoes) {
  TForm* second = NewForm();
  second->SetLeft(600);
  form->Show();  // the first form is the most recently active one
  ASSERT_TRUE(form->Active());
  auto makePopup = [&] {
    TPopupProbe* popup = ShowPopup(true);
    Headless().Click(TPoint{410, 510});
    Application->ProcessMessages();
    EXPECT_FALSE(form->Active());
    EXPECT_FALSE(second->Active());
    return popup;
  };
  TPopupProbe* popup = makePopup();
  popup->SetVisible(false);
  EXPECT_TRUE(form->Active()) << "hidden: the most recently active form takes over";
  EXPECT_FALSE(second->Active());
  popup = makePopup();
  delete popup;
  EXPECT_TRUE(form->Active()) << "freed: the same";
  THeadlessInput::Key('x');
}

}  // namespace bw::test
