#include <functional>

#include "platform/controls/TSpeedButton.h"

#include "ControlsFixture.h"
#include "platform/graphics/TBitmap.h"

namespace bw::test {

namespace {

class TTestSpeedButton : public TSpeedButton {
  BW_CLASS(TTestSpeedButton, TSpeedButton)

 public:
  using TSpeedButton::TSpeedButton;
  std::vector<std::string> Log;

 protected:
  void MouseDown(TMouseButton B, TShiftState S, int32_t X, int32_t Y) override {
    Log.push_back("down");
    inherited::MouseDown(B, S, X, Y);
  }
  void MouseUp(TMouseButton B, TShiftState S, int32_t X, int32_t Y) override {
    Log.push_back("up");
    inherited::MouseUp(B, S, X, Y);
  }
  void Click() override {
    Log.push_back("click");
    inherited::Click();
  }
};

constexpr uint32_t kMagenta = 0xFF00FF;

/// Count images of 16x16, each magenta with a centred 6x6 square of its own colour.
std::unique_ptr<TBitmap> MakeGlyph(std::vector<uint32_t> Colors) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(16 * int32_t(Colors.size()), 16);
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < b->Width(); ++x) {
      bool inSquare = x % 16 >= 5 && x % 16 < 11 && y >= 5 && y < 11;
      b->ScanLine(y)[x] = inSquare ? Colors[x / 16] : kMagenta;
    }
  return b;
}

class SpeedButtonTest : public ControlsTest {
 protected:
  TForm* Form = nullptr;

  void SetUp() override {
    ControlsTest::SetUp();
    Form = NewForm(300, 120);
  }
  TTestSpeedButton* NewButton(int32_t Left, int32_t Group = 0) {
    auto* b = new TTestSpeedButton(Form);
    b->SetParent(Form);
    b->SetBounds(Left, 10, 23, 22);
    b->SetGroupIndex(Group);
    Application->ProcessMessages();
    return b;
  }
  uint32_t Pixel(TControl* C, TPoint P) {
    Application->ProcessMessages();
    TPoint s = C->ClientToScreen(P);
    return Headless().WindowPixel(Form->Surface(), s.X - Form->Left(), s.Y - Form->Top());
  }
};

}  // namespace

TEST_F(SpeedButtonTest, PressDragAndReleaseDriveStateAndClick) {
  TTestSpeedButton* b = NewButton(10);
  int32_t clicks = 0;
  b->OnClick = [&](TObject* Sender) {
    EXPECT_EQ(Sender, b);
    ++clicks;
  };
  EXPECT_EQ(b->State(), bsUp);
  THeadlessInput::MouseDown(b, TPoint{5, 5});
  EXPECT_EQ(b->State(), bsDown);
  THeadlessInput::MouseMove(b, TPoint{40, 5});
  EXPECT_EQ(b->State(), bsUp);
  THeadlessInput::MouseMove(b, TPoint{6, 6});
  EXPECT_EQ(b->State(), bsDown);
  THeadlessInput::MouseUp(b, TPoint{6, 6});
  EXPECT_EQ(b->State(), bsUp);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b->Log, (std::vector<std::string>{"down", "up", "click"}));

  // Released outside: no click.
  THeadlessInput::MouseDown(b, TPoint{5, 5});
  THeadlessInput::MouseMove(b, TPoint{40, 5});
  THeadlessInput::MouseUp(b, TPoint{40, 5});
  EXPECT_EQ(clicks, 1);
  // Two quick clicks are two clicks; an ungrouped button never stays down.
  THeadlessInput::DoubleClick(b, TPoint{5, 5});
  EXPECT_EQ(clicks, 3);
  b->SetDown(true);
  EXPECT_FALSE(b->Down());

  b->SetEnabled(false);
  EXPECT_EQ(b->State(), bsDisabled);
  THeadlessInput::Click(b, TPoint{5, 5});
  EXPECT_EQ(clicks, 3);

  // A press that is disabled away or cancelled leaves the button up, without a click.
  b->SetEnabled(true);
  THeadlessInput::MouseDown(b, TPoint{5, 5});
  b->SetEnabled(false);
  b->SetEnabled(true);
  EXPECT_EQ(b->State(), bsUp);
  THeadlessInput::MouseUp(b, TPoint{5, 5});
  THeadlessInput::MouseDown(b, TPoint{5, 5});
  SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  EXPECT_EQ(b->State(), bsUp);
  THeadlessInput::MouseUp(b, TPoint{5, 5});
  EXPECT_EQ(clicks, 3);
}

TEST_F(SpeedButtonTest, AButtonMayFreeItselfInItsMouseHandlers) {
  using TMouse = TMouseEvent;
  const std::vector<std::function<void(TSpeedButton*)>> handlers{
      [](TSpeedButton* b) {
        b->OnMouseDown =
            TMouse([b](TObject*, TMouseButton, TShiftState, int32_t, int32_t) { delete b; });
      },
      [](TSpeedButton* b) {
        b->OnMouseMove =
            TMouseMoveEvent([b](TObject*, TShiftState, int32_t, int32_t) { delete b; });
      },
      [](TSpeedButton* b) {
        b->OnMouseUp =
            TMouse([b](TObject*, TMouseButton, TShiftState, int32_t, int32_t) { delete b; });
      },
  };
  for (const auto& handler : handlers) {
    TSpeedButton* b = NewButton(10, 1);
    handler(b);
    THeadlessInput::MouseDown(b, TPoint{5, 5});
    THeadlessInput::MouseMove(Form, TPoint{200, 100});
    THeadlessInput::MouseUp(Form, TPoint{200, 100});
    EXPECT_EQ(Form->ControlCount(), 0);
  }
}

TEST_F(SpeedButtonTest, GroupedButtonsStayDownOneAtATime) {
  TTestSpeedButton* a = NewButton(10, 1);
  TTestSpeedButton* b = NewButton(40, 1);
  TTestSpeedButton* other = NewButton(70, 2);
  other->SetDown(true);
  THeadlessInput::Click(a);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), bsExclusive);
  THeadlessInput::Click(b);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), bsUp);
  EXPECT_TRUE(other->Down());  // another group
  THeadlessInput::Click(b);    // without AllowAllUp the down button stays down
  EXPECT_TRUE(b->Down());
  b->SetDown(false);
  EXPECT_TRUE(b->Down());
  a->SetAllowAllUp(true);  // shared by the group
  EXPECT_TRUE(b->AllowAllUp());
  THeadlessInput::Click(b);
  EXPECT_FALSE(b->Down());
  EXPECT_FALSE(a->Down());
  a->SetDown(true);
  b->SetDown(true);
  EXPECT_FALSE(a->Down());
}

TEST_F(SpeedButtonTest, GlyphTransparencyShowsTheFace) {
  TTestSpeedButton* b = NewButton(10);
  auto glyph = MakeGlyph({0x000000});
  b->SetGlyph(glyph.get());
  EXPECT_EQ(b->NumGlyphs(), 1);
  EXPECT_EQ(b->GlyphTransparentColor(), PixelToColor(kMagenta));
  // 23x22 button, 16x16 glyph: drawn at (4, 3).
  EXPECT_EQ(Pixel(b, TPoint{4 + 8, 3 + 8}), 0x000000u);
  EXPECT_EQ(Pixel(b, TPoint{4 + 1, 3 + 1}), ColorToPixel(clBtnFace));
  // Pressed, the glyph moves one pixel down and right.
  THeadlessInput::MouseDown(b, TPoint{2, 2});
  EXPECT_EQ(Pixel(b, TPoint{4 + 5, 3 + 5}), ColorToPixel(clBtnFace));
  EXPECT_EQ(Pixel(b, TPoint{4 + 11, 3 + 11}), 0x000000u);
  THeadlessInput::MouseUp(b, TPoint{2, 2});
  b->SetGlyph(nullptr);
  EXPECT_TRUE(b->Glyph()->Empty());
  EXPECT_EQ(Pixel(b, TPoint{4 + 8, 3 + 8}), ColorToPixel(clBtnFace));
}

TEST_F(SpeedButtonTest, ImagesPerStateAndTheirStandIns) {
  TTestSpeedButton* b = NewButton(10, 1);
  b->SetAllowAllUp(true);
  const TPoint centre{4 + 8, 3 + 8}, pressedCentre{5 + 8, 4 + 8};
  auto four = MakeGlyph({0x0000FF, 0x00FF00, 0xFF0000, 0x808000});
  b->SetGlyph(four.get());
  EXPECT_EQ(b->NumGlyphs(), 4);
  EXPECT_EQ(Pixel(b, centre), 0x0000FFu);
  THeadlessInput::MouseDown(b, TPoint{2, 2});
  EXPECT_EQ(Pixel(b, pressedCentre), 0xFF0000u);
  THeadlessInput::MouseUp(b, TPoint{2, 2});
  EXPECT_EQ(b->State(), bsExclusive);
  EXPECT_EQ(Pixel(b, pressedCentre), 0x808000u);
  b->SetDown(false);
  b->SetEnabled(false);
  EXPECT_EQ(Pixel(b, centre), 0x00FF00u);

  // With two images the pressed states show the up image.
  auto two = MakeGlyph({0x0000FF, 0x00FF00});
  b->SetGlyph(two.get());
  EXPECT_EQ(b->NumGlyphs(), 2);
  b->SetEnabled(true);
  b->SetDown(true);
  EXPECT_EQ(Pixel(b, pressedCentre), 0x0000FFu);
  b->SetNumGlyphs(7);
  EXPECT_EQ(b->NumGlyphs(), 1);

  // A picture too narrow for the images it is said to hold is one image for every state.
  TBitmap narrow;
  narrow.SetSize(3, 3);
  for (int32_t y = 0; y < 3; ++y)
    std::fill_n(narrow.ScanLine(y), 3, 0x0000FFu);
  narrow.ScanLine(2)[0] = kMagenta;
  b->SetGlyph(&narrow);
  b->SetNumGlyphs(4);
  EXPECT_EQ(Pixel(b, TPoint{12, 12}), 0x0000FFu) << "the centre of the pressed picture";
}

TEST_F(SpeedButtonTest, DisabledImageIsEmbossedFromTheGlyph) {
  TTestSpeedButton* b = NewButton(10);
  auto glyph = MakeGlyph({0x000000});
  b->SetGlyph(glyph.get());
  b->SetEnabled(false);
  // Ink in the shadow colour, its highlight one pixel down and right.
  EXPECT_EQ(Pixel(b, TPoint{4 + 5, 3 + 5}), ColorToPixel(clBtnShadow));
  EXPECT_EQ(Pixel(b, TPoint{4 + 11, 3 + 11}), ColorToPixel(clBtnHighlight));
  EXPECT_EQ(Pixel(b, TPoint{4 + 1, 3 + 1}), ColorToPixel(clBtnFace));
  // A glyph on white embosses the same way: white is its transparent colour.
  auto white = MakeGlyph({0x000000});
  for (int32_t y = 0; y < 16; ++y)
    for (int32_t x = 0; x < 16; ++x)
      if (white->ScanLine(y)[x] == kMagenta) white->ScanLine(y)[x] = 0xFFFFFF;
  b->SetGlyph(white.get());
  EXPECT_EQ(Pixel(b, TPoint{4 + 11, 3 + 11}), ColorToPixel(clBtnHighlight));
  EXPECT_EQ(Pixel(b, TPoint{4 + 1, 3 + 1}), ColorToPixel(clBtnFace));
}

TEST_F(SpeedButtonTest, FlatButtonsShowTheirEdgeUnderTheMouse) {
  TTestSpeedButton* b = NewButton(10);
  TTestSpeedButton* raised = NewButton(40);
  EXPECT_EQ(Pixel(raised, TPoint{0, 0}), ColorToPixel(clBtnHighlight));
  b->SetFlat(true);
  EXPECT_EQ(Pixel(b, TPoint{0, 0}), ColorToPixel(clBtnFace));
  THeadlessInput::MouseMove(b, TPoint{5, 5});
  EXPECT_TRUE(b->MouseInControl());
  EXPECT_EQ(Pixel(b, TPoint{0, 0}), ColorToPixel(clBtnHighlight));
  EXPECT_EQ(Pixel(b, TPoint{22, 21}), ColorToPixel(clBtnShadow));
  THeadlessInput::MouseMove(b, TPoint{100, 50});
  EXPECT_FALSE(b->MouseInControl());
  EXPECT_EQ(Pixel(b, TPoint{0, 0}), ColorToPixel(clBtnFace));
}

TEST_F(SpeedButtonTest, CaptionIsCentredWithTheGlyph) {
  TTestSpeedButton* b = NewButton(10);
  b->SetBounds(10, 10, 120, 26);
  b->SetCaption("&Save");
  auto glyph = MakeGlyph({0x000000});
  b->SetGlyph(glyph.get());
  Application->ProcessMessages();
  // Glyph left of the text, the pair centred: the glyph starts left of the middle.
  bool glyphLeftOfMiddle = false;
  for (int32_t x = 0; x < 60; ++x)
    if (Pixel(b, TPoint{x, 13}) == 0x000000u) glyphLeftOfMiddle = true;
  EXPECT_TRUE(glyphLeftOfMiddle);
  EXPECT_EQ(Pixel(b, TPoint{4, 13}), ColorToPixel(clBtnFace));
}

}  // namespace bw::test
