// The outline as a control: painting the shown items, and working it with the mouse,
// the keyboard and the wheel.

#include "platform/backend/VirtualKeys.h"
#include "platform/outline/TOutline.h"
#include "tests/platform/controls/ControlsFixture.h"
#include "tests/platform/outline/OutlineTestUtil.h"

namespace bw::test {
namespace {

using testing::LoadOutline;

class TOutlineViewTest : public ControlsTest {
 protected:
  // An outline at (10, 10) on a form: 200 x 96 pixels, six rows of 16.
  TOutline* NewOutline(const String& items) {
    form = NewForm(240, 140);
    auto* outline = new TOutline(form);
    outline->SetParent(form);
    outline->SetBounds(10, 10, 200, 96);
    LoadOutline(*outline, items);
    Application->ProcessMessages();
    return outline;
  }
  uint32_t Pixel(TOutline* outline, int32_t X, int32_t Y) {
    Application->ProcessMessages();
    return Headless().WindowPixel(form->Surface(), outline->Left() + X, outline->Top() + Y);
  }
  TForm* form = nullptr;
};

constexpr const char* kItems = "A\n\tA1\n\tA2\nB\n\tB1\nC\n";

TEST_F(TOutlineViewTest, PaintsBoxesAndTheSelection) {
  TOutline* o = NewOutline(kItems);
  const uint32_t black = ColorToPixel(clBlack), white = ColorToPixel(clWhite);
  // The plus box of A on row 0 is centred in the first 16 pixels: its sign at (7, 7).
  EXPECT_EQ(Pixel(o, 7, 7), black);
  EXPECT_EQ(Pixel(o, 7, 5), black);  // the upright of the plus
  EXPECT_EQ(Pixel(o, 7, 16 * 2 + 7), white) << "C is a leaf: no box";
  o->Get(1)->Expand();
  EXPECT_EQ(Pixel(o, 7, 5), white) << "a minus once expanded";
  EXPECT_EQ(Pixel(o, 7, 16 * 3 + 5), black) << "B moved down to row 3";

  EXPECT_NE(Pixel(o, 17, 16 + 1), ColorToPixel(clHighlight));
  o->SetSelectedItem(2);  // A1 on row 1, its text from x = 32
  EXPECT_EQ(Pixel(o, 33, 16 + 2), ColorToPixel(clHighlight));
  if (const char* dir = std::getenv("BW_SNAPSHOT_DIR"))
    Headless().SaveWindowPng(form->Surface(), std::string(dir) + "/outline.png");
}

TEST_F(TOutlineViewTest, ClickOnTheBoxTogglesAndElsewhereSelects) {
  TOutline* o = NewOutline(kItems);
  THeadlessInput::Click(o, {7, 7});
  EXPECT_TRUE(o->Get(1)->Expanded());
  EXPECT_EQ(o->SelectedItem(), 0);
  THeadlessInput::Click(o, {60, 16 + 8});
  EXPECT_EQ(o->SelectedItem(), 2);  // A1
  THeadlessInput::Click(o, {60, 16 * 3 + 8});
  EXPECT_EQ(o->SelectedItem(), 4);  // B
  THeadlessInput::DoubleClick(o, {60, 16 * 3 + 8});
  EXPECT_TRUE(o->Get(4)->Expanded());
  THeadlessInput::Click(o, {7, 7});
  EXPECT_FALSE(o->Get(1)->Expanded());
  EXPECT_EQ(o->GetItem(0, 16 + 8), 4) << "B is back on row 1";
  EXPECT_EQ(o->GetItem(0, 16 * 5 + 8), 0) << "below the last row";
}

TEST_F(TOutlineViewTest, KeysMoveTheSelectionAndExpand) {
  TOutline* o = NewOutline(kItems);
  o->SetFocus();
  std::vector<int32_t> seen;
  auto press = [&](uint16_t key) {
    THeadlessInput::Key(key);
    seen.push_back(o->SelectedItem());
  };
  press(VK_DOWN);   // nothing selected: the top item
  press(VK_RIGHT);  // expands A
  EXPECT_TRUE(o->Get(1)->Expanded());
  press(VK_RIGHT);  // into A1
  press(VK_DOWN);   // A2
  press(VK_DOWN);   // B
  press(VK_UP);     // A2
  press(VK_LEFT);   // A2 is a leaf: to its parent
  press(VK_LEFT);   // collapses A
  EXPECT_FALSE(o->Get(1)->Expanded());
  press(VK_DOWN);  // B, skipping the hidden children
  press(VK_END);   // C
  press(VK_HOME);  // A
  EXPECT_EQ(seen, (std::vector<int32_t>{1, 1, 2, 3, 4, 3, 1, 1, 4, 6, 1}));
  THeadlessInput::Type("*");
  EXPECT_TRUE(o->Get(1)->Expanded());
  THeadlessInput::Type("-");
  EXPECT_FALSE(o->Get(1)->Expanded());
}

TEST_F(TOutlineViewTest, ScrollingKeepsTheSelectionInView) {
  String items;
  for (int i = 1; i <= 50; ++i)
    items += "Item " + std::to_string(i) + "\n";
  TOutline* o = NewOutline(items);
  o->SetFocus();
  THeadlessInput::Key(VK_END);
  EXPECT_EQ(o->SelectedItem(), 50);
  EXPECT_EQ(o->TopItem(), 45);  // six rows: 45 to 50
  THeadlessInput::Key(VK_PRIOR);
  EXPECT_EQ(o->SelectedItem(), 45);
  THeadlessInput::Key(VK_UP);
  EXPECT_EQ(o->TopItem(), 44);
  THeadlessInput::Key(VK_HOME);
  EXPECT_EQ(o->TopItem(), 1);
  THeadlessInput::Wheel(o, {20, 20}, -120);
  EXPECT_EQ(o->TopItem(), 4);
  THeadlessInput::Wheel(o, {20, 20}, 240);
  EXPECT_EQ(o->TopItem(), 1);
}

TEST_F(TOutlineViewTest, TopItemStaysOnAShownItem) {
  TOutline* o = NewOutline(kItems);
  o->FullExpand();
  o->SetTopItem(3);  // A2
  o->Get(1)->Collapse();
  EXPECT_EQ(o->TopItem(), 1);
  o->FullExpand();
  o->Insert(1, "Z");
  EXPECT_EQ(o->TopItem(), 4) << "A2 moved down by one";
  o->Delete(2);  // A with its children
  EXPECT_EQ(o->TopItem(), 2) << "the item after the deleted branch";
  o->Clear();
  EXPECT_EQ(o->TopItem(), 0);
}

}  // namespace
}  // namespace bw::test
