#include "ControlsFixture.h"
#include "platform/controls/TEdit.h"
#include "platform/controls/TMaskEdit.h"
#include "platform/controls/TSpeedButton.h"
#include "platform/graphics/TBitmap.h"

namespace bw::test {

TEST_F(ControlsTest, SnapshotOfAFormWithEditsAndSpeedButtons) {
  TForm* form = NewForm(260, 130);
  form->SetCaption("Edits");
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(10, 10, 150, 21);
  edit->SetText("Plain edit, selected");
  auto* masked = new TMaskEdit(form);
  masked->SetParent(form);
  masked->SetBounds(10, 40, 150, 21);
  masked->SetEditMask("!\\(999\\)000-0000;1;_");
  masked->SetText("55512");
  auto* button = new TSpeedButton(form);
  button->SetParent(form);
  button->SetBounds(170, 10, 70, 22);
  button->SetCaption("Go");
  TBitmap glyph;
  glyph.SetSize(12, 12);
  for (int32_t y = 0; y < 12; ++y)
    for (int32_t x = 0; x < 12; ++x)
      glyph.ScanLine(y)[x] = (x >= 2 && x < 2 + (y < 6 ? y : 11 - y) * 2) ? 0x008000 : 0xFF00FF;
  button->SetGlyph(&glyph);
  auto* down = new TSpeedButton(form);
  down->SetParent(form);
  down->SetBounds(170, 40, 23, 22);
  down->SetGroupIndex(1);
  down->SetGlyph(&glyph);
  down->SetDown(true);
  auto* disabled = new TSpeedButton(form);
  disabled->SetParent(form);
  disabled->SetBounds(196, 40, 23, 22);
  disabled->SetGlyph(&glyph);
  disabled->SetEnabled(false);
  Application->ProcessMessages();
  edit->SetFocus();
  edit->SetSelStart(13);
  edit->SetSelLength(7);
  Application->ProcessMessages();
  if (const char* dir = std::getenv("BW_SNAPSHOT_DIR"))
    Headless().SaveWindowPng(form->Surface(), std::string(dir) + "/edits.png");
  TPoint p = edit->ClientToScreen(TPoint{edit->PosToX(15), edit->FormatRect().Top + 3});
  EXPECT_EQ(Headless().WindowPixel(form->Surface(), p.X - form->Left(), p.Y - form->Top()),
            ColorToPixel(clHighlight));
  EXPECT_EQ(masked->EditText(), "(555)12_-____");
  // The caret stands inverted (black on white) after the selection.
  TCaretInfo caret = GetCaretInfo();
  EXPECT_TRUE(caret.Visible);
  EXPECT_EQ(caret.Pos.X, edit->PosToX(20));
  TPoint c = edit->ClientToScreen(TPoint{caret.Pos.X, caret.Pos.Y + 4});
  EXPECT_EQ(Headless().WindowPixel(form->Surface(), c.X - form->Left(), c.Y - form->Top()),
            0x000000u);
}

}  // namespace bw::test
