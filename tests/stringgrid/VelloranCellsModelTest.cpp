// TVelloran's cells against a plain reference (a map from column and data row to text and
// object) over long random runs of writes through the cells and both views, texts of every
// length around the in-place limit, objects with and without text, whole rows assigned and
// cleared, rows given lists of their own, column and row moves and deletions, expansion,
// fixed-row changes and item edits. Cells belong to their column and data row: only
// writes and moves change them. After every step the cells, both views and what each
// shown row reads must agree with the reference.
//
// A second run mixes the same changes with scrolling (by property, keyboard and wheel),
// resizing, row heights and line widths, and checks after every step that what the back
// end shows is what a full paint shows: a write to a cell on screen must have repainted it.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "VelloranFixture.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/core/TStringList.h"
#include "platform/core/TStrings.h"
#include "tests/support/FullPaintCheck.h"
#include "tests/support/ModelRun.h"

namespace bw::testing {
namespace {

constexpr int32_t kCols = 7;

struct Item : TObject {};

class VelloranCellsModelTest : public VelloranFixture {
 protected:
  struct TRefCell {
    std::string Text;
    TObject* Obj = nullptr;
  };
  std::map<std::pair<int32_t, int32_t>, TRefCell> ref;  // (column, data row) -> cell
  Item objects[3];
  TModelRandom rnd{1603};
  int32_t step = 0;
  int32_t dataRows = 40;
  int32_t maxItems = 20;

  TRefCell RefCell(int32_t c, int32_t d) const {
    auto it = ref.find({c, d});
    return it == ref.end() ? TRefCell{} : it->second;
  }
  void RefPutText(int32_t c, int32_t d, const std::string& s) {
    TRefCell& cell = ref[{c, d}];
    cell.Text = s;
    if (s.empty() && !cell.Obj) ref.erase({c, d});
  }
  void RefPutObject(int32_t c, int32_t d, TObject* o) {
    TRefCell& cell = ref[{c, d}];
    cell.Obj = o;
    if (cell.Text.empty() && !o) ref.erase({c, d});
  }

  // Lengths around the 15 characters a cell holds in place, and long ones; every text
  // starts with the step, so that a stale one shows even where the cell cuts it.
  std::string RandomText() {
    static constexpr size_t kLengths[] = {0, 1, 7, 14, 15, 16, 17, 31, 64};
    const size_t length = kLengths[rnd.Below(9)];
    if (length == 0) return std::string();
    std::string s = std::to_string(step) + ":";
    s.resize(length, char('a' + rnd.Below(26)));
    return s;
  }
  TObject* RandomObject() { return rnd.OneIn(3) ? nullptr : &objects[rnd.Below(3)]; }

  void Write() {
    const int32_t c = rnd.Below(kCols), d = rnd.Below(dataRows);
    const std::string s = RandomText();
    switch (rnd.Below(3)) {
      case 0:
        Grid->SetCells(c, d, s);
        break;
      case 1:
        Grid->GetCols(c)->Put(d, s);
        break;
      case 2:
        Grid->GetRows(d)->Put(c, s);
        break;
    }
    RefPutText(c, d, s);
  }

  void WriteObject() {
    const int32_t c = rnd.Below(kCols), d = rnd.Below(dataRows);
    TObject* o = RandomObject();
    if (rnd.OneIn(2))
      Grid->SetObjects(c, d, o);
    else
      Grid->GetCols(c)->PutObject(d, o);
    RefPutObject(c, d, o);
  }

  // Columns 0 to n - 1 of a row written in order, then maybe one of them cleared: a row
  // that holds exactly its first columns, and one with a gap or a shorter end.
  void FillRow() {
    const int32_t d = rnd.Below(dataRows), n = rnd.Between(1, kCols);
    for (int32_t c = 0; c < n; ++c) {
      const std::string s = std::to_string(step) + "/" + std::to_string(c);
      Grid->SetCells(c, d, s);
      RefPutText(c, d, s);
    }
    if (rnd.OneIn(2)) {
      const int32_t c = rnd.Below(kCols);
      Grid->SetCells(c, d, "");
      RefPutText(c, d, "");
    }
  }

  // A row assigned whole takes the texts and objects of the first ColCount entries.
  void AssignRow() {
    const int32_t d = rnd.Below(dataRows);
    TStringList source;
    const int32_t n = rnd.Between(1, kCols + 2);
    for (int32_t i = 0; i < n; ++i) {
      const std::string s = RandomText();
      TObject* o = rnd.OneIn(4) ? &objects[0] : nullptr;
      source.AddObject(s, o);
      if (i < Grid->ColCount()) {
        RefPutText(i, d, s);
        RefPutObject(i, d, o);
      }
    }
    Grid->SetRows(d, &source);
  }

  // A row's Clear empties the texts of its columns, a column's those of every data row;
  // the objects stay.
  void ClearRowOrColumn() {
    if (rnd.OneIn(2)) {
      const int32_t d = rnd.Below(dataRows);
      Grid->GetRows(d)->Clear();
      for (int32_t c = 0; c < kCols; ++c)
        RefPutText(c, d, "");
    } else {
      const int32_t c = rnd.Below(kCols);
      const int32_t count = Grid->GetCols(c)->GetCount();
      Grid->GetCols(c)->Clear();
      for (int32_t d = 0; d < std::min(count, dataRows); ++d)
        RefPutText(c, d, "");
    }
  }

  void MakeRowList() { Grid->EnsureDataRow(rnd.Below(dataRows)); }

  void RefMoveColumn(int32_t from, int32_t to) {
    std::map<std::pair<int32_t, int32_t>, TRefCell> moved;
    for (auto& [key, cell] : ref) {
      int32_t c = key.first;
      if (c == from)
        c = to;
      else if (from < to && c > from && c <= to)
        --c;
      else if (to < from && c >= to && c < from)
        ++c;
      moved[{c, key.second}] = cell;
    }
    ref = std::move(moved);
  }

  // Column From is taken out and put back at To, in every data row.
  void MoveColumn() {
    const int32_t from = rnd.Between(Grid->FixedCols(), kCols - 1);
    const int32_t to = rnd.Between(Grid->FixedCols(), kCols - 1);
    Grid->MoveColumn(from, to);
    RefMoveColumn(from, to);
  }

  // A deleted column moves to the end and goes; a new last column shows what it held.
  void DeleteColumn() {
    const int32_t c = rnd.Between(Grid->FixedCols(), kCols - 1);
    Grid->DeleteColumn(c);
    RefMoveColumn(c, kCols - 1);
    Grid->SetColCount(kCols);
  }

  // The data rows shown from visual row From to To pass their cells on by one; the cells
  // of From's data row land at To's.
  void MoveRow() {
    const int32_t first = Grid->FixedRows(), last = Grid->RowCount() - 1;
    if (Grid->RowToOutline(first) == nullptr || last <= first) return;
    const int32_t from = rnd.Between(first, last), to = rnd.Between(first, last);
    std::vector<int32_t> rows;
    for (int32_t v = from; v != to + (from < to ? 1 : -1); v += from < to ? 1 : -1)
      rows.push_back(Grid->RowToOutlineRow(v));
    Grid->MoveRow(from, to);
    if (from == to) return;
    const auto old = ref;
    for (int32_t c = 0; c < kCols; ++c) {
      for (size_t k = 0; k < rows.size(); ++k) {
        auto it = old.find({c, rows[(k + 1) % rows.size()]});
        const TRefCell cell = it == old.end() ? TRefCell{} : it->second;
        RefPutText(c, rows[k], cell.Text);
        RefPutObject(c, rows[k], cell.Obj);
      }
    }
  }

  void ToggleItem() {
    const int32_t n = Grid->Outline()->GetItemCount();
    if (n == 0) return;
    TOutlineNode* node = Grid->Outline()->Get(rnd.Between(1, n));
    node->SetExpandedState(!node->Expanded());
    Grid->Outline()->UpdateGrid();
  }

  void ChangeItems() {
    const int32_t n = Grid->Outline()->GetItemCount();
    if (n > maxItems || (n > 0 && rnd.OneIn(2))) {
      Grid->Outline()->Delete(rnd.Between(1, n));
    } else {
      const int32_t at = rnd.Between(0, n);
      if (rnd.OneIn(2))
        Grid->Outline()->AddChild(at, "n" + std::to_string(step));
      else
        Grid->Outline()->Add(at, "n" + std::to_string(step));
    }
  }

  // Items deleted and added in one batch of the outline, with writes between them.
  void ChangeItemsInABatch() {
    Grid->Outline()->BeginUpdate();
    for (int i = rnd.Between(1, 3); i > 0; --i) {
      ChangeItems();
      Write();
    }
    Grid->Outline()->EndUpdate();
  }

  void ChangeFixedRows() {
    const int32_t fixed = rnd.Below(3);
    if (fixed < Grid->RowCount()) Grid->SetFixedRows(fixed);
  }

  // One change of the cells or of the rows they are shown on.
  void ChangeCellsOrRows() {
    switch (rnd.Below(16)) {
      case 0:
      case 1:
      case 2:
      case 3:
        return Write();
      case 4:
        return WriteObject();
      case 5:
        return FillRow();
      case 6:
        return AssignRow();
      case 7:
        return ClearRowOrColumn();
      case 8:
        return MakeRowList();
      case 9:
        return MoveColumn();
      case 10:
        return DeleteColumn();
      case 11:
        return MoveRow();
      case 12:
        return ToggleItem();
      case 13:
        return ChangeItems();
      case 14:
        return ChangeItemsInABatch();
      default:
        return ChangeFixedRows();
    }
  }

  void ExpectCellsMatch() {
    for (int32_t c = 0; c < kCols; ++c) {
      for (int32_t d = 0; d < dataRows; ++d) {
        const TRefCell want = RefCell(c, d);
        ASSERT_EQ(Grid->GetCells(c, d), want.Text) << c << "," << d << " step " << step;
        ASSERT_EQ(Grid->GetObjects(c, d), want.Obj) << c << "," << d << " step " << step;
      }
    }
    // The views read the same store; a sample of each per step.
    const int32_t c = rnd.Below(kCols), d = rnd.Below(dataRows);
    ASSERT_EQ(Grid->GetCols(c)->Get(d), RefCell(c, d).Text) << "step " << step;
    ASSERT_EQ(Grid->GetRows(d)->Get(c), RefCell(c, d).Text) << "step " << step;
    ASSERT_EQ(Grid->GetRows(d)->GetObject(c), RefCell(c, d).Obj) << "step " << step;
    for (int32_t v = Grid->FixedRows(); v < Grid->RowCount(); ++v) {
      if (!Grid->RowToOutline(v)) continue;
      ASSERT_EQ(Shown(1, v), RefCell(1, Grid->RowToOutlineRow(v)).Text)
          << "row " << v << " step " << step;
    }
  }

  // ---- what decides which rows are on screen -------------------------------------------

  void Scroll() {
    switch (rnd.Below(4)) {
      case 0:
        Grid->SetTopRow(rnd.Between(Grid->FixedRows(), Grid->RowCount() - 1));
        break;
      case 1:
        THeadlessInput::Wheel(Grid, CellCenter(1, Grid->FixedRows()), rnd.OneIn(2) ? 120 : -120);
        break;
      default: {
        static constexpr uint16_t kKeys[] = {VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR, VK_HOME, VK_END};
        Grid->SetFocus();
        THeadlessInput::Key(kKeys[rnd.Below(6)], rnd.OneIn(4) ? kModCtrl : 0);
      }
    }
  }

  void ChangeView() {
    switch (rnd.Below(5)) {
      case 0:
        Grid->SetHeight(rnd.Between(60, 360));
        break;
      case 1:
        Grid->SetWidth(rnd.Between(200, 480));
        break;
      case 2:
        if (Grid->RowCount() > 1)
          Grid->SetRowHeights(rnd.Between(0, Grid->RowCount() - 1), rnd.Between(-1, 90));
        break;
      case 3:
        Grid->SetDefaultRowHeight(rnd.Between(6, 40));
        break;
      default:
        Grid->SetGridLineWidth(rnd.Below(4));
    }
  }
};

TEST_F(VelloranCellsModelTest, CellsAndViewsMatchReference) {
  Grid->SetColCount(kCols);
  const int32_t steps = ModelSteps(10000, 100000);
  for (step = 0; step < steps; ++step) {
    ChangeCellsOrRows();
    ExpectCellsMatch();
    if (HasFatalFailure()) return;
  }
}

TEST_F(VelloranCellsModelTest, WhatIsShownMatchesAFullPaint) {
  Grid->SetColCount(kCols);
  for (int32_t c = 0; c < kCols; ++c)
    Grid->SetColWidths(c, 40);
  Grid->Outline()->BeginUpdate();
  for (int32_t i = 0; i < 40; ++i)
    Grid->Outline()->Add(0, "i" + std::to_string(i));
  Grid->Outline()->EndUpdate();
  dataRows = 60;
  maxItems = 55;
  Application->ProcessMessages();
  const int32_t steps = ModelSteps(60, 3000);
  for (step = 0; step < steps; ++step) {
    const int32_t op = rnd.Below(3);
    if (op == 0)
      Scroll();
    else if (op == 1)
      ChangeView();
    else
      ChangeCellsOrRows();
    // Writes after the change, before anything is painted.
    for (int i = rnd.Below(4); i > 0; --i)
      Write();
    ASSERT_TRUE(ShowsLikeFullPaint(Form, "velloran-model-" + std::to_string(step)))
        << "step " << step << " op " << op;
  }
}

}  // namespace
}  // namespace bw::testing
