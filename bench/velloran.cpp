// Figures for the string grid's cell store and painting:
// - cells_sparse: 10,000 data rows x 50 columns with 1 % of the cells holding a text of 1
//   to 15 characters. Heap bytes per filled cell, the empty store included; then the
//   time of one SetCells (overwriting a filled cell with another text) and of one
//   GetCells (any cell, most of them empty), each over 100,000 random cells.
// - cells_full: the same grid with every cell filled.
// - paint_grid: one full paint of a 1200 x 800 grid, 8 columns, rows 24 pixels high,
//   every visible cell holding a 12-character text.
// Each figure is measured 5 times, on a fresh grid for the store figures (see
// BenchReport.h). The store grids are shown on a form, so every write pays for finding
// and repainting the cell it changed.

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchReport.h"
#include "bench/HeapInUse.h"
#include "bench/TBenchStage.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/controls/TApplication.h"
#include "stringgrid/TVelloran.h"

using namespace bw;
using namespace bw::bench;

namespace {

constexpr int32_t kDataRows = 10'000;
constexpr int32_t kCols = 50;
constexpr int kProbes = 100'000;

struct Cell {
  int32_t Col, Row;
};

/// A shown grid of kCols columns whose data rows 0 to kDataRows - 1 are its fixed row and
/// one top-level item each.
TVelloran* MakeStoreGrid() {
  auto* Grid = TBenchStage::NewGrid<TVelloran>();
  Grid->SetColCount(kCols);
  TGridOutlineProperties* Outline = Grid->Outline();
  Outline->BeginUpdate();
  for (int32_t i = 1; i < kDataRows; ++i)
    Outline->Add(0, "Item " + std::to_string(i));
  Outline->EndUpdate();
  Application->ProcessMessages();
  return Grid;
}

String RandomText(std::mt19937& Rng) {
  std::uniform_int_distribution<int> Length(1, 15), Letter('a', 'z');
  String Text(size_t(Length(Rng)), ' ');
  for (char& C : Text)
    C = char(Letter(Rng));
  return Text;
}

/// Fills Cells with random texts, then measures heap bytes per filled cell, set and get.
void MeasureStore(const char* Name, bool Full) {
  if (!Wanted(Name)) return;
  // What the store holds before any cell is written: what a new string grid takes beyond
  // a new outline grid.
  const size_t Before = HeapInUse();
  auto* Plain = new TCorvath(nullptr);
  const size_t PlainBytes = HeapInUse() - Before;
  delete Plain;
  const size_t Between = HeapInUse();
  auto* Empty = new TVelloran(nullptr);
  const double EmptyStore = double(HeapInUse() - Between) - double(PlainBytes);
  delete Empty;

  std::vector<double> Bytes, Set, Get;
  for (int Run = 0; Run < kRuns; ++Run) {
    std::mt19937 Rng(42 + Run);
    std::vector<Cell> Filled;
    if (Full) {
      for (int32_t R = 0; R < kDataRows; ++R)
        for (int32_t C = 0; C < kCols; ++C)
          Filled.push_back({C, R});
    } else {
      std::vector<int32_t> All(size_t(kDataRows) * kCols);
      for (size_t i = 0; i < All.size(); ++i)
        All[i] = int32_t(i);
      std::shuffle(All.begin(), All.end(), Rng);
      for (size_t i = 0; i < All.size() / 100; ++i)
        Filled.push_back({All[i] % kCols, All[i] / kCols});
    }
    std::vector<String> Texts;
    for (size_t i = 0; i < Filled.size(); ++i)
      Texts.push_back(RandomText(Rng));

    TVelloran* Grid = MakeStoreGrid();
    const size_t Start = HeapInUse();
    for (size_t i = 0; i < Filled.size(); ++i)
      Grid->SetCells(Filled[i].Col, Filled[i].Row, Texts[i]);
    Bytes.push_back((double(HeapInUse() - Start) + EmptyStore) / double(Filled.size()));

    std::uniform_int_distribution<size_t> PickFilled(0, Filled.size() - 1);
    std::vector<Cell> SetCells(kProbes);
    std::vector<String> SetTexts(kProbes);
    for (int i = 0; i < kProbes; ++i) {
      SetCells[size_t(i)] = Filled[PickFilled(Rng)];
      SetTexts[size_t(i)] = RandomText(Rng);
    }
    auto T0 = Clock::now();
    for (int i = 0; i < kProbes; ++i)
      Grid->SetCells(SetCells[size_t(i)].Col, SetCells[size_t(i)].Row, SetTexts[size_t(i)]);
    Set.push_back(Nanos(T0, Clock::now()) / kProbes);

    std::uniform_int_distribution<int32_t> PickCol(0, kCols - 1), PickRow(0, kDataRows - 1);
    std::vector<Cell> GetCells(kProbes);
    for (Cell& C : GetCells)
      C = {PickCol(Rng), PickRow(Rng)};
    size_t Sink = 0;
    T0 = Clock::now();
    for (const Cell& C : GetCells)
      Sink += Grid->GetCells(C.Col, C.Row).size();
    Get.push_back(Nanos(T0, Clock::now()) / kProbes);
    if (Sink == 1) std::printf("\n");
    Application->Reset();
  }
  Report(std::string(Name) + "_bytes_per_cell", Bytes, "B");
  Report(std::string(Name) + "_set", Set, "ns");
  Report(std::string(Name) + "_get", Get, "ns");
}

void MeasurePaint() {
  if (!Wanted("paint_grid")) return;
  auto* Grid = TBenchStage::NewGrid<TVelloran>();
  Grid->SetColCount(8);
  Grid->SetDefaultRowHeight(24);
  for (int32_t C = 0; C < 8; ++C)
    Grid->SetColWidths(C, 148);
  TGridOutlineProperties* Outline = Grid->Outline();
  Outline->BeginUpdate();
  for (int i = 1; i <= 1000; ++i) {
    char Text[13];
    std::snprintf(Text, sizeof Text, "Item %07d", i);
    Outline->Add(0, Text);
  }
  Outline->EndUpdate();
  // Every data row a screen can show, all 8 columns (the outline column's item rows show
  // the items' own 12-character texts).
  for (int32_t R = 0; R <= 40; ++R)
    for (int32_t C = 0; C < 8; ++C) {
      char Text[13];
      std::snprintf(Text, sizeof Text, "r%04dc%06d", R, C);
      Grid->SetCells(C, R, Text);
    }
  Application->ProcessMessages();

  Report("paint_grid", TBenchStage::FullPaintMillis(Grid, 20), "ms");
  Application->Reset();
}

}  // namespace

int main() {
  MeasureStore("cells_sparse", false);
  MeasureStore("cells_full", true);
  MeasurePaint();
  return 0;
}
