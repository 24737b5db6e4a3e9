// Figures for the grid base: a grid of 1,000,000 rows against one of 100, each 1200 x 800
// pixels with 20 columns, every cell drawing a short text. Scrolling by a page (Page Down
// and Page Up, repainted) and painting the whole view must cost the same for both. Each
// figure is measured 5 times and reported as BenchReport.h says (thread CPU time).

#include <string>
#include <vector>

#include "bench/BenchReport.h"
#include "bench/TBenchStage.h"

#include "platform/backend/VirtualKeys.h"
#include "platform/controls/TApplication.h"
#include "platform/graphics/TCanvas.h"
#include "platform/grids/TDrawGrid.h"
#include "platform/grids/TGridAxis.h"

using namespace bw;
using namespace bw::bench;

namespace {

void BenchGrid(int32_t rows, const std::string& label) {
  auto* grid = TBenchStage::NewGrid<TDrawGrid>();
  grid->SetColCount(20);
  grid->SetRowCount(rows);
  grid->OnDrawCell = [grid](TObject*, int32_t c, int32_t r, const TRect& R, TGridDrawState) {
    // The same length of text in both grids, so that only the grid itself differs.
    grid->Canvas()->TextOut(R.Left + 2, R.Top + 2,
                            std::to_string(r % 100) + ":" + std::to_string(c));
  };
  grid->SetTopRow(rows / 2);
  Application->ProcessMessages();

  Report("paint_1200x800_" + label,
         MicrosPerCall(20,
                       [&](int) {
                         grid->Invalidate();
                         grid->Update();
                       }),
         "us");
  // Down a page and back up, so that both grids stay in the same place.
  Report("page_scroll_" + label,
         MicrosPerCall(40,
                       [&](int i) {
                         grid->Perform(WM_KEYDOWN, i % 2 ? VK_PRIOR : VK_NEXT, 0);
                         grid->Update();
                       }),
         "us");
  Report("page_move_no_paint_" + label,
         MicrosPerCall(20000,
                       [&](int i) { grid->Perform(WM_KEYDOWN, i % 2 ? VK_PRIOR : VK_NEXT, 0); }),
         "us");
  Application->Reset();
}

}  // namespace

// Row heights are a default plus the exceptions; setting 100,000 of them from the last
// row up, with the grid asked for its length after each (as a repainting grid does), must
// not cost the square of their number.
void BenchRowHeights() {
  std::vector<double> runs;
  for (int run = 0; run < kRuns; ++run) {
    TGridAxis rows(100'000, 24, 1);
    auto start = Clock::now();
    for (int32_t i = rows.Count() - 1; i >= 0; --i) {
      rows.SetSize(i, 20 + i % 7);
      (void)rows.Length();
    }
    runs.push_back(Millis(start, Clock::now()));
  }
  Report("set_100k_row_heights_last_first", runs, "ms");
}

int main() {
  BenchGrid(100, "100_rows");
  BenchGrid(1'000'000, "1m_rows");
  BenchRowHeights();
  return 0;
}
