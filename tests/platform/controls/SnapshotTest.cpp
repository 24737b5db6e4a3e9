#include "ControlsFixture.h"
#include "platform/controls/TButton.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TCanvas.h"

namespace bw::test {

TEST_F(ControlsTest, SnapshotOfAFormWithButtons) {
  TForm* form = NewForm(240, 120);
  form->SetCaption("Snapshot");
  auto* ok = new TButton(form);
  ok->SetParent(form);
  ok->SetBounds(20, 20, 75, 25);
  ok->SetCaption("OK");
  ok->SetDefault(true);
  auto* cancel = new TButton(form);
  cancel->SetParent(form);
  cancel->SetBounds(110, 20, 75, 25);
  cancel->SetCaption("Cancel");
  auto* probe = new TProbe(form, nullptr, "p");
  probe->SetParent(form);
  probe->SetBounds(20, 60, 165, 40);
  Application->ProcessMessages();
  if (const char* dir = std::getenv("BW_SNAPSHOT_DIR"))
    Headless().SaveWindowPng(form->Surface(), std::string(dir) + "/form.png");
  EXPECT_EQ(Headless().WindowPixel(form->Surface(), 5, 5), ColorToPixel(clBtnFace));
  EXPECT_EQ(Headless().WindowPixel(form->Surface(), 30, 70), ColorToPixel(clWhite));
}

// A snapshot taken right after a change, before the message loop has run, shows it: the
// form paints what is pending first, rather than handing back stale or black pixels.
TEST_F(ControlsTest, FormSnapshotPaintsPendingWorkFirst) {
  auto* form = new TForm(Application);
  form->SetBounds(100, 100, 200, 100);
  EXPECT_THROW(form->Snapshot(), EInvalidOperation);
  auto* probe = new TProbe(form, nullptr, "p");
  probe->SetParent(form);
  probe->SetBounds(20, 20, 60, 40);
  form->Show();
  auto early = form->Snapshot();
  ASSERT_EQ(early->Width(), 200);
  EXPECT_EQ(early->Canvas()->Pixels(5, 5), ColorToRGB(clBtnFace));
  EXPECT_EQ(early->Canvas()->Pixels(40, 40), clWhite);
  // And the screen agrees with the picture.
  EXPECT_EQ(Headless().WindowPixel(form->Surface(), 40, 40), ColorToPixel(clWhite));

  probe->PaintColor = clRed;
  probe->Invalidate();
  EXPECT_EQ(form->Snapshot()->Canvas()->Pixels(40, 40), clRed);
  Application->ProcessMessages();
  auto shot = form->Snapshot();
  auto screen = Headless().SnapshotWindow(form->Surface());
  for (int32_t y = 0; y < 100; y += 3)
    for (int32_t x = 0; x < 200; x += 3)
      ASSERT_EQ(shot->Canvas()->Pixels(x, y), screen->Canvas()->Pixels(x, y)) << x << "," << y;
}

}  // namespace bw::test
