// A TVelloran with a combo editor that drops a list of choices, used at random through the
// headless back end: clicks and double-clicks anywhere on the grid, keys, typing, the
// editor's button and picks from its list. After every step nothing escaped to the
// application, the rows show exactly the shown items, and every text the grid reported as committed
// is in its cell.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ComboEditTestSupport.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/outline/TOutlineNode.h"
#include "stringgrid/TVelloran.h"
#include "tests/support/ModelRun.h"

namespace bw::testing {
namespace {

class TChoiceVelloran : public TVelloran {
 public:
  using TVelloran::TVelloran;

 protected:
  TInplaceEdit* CreateEditor() override {
    auto editor = std::make_unique<TChoiceComboEdit>(this);
    editor->SetGrid(this);
    return editor.release();
  }
};

class ComboEditScriptedUseTest : public ComboEditTest {
 protected:
  void SetUp() override {
    ComboEditTest::SetUp();
    Grid = NewEditingGrid<TChoiceVelloran>(400, 200, 4,
                                           "A\n\tA1\n\tA2\n\t\tA2a\nB\n\tB1\nC\nD\n\tD1\n\tD2\n");
    Grid->OnSetEditText =
        TSetEditEvent([this](TObject*, int32_t ACol, int32_t ARow, const String& Value) {
          Committed[{ACol, ARow}] = Value;
        });
    Application->OnException =
        TExceptionEvent([this](TObject*, const Exception& E) { Escaped.push_back(E.Message()); });
    Grid->SetFocus();
    Application->ProcessMessages();
  }

  void RandomStep(TModelRandom& rnd) {
    const TPoint p{rnd.Below(Grid->ClientWidth()), rnd.Below(Grid->ClientHeight())};
    switch (rnd.Below(9)) {
      case 0:
      case 1:
        THeadlessInput::Click(Grid, p);
        break;
      case 2:
        THeadlessInput::DoubleClick(Grid, p);
        break;
      case 3: {
        static const uint16_t keys[] = {VK_UP,     VK_DOWN, VK_LEFT, VK_RIGHT, VK_RETURN,
                                        VK_ESCAPE, VK_F2,   VK_TAB,  VK_BACK,  VK_HOME};
        THeadlessInput::Key(keys[rnd.Below(10)]);
        break;
      }
      case 4:
      case 5:
        THeadlessInput::Type(std::string(1, char('a' + rnd.Below(26))));
        break;
      case 6:
        if (auto* e = dynamic_cast<TChoiceComboEdit*>(Grid->InplaceEditor()); e && e->Visible())
          ClickButton(e);
        break;
      case 7:
        if (auto* e = dynamic_cast<TChoiceComboEdit*>(Grid->InplaceEditor());
            e && e->GetPopupVisible())
          THeadlessInput::Click(e->List, TPoint{10, rnd.Below(3) * TChoicePopup::RowHeight + 4});
        break;
      case 8:
        // A branch opened or closed by the program, between the user's steps.
        Grid->Outline()
            ->Get(1 + rnd.Below(Grid->Outline()->GetItemCount()))
            ->SetExpandedState(rnd.OneIn(2));
        Grid->Outline()->UpdateGrid();
        break;
    }
    Application->ProcessMessages();
  }

  // The items shown, from a plain walk over the outline's items.
  std::vector<String> ShownItems() {
    std::vector<String> shown;
    const int32_t n = Grid->Outline()->GetItemCount();
    for (int32_t i = 1; i <= n; ++i) {
      bool visible = true;
      for (TOutlineNode* a = Grid->Outline()->Get(i)->Parent(); a && !a->IsRoot(); a = a->Parent())
        visible = visible && a->Expanded();
      if (visible) shown.push_back(Grid->Outline()->Get(i)->Text());
    }
    return shown;
  }

  void ExpectConsistent(int32_t step) {
    ASSERT_TRUE(Escaped.empty()) << Escaped.front() << " at step " << step;
    const std::vector<String> shown = ShownItems();
    ASSERT_EQ(Grid->RowCount(), Grid->FixedRows() + int32_t(shown.size())) << "step " << step;
    for (size_t k = 0; k < shown.size(); ++k) {
      TOutlineNode* node = Grid->RowToOutline(Grid->FixedRows() + int32_t(k));
      ASSERT_TRUE(node && node->Text() == shown[k]) << "row " << k << " at step " << step;
    }
    for (const auto& [cell, value] : Committed)
      ASSERT_EQ(Grid->GetCells(cell.first, cell.second), value)
          << cell.first << "," << cell.second << " at step " << step;
  }

  TChoiceVelloran* Grid = nullptr;
  std::map<std::pair<int32_t, int32_t>, String> Committed;
  std::vector<String> Escaped;
};

TEST_F(ComboEditScriptedUseTest, RandomUseKeepsTheGridConsistent) {
  TModelRandom rnd(1604);
  const int32_t steps = ModelSteps(1500, 30000);
  for (int32_t step = 0; step < steps; ++step) {
    RandomStep(rnd);
    ExpectConsistent(step);
    if (HasFatalFailure()) return;
  }
  EXPECT_FALSE(Committed.empty()) << "the run never committed a text";
}

}  // namespace
}  // namespace bw::testing
