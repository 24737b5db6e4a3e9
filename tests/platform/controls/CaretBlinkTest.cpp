#include "ControlsFixture.h"
#include "platform/controls/TEdit.h"

namespace bw::test {

namespace {

// The headless screen with a blinking caret, as a real display has.
class TBlinkingScreen : public THeadlessBackend {
 public:
  uint32_t CaretBlinkTime() const override { return 500; }
};

// The pixel (0x00RRGGBB) shown at the caret of an edit on its form.
uint32_t PixelAtCaret(THeadlessBackend& Screen, TForm* Form, TEdit* Edit) {
  TCaretInfo caret = GetCaretInfo();
  TPoint p = Edit->ClientToScreen(TPoint{caret.Pos.X, caret.Pos.Y + 4});
  return Screen.WindowPixel(Form->Surface(), p.X - Form->Left(), p.Y - Form->Top());
}

}  // namespace

TEST_F(ControlsTest, TheCaretBlinksOnTheBackEndsClockAndStaysShownWhileTheUserTypes) {
  SetBackend(std::make_unique<TBlinkingScreen>());
  TForm* form = NewForm();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 150, 21);
  edit->SetFocus();
  Application->ProcessMessages();
  THeadlessBackend& screen = Headless();
  std::vector<uint32_t> shown;
  auto look = [&] {
    Application->ProcessMessages();
    shown.push_back(PixelAtCaret(screen, form, edit));
  };
  look();
  screen.AdvanceTime(499);
  look();
  screen.AdvanceTime(1);
  look();
  screen.AdvanceTime(500);
  look();
  screen.AdvanceTime(500);
  look();
  THeadlessInput::Type("a");  // the caret moves: shown at once, the blink starts over
  shown.push_back(PixelAtCaret(screen, form, edit));
  screen.AdvanceTime(499);
  look();
  const uint32_t on = 0x000000, off = 0xFFFFFF;
  EXPECT_EQ(shown, (std::vector<uint32_t>{on, on, off, on, off, on, on}));
  EXPECT_TRUE(GetCaretInfo().Visible) << "blinking is not hiding";
}

TEST_F(ControlsTest, TheHeadlessCaretDoesNotBlink) {
  TForm* form = NewForm();
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 150, 21);
  edit->SetFocus();
  Application->ProcessMessages();
  Headless().AdvanceTime(5000);
  Application->ProcessMessages();
  EXPECT_EQ(PixelAtCaret(Headless(), form, edit), 0x000000u);
}

}  // namespace bw::test
