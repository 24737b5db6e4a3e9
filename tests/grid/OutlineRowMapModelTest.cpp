// TCorvath's items and row map against a plain reference outline (a vector of items in
// outline order, each with its level, text and expansion) over long random runs: adds,
// inserts, deletes, line moves, expansion through the Outline object and through nodes,
// loads good and bad, update brackets and fixed-row changes. After every step the items
// must match the reference; whenever the grid is due to be in step (no bracket open, no
// direct change pending) its rows must show exactly the reference's shown items.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CorvathTestUtil.h"
#include "platform/core/Exception.h"
#include "platform/core/TStringStream.h"
#include "platform/outline/EOutlineError.h"
#include "tests/support/ModelRun.h"

namespace bw::testing {
namespace {

// The outline as a list in outline order: item p (from 1) is items[p - 1]. Parents,
// subtree ends and visibility are found by plain scans.
struct TRefOutline {
  struct TItem {
    int32_t level;
    std::string text;
    bool expanded;
  };
  std::vector<TItem> items;

  int32_t Count() const { return static_cast<int32_t>(items.size()); }
  int32_t Level(int32_t p) const { return p == 0 ? 0 : items[size_t(p - 1)].level; }
  TItem& At(int32_t p) { return items[size_t(p - 1)]; }
  // One past the last item of p's subtree.
  int32_t End(int32_t p) const {
    int32_t q = p + 1;
    while (q <= Count() && Level(q) > Level(p))
      ++q;
    return q;
  }
  int32_t Parent(int32_t p) const {
    int32_t q = p - 1;
    while (q > 0 && Level(q) >= Level(p))
      --q;
    return q;
  }
  bool Shown(int32_t p) const {
    for (int32_t a = Parent(p); a > 0; a = Parent(a))
      if (!items[size_t(a - 1)].expanded) return false;
    return true;
  }
  std::vector<int32_t> ShownItems() const {
    std::vector<int32_t> shown;
    for (int32_t p = 1; p <= Count(); ++p)
      if (Shown(p)) shown.push_back(p);
    return shown;
  }
  void InsertAt(int32_t x, int32_t level, std::string text) {
    items.insert(items.begin() + (x - 1), TItem{level, std::move(text), false});
  }
  void DeleteAt(int32_t p) { items.erase(items.begin() + (p - 1), items.begin() + (End(p) - 1)); }
  bool IsLeaf(int32_t p) const { return End(p) == p + 1; }
  std::string Text() const {
    std::string t;
    for (const TItem& i : items)
      t += std::string(size_t(i.level - 1), '\t') + i.text + "\n";
    return t;
  }
};

class OutlineModelRun {
 public:
  explicit OutlineModelRun(uint32_t seed) : rnd(seed) {}

  void Run(int32_t steps) {
    for (step = 0; step < steps; ++step) {
      const int32_t op = PickOperation();
      Apply(op);
      ExpectItemsMatch(op);
      if (brackets == 0 && !pending) ExpectRowsMatch(op);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }

 private:
  TestCorvath grid{nullptr};
  TGridOutlineProperties* outline = grid.Outline();
  TRefOutline ref;
  TModelRandom rnd;
  int32_t step = 0;
  int32_t serial = 0;
  int32_t brackets = 0;
  // A change made through a node or the lines that the grid is not told of until the
  // next UpdateGrid (or the next change made through the Outline object).
  bool pending = false;

  enum {
    kAdd,
    kAddChild,
    kInsert,
    kDelete,
    kToggleNode,
    kBranchNode,
    kFullExpandOrCollapse,
    kMoveLine,
    kRenameNode,
    kLoad,
    kLoadBad,
    kBracket,
    kUpdateGrid,
    kFixedRows,
    kClear,
    kOperations
  };

  int32_t PickOperation() {
    // Big outlines shrink, so the reference's scans stay short.
    if (ref.Count() > 90 && rnd.OneIn(3)) return kDelete;
    int32_t op = rnd.Below(kOperations);
    if ((op == kLoad || op == kClear || op == kFullExpandOrCollapse) && !rnd.OneIn(8))
      op = kAdd + rnd.Below(3);
    return op;
  }

  std::string NewText() { return "i" + std::to_string(++serial); }
  // An item index, or now and then one just outside the range the call accepts.
  int32_t Index(int32_t low) {
    if (rnd.OneIn(30)) return rnd.OneIn(2) ? low - 1 : ref.Count() + 1;
    return ref.Count() < low ? low : rnd.Between(low, ref.Count());
  }
  bool InRange(int32_t i, int32_t low) const { return i >= low && i <= ref.Count(); }

  // A change through the Outline object resynchronises unless a bracket is open.
  void Synced() {
    if (brackets == 0) pending = false;
  }

  void Apply(int32_t op) {
    switch (op) {
      case kAdd:
      case kAddChild:
      case kInsert:
        AddItem(op);
        break;
      case kDelete: {
        const int32_t i = Index(1);
        if (!InRange(i, 1)) {
          EXPECT_THROW(outline->Delete(i), EOutlineError) << Where(op);
        } else {
          outline->Delete(i);
          ref.DeleteAt(i);
        }
        Synced();
        break;
      }
      case kToggleNode: {
        if (ref.Count() == 0) break;
        const int32_t i = rnd.Between(1, ref.Count());
        const bool to = !ref.At(i).expanded;
        outline->Get(i)->SetExpandedState(to);
        ref.At(i).expanded = to;
        pending = true;
        break;
      }
      case kBranchNode: {
        if (ref.Count() == 0) break;
        const int32_t i = rnd.Between(1, ref.Count());
        const bool to = rnd.OneIn(2);
        if (to)
          outline->Get(i)->FullExpand();
        else
          outline->Get(i)->FullCollapse();
        for (int32_t q = i; q < ref.End(i); ++q)
          ref.At(q).expanded = to;
        pending = true;
        break;
      }
      case kFullExpandOrCollapse: {
        const bool to = rnd.OneIn(2);
        if (to)
          outline->FullExpand();
        else
          outline->FullCollapse();
        for (auto& item : ref.items)
          item.expanded = to;
        Synced();
        break;
      }
      case kMoveLine:
        MoveLine();
        break;
      case kRenameNode: {
        if (ref.Count() == 0) break;
        const int32_t i = rnd.Between(1, ref.Count());
        const std::string text = NewText();
        outline->Get(i)->SetText(text);
        ref.At(i).text = text;
        pending = true;
        break;
      }
      case kLoad:
        Load();
        break;
      case kLoadBad: {
        // A line two levels deeper than the one before: refused, nothing changes.
        TStringStream bad(ref.Text() + "x\n\t\t" + NewText() + "\n");
        EXPECT_THROW(outline->LoadFromStream(&bad), EOutlineError) << Where(op);
        Synced();
        break;
      }
      case kBracket:
        if (brackets < 3 && (brackets == 0 || rnd.OneIn(2))) {
          outline->BeginUpdate();
          ++brackets;
        } else if (brackets > 0) {
          outline->EndUpdate();
          --brackets;
          Synced();
        }
        break;
      case kUpdateGrid:
        outline->UpdateGrid();
        Synced();
        break;
      case kFixedRows: {
        const int32_t fixed = rnd.Below(3);
        // A new boundary rebuilds the rows; the same one changes nothing.
        if (fixed < grid.RowCount() && fixed != grid.FixedRows()) {
          grid.SetFixedRows(fixed);
          Synced();
        }
        break;
      }
      case kClear:
        outline->Clear();
        ref.items.clear();
        Synced();
        break;
    }
  }

  void AddItem(int32_t op) {
    const int32_t i = Index(0);
    const std::string text = NewText();
    if (!InRange(i, 0)) {
      EXPECT_THROW(op == kAdd        ? outline->Add(i, text)
                   : op == kAddChild ? outline->AddChild(i, text)
                                     : outline->Insert(i, text),
                   EOutlineError)
          << Where(op);
      Synced();
      return;
    }
    int32_t x, level;
    if (op == kAddChild) {
      x = ref.End(i);
      level = ref.Level(i) + 1;
    } else if (i == 0) {
      x = ref.Count() + 1;
      level = 1;
    } else {
      x = op == kAdd ? ref.End(ref.Parent(i)) : i;
      level = ref.Level(i);
    }
    const int32_t got = op == kAdd        ? outline->Add(i, text)
                        : op == kAddChild ? outline->AddChild(i, text)
                                          : outline->Insert(i, text);
    ref.InsertAt(x, level, text);
    EXPECT_EQ(got, x) << Where(op);
    Synced();
  }

  // A leaf line moved through the outline's lines; a branch, or a place where the
  // line's level does not fit, is refused.
  void MoveLine() {
    if (ref.Count() < 2) return;
    const int32_t from = rnd.Below(ref.Count()), to = rnd.Below(ref.Count());
    TStrings* lines = outline->GetOutlineLines();
    if (from == to) {
      lines->Move(from, to);
      return;
    }
    const int32_t x = from + 1;
    TRefOutline moved = ref;
    const TRefOutline::TItem item = moved.At(x);
    moved.items.erase(moved.items.begin() + from);
    const int32_t below = to + 1 <= moved.Count() ? moved.Level(to + 1) : 0;
    const int32_t low = below > 0 ? std::max(1, below - 1) : 1;
    const int32_t high = moved.Level(to) + 1;
    if (!ref.IsLeaf(x) || item.level < low || item.level > high) {
      EXPECT_THROW(lines->Move(from, to), EOutlineError) << Where(kMoveLine);
      return;
    }
    lines->Move(from, to);
    moved.InsertAt(to + 1, item.level, item.text);
    ref = std::move(moved);
    pending = true;
  }

  // Replaces the items with a random tree read from its text form.
  void Load() {
    TRefOutline fresh;
    const int32_t n = rnd.Below(60);
    for (int32_t k = 0; k < n; ++k) {
      const int32_t level = k == 0 ? 1 : rnd.Between(1, fresh.items.back().level + 1);
      fresh.items.push_back({level, NewText(), false});
    }
    TStringStream text(fresh.Text());
    outline->LoadFromStream(&text);
    ref = std::move(fresh);
    Synced();
  }

  std::string Where(int32_t op) const {
    return "operation " + std::to_string(op) + " at step " + std::to_string(step);
  }

  void ExpectItemsMatch(int32_t op) {
    ASSERT_EQ(outline->GetItemCount(), ref.Count()) << Where(op);
    TStrings* lines = outline->GetOutlineLines();
    for (int32_t p = 1; p <= ref.Count(); ++p) {
      const auto& item = ref.At(p);
      ASSERT_EQ(lines->Get(p - 1), std::string(size_t(item.level - 1), '\t') + item.text)
          << "item " << p << ", " << Where(op);
      ASSERT_EQ(outline->Get(p)->Expanded(), item.expanded) << "item " << p << ", " << Where(op);
    }
  }

  void ExpectRowsMatch(int32_t op) {
    const std::vector<int32_t> shown = ref.ShownItems();
    const int32_t fixed = grid.FixedRows();
    ASSERT_EQ(grid.RowCount(), fixed + std::max<int32_t>(1, int32_t(shown.size()))) << Where(op);
    for (size_t k = 0; k < shown.size(); ++k) {
      const int32_t row = fixed + int32_t(k);
      TOutlineNode* node = grid.RowToOutline(row);
      ASSERT_NE(node, nullptr) << "row " << row << ", " << Where(op);
      ASSERT_EQ(node->Text(), ref.At(shown[k]).text) << "row " << row << ", " << Where(op);
      ASSERT_EQ(grid.RowToOutlineRow(row), fixed + shown[k] - 1)
          << "row " << row << ", " << Where(op);
    }
    if (shown.empty()) {
      ASSERT_EQ(grid.RowToOutline(fixed), nullptr) << Where(op);
    }
  }
};

}  // namespace

TEST(OutlineRowMapModel, ItemsAndRowsMatchReference) {
  OutlineModelRun run(1601);
  run.Run(ModelSteps(50000, 500000));
}

TEST(OutlineRowMapModel, ItemsAndRowsMatchReferenceOtherSeed) {
  OutlineModelRun run(1602);
  run.Run(ModelSteps(50000, 500000));
}

}  // namespace bw::testing
