// Filling and drawing text into a 1200x800 bitmap, the size of a large grid window.
#include <benchmark/benchmark.h>

#include "platform/graphics/TBitmap.h"

namespace {

using namespace bw;

TBitmap& Surface() {
  static TBitmap b;
  if (b.Empty()) b.SetSize(1200, 800);
  return b;
}

void BM_FillWholeBitmap(benchmark::State& state) {
  TCanvas* c = Surface().Canvas();
  TColor colours[2] = {clWindow, clBtnFace};
  int i = 0;
  for (auto _ : state) {
    c->Brush()->SetColor(colours[i++ & 1]);
    c->FillRect(Rect(0, 0, 1200, 800));
  }
  state.SetItemsProcessed(state.iterations() * 1200 * 800);
}
BENCHMARK(BM_FillWholeBitmap);

// A grid of 12 columns by 40 rows of 100x20 cells, each filled and given its text with
// the clipped-and-opaque text call, with grid lines between them.
void BM_PaintTextGrid(benchmark::State& state) {
  TCanvas* c = Surface().Canvas();
  for (auto _ : state) {
    c->Brush()->SetColor(clWindow);
    for (int32_t row = 0; row < 40; ++row)
      for (int32_t col = 0; col < 12; ++col) {
        TRect cell = Bounds(col * 100, row * 20, 99, 19);
        String text = "Cell " + std::to_string(row) + ", " + std::to_string(col);
        c->ExtTextOut(cell.Left + 2, cell.Top + 2, ETO_OPAQUE | ETO_CLIPPED, &cell, text);
      }
    c->Pen()->SetColor(clBtnFace);
    for (int32_t x = 99; x < 1200; x += 100) {
      c->MoveTo(x, 0);
      c->LineTo(x, 800);
    }
    for (int32_t y = 19; y < 800; y += 20) {
      c->MoveTo(0, y);
      c->LineTo(1200, y);
    }
  }
  state.SetItemsProcessed(state.iterations() * 480);
}
BENCHMARK(BM_PaintTextGrid);

void BM_TextOutLongLine(benchmark::State& state) {
  TCanvas* c = Surface().Canvas();
  c->Brush()->SetStyle(bsClear);
  const String line(150, 'x');
  for (auto _ : state)
    for (int32_t y = 0; y < 800; y += 16)
      c->TextOut(0, y, line);
  state.SetItemsProcessed(state.iterations() * 50 * 150);
}
BENCHMARK(BM_TextOutLongLine);

// Grid lines and cell frames whose ends lie far outside the bitmap, as a grid with cells
// millions of pixels wide draws them: only the visible part should cost anything.
void BM_LongLinesThroughTheBitmap(benchmark::State& state) {
  TCanvas* c = Surface().Canvas();
  c->Pen()->SetColor(clBtnFace);
  const int32_t far = 1 << 20;
  for (auto _ : state) {
    for (int32_t i = 0; i < 20; ++i) {
      c->MoveTo(-far, 40 * i);
      c->LineTo(far, 40 * i + 7);
      c->MoveTo(60 * i, -far);
      c->LineTo(60 * i - 5, far);
    }
    TRect cell = Rect(-far, -far, far, far);
    c->Frame3D(cell, clBtnHighlight, clBtnShadow, 1);
    c->Brush()->SetColor(clBlack);
    c->FrameRect(Rect(5, 5, far, far));
    c->DrawFocusRect(Rect(-far, 10, far, 30));
  }
  state.SetItemsProcessed(state.iterations() * 43);
}
BENCHMARK(BM_LongLinesThroughTheBitmap);

}  // namespace

BENCHMARK_MAIN();
