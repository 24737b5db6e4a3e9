#include "ControlsFixture.h"
#include "platform/controls/TButton.h"

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

}  // namespace bw::test
