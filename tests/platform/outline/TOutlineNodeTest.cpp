#include "platform/outline/TOutlineNode.h"

#include <gtest/gtest.h>

#include "platform/outline/TCustomOutline.h"
#include "tests/platform/outline/OutlineTestUtil.h"

namespace bw {
namespace {

using testing::LoadOutline;

class TOutlineNodeTest : public ::testing::Test {
 protected:
  // 1 A, 2 B, 3 C, 4 D, 5 E, 6 F, 7 G
  void SetUp() override { LoadOutline(o, "A\n\tB\n\t\tC\n\tD\n\t\tE\n\tF\nG\n"); }
  TCustomOutline o{nullptr};
};

TEST_F(TOutlineNodeTest, LevelsParentsAndTheRoot) {
  TOutlineNode* root = o.RootNode();
  EXPECT_EQ(root->Index(), 0);
  EXPECT_EQ(root->Level(), 0);
  EXPECT_EQ(root->Parent(), nullptr);
  EXPECT_TRUE(root->IsRoot());
  EXPECT_EQ(root->FullPath(), "");

  const int32_t levels[] = {1, 2, 3, 2, 3, 2, 1};
  const int32_t parents[] = {0, 1, 2, 1, 4, 1, 0};
  for (int32_t i = 1; i <= 7; ++i) {
    EXPECT_EQ(o.Get(i)->Level(), levels[i - 1]) << i;
    EXPECT_EQ(o.Get(i)->Parent()->Index(), parents[i - 1]) << i;
    EXPECT_EQ(o.Get(i)->Index(), i);
  }
  EXPECT_EQ(o.Get(1)->Parent(), root);
  EXPECT_EQ(o.Get(7)->Parent(), root);
}

TEST_F(TOutlineNodeTest, HasVisibleParentLooksAtTheParentOnly) {
  EXPECT_FALSE(o.RootNode()->HasVisibleParent());
  EXPECT_TRUE(o.Get(1)->HasVisibleParent());  // top level: the root counts as expanded
  EXPECT_FALSE(o.Get(2)->HasVisibleParent());
  o.Get(2)->Expand();
  EXPECT_TRUE(o.Get(3)->HasVisibleParent());  // its grandparent A is still collapsed
  EXPECT_FALSE(o.Get(3)->IsVisible());
  o.Get(1)->Expand();
  EXPECT_TRUE(o.Get(3)->IsVisible());
  EXPECT_FALSE(o.RootNode()->IsVisible());
}

TEST_F(TOutlineNodeTest, ChildWalksStopAtTheEnds) {
  TOutlineNode* a = o.Get(1);
  EXPECT_EQ(a->GetFirstChild(), 2);
  EXPECT_EQ(a->GetNextChild(2), 4);
  EXPECT_EQ(a->GetNextChild(4), 6);
  EXPECT_EQ(a->GetNextChild(6), -1);  // after the last child
  EXPECT_EQ(a->GetLastChild(), 6);
  EXPECT_EQ(a->GetPrevChild(6), 4);
  EXPECT_EQ(a->GetPrevChild(4), 2);
  EXPECT_EQ(a->GetPrevChild(2), -1);
  EXPECT_EQ(a->ChildCount(), 3);

  // Indexes that are not children of a: grandchildren, other branches, out of range.
  for (int32_t notChild : {-1, 0, 1, 3, 5, 7, 8}) {
    EXPECT_EQ(a->GetNextChild(notChild), -1) << notChild;
    EXPECT_EQ(a->GetPrevChild(notChild), -1) << notChild;
  }

  TOutlineNode* leaf = o.Get(3);
  EXPECT_FALSE(leaf->HasChildren());
  EXPECT_EQ(leaf->GetFirstChild(), -1);
  EXPECT_EQ(leaf->GetLastChild(), -1);
  EXPECT_EQ(leaf->ChildCount(), 0);

  TOutlineNode* root = o.RootNode();
  EXPECT_EQ(root->GetFirstChild(), 1);
  EXPECT_EQ(root->GetNextChild(1), 7);
  EXPECT_EQ(root->GetNextChild(7), -1);
  EXPECT_EQ(root->GetLastChild(), 7);
  EXPECT_EQ(TCustomOutline(nullptr).RootNode()->GetFirstChild(), -1);
}

TEST_F(TOutlineNodeTest, TextDataAndFullPath) {
  TOutlineNode* e = o.Get(5);
  EXPECT_EQ(e->FullPath(), "A\\D\\E");
  o.SetItemSeparator(" / ");
  o.Get(4)->SetText("Dee");
  EXPECT_EQ(e->FullPath(), "A / Dee / E");
  // Texts of up to 12 bytes sit in place, longer ones in a block: switch both ways.
  for (const char* text :
       {"a text longer than twelve bytes", "short", "", "exactly12byt", "thirteen byte", "E"}) {
    e->SetText(text);
    EXPECT_EQ(e->Text(), text);
  }
  int value = 7;
  e->SetData(&value);
  EXPECT_EQ(e->Data(), &value);
  EXPECT_EQ(o.GetDataItem(&value), 5);
}

TEST_F(TOutlineNodeTest, FullExpandAndCollapseOfOneBranch) {
  o.Get(4)->FullExpand();
  EXPECT_TRUE(o.Get(4)->Expanded());
  EXPECT_TRUE(o.Get(5)->Expanded());
  EXPECT_FALSE(o.Get(1)->Expanded());
  EXPECT_FALSE(o.Get(6)->Expanded());
  o.RootNode()->FullExpand();
  EXPECT_TRUE(o.Get(7)->Expanded());
  o.Get(1)->FullCollapse();
  EXPECT_FALSE(o.Get(5)->Expanded());
  EXPECT_TRUE(o.Get(7)->Expanded());
}

}  // namespace
}  // namespace bw
