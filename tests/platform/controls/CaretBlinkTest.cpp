#include "ControlsFixture.h"
#include "platform/controls/TEdit.h"

namespace bw::test {

namespace {

// The headless screen with a blinking caret, as a real display has.
class TBlinkingScreen : public THeadlessBackend {
 public:
  uint32_t CaretBlinkTime() const override { return 500; }
};

// An edit with the focus on a new form, and what its caret's place shows.
class CaretBlinkTest : public ControlsTest {
 protected:
  void FocusEdit() {
    Form = NewForm();
    Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 150, 21);
    Edit->SetFocus();
    Application->ProcessMessages();
  }
  uint32_t PixelAtCaret() {
    TCaretInfo caret = GetCaretInfo();
    TPoint p = Edit->ClientToScreen(TPoint{caret.Pos.X, caret.Pos.Y + 4});
    return Headless().WindowPixel(Form->Surface(), p.X - Form->Left(), p.Y - Form->Top());
  }
  // After the clock moves on and the program paints.
  uint32_t PixelAtCaretAfter(uint32_t Ms) {
    Headless().AdvanceTime(Ms);
    Application->ProcessMessages();
    return PixelAtCaret();
  }

  static constexpr uint32_t On = 0x000000, Off = 0xFFFFFF;  // inverted white, or white
  TForm* Form = nullptr;
  TEdit* Edit = nullptr;
};

}  // namespace

TEST_F(CaretBlinkTest, TheCaretBlinksOnTheBackEndsClockAndStaysShownWhileTheUserTypes) {
  SetBackend(std::make_unique<TBlinkingScreen>());
  FocusEdit();
  std::vector<uint32_t> shown{PixelAtCaret()};
  for (uint32_t ms : {499u, 1u, 500u, 500u})
    shown.push_back(PixelAtCaretAfter(ms));
  THeadlessInput::Type("a");  // the caret moves: shown at once, the blink starts over
  shown.push_back(PixelAtCaret());
  shown.push_back(PixelAtCaretAfter(499));
  EXPECT_EQ(shown, (std::vector<uint32_t>{On, On, Off, On, Off, On, On}));
  EXPECT_TRUE(GetCaretInfo().Visible) << "blinking is not hiding";
}

// The headless screen remembering where input methods are told the caret stands.
class TInputMethodScreen : public THeadlessBackend {
 public:
  void SetTextInputPlace(TWindowId Window, const TRect& Caret) override {
    Places.push_back(Caret);
    Surface = Window;
  }
  std::vector<TRect> Places;
  TWindowId Surface = 0;
};

TEST_F(CaretBlinkTest, InputMethodsAreToldWhereTheCaretStandsWhenItMoves) {
  auto* screen = new TInputMethodScreen;
  SetBackend(std::unique_ptr<THeadlessBackend>(screen));
  FocusEdit();
  ASSERT_EQ(screen->Places.size(), 1u);
  EXPECT_EQ(screen->Surface, Form->Surface());
  TCaretInfo caret = GetCaretInfo();
  TPoint at = Edit->ClientToScreen(caret.Pos);
  EXPECT_EQ(screen->Places[0],
            Bounds(at.X - Form->Left(), at.Y - Form->Top(), caret.Width, caret.Height));
  Application->ProcessMessages();
  EXPECT_EQ(screen->Places.size(), 1u) << "told once while it stays";
  THeadlessInput::Type("ab");
  ASSERT_EQ(screen->Places.size(), 2u);
  EXPECT_GT(screen->Places[1].Left, screen->Places[0].Left);
}

TEST_F(CaretBlinkTest, TheHeadlessCaretDoesNotBlink) {
  FocusEdit();
  EXPECT_EQ(PixelAtCaretAfter(5000), On);
}

}  // namespace bw::test
