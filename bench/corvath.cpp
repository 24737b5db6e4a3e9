// Figures for the outline grid on tree T (1,000 top-level items "Item N", each with 999
// children): rebuilding the row map with every item expanded (1,000,000 rows), collapsing
// and expanding the 500th top-level item by a scripted double-click until the rows are
// rebuilt, RowToOutline for random rows, and one paint of a 1200 x 800 grid scrolled to
// the middle. Each figure is measured 5 times; the minimum and the median are printed as
// "name: value unit". Times are the CPU time of this thread, so that other programs on a
// shared machine disturb them less.

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "grid/TCorvath.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/controls/THeadlessInput.h"

using namespace bw;

namespace {

// The thread's CPU time as a std::chrono clock.
struct Clock {
  using duration = std::chrono::nanoseconds;
  using rep = duration::rep;
  using period = duration::period;
  using time_point = std::chrono::time_point<Clock>;
  static constexpr bool is_steady = true;
  static time_point now() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return time_point(duration(int64_t(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec));
  }
};
constexpr int kRuns = 5;

void Report(const std::string& name, std::vector<double> values, const char* unit) {
  std::sort(values.begin(), values.end());
  std::printf("%s_min: %.3f %s\n", name.c_str(), values.front(), unit);
  std::printf("%s_median: %.3f %s\n", name.c_str(), values[values.size() / 2], unit);
}

double Millis(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

/// Notes when the last resynchronisation finished, so that a double-click can be timed up
/// to the rebuilt rows, before anything is painted.
class TTimedCorvath : public TCorvath {
 public:
  using TCorvath::TCorvath;
  void SyncOutline() override {
    TCorvath::SyncOutline();
    LastSync = Clock::now();
  }
  Clock::time_point LastSync;
};

void BuildTreeT(TCorvath* grid) {
  TGridOutlineProperties* outline = grid->Outline();
  outline->BeginUpdate();
  int n = 1;
  for (int i = 0; i < 1000; ++i) {
    const int32_t top = outline->Add(0, "Item " + std::to_string(n++));
    for (int j = 0; j < 999; ++j)
      outline->AddChild(top, "Item " + std::to_string(n++));
  }
  outline->EndUpdate();
  outline->FullExpand();
}

}  // namespace

int main() {
  Application->Reset();
  auto* form = new TForm(Application);
  form->SetBounds(0, 0, 1220, 840);
  form->Show();
  auto* grid = new TTimedCorvath(form);
  grid->SetParent(form);
  grid->SetBounds(0, 0, 1200, 800);
  grid->SetFixedCols(0);
  grid->SetColCount(1);
  grid->SetDefaultRowHeight(14);
  BuildTreeT(grid);
  Application->ProcessMessages();
  std::printf("rows: %d\n", grid->RowCount());

  {
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
      const auto start = Clock::now();
      for (int i = 0; i < 10; ++i)
        grid->SyncOutline();
      runs.push_back(Millis(start, Clock::now()) / 10);
    }
    Report("sync_outline_1m_rows", runs, "ms");
  }

  {
    // The 500th top-level item is item 499,001 and, with everything expanded above it,
    // shows on row 499,001; the rows above it do not change when it toggles.
    const int32_t row = grid->FixedRows() + 499 * 1000;
    grid->SetTopRow(row);
    Application->ProcessMessages();
    const TRect cell = grid->CellRect(0, row);
    const TPoint point{cell.Left + 30, (cell.Top + cell.Bottom) / 2};
    std::vector<double> collapse, expand;
    for (int run = 0; run < kRuns; ++run) {
      for (std::vector<double>* figure : {&collapse, &expand}) {
        const int32_t before = grid->RowCount();
        const auto start = Clock::now();
        THeadlessInput::DoubleClick(grid, point);
        figure->push_back(Millis(start, grid->LastSync));
        if (grid->RowCount() == before) {
          std::printf("the double-click toggled nothing\n");
          return 1;
        }
        // Keep later double-clicks apart from this one.
        THeadlessInput::Backend().AdvanceTime(1000);
      }
    }
    Report("collapse_by_double_click", collapse, "ms");
    Report("expand_by_double_click", expand, "ms");
  }

  {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int32_t> pick(grid->FixedRows(), grid->RowCount() - 1);
    std::vector<int32_t> rows(1'000'000);
    for (int32_t& r : rows)
      r = pick(rng);
    for (int32_t r : rows)
      grid->RowToOutline(r);  // node handles are made on first use
    std::vector<double> runs;
    uintptr_t sink = 0;
    for (int run = 0; run < kRuns; ++run) {
      const auto start = Clock::now();
      for (int32_t r : rows)
        sink += reinterpret_cast<uintptr_t>(grid->RowToOutline(r));
      runs.push_back(Millis(start, Clock::now()) * 1e6 / double(rows.size()));
    }
    Report("row_to_outline", runs, "ns");
    if (sink == 1) std::printf("\n");
  }

  {
    grid->SetTopRow(grid->RowCount() / 2);
    Application->ProcessMessages();
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
      const auto start = Clock::now();
      for (int i = 0; i < 20; ++i) {
        grid->Invalidate();
        grid->Update();
      }
      runs.push_back(Millis(start, Clock::now()) / 20);
    }
    Report("paint_1200x800", runs, "ms");
  }

  Application->Reset();
  return 0;
}
