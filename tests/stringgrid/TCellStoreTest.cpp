// The string grid's cell store: texts of every length, cells that exist only while they
// hold something, rows that leave their page for a list of their own and stay live, and
// column and row moves checked against a plain model of the cells.

#include "stringgrid/TCellStore.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>

#include "platform/core/Exception.h"
#include "sparse/TStringSparseList.h"

namespace bw::testing {
namespace {

struct Item : TObject {};

TEST(CellStoreTest, TextsOfEveryLengthReadBackWhole) {
  TCellStore Store(sqSmall);
  const String Zero("a\0b", 3);
  for (const String& Text :
       {String("x"), String(15, 'f'), String(16, 's'), String(300, 'l'), Zero, String("last")}) {
    Store.SetText(4, 7, Text, sqSmall);
    EXPECT_EQ(Store.Text(4, 7), Text) << Text.size();
  }
  // A long text overwritten by a short one and cleared: no block is kept or freed twice
  // (the sanitizer build watches).
  Store.SetText(1, 7, String(40, 'q'), sqSmall);
  Store.SetText(1, 7, "short", sqSmall);
  Store.SetText(2, 7, String(40, 'r'), sqSmall);
  Store.SetText(2, 7, "", sqSmall);
  EXPECT_EQ(Store.Text(1, 7), "short");
  EXPECT_EQ(Store.Text(2, 7), "");
  Store.SetText(3, 7, String(50, 'k'), sqSmall);  // freed with the store
}

TEST(CellStoreTest, ACellExistsWhileItHoldsATextOrAnObject) {
  TCellStore Store(sqSmall);
  Item Object;
  EXPECT_EQ(Store.Text(-1, 3), "");  // a row that never existed: the column is not looked at
  EXPECT_THROW(Store.Text(0, -1), EListError);

  Store.SetObject(2, 3, &Object, sqSmall);
  Store.SetText(2, 3, "t", sqSmall);
  Store.SetText(2, 3, "", sqSmall);
  EXPECT_EQ(Store.Object(2, 3), &Object);
  EXPECT_EQ(Store.PackedColumns(3), std::vector<int32_t>{2});
  Store.SetObject(2, 3, nullptr, sqSmall);
  EXPECT_EQ(Store.PackedColumns(3), std::vector<int32_t>{});
  // The row exists now, so its columns are checked.
  EXPECT_THROW(Store.Text(-1, 3), EListError);
  EXPECT_THROW(Store.SetText(-1, 3, "", sqSmall), EListError);
  // An empty write to a row that never existed makes nothing.
  Store.SetText(1, 30, "", sqSmall);
  EXPECT_EQ(Store.Text(-1, 30), "");
}

TEST(CellStoreTest, IndexesPastTheLimitsAreRefusedAndReadEmpty) {
  TCellStore Store(sqSmall);
  const int32_t Past = Store.MaxRow() + 1;
  EXPECT_THROW(Store.SetText(0, Past, "x", sqSmall), EListError);
  EXPECT_EQ(Store.Text(0, Past), "");
  EXPECT_THROW(Store.SetText(1'048'560, 0, "x", sqSmall), EListError);
  Store.SetText(1'048'560, 0, "x", sqLarge);
  EXPECT_EQ(Store.Text(1'048'560, 0), "x");
  // Its list takes the large blocks it needs.
  EXPECT_EQ(Store.EnsureList(0, sqSmall)->Get(1'048'560), "x");
}

TEST(CellStoreTest, ARowsListHoldsItsCellsAndStaysLive) {
  TCellStore Store(sqSmall);
  Item Object;
  Store.SetText(1, 5, "one", sqSmall);
  Store.SetObject(3, 5, &Object, sqSmall);
  Store.SetText(0, 6, "next row", sqSmall);
  TStringSparseList* List = Store.EnsureList(5, sqSmall);
  EXPECT_EQ(Store.EnsureList(5, sqSmall), List);
  EXPECT_EQ(Store.FindList(5), List);
  EXPECT_EQ(List->GetCount(), 4);
  EXPECT_EQ(List->Get(1), "one");
  EXPECT_EQ(List->GetObject(3), &Object);
  EXPECT_EQ(Store.Text(0, 6), "next row");  // the rest of the page stays

  List->Insert(0, "ins");  // the list's own rules: an empty entry is kept, Count grows
  EXPECT_EQ(Store.Text(0, 5), "ins");
  EXPECT_EQ(Store.Text(2, 5), "one");
  Store.SetText(2, 5, "", sqSmall);
  EXPECT_EQ(List->Get(2), "");
  EXPECT_EQ(List->GetCount(), 5);
  Store.SetObject(4, 5, nullptr, sqSmall);  // the store's rule: no empty entry left
  EXPECT_EQ(List->GetCount(), 1);
}

TEST(CellStoreTest, AFullRowMovesIntoItsListWithEveryCell) {
  TCellStore Store(sqSmall);
  const int32_t N = TCellStore::kMaxPackedRow + 10;
  for (int32_t C = N - 1; C >= 0; --C)
    Store.SetText(C, 2, "c" + std::to_string(C), sqSmall);
  Store.SetText(0, 3, "neighbour", sqSmall);
  ASSERT_NE(Store.FindList(2), nullptr);
  EXPECT_EQ(Store.FindList(2)->GetCount(), N);
  for (int32_t C = 0; C < N; ++C)
    EXPECT_EQ(Store.Text(C, 2), "c" + std::to_string(C));
  EXPECT_EQ(Store.Text(0, 3), "neighbour");
  EXPECT_EQ(Store.FindList(3), nullptr);
}

// The cells as a plain map, moved the way a string list's Move does it.
using Model = std::map<std::pair<int32_t, int32_t>, std::pair<String, TObject*>>;  // (row, col)

int32_t Moved(int32_t Index, int32_t From, int32_t To) {
  if (Index == From) return To;
  if (From < To && Index > From && Index <= To) return Index - 1;
  if (From > To && Index >= To && Index < From) return Index + 1;
  return Index;
}

TEST(CellStoreTest, RandomWritesAndMovesAgreeWithAPlainModel) {
  std::mt19937 Rng(7);
  Item Objects[3];
  for (int Round = 0; Round < 20; ++Round) {
    TCellStore Store(sqSmall);
    Model Cells;
    auto Pick = [&](int32_t N) { return int32_t(Rng() % uint32_t(N)); };
    auto Check = [&] {
      for (int32_t R = 0; R < 40; ++R)
        for (int32_t C = 0; C < 12; ++C) {
          auto Found = Cells.find({R, C});
          ASSERT_EQ(Store.Text(C, R), Found == Cells.end() ? "" : Found->second.first);
          ASSERT_EQ(Store.Object(C, R), Found == Cells.end() ? nullptr : Found->second.second);
        }
    };
    for (int Step = 0; Step < 300; ++Step) {
      const int32_t R = Pick(40), C = Pick(12);
      switch (Pick(10)) {
        case 0: {
          const int32_t From = Pick(12), To = Pick(12);
          Store.MoveColumn(From, To);
          Model Next;
          for (auto& [Key, Cell] : Cells)
            Next[{Key.first, Moved(Key.second, From, To)}] = Cell;
          Cells = Next;
          break;
        }
        case 1: {
          std::vector<int32_t> Rows{R, (R + 3) % 40, (R + 11) % 40};
          Store.RotateRows(Rows);
          Model Next;
          for (auto& [Key, Cell] : Cells) {
            int32_t Row = Key.first;
            for (size_t I = 0; I < Rows.size(); ++I)
              if (Key.first == Rows[(I + 1) % Rows.size()]) Row = Rows[I];
            Next[{Row, Key.second}] = Cell;
          }
          Cells = Next;
          break;
        }
        case 2:
          Store.EnsureList(R, sqSmall);
          break;
        case 3:
        case 4: {
          TObject* Object = Pick(2) ? &Objects[Pick(3)] : nullptr;
          Store.SetObject(C, R, Object, sqSmall);
          auto& Cell = Cells[{R, C}];
          Cell.second = Object;
          if (Cell.first.empty() && !Object) Cells.erase({R, C});
          break;
        }
        default: {
          const String Text = Pick(3) ? String(size_t(Pick(20)), char('a' + Pick(26))) : "";
          Store.SetText(C, R, Text, sqSmall);
          auto& Cell = Cells[{R, C}];
          Cell.first = Text;
          if (Text.empty() && !Cell.second) Cells.erase({R, C});
        }
      }
    }
    Check();
  }
}

TEST(CellStoreTest, RotatingRowsTakesTheirListsAlong) {
  TCellStore Store(sqSmall);
  Store.SetText(0, 1, "one", sqSmall);
  Store.SetText(0, 20, "twenty", sqSmall);
  TStringSparseList* List = Store.EnsureList(20, sqSmall);
  Store.RotateRows({1, 20, 33});  // 1 takes 20's, 20 takes 33's (nothing), 33 takes 1's
  EXPECT_EQ(Store.FindList(1), List);
  EXPECT_EQ(Store.Text(0, 1), "twenty");
  EXPECT_EQ(Store.Text(0, 20), "");
  EXPECT_EQ(Store.Text(-1, 20), "");  // row 33 never existed, and neither does 20 now
  EXPECT_EQ(Store.Text(0, 33), "one");
}

}  // namespace
}  // namespace bw::testing
