// Ten million items in a TCorvath: they load, expand, paint and save, and the memory they
// take grows with the items (a fixed number of bytes each), not with anything larger.
// Heavy, so it runs only under BW_SOAK=1; it prints the bytes per item it measured.

#include <cstdio>
#include <string>

#include "GridFixture.h"
#include "bench/HeapInUse.h"
#include "platform/core/TStringStream.h"
#include "tests/support/ModelRun.h"

namespace bw::testing {
namespace {

using bench::HeapInUse;

class HugeOutlineTest : public GridFixture {};

TEST_F(HugeOutlineTest, TenMillionItemsLoadExpandPaintAndSave) {
  if (!SoakRequested()) GTEST_SKIP() << "set BW_SOAK=1 to run";
  constexpr int32_t kItems = 10000000;
  const size_t before = HeapInUse();
  // Ten top-level branches of a million leaves each: a tree, not a flat list.
  std::string text;
  text.reserve(size_t(kItems) * 12);
  for (int32_t i = 0; i < kItems; ++i)
    text += (i % 1000000 == 0 ? "b" : "\tl") + std::to_string(i) + "\n";
  const size_t textBytes = text.size();

  {
    TStringStream items(text);
    std::string().swap(text);
    Grid->Outline()->LoadFromStream(&items);
  }
  // The text and its stream are gone: what is left is the items and the rows.
  const size_t loaded = HeapInUse();
  ASSERT_EQ(Grid->Outline()->GetItemCount(), kItems);
  EXPECT_EQ(Grid->RowCount(), Grid->FixedRows() + 10);

  Grid->Outline()->FullExpand();
  ASSERT_EQ(Grid->RowCount(), Grid->FixedRows() + kItems);
  Grid->SetTopRow(Grid->RowCount() - 3);
  Grid->Painted.clear();
  Paint();
  EXPECT_FALSE(Grid->Painted.empty());
  EXPECT_LE(Grid->Painted.size(), size_t(Grid->ColCount() * (Grid->VisibleRowCount() + 2)));
  const size_t expanded = HeapInUse();

  TStringStream saved("");
  Grid->Outline()->SaveToStream(&saved);
  EXPECT_EQ(saved.DataString().size(), textBytes);

  const double perItemLoaded = double(loaded - before) / kItems;
  const double perItemExpanded = double(expanded - before) / kItems;
  std::printf("items %d: %.1f bytes an item loaded, %.1f expanded with the row map\n", kItems,
              perItemLoaded, perItemExpanded);
  // The outline's records (16 + 32 bytes an item) and the row map (a 4-byte index and an
  // 8-byte node cache slot a shown item), with room for the arrays' growth.
  EXPECT_LT(perItemExpanded, 120.0);
}

}  // namespace
}  // namespace bw::testing
