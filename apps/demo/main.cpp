// The demo: a form with an outline grid on the headless back end. It fills the tree,
// expands a branch with a scripted double-click, and writes a picture of the form before
// and after, so the grid can be seen without a display.
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "grid/TCorvath.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/controls/THeadlessInput.h"
#include "platform/core/TStringStream.h"
#include "platform/graphics/TCanvas.h"
#include "platform/outline/TOutlineNode.h"

namespace {

using namespace bw;

const char* const kTree =
    "Brantwell\n"
    "\tplatform\n\t\tcore\n\t\tgraphics\n\t\tcontrols\n\t\tgrids\n\t\toutline\n"
    "\tsparse\n\tgrid\n\t\tTCorvath\n\t\tTInGridOutline\n\t\tTGridOutlineProperties\n"
    "\teditor\n\t\tTGridEditProperties\n"
    "\tpackage\n\t\tKEMBITMAP_OPEN.bmp\n\t\tKEMBITMAP_CLOSED.bmp\n\t\tKEMBITMAP_LEAF.bmp\n"
    "README.md\n";

// The application paints the titles and the columns beside the tree: how many children an
// item has and its level.
void DrawOtherCells(TCorvath* Grid, int32_t ACol, int32_t ARow, const TRect& Rect) {
  TCanvas* Canvas = Grid->Canvas();
  if (ARow < Grid->FixedRows()) {
    static const char* const kTitles[] = {"Item", "Children", "Level"};
    if (ACol >= 0 && ACol < 3) Canvas->TextOut(Rect.Left + 4, Rect.Top + 4, kTitles[ACol]);
    return;
  }
  TOutlineNode* Node = Grid->RowToOutline(ARow);
  if (!Node) return;
  int32_t Value = Node->Level();
  if (ACol == 1) {
    Value = 0;
    for (int32_t C = Node->GetFirstChild(); C != -1; C = Node->GetNextChild(C))
      ++Value;
  }
  Canvas->TextOut(Rect.Left + 4, Rect.Top + 4, std::to_string(Value));
}

void Expand(TCorvath* Grid, const String& Text) {
  const int32_t Index = Grid->Outline()->GetTextItem(Text);
  if (Index > 0) Grid->Outline()->Get(Index)->SetExpandedState(true);
}

// The row on which an item is shown, or -1.
int32_t RowOf(TCorvath* Grid, const String& Text) {
  for (int32_t Row = Grid->FixedRows(); Row < Grid->RowCount(); ++Row)
    if (TOutlineNode* Node = Grid->RowToOutline(Row); Node && Node->Text() == Text) return Row;
  return -1;
}

void PrintRows(TCorvath* Grid) {
  for (int32_t Row = Grid->FixedRows(); Row < Grid->RowCount(); ++Row)
    if (TOutlineNode* Node = Grid->RowToOutline(Row))
      std::cout << "  " << String(2 * (Node->Level() - 1), ' ')
                << (Node->HasChildren() ? (Node->Expanded() ? "- " : "+ ") : "  ") << Node->Text()
                << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::filesystem::path OutDir = argc > 1 ? argv[1] : "demo-out";
    std::filesystem::create_directories(OutDir);

    TForm* Form = new TForm(Application);
    Form->SetCaption("Brantwell demo");
    Form->SetBounds(40, 40, 460, 500);
    auto* Grid = new TCorvath(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(8, 8, 444, 484);
    Grid->SetColCount(3);
    Grid->SetFixedCols(0);
    Grid->SetColWidths(0, 250);
    Grid->SetColWidths(1, 90);
    Grid->SetColWidths(2, 70);
    Grid->OnDrawCell =
        TDrawCellEvent([Grid](TObject*, int32_t ACol, int32_t ARow, const TRect& Rect,
                              TGridDrawState) { DrawOtherCells(Grid, ACol, ARow, Rect); });

    TStringStream Items(kTree);
    Grid->Outline()->BeginUpdate();
    Grid->Outline()->LoadFromStream(&Items);
    for (const char* Text : {"Brantwell", "platform", "grid"})
      Expand(Grid, Text);
    Grid->Outline()->EndUpdate();

    Form->Show();
    Application->ProcessMessages();
    auto& Screen = THeadlessInput::Backend();
    const auto Before = OutDir / "corvath.png";
    Screen.SaveWindowPng(Form->Surface(), Before.string());
    std::cout << "Rows of the grid:\n";
    PrintRows(Grid);

    // Double-click the "editor" item's outline cell, as a user would.
    const int32_t Row = RowOf(Grid, "editor");
    const TRect Cell = Grid->CellRect(Grid->OutlineCol(), Row);
    THeadlessInput::DoubleClick(Grid, TPoint{Cell.Left + 30, (Cell.Top + Cell.Bottom) / 2});
    Application->ProcessMessages();
    const auto After = OutDir / "corvath-expanded.png";
    Screen.SaveWindowPng(Form->Surface(), After.string());
    std::cout << "After a double-click on \"editor\":\n";
    PrintRows(Grid);

    std::cout << "Pictures: " << Before.string() << ", " << After.string() << "\n";
    return 0;
  } catch (const std::exception& E) {
    std::cerr << "demo failed: " << E.what() << "\n";
    return 1;
  }
}
