#include "ControlsFixture.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/controls/TButton.h"
#include "platform/graphics/TBitmap.h"

namespace bw::test {

class TButtonTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form = NewForm();
    button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(20, 20, 80, 30);
    button->SetCaption("Go");
    button->OnClick = TNotifyEvent([this](TObject*) { ++clicks; });
    Application->ProcessMessages();
  }
  TForm* form = nullptr;
  TButton* button = nullptr;
  int32_t clicks = 0;
};

TEST_F(TButtonTest, PressingTakesTheFocusAndDrawsItDown) {
  THeadlessInput::MouseDown(button, TPoint{10, 10});
  EXPECT_TRUE(button->Focused());
  EXPECT_TRUE(button->IsDown());
  // Pressed look: the face moves; its top-left highlight gives way to a shadow frame.
  EXPECT_EQ(Headless().WindowPixel(form->Surface(), 21, 21), ColorToPixel(clBtnShadow));
  THeadlessInput::MouseUp(button, TPoint{10, 10});
  EXPECT_FALSE(button->IsDown());
  EXPECT_EQ(clicks, 1);
}

TEST_F(TButtonTest, DraggingOffAndReleasingOutsideCancelsTheClick) {
  THeadlessInput::MouseDown(button, TPoint{10, 10});
  THeadlessInput::MouseMove(button, TPoint{200, 10});
  EXPECT_FALSE(button->IsDown());
  THeadlessInput::MouseMove(button, TPoint{10, 10});
  EXPECT_TRUE(button->IsDown()) << "back over the button it is down again";
  THeadlessInput::MouseMove(button, TPoint{200, 10});
  THeadlessInput::MouseUp(button, TPoint{200, 10});
  EXPECT_EQ(clicks, 0);
}

TEST_F(TButtonTest, AQuickSecondPressIsASecondClick) {
  THeadlessInput::DoubleClick(button, TPoint{10, 10});
  EXPECT_EQ(clicks, 2);
}

TEST_F(TButtonTest, ClickSetsTheFormsModalResultEvenToNone) {
  form->SetModalResult(mrOk);
  THeadlessInput::Click(button);
  EXPECT_EQ(form->ModalResult(), mrNone);
  button->SetModalResult(mrRetry);
  THeadlessInput::Click(button);
  EXPECT_EQ(form->ModalResult(), mrRetry);
}

TEST_F(TButtonTest, DisabledButtonIsGreyAndDeaf) {
  button->SetEnabled(false);
  THeadlessInput::Click(button);
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(button->Focused());
  auto snap = Headless().SnapshotWindow(form->Surface());
  // Inside the frame only the face and the grey caption (anti-aliased) appear.
  bool drawn = false, dark = false;
  for (int32_t y = 24; y < 46; ++y)
    for (int32_t x = 26; x < 94; ++x) {
      uint32_t p = snap->ScanLine(y)[x];
      drawn = drawn || p != ColorToPixel(clBtnFace);
      dark = dark || (p & 0xFF) < 0x70;
    }
  EXPECT_TRUE(drawn);
  EXPECT_FALSE(dark) << "the caption is grey, not black";
}

TEST_F(TButtonTest, CancelModeLetsThePressedButtonUp) {
  THeadlessInput::MouseDown(button, TPoint{10, 10});
  SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(button->IsDown());
  THeadlessInput::MouseUp(button, TPoint{10, 10});
  EXPECT_EQ(clicks, 0) << "the capture is gone, and with it the press";
}

TEST_F(TButtonTest, AButtonMayFreeItselfInItsOwnClick) {
  // Clicked by the mouse and by the space bar; the mouse-up event must not reach it after.
  bool released = false;
  button->OnMouseUp =
      TMouseEvent([&](TObject*, TMouseButton, TShiftState, int32_t, int32_t) { released = true; });
  button->OnClick = TNotifyEvent([this](TObject*) { delete button; });
  THeadlessInput::Click(button);
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_FALSE(released);

  button = new TButton(form);
  button->SetParent(form);
  button->OnClick = TNotifyEvent([this](TObject*) { delete button; });
  button->SetFocus();
  THeadlessInput::Key(VK_SPACE);
  EXPECT_EQ(form->ControlCount(), 0);
  THeadlessInput::Key(VK_TAB);
  Application->ProcessMessages();
}

TEST_F(TButtonTest, AButtonMayFreeItselfWhenPressingFocusesIt) {
  button->OnEnter = TNotifyEvent([this](TObject*) { delete button; });
  THeadlessInput::Click(button);
  EXPECT_EQ(form->ControlCount(), 0);
  THeadlessInput::Key(VK_SPACE);
}

}  // namespace bw::test
