// The combo editor's construction, layout, heights and glyphs, and its edit button's
// separator.

#include "ComboEditTestSupport.h"
#include "platform/controls/TCustomEdit.h"
#include "platform/core/FormStreaming.h"
#include "platform/graphics/TFont.h"
#include "platform/graphics/TResourceModule.h"

namespace bw::testing {
namespace {

class ComboEditLayoutTest : public ComboEditTest {};

TEST_F(ComboEditLayoutTest, NewEditorHasAFifteenPixelButtonAndNoBorder) {
  TInplaceComboEdit Editor(nullptr);
  EXPECT_EQ(Editor.GetButtonWidth(), 15);
  EXPECT_EQ(Editor.Height(), 21);
  EXPECT_EQ(Editor.GlyphKind(), gkCustom);
  EXPECT_TRUE(Editor.GetGlyph()->Empty());
  EXPECT_TRUE(Editor.GetDirectInput());
  EXPECT_FALSE(Editor.ReadOnly());
  EXPECT_EQ(Editor.ClickKey(), 0x4028);
  EXPECT_FALSE(Editor.TabStop());
  EXPECT_EQ(Editor.BorderStyle(), bsNone);
  EXPECT_FALSE(Editor.Ctl3D());
  EXPECT_EQ(Editor.Button()->Owner(), &Editor);
  EXPECT_EQ(Editor.Button()->Parent(), Editor.ButtonHolder());
  EXPECT_EQ(Editor.ButtonHolder()->Parent(), &Editor);
  Editor.SetEnabled(false);
  EXPECT_FALSE(Editor.Button()->Enabled());
}

TEST_F(ComboEditLayoutTest, WindowIsMultiLineAndCarriesTheAlignment) {
  auto* e = NewEditor();
  EXPECT_TRUE(e->WindowStyle() & ES_MULTILINE);
  EXPECT_TRUE(e->WindowStyle() & WS_CLIPCHILDREN);
  e->SetAlignment(taRightJustify);
  EXPECT_TRUE(e->WindowStyle() & ES_RIGHT);
  e->SetAlignment(taCenter);
  EXPECT_TRUE(e->WindowStyle() & ES_CENTER);
  EXPECT_FALSE(e->WindowStyle() & ES_RIGHT);
}

TEST_F(ComboEditLayoutTest, ButtonSitsAtTheRightEdgeAndTheTextStaysLeftOfItAfterEveryResize) {
  auto* e = NewEditor();
  for (TRect r : {Bounds(20, 20, 160, 24), Bounds(0, 0, 90, 40), Bounds(5, 5, 300, 22)}) {
    e->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    const TRect holder = e->ButtonHolder()->BoundsRect();
    EXPECT_EQ(holder, Bounds(r.Width() - 15 - 2, 2, 15, r.Height() - 4)) << r.Width();
    EXPECT_EQ(e->Button()->BoundsRect(), Bounds(0, 0, 15, r.Height() - 4));
    EXPECT_EQ(e->FormatRect().Right, holder.Left) << "the text area ends where the button starts";
  }
  // Window re-creation (a new button width) keeps the text area short of the button.
  e->SetButtonWidth(30);
  e->SetBounds(5, 5, 200, 24);
  EXPECT_EQ(e->ButtonHolder()->Width(), 30);
  EXPECT_EQ(e->FormatRect().Right, 200 - 30 - 2);
}

TEST_F(ComboEditLayoutTest, RightAlignedTextEndsBeforeTheButton) {
  auto* e = NewEditor();
  e->SetAlignment(taRightJustify);
  e->SetText("right");
  e->SetBounds(20, 20, 120, 24);
  const int32_t end = e->PosToX(5);
  EXPECT_LE(end, e->ButtonHolder()->Left());
  EXPECT_GT(end, e->ButtonHolder()->Left() - 4);
}

TEST_F(ComboEditLayoutTest, OlderLookPlacesTheHolderFlushRight) {
  NewStyleControls = false;
  auto* e = NewEditor();
  e->SetBounds(20, 20, 160, 24);
  NewStyleControls = true;
  EXPECT_EQ(e->ButtonHolder()->BoundsRect(), Bounds(160 - 15, 1, 15, 23));
}

TEST_F(ComboEditLayoutTest, HeightsComeFromTheFontsMetrics) {
  auto* e = NewEditor();
  TFont screenFont;
  screenFont.SetHeight(16);
  const int32_t screen = screenFont.TextMetrics().tmHeight;
  EXPECT_EQ(e->GetTextHeight(), std::min(e->Font()->TextMetrics().tmHeight, screen));
  EXPECT_EQ(e->GetMinHeight(), e->GetTextHeight() + 5);

  e->SetHeight(5);
  EXPECT_EQ(e->Height(), e->GetMinHeight());
  EXPECT_EQ(e->Button()->Height(), e->Height() - 4) << "the resize placed the button";

  // A smaller font lowers the minimum; the editor follows its parent's font.
  Form->Font()->SetHeight(-8);
  const int32_t small = e->GetMinHeight();
  EXPECT_LT(small, e->Height());
  e->SetHeight(small);
  EXPECT_EQ(e->Height(), small);
  e->SetHeight(small - 1);
  EXPECT_EQ(e->Height(), small);
  // Fonts taller than the screen's are capped at the screen font's height.
  Form->Font()->SetHeight(-40);
  EXPECT_EQ(e->GetTextHeight(), screen);
}

TEST_F(ComboEditLayoutTest, HeightIsNotRaisedWhileLoading) {
  auto* e = NewEditor();
  e->SetComponentStateFlag(csLoading, true);
  e->SetHeight(5);
  EXPECT_EQ(e->Height(), 5);
  e->SetComponentStateFlag(csLoading, false);
}

TEST_F(ComboEditLayoutTest, ButtonWidthIgnoresTheCurrentValueAndTooWideValues) {
  auto* e = NewEditor(Bounds(20, 20, 100, 24));
  e->SetGlyphKind(gkEllipsis);
  const HWND before = e->Handle();
  e->SetButtonWidth(15);  // the current value: no new window, no new glyph
  EXPECT_EQ(e->Handle(), before);
  e->SetButtonWidth(e->ClientWidth());
  EXPECT_EQ(e->GetButtonWidth(), 15);
  e->SetButtonWidth(e->ClientWidth() - 1);
  EXPECT_EQ(e->GetButtonWidth(), 99);
  EXPECT_NE(e->Handle(), before) << "a new width re-creates the window";
  EXPECT_EQ(e->GetGlyph()->Width(), 95) << "and redraws the dots";
}

// Three 2x2 squares on rows 1 and 2 of a (width - 4) x 4 glyph.
struct EllipsisCase {
  int32_t ButtonWidth;
  const char* Middle;
};

class EllipsisGlyphTest : public ComboEditTest,
                          public ::testing::WithParamInterface<EllipsisCase> {};

TEST_P(EllipsisGlyphTest, DotsAreDrawnForTheButtonWidthAsOneImage) {
  const EllipsisCase c = GetParam();
  auto* e = NewEditor();
  e->SetGlyphKind(gkEllipsis);
  e->SetButtonWidth(c.ButtonWidth);
  const String blank(size_t(c.ButtonWidth - 4), '.');
  EXPECT_EQ(Rows(*e->GetGlyph()), (std::vector<String>{blank, c.Middle, c.Middle, blank}));
  EXPECT_TRUE(e->GetGlyph()->Monochrome());
  // A 12x4 or 16x4 picture would otherwise pass for three or four images.
  EXPECT_EQ(e->GetNumGlyphs(), 1);
  EXPECT_EQ(e->Button()->GlyphImage(bsUp)->Width(), c.ButtonWidth - 4);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, EllipsisGlyphTest,
    ::testing::Values(EllipsisCase{11, "##.##.#"}, EllipsisCase{15, "##..##..##."},
                      EllipsisCase{16, "##...##...##"}, EllipsisCase{20, "..##...##...##.."},
                      EllipsisCase{21, "..##...##...##..."},
                      EllipsisCase{30, ".......##...##...##......."}, EllipsisCase{10, "#.##.#"}),
    [](const auto& Info) { return "Width" + std::to_string(Info.param.ButtonWidth); });

TEST_F(ComboEditLayoutTest, GlyphKinds) {
  auto* e = NewEditor();
  e->SetGlyphKind(gkDropDown);
  TBitmap arrow;
  arrow.SetHandle(LoadBitmap(nullptr, OBM_COMBO));
  EXPECT_EQ(Rows(*e->GetGlyph()), Rows(arrow));
  e->SetNumGlyphs(2);
  EXPECT_EQ(e->GetNumGlyphs(), 1);

  // This class has no default bitmap: the glyph empties; the button keeps room for it.
  e->SetGlyphKind(gkDefault);
  EXPECT_TRUE(e->GetGlyph()->Empty());
  EXPECT_EQ(e->GetNumGlyphs(), 1);
  e->SetButtonWidth(2);
  EXPECT_EQ(e->GetButtonWidth(), 4);

  // Switching to gkCustom at run time keeps the image shown; assigning one makes it custom.
  e->SetGlyphKind(gkEllipsis);
  const auto dots = Rows(*e->GetGlyph());
  e->SetGlyphKind(gkCustom);
  EXPECT_EQ(Rows(*e->GetGlyph()), dots);
  e->SetNumGlyphs(2);
  EXPECT_EQ(e->GetNumGlyphs(), 2);

  e->SetGlyphKind(gkEllipsis);
  TBitmap custom;
  custom.SetSize(16, 16);
  e->SetGlyph(&custom);
  EXPECT_EQ(e->GlyphKind(), gkCustom);
  EXPECT_TRUE(e->IsCustomGlyph());
  EXPECT_EQ(e->GetGlyph()->Width(), 16);
}

TEST_F(ComboEditLayoutTest, ReadingGkCustomFromAStreamEmptiesTheGlyph) {
  auto* e = NewEditor();
  e->SetGlyphKind(gkEllipsis);
  e->SetComponentStateFlag(csReading, true);
  e->SetGlyphKind(gkCustom);
  e->SetComponentStateFlag(csReading, false);
  EXPECT_TRUE(e->GetGlyph()->Empty());
}

TEST_F(ComboEditLayoutTest, FormsStoreTheGlyphOnlyWhenItIsCustom) {
  TInplaceComboEdit Source(nullptr);
  Source.SetName("Combo");
  Source.SetGlyphKind(gkEllipsis);
  const String dots = ComponentToText(&Source);
  EXPECT_NE(dots.find("GlyphKind = gkEllipsis"), String::npos) << dots;
  EXPECT_EQ(dots.find("Glyph.Data"), String::npos) << dots;
  EXPECT_EQ(dots.find("object"), dots.rfind("object")) << "the button is not stored with it";

  TBitmap custom;
  custom.SetSize(16, 16);
  custom.Canvas()->SetPixels(3, 3, clRed);
  Source.SetGlyph(&custom);
  const String image = ComponentToText(&Source);
  EXPECT_NE(image.find("Glyph.Data"), String::npos);

  TInplaceComboEdit FromDots(nullptr), FromImage(nullptr);
  ComponentFromString(dots, &FromDots);
  EXPECT_EQ(FromDots.GlyphKind(), gkEllipsis);
  EXPECT_EQ(Rows(*FromDots.GetGlyph())[1], "##..##..##.");
  ComponentFromString(image, &FromImage);
  EXPECT_EQ(FromImage.GlyphKind(), gkCustom);
  EXPECT_EQ(Rows(*FromImage.GetGlyph()), Rows(custom));
}

class DefaultGlyphEdit : public TInplaceComboEdit {
 public:
  using TInplaceComboEdit::TInplaceComboEdit;
  int Freed = 0;

 protected:
  TBitmap* GetDefaultBitmap(bool& FreeAfterUse) override {
    FreeAfterUse = true;
    struct TCounted : TBitmap {
      int* Count;
      explicit TCounted(int* C) : Count(C) {}
      ~TCounted() override { ++*Count; }
    };
    auto* b = new TCounted(&Freed);
    b->SetSize(9, 5);
    return b;
  }
};

TEST_F(ComboEditLayoutTest, DefaultBitmapIsCopiedAndFreedWhenAsked) {
  auto* e = NewEditor<DefaultGlyphEdit>();
  e->SetGlyphKind(gkDefault);
  EXPECT_EQ(e->GetGlyph()->Width(), 9);
  EXPECT_EQ(e->Freed, 1);
  e->SetButtonWidth(6);  // below the glyph's width + 4
  EXPECT_EQ(e->GetButtonWidth(), 13);
}

TEST_F(ComboEditLayoutTest, ButtonDrawsItsSeparatorUnlessPressed) {
  auto* e = NewEditor(Bounds(20, 20, 160, 30));
  Application->ProcessMessages();
  TEditButton* b = e->Button();
  auto pixel = [&](int32_t X, int32_t Y) {
    const TPoint s = b->ClientToScreen(TPoint{X, Y});
    const TRect w = Headless().WindowBounds(Form->Surface());
    return Headless().WindowPixel(Form->Surface(), s.X - w.Left, s.Y - w.Top);
  };
  const int32_t h = b->Height();
  EXPECT_EQ(pixel(0, 0), ColorToPixel(clBtnFace));
  EXPECT_EQ(pixel(0, h - 2), ColorToPixel(clBtnFace));
  EXPECT_EQ(pixel(1, 1), ColorToPixel(clBtnHighlight));
  EXPECT_EQ(pixel(1, h - 3), ColorToPixel(clBtnHighlight));
  EXPECT_NE(pixel(1, h - 2), ColorToPixel(clBtnHighlight)) << "LineTo leaves out its end point";

  NewStyleControls = false;
  b->Invalidate();
  Application->ProcessMessages();
  NewStyleControls = true;
  EXPECT_EQ(pixel(0, 0), ColorToPixel(clBtnShadow));

  THeadlessInput::MouseDown(b, TPoint{5, 5});
  Application->ProcessMessages();
  EXPECT_NE(pixel(1, 1), ColorToPixel(clBtnHighlight)) << "a pressed button has no separator";
  THeadlessInput::MouseUp(b, TPoint{5, 5});
}

}  // namespace
}  // namespace bw::testing
