#include "platform/outline/TCustomOutline.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/graphics/TBitmap.h"
#include "platform/outline/EOutlineError.h"
#include "tests/platform/outline/OutlineTestUtil.h"

namespace bw {
namespace {

using testing::LoadOutline;
using testing::OutlineText;

// Counts the repaint requests the outline makes.
class TCountingOutline : public TCustomOutline {
 public:
  TCountingOutline() : TCustomOutline(nullptr) {}
  int changes = 0;
  int updateStarts = 0;
  int updateEnds = 0;
  void SetUpdateState(bool Value) override {
    (Value ? updateStarts : updateEnds)++;
    TCustomOutline::SetUpdateState(Value);
  }

 protected:
  void Changed() override { ++changes; }
};

std::vector<int32_t> Visible(const TCustomOutline& outline) {
  std::vector<int32_t> shown;
  outline.ForEachVisible([&](int32_t i) { shown.push_back(i); });
  return shown;
}

// A: B, C: D; E
void BuildSample(TCustomOutline& o) {
  int32_t a = o.Add(0, "A");
  o.AddChild(a, "B");
  int32_t c = o.AddChild(a, "C");
  o.AddChild(c, "D");
  o.Add(a, "E");
}

TEST(TCustomOutlineTest, AddingNumbersItemsInOutlineOrder) {
  TCustomOutline o{nullptr};
  EXPECT_EQ(o.ItemCount(), 0);
  EXPECT_EQ(o.Add(0, "A"), 1);
  EXPECT_EQ(o.Add(0, "E"), 2);
  EXPECT_EQ(o.AddChild(1, "B"), 2);  // goes before E, which moves to 3
  EXPECT_EQ(o.AddChild(1, "C"), 3);
  EXPECT_EQ(o.AddChild(3, "D"), 4);
  EXPECT_EQ(o.Add(2, "B2"), 5);  // last sibling of B: after C's subtree
  EXPECT_EQ(o.Insert(3, "C0"), 3);
  EXPECT_EQ(o.Insert(0, "F"), 8);
  EXPECT_EQ(o.AddChild(0, "G"), 9);
  EXPECT_EQ(OutlineText(o), "A\n\tB\n\tC0\n\tC\n\t\tD\n\tB2\nE\nF\nG\n");
  EXPECT_EQ(o.ItemCount(), 9);
}

TEST(TCustomOutlineTest, ObjectVariantsStoreData) {
  TCustomOutline o{nullptr};
  int x = 0, y = 0, z = 0;
  int32_t a = o.AddObject(0, "A", &x);
  o.AddChildObject(a, "B", &y);
  o.InsertObject(a, "Z", &z);
  EXPECT_EQ(o.Get(1)->Data(), &z);
  EXPECT_EQ(o.Get(2)->Data(), &x);
  EXPECT_EQ(o.Get(3)->Data(), &y);
  EXPECT_EQ(o.GetDataItem(&y), 3);
  EXPECT_EQ(o.GetDataItem(nullptr), 0);
  EXPECT_EQ(o.GetTextItem("A"), 2);
  EXPECT_EQ(o.GetTextItem("missing"), 0);
}

TEST(TCustomOutlineTest, HandlesFollowTheirItemsThroughInsertsAndDeletes) {
  TCustomOutline o{nullptr};
  BuildSample(o);
  TOutlineNode* c = o.Get(3);
  TOutlineNode* e = o.Get(5);
  EXPECT_EQ(o.Get(1)->Parent(), o.RootNode());

  o.BeginUpdate();
  o.Insert(2, "X");     // before B
  o.AddChild(2, "X1");  // under X
  o.Delete(4);          // B
  o.EndUpdate();
  EXPECT_EQ(OutlineText(o), "A\n\tX\n\t\tX1\n\tC\n\t\tD\nE\n");
  EXPECT_EQ(c->Index(), 4);
  EXPECT_EQ(c->Text(), "C");
  EXPECT_EQ(e->Index(), 6);
  EXPECT_EQ(o.Get(4), c);
  EXPECT_EQ(o.Get(5)->Parent(), c);

  o.Delete(1);  // A with everything below it
  EXPECT_EQ(OutlineText(o), "E\n");
  EXPECT_EQ(e->Index(), 1);
  EXPECT_EQ(o.Get(1), e);
}

TEST(TCustomOutlineTest, BadIndexesRaiseAndChangeNothing) {
  TCustomOutline o{nullptr};
  BuildSample(o);
  const String before = OutlineText(o);
  EXPECT_THROW(o.Get(0), EOutlineError);
  EXPECT_THROW(o.Get(6), EOutlineError);
  EXPECT_THROW(o.Add(-1, "x"), EOutlineError);
  EXPECT_THROW(o.AddChild(6, "x"), EOutlineError);
  EXPECT_THROW(o.Insert(6, "x"), EOutlineError);
  EXPECT_THROW(o.Delete(0), EOutlineError);
  EXPECT_THROW(o.Delete(6), EOutlineError);
  EXPECT_THROW(o.SetSelectedItem(6), EOutlineError);
  EXPECT_THROW(o.NextVisible(-1), EOutlineError);
  EXPECT_EQ(OutlineText(o), before);
  try {
    o.Get(9);
  } catch (const EOutlineError& e) {
    EXPECT_STREQ(e.what(), "Outline index 9 is out of range (1 to 5)");
  }
}

TEST(TCustomOutlineTest, SelectionFollowsItsItem) {
  TCustomOutline o{nullptr};
  BuildSample(o);
  o.SetSelectedItem(4);  // D
  o.Insert(2, "X");
  EXPECT_EQ(o.SelectedItem(), 5);
  o.Delete(2);
  EXPECT_EQ(o.SelectedItem(), 4);
  o.Add(0, "F");  // after it: no change
  EXPECT_EQ(o.SelectedItem(), 4);
  o.Delete(3);  // C, D's parent
  EXPECT_EQ(o.SelectedItem(), 0);
  o.SetSelectedItem(3);
  o.Clear();
  EXPECT_EQ(o.SelectedItem(), 0);
  EXPECT_EQ(o.ItemCount(), 0);
}

TEST(TCustomOutlineTest, ExpansionEventsAndDoubleClick) {
  TCustomOutline o{nullptr};
  BuildSample(o);
  std::vector<String> log;
  o.OnExpand = [&](TObject*, int32_t i) { log.push_back("+" + std::to_string(i)); };
  o.OnCollapse = [&](TObject*, int32_t i) { log.push_back("-" + std::to_string(i)); };
  o.OnDblClick = [&](TObject*) { log.push_back("dbl"); };

  o.Get(1)->SetExpandedState(true);
  o.Get(1)->SetExpandedState(true);  // no change, no event
  o.RootNode()->SetExpandedState(false);
  EXPECT_TRUE(o.RootNode()->Expanded());
  o.DblClick();  // nothing selected: only the event
  o.SetSelectedItem(3);
  o.DblClick();
  o.DblClick();
  o.SetSelectedItem(2);  // a leaf toggles too
  o.DblClick();
  EXPECT_EQ(log, (std::vector<String>{"+1", "dbl", "+3", "dbl", "-3", "dbl", "+2", "dbl"}));
  EXPECT_TRUE(o.Get(2)->Expanded());

  o.FullExpand();
  for (int32_t i = 1; i <= o.ItemCount(); ++i)
    EXPECT_TRUE(o.Get(i)->Expanded()) << i;
  o.FullCollapse();
  for (int32_t i = 1; i <= o.ItemCount(); ++i)
    EXPECT_FALSE(o.Get(i)->Expanded()) << i;
}

TEST(TCustomOutlineTest, UpdateBracketsSettleOnceAtTheOutermostEnd) {
  TCountingOutline o;
  o.Add(0, "A");
  EXPECT_EQ(o.changes, 1);
  o.changes = 0;

  o.BeginUpdate();
  o.BeginUpdate();
  EXPECT_TRUE(o.Updating());
  for (int i = 0; i < 3; ++i)
    o.AddChild(1, "x");
  o.Get(2)->SetText("y");
  o.Get(1)->SetExpandedState(true);
  o.EndUpdate();
  EXPECT_EQ(o.changes, 0);
  o.EndUpdate();
  EXPECT_EQ(o.changes, 1);
  EXPECT_EQ(o.updateStarts, 1);
  EXPECT_EQ(o.updateEnds, 1);

  o.EndUpdate();  // unmatched: ignored
  EXPECT_EQ(o.updateEnds, 1);
  EXPECT_FALSE(o.Updating());
  o.Get(2)->SetText("y");  // unchanged text: no repaint
  EXPECT_EQ(o.changes, 1);
}

TEST(TCustomOutlineTest, VisibleWalkSkipsCollapsedBranches) {
  TCustomOutline o{nullptr};
  LoadOutline(o, "A\n\tB\n\t\tC\n\tD\nE\n\tF\nG\n");
  EXPECT_EQ(Visible(o), (std::vector<int32_t>{1, 5, 7}));
  o.Get(1)->Expand();
  EXPECT_EQ(Visible(o), (std::vector<int32_t>{1, 2, 4, 5, 7}));
  o.Get(3)->Expand();  // C's parent B is still collapsed
  o.Get(5)->Expand();
  EXPECT_EQ(Visible(o), (std::vector<int32_t>{1, 2, 4, 5, 6, 7}));

  std::vector<int32_t> walked;
  for (int32_t i = o.NextVisible(0); i != 0; i = o.NextVisible(i))
    walked.push_back(i);
  EXPECT_EQ(walked, Visible(o));
  EXPECT_EQ(o.NextVisible(3), 4);  // C is hidden under B: continue after B's branch
  o.Get(1)->Collapse();
  EXPECT_EQ(o.NextVisible(3), 5);
  EXPECT_EQ(o.NextVisible(7), 0);
  EXPECT_TRUE(Visible(TCustomOutline(nullptr)).empty());
}

TEST(TCustomOutlineTest, PicturesAreOwnBitmapsThatTakeCopies) {
  TCustomOutline o(nullptr);
  TBitmap* plus = o.GetPicture(opPlus);
  TBitmap* minus = o.GetPicture(opMinus);
  ASSERT_NE(plus, nullptr);
  EXPECT_EQ(plus->Width(), 11);
  EXPECT_EQ(minus->Height(), 11);
  EXPECT_EQ(plus->TransparentColor(), clFuchsia);          // the margin, not the box
  EXPECT_NE(plus->ScanLine(5)[5], plus->ScanLine(5)[1]);   // a sign in the middle
  EXPECT_NE(plus->ScanLine(3)[5], minus->ScanLine(3)[5]);  // only plus has the upright
  for (int32_t i : {opOpen, opClosed, opLeaf}) {
    ASSERT_NE(o.GetPicture(i), nullptr);
    EXPECT_TRUE(o.GetPicture(i)->Empty()) << i;
  }
  EXPECT_THROW(o.GetPicture(5), EOutlineError);
  EXPECT_THROW(o.SetPicture(-1, nullptr), EOutlineError);

  TBitmap folder;
  folder.SetSize(16, 14);
  o.SetPicture(opOpen, &folder);
  TBitmap* open = o.GetPicture(opOpen);
  EXPECT_NE(open, &folder);
  EXPECT_EQ(open->Width(), 16);
  folder.SetSize(1, 1);  // a copy, not a reference
  EXPECT_EQ(open->Width(), 16);
  o.SetPicture(opOpen, nullptr);
  EXPECT_EQ(o.GetPicture(opOpen), open);
  EXPECT_TRUE(open->Empty());
}

}  // namespace
}  // namespace bw
