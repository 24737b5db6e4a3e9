// The smallest program on Brantwell: a form holding an outline grid with a few items, one
// branch expanded, written to a PNG file. Runs without a display (the headless back end).
#include <brantwell/grid/TCorvath.h>
#include <brantwell/grid/TGridOutlineProperties.h>
#include <brantwell/platform/controls/TApplication.h>
#include <brantwell/platform/controls/TForm.h>
#include <brantwell/platform/outline/TOutlineNode.h>

#include <iostream>

int main(int argc, char** argv) {
  using namespace bw;
  const String picture = argc > 1 ? argv[1] : "minimal.png";
  try {
    auto* form = new TForm(Application);  // the application frees its forms
    form->SetCaption("Minimal");
    form->SetBounds(100, 100, 320, 200);

    auto* grid = new TCorvath(form);  // and a form the controls it owns
    grid->SetParent(form);
    grid->SetBounds(8, 8, 304, 184);
    grid->SetColCount(2);

    TGridOutlineProperties* items = grid->Outline();
    items->BeginUpdate();  // the grid rebuilds its rows once, at EndUpdate
    const int32_t fruit = items->Add(0, "Fruit");
    items->AddChild(fruit, "Apple");
    items->AddChild(fruit, "Pear");
    items->Add(0, "Vegetables");
    items->Get(fruit)->Expand();  // a node changed directly: seen at EndUpdate (or UpdateGrid)
    items->EndUpdate();

    form->Show();
    // Paints what is pending before taking the picture: no message loop needed here.
    form->SaveSnapshotPng(picture);
    std::cout << "Wrote " << picture << " (" << grid->RowCount() << " rows)\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "minimal: " << e.what() << "\n";
    return 1;
  }
}
