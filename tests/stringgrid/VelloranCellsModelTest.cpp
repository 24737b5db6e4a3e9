// TVelloran's cells against a plain reference (a map from column and data row to text)
// over long random runs of writes through the cells and both views, column and row moves,
// expansion, fixed-row changes and item deletions. Cells belong to their column and data
// row: only writes and moves change them. After every step the cells, both views and what
// each shown row reads must agree with the reference.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "VelloranFixture.h"
#include "platform/core/TStrings.h"
#include "tests/support/ModelRun.h"

namespace bw::testing {
namespace {

constexpr int32_t kCols = 7;
constexpr int32_t kDataRows = 40;

class VelloranCellsModelTest : public VelloranFixture {
 protected:
  std::map<std::pair<int32_t, int32_t>, std::string> ref;  // (column, data row) -> text
  TModelRandom rnd{1603};
  int32_t step = 0;

  std::string RefCell(int32_t c, int32_t d) const {
    auto it = ref.find({c, d});
    return it == ref.end() ? std::string() : it->second;
  }
  void RefPut(int32_t c, int32_t d, const std::string& s) {
    if (s.empty())
      ref.erase({c, d});
    else
      ref[{c, d}] = s;
  }

  void Write() {
    const int32_t c = rnd.Below(kCols), d = rnd.Below(kDataRows);
    const std::string s = rnd.OneIn(5) ? std::string() : "v" + std::to_string(step);
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
    RefPut(c, d, s);
  }

  // Column From is taken out and put back at To, in every data row.
  void MoveColumn() {
    const int32_t from = rnd.Between(Grid->FixedCols(), kCols - 1);
    const int32_t to = rnd.Between(Grid->FixedCols(), kCols - 1);
    Grid->MoveColumn(from, to);
    std::map<std::pair<int32_t, int32_t>, std::string> moved;
    for (auto& [key, s] : ref) {
      int32_t c = key.first;
      if (c == from)
        c = to;
      else if (from < to && c > from && c <= to)
        --c;
      else if (to < from && c >= to && c < from)
        ++c;
      moved[{c, key.second}] = s;
    }
    ref = std::move(moved);
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
    std::map<std::pair<int32_t, int32_t>, std::string> old = ref;
    for (int32_t c = 0; c < kCols; ++c) {
      for (size_t k = 0; k < rows.size(); ++k) {
        const int32_t source = rows[(k + 1) % rows.size()];
        auto it = old.find({c, source});
        RefPut(c, rows[k], it == old.end() ? std::string() : it->second);
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
    if (n > 20 || (n > 0 && rnd.OneIn(2))) {
      Grid->Outline()->Delete(rnd.Between(1, n));
    } else {
      const int32_t at = rnd.Between(0, n);
      if (rnd.OneIn(2))
        Grid->Outline()->AddChild(at, "n" + std::to_string(step));
      else
        Grid->Outline()->Add(at, "n" + std::to_string(step));
    }
  }

  void ChangeFixedRows() {
    const int32_t fixed = rnd.Below(3);
    if (fixed < Grid->RowCount()) Grid->SetFixedRows(fixed);
  }

  void ExpectCellsMatch(int32_t op) {
    for (int32_t c = 0; c < kCols; ++c) {
      for (int32_t d = 0; d < kDataRows; ++d) {
        const std::string want = RefCell(c, d);
        ASSERT_EQ(Grid->GetCells(c, d), want) << c << "," << d << " op " << op << " step " << step;
      }
    }
    // The views read the same store; a sample of each per step.
    const int32_t c = rnd.Below(kCols), d = rnd.Below(kDataRows);
    ASSERT_EQ(Grid->GetCols(c)->Get(d), RefCell(c, d)) << "step " << step;
    ASSERT_EQ(Grid->GetRows(d)->Get(c), RefCell(c, d)) << "step " << step;
    for (int32_t v = Grid->FixedRows(); v < Grid->RowCount(); ++v) {
      if (!Grid->RowToOutline(v)) continue;
      ASSERT_EQ(Shown(1, v), RefCell(1, Grid->RowToOutlineRow(v)))
          << "row " << v << " step " << step;
    }
  }
};

TEST_F(VelloranCellsModelTest, CellsAndViewsMatchReference) {
  Grid->SetColCount(kCols);
  const int32_t steps = ModelSteps(10000, 100000);
  for (step = 0; step < steps; ++step) {
    const int32_t op = rnd.Below(10);
    if (op < 4)
      Write();
    else if (op == 4)
      MoveColumn();
    else if (op == 5)
      MoveRow();
    else if (op == 6)
      ToggleItem();
    else if (op == 7 || op == 8)
      ChangeItems();
    else
      ChangeFixedRows();
    ExpectCellsMatch(op);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace bw::testing
