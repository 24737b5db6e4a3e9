// Figures for the outline grid on tree T (1,000 top-level items "Item N", each with 999
// children: 1,000,000 items) and tree T10 (10,000 top-level items with 999 children each:
// 10,000,000 items):
//   build_tree      adding T through the grid's Outline object in one update bracket,
//                   per item, with the resident memory it takes per item (RSS delta);
//   load_outline    LoadFromFile of T's text form through the Outline object;
//   sync_expanded   one full SyncOutline with every item expanded;
//   toggle_branch   collapsing and expanding the 500th top-level item (T10: the 5,000th)
//                   by a double-click on its tree cell, up to the rebuilt rows, before
//                   anything is painted; each run gives the slower of the two;
//   row_lookup      RowToOutline for 1,000,000 random rows of the expanded tree;
//   paint_tree      one full paint of a 1200 x 800 grid, one column, rows 14 pixels
//                   high, scrolled to the middle of the expanded T: the grid's Paint
//                   into the back buffer (paint_tree_presented adds invalidating, the
//                   paint pass and handing the frame to the back end);
//   scroll_tree     the same grid scrolled by one row (a third of a wheel notch) and
//                   repainted, 100 times: per step, the grid's own work, that is its
//                   handling of the wheel (which moves the pixels that stay in view) and
//                   its Paint (which draws the row that comes into view);
//                   scroll_tree_presented is the whole step: the wheel message, the paint
//                   pass and handing the frame, moved pixels included, to the back end.
// Times are thread CPU time (see BenchReport.h). The ten-million scenarios need about
// 1 GB of memory; set BW_BENCH_QUICK=1 to leave them out, or BW_BENCH_ONLY=text to run
// only the scenarios whose names contain text.

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchReport.h"
#include "bench/TBenchStage.h"
#include "grid/TCorvath.h"
#include "grid/TGridOutlineProperties.h"
#include "grid/TInGridOutline.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/THeadlessInput.h"

using namespace bw;
using namespace bw::bench;

namespace {

constexpr int32_t kChildren = 999;

/// The texts "Item 1", "Item 2", ... made in place by carrying digits, so that making
/// a text costs little next to adding its item.
class TItemTexts {
 public:
  const String& Next() {
    size_t i = FText.size();
    while (i > 5 && FText[i - 1] == '9')
      FText[--i] = '0';
    if (i == 5)
      FText.insert(FText.begin() + 5, '1');
    else
      ++FText[i - 1];
    return FText;
  }

 private:
  String FText = "Item 0";
};

/// Notes when the last resynchronisation finished, so that a double-click can be timed up
/// to the rebuilt rows, before anything is painted.
class TTimedCorvath : public TCorvath {
 public:
  using TCorvath::TCorvath;
  void SyncOutline() override {
    TCorvath::SyncOutline();
    LastSync = Clock::now();
  }
  /// Changes the hidden outline without telling the grid, so that the next SyncOutline
  /// has to rebuild every row.
  void TouchItems() { HiddenOutline()->FullExpand(); }
  void Paint() override {
    const auto start = Clock::now();
    TCorvath::Paint();
    PaintTime += Clock::now() - start;
  }
  void WMMouseWheel(TMessage& Message) override {
    const auto start = Clock::now();
    TCorvath::WMMouseWheel(Message);
    WheelTime += Clock::now() - start;
  }
  Clock::time_point LastSync;
  Clock::duration PaintTime{};
  Clock::duration WheelTime{};
};

TTimedCorvath* MakeGrid() {
  auto* grid = TBenchStage::NewGrid<TTimedCorvath>();
  grid->SetFixedCols(0);
  grid->SetColCount(1);
  grid->SetDefaultRowHeight(14);
  Application->ProcessMessages();
  return grid;
}

void FreeGrid() {
  Application->Reset();
  malloc_trim(0);
}

void BuildTree(TCorvath* grid, int32_t top) {
  TGridOutlineProperties* outline = grid->Outline();
  TItemTexts texts;
  outline->BeginUpdate();
  for (int32_t i = 0; i < top; ++i) {
    const int32_t parent = outline->Add(0, texts.Next());
    for (int32_t j = 0; j < kChildren; ++j)
      outline->AddChild(parent, texts.Next());
  }
  outline->EndUpdate();
}

void BenchBuild(const std::string& name, int32_t top) {
  if (!Wanted(name)) return;
  const double items = double(top) * (1 + kChildren);
  std::vector<double> ns, bytes;
  for (int run = 0; run < kRuns; ++run) {
    TTimedCorvath* grid = MakeGrid();
    const int64_t before = ResidentBytes();
    const auto start = Clock::now();
    BuildTree(grid, top);
    ns.push_back(Nanos(start, Clock::now()) / items);
    bytes.push_back(double(ResidentBytes() - before) / items);
    if (grid->Outline()->GetItemCount() != int32_t(items)) std::abort();
    FreeGrid();
  }
  Report(name, ns, "ns");
  Report(name + "_memory", bytes, "bytes");
}

void BenchLoad(const String& file) {
  if (!Wanted("load_outline")) return;
  {
    TTimedCorvath* grid = MakeGrid();
    BuildTree(grid, 1000);
    grid->Outline()->SaveToFile(file);
    FreeGrid();
  }
  std::vector<double> ms;
  for (int run = 0; run < kRuns; ++run) {
    TTimedCorvath* grid = MakeGrid();
    const auto start = Clock::now();
    grid->Outline()->LoadFromFile(file);
    ms.push_back(Millis(start, Clock::now()));
    if (grid->Outline()->GetItemCount() != 1000 * (1 + kChildren)) std::abort();
    FreeGrid();
  }
  Report("load_outline", ms, "ms");
}

void BenchSync(const std::string& name, TTimedCorvath* grid) {
  if (!Wanted(name)) return;
  std::vector<double> ms;
  for (int run = 0; run < kRuns; ++run) {
    grid->TouchItems();
    const auto start = Clock::now();
    grid->SyncOutline();
    ms.push_back(Millis(start, Clock::now()));
  }
  Report(name, ms, "ms");
}

bool BenchToggle(const std::string& name, TTimedCorvath* grid, int32_t topItem) {
  if (!Wanted(name)) return true;
  // With everything expanded above it, top-level item k (from 0) shows on row
  // FixedRows + k * 1000; the rows above it do not change when it toggles.
  const int32_t row = grid->FixedRows() + topItem * (1 + kChildren);
  grid->SetTopRow(row);
  Application->ProcessMessages();
  const TRect cell = grid->CellRect(0, row);
  const TPoint point{cell.Left + 30, (cell.Top + cell.Bottom) / 2};
  std::vector<double> slower, collapse, expand;
  for (int run = 0; run < kRuns; ++run) {
    for (std::vector<double>* figure : {&collapse, &expand}) {
      const int32_t before = grid->RowCount();
      const auto start = Clock::now();
      THeadlessInput::DoubleClick(grid, point);
      figure->push_back(Millis(start, grid->LastSync));
      if (grid->RowCount() == before) {
        std::printf("the double-click toggled nothing\n");
        return false;
      }
      // Keep later double-clicks apart from this one.
      THeadlessInput::Backend().AdvanceTime(1000);
    }
    slower.push_back(std::max(collapse.back(), expand.back()));
  }
  Report(name, slower, "ms");
  Report(name + "_collapse", collapse, "ms");
  Report(name + "_expand", expand, "ms");
  return true;
}

void BenchLookup(const std::string& name, TTimedCorvath* grid) {
  if (!Wanted(name)) return;
  std::mt19937 rng(42);
  std::uniform_int_distribution<int32_t> pick(grid->FixedRows(), grid->RowCount() - 1);
  std::vector<int32_t> rows(1'000'000);
  for (int32_t& r : rows)
    r = pick(rng);
  for (int32_t r : rows)
    grid->RowToOutline(r);  // node handles are made on first use
  std::vector<double> ns;
  uintptr_t sink = 0;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = Clock::now();
    for (int32_t r : rows)
      sink += reinterpret_cast<uintptr_t>(grid->RowToOutline(r));
    ns.push_back(Nanos(start, Clock::now()) / double(rows.size()));
  }
  Report(name, ns, "ns");
  if (sink == 1) std::printf("\n");
}

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void BenchPaint(TTimedCorvath* grid) {
  if (!Wanted("paint_tree")) return;
  grid->SetTopRow(grid->RowCount() / 2);
  Application->ProcessMessages();
  constexpr int kFrames = 20;
  std::vector<double> paint, presented;
  for (int run = 0; run < kRuns; ++run) {
    grid->PaintTime = {};
    const auto start = Clock::now();
    for (int i = 0; i < kFrames; ++i) {
      grid->Invalidate();
      grid->Update();
    }
    presented.push_back(Millis(start, Clock::now()) / kFrames);
    paint.push_back(Ms(grid->PaintTime) / kFrames);
  }
  Report("paint_tree", paint, "ms");
  Report("paint_tree_presented", presented, "ms");
}

void BenchScroll(TTimedCorvath* grid) {
  if (!Wanted("scroll_tree")) return;
  grid->SetTopRow(grid->RowCount() / 2);
  grid->SetFocus();  // the wheel turns the focused control
  Application->ProcessMessages();
  const TPoint point{100, 400};
  constexpr int kSteps = 100;
  constexpr int32_t kOneRow = 40;  // a third of a notch
  // Down and back up in turns, so that every run starts in the same place.
  std::vector<double> own, whole;
  for (int run = 0; run < kRuns; ++run) {
    const int32_t delta = run % 2 ? kOneRow : -kOneRow;
    grid->PaintTime = grid->WheelTime = {};
    const auto start = Clock::now();
    for (int i = 0; i < kSteps; ++i) {
      const int32_t top = grid->TopRow();
      THeadlessInput::Wheel(grid, point, delta);
      if (grid->TopRow() != top - delta / kOneRow) {
        std::printf("a wheel step did not scroll by one row\n");
        std::exit(1);
      }
    }
    whole.push_back(Millis(start, Clock::now()) / kSteps);
    own.push_back(Ms(grid->WheelTime + grid->PaintTime) / kSteps);
  }
  Report("scroll_tree", own, "ms");
  Report("scroll_tree_presented", whole, "ms");
}

/// The expanded-tree figures on a grid holding `top` top-level items.
void BenchExpanded(const std::string& suffix, int32_t top) {
  TTimedCorvath* grid = MakeGrid();
  BuildTree(grid, top);
  grid->Outline()->FullExpand();
  Application->ProcessMessages();
  BenchSync("sync_expanded" + suffix, grid);
  if (!BenchToggle("toggle_branch" + suffix, grid, top / 2 - 1)) std::exit(1);
  BenchLookup("row_lookup" + suffix, grid);
  if (suffix.empty()) {
    BenchPaint(grid);
    BenchScroll(grid);
  }
  FreeGrid();
}

}  // namespace

int main() {
  const bool quick = std::getenv("BW_BENCH_QUICK") != nullptr;
  const String folder =
      std::filesystem::temp_directory_path() / ("bwbench." + std::to_string(getpid()));
  std::filesystem::create_directory(folder);

  BenchBuild("build_tree", 1000);
  BenchLoad(folder + "/T.txt");
  std::filesystem::remove_all(folder);
  BenchExpanded("", 1000);
  if (!quick) {
    BenchBuild("build_tree_10m", 10'000);
    BenchExpanded("_10m", 10'000);
  }
  return 0;
}
