// The grid's side of the combo editor: the editor it creates from its Editor options,
// OnButtonClick with the current column and data row, the text it returns reaching the
// cell, OnEditAcceptKey, Enter committing, and a popup that stays with its cell.

#include <cstdlib>
#include <map>

#include "ComboEditTestSupport.h"
#include "editor/TGridEditProperties.h"
#include "grid/TCorvath.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/controls/WinApi.h"
#include "platform/core/Exception.h"
#include "platform/core/TStringStream.h"
#include "platform/graphics/TFont.h"

namespace bw::testing {
namespace {

/// A grid that edits with the list-of-choices editor, as a descendant offering a popup
/// would.
class TChoiceCorvath : public TCorvath {
 public:
  using TCorvath::TCorvath;

 protected:
  TInplaceEdit* CreateEditor() override {
    auto* e = new TChoiceComboEdit(this, {"one", "two", "three"});
    e->SetGrid(this);
    return e;
  }
};

class ComboEditWiringTest : public ComboEditTest {
 protected:
  void SetUp() override {
    ComboEditTest::SetUp();
    Form->SetBounds(100, 100, 500, 400);
    UseGrid(new TCorvath(Form));
  }

  /// Puts a grid on the form with items A (holding A1, collapsed) and B, its cells kept
  /// in Cells by column and visual row.
  void UseGrid(TCorvath* G) {
    delete Grid;
    Grid = G;
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 480, 360);
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    TStringStream items("A\n\tA1\nB\n");
    Grid->Outline()->LoadFromStream(&items);
    Grid->OnGetEditText = TGetEditEvent([this](TObject*, int32_t C, int32_t R, String& V) {
      V = Cells[{C, R}];
    });
    Grid->OnSetEditText = TSetEditEvent([this](TObject*, int32_t C, int32_t R, const String& V) {
      Cells[{C, R}] = V;
      ++Commits;
    });
    Grid->SetFocus();
    Application->ProcessMessages();
  }

  TInplaceComboEdit* Edit(int32_t ACol, int32_t ARow) { return OpenEditor(Grid, ACol, ARow); }

  TCorvath* Grid = nullptr;
  std::map<std::pair<int32_t, int32_t>, String> Cells;
  int Commits = 0;
};

TEST_F(ComboEditWiringTest, NewGridsEditWithThreeDotsInAFifteenPixelButton) {
  auto* e = Edit(1, 2);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Owner(), Grid);
  EXPECT_EQ(e->GlyphKind(), gkEllipsis);
  EXPECT_EQ(e->GetButtonWidth(), 15);
  EXPECT_EQ(Rows(*e->GetGlyph()),
            (std::vector<String>{"...........", "##..##..##.", "##..##..##.", "..........."}));
  EXPECT_FALSE(e->ReadOnly());
  EXPECT_TRUE(e->GetDirectInput());
  EXPECT_EQ(e->ClickKey(), kDefaultClickKey);
  // The editor covers the cell, its button at the cell's right edge.
  const TRect cell = Grid->CellRect(1, 2);
  EXPECT_EQ(e->BoundsRect(), cell);
  EXPECT_EQ(e->ButtonHolder()->Left(), cell.Width() - 15 - 2);
}

TEST_F(ComboEditWiringTest, EditorsTakeTheOptionsAtCreationOnly) {
  TBitmap glyph;
  glyph.SetSize(16, 16);
  Grid->Editor()->SetBitmap(&glyph);
  auto* e = Edit(1, 1);
  EXPECT_EQ(e->GlyphKind(), gkCustom);
  EXPECT_EQ(e->GetGlyph()->Width(), 16);
  EXPECT_EQ(e->GetButtonWidth(), 20);
  // Later changes leave the existing editor as it was.
  Grid->Editor()->SetButtonWidth(30);
  Grid->SetCol(2);
  Application->ProcessMessages();
  EXPECT_EQ(e->GetButtonWidth(), 20);

  UseGrid(new TCorvath(Form));
  Grid->Editor()->SetBitmap(&glyph);
  Grid->Editor()->SetButtonWidth(30);
  e = Edit(1, 1);
  EXPECT_EQ(e->GetButtonWidth(), 30);
  EXPECT_EQ(e->ButtonHolder()->Width(), 30) << "sizing the editor to its cell placed the holder";
  EXPECT_EQ(e->GetGlyph()->Width(), 16);
}

TEST_F(ComboEditWiringTest, TheEditorFollowsTheGridsFont) {
  auto* e = Edit(1, 1);
  const int32_t before = e->GetTextHeight();
  Grid->Font()->SetHeight(-8);
  EXPECT_EQ(e->Font()->Height(), -8);
  EXPECT_EQ(e->GetTextHeight(), e->Font()->TextMetrics().tmHeight);
  EXPECT_LT(e->GetTextHeight(), before);
  EXPECT_TRUE(e->Focused()) << "the re-created window keeps the focus";
  EXPECT_EQ(GetCaretInfo().Height, e->GetTextHeight());
}

TEST_F(ComboEditWiringTest, AWideButtonKeepsTheDotsOfTheFifteenPixelLayout) {
  Grid->Editor()->SetButtonWidth(40);
  auto* e = Edit(1, 1);
  EXPECT_EQ(e->GetButtonWidth(), 40);
  EXPECT_EQ(e->GetGlyph()->Width(), 11);
  EXPECT_EQ(e->ButtonHolder()->Width(), 40);
  EXPECT_EQ(e->FormatRect().Right, e->ButtonHolder()->Left());
}

TEST_F(ComboEditWiringTest, WithoutAButtonCtrlDownMovesToTheNextRow) {
  Grid->Editor()->SetButtonWidth(0);
  int calls = 0;
  Grid->OnButtonClick =
      TEditButtonClickEvent([&](TObject*, int32_t, int32_t, String&) { ++calls; });
  auto* e = Edit(1, 1);
  ASSERT_TRUE(e->Focused());
  THeadlessInput::Key(VK_DOWN, kModCtrl);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(ComboEditWiringTest, ButtonAndClickKeyRaiseOnButtonClickWithTheDataRow) {
  // Visual row 2 shows B, the third item: data row 1 + 3 - 1 = 3.
  Cells[{1, 2}] = "old";
  struct TCall {
    TObject* Sender;
    int32_t Col, Row;
    String Text;
  };
  std::vector<TCall> calls;
  Grid->OnButtonClick = TEditButtonClickEvent([&](TObject* S, int32_t C, int32_t R, String& T) {
    calls.push_back({S, C, R, T});
    T = "picked " + std::to_string(calls.size());
  });
  auto* e = Edit(1, 2);
  ClickButton(e);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Sender, e);
  EXPECT_EQ(calls[0].Col, 1);
  EXPECT_EQ(calls[0].Row, 3);
  EXPECT_EQ(calls[0].Text, "old");
  EXPECT_EQ(e->Text(), "picked 1");

  THeadlessInput::Key(VK_DOWN, kModCtrl);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].Text, "picked 1");
  EXPECT_EQ(Grid->Row(), 2) << "the shortcut is the button's, not a move";

  // Committed like typed text: Enter stores it in the cell.
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Cells[std::make_pair(1, 2)], "picked 2");
  EXPECT_EQ(Commits, 1);
  EXPECT_FALSE(Grid->EditorMode());
}

TEST_F(ComboEditWiringTest, EnterStoresTypedTextAndAcceptKeyFiltersIt) {
  Grid->OnEditAcceptKey = TEditAcceptKeyEvent([this](TObject* S, Char K, bool& Accept) {
    EXPECT_EQ(S, Grid);
    if (K >= '0' && K <= '9') Accept = false;
  });
  auto* e = Edit(2, 1);
  THeadlessInput::Type("a1b2");
  EXPECT_EQ(e->Text(), "ab");
  THeadlessInput::Key(VK_RETURN);
  EXPECT_EQ(Cells[std::make_pair(2, 1)], "ab");
  // Enter again opens the editor on the stored text.
  THeadlessInput::Key(VK_RETURN);
  EXPECT_TRUE(Grid->EditorMode());
  EXPECT_EQ(e->Text(), "ab");
}

TEST_F(ComboEditWiringTest, WithoutAHandlerTheButtonDoesNothing) {
  auto* e = Edit(1, 1);
  e->SetText("kept");
  ClickButton(e);
  e->DoClick();
  EXPECT_EQ(e->Text(), "kept");
  EXPECT_TRUE(Grid->EditorMode());
}

TEST_F(ComboEditWiringTest, TheBlankRowOfAnEmptyOutlineHasNoDataRow) {
  Grid->Outline()->Clear();
  int calls = 0;
  Grid->OnButtonClick =
      TEditButtonClickEvent([&](TObject*, int32_t, int32_t, String&) { ++calls; });
  auto* e = Edit(1, 1);
  ASSERT_NE(e, nullptr);
  e->SetText("as it was");
  EXPECT_THROW(e->DoClick(), EListError);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(e->Text(), "as it was");
}

TEST_F(ComboEditWiringTest, ThePopupStaysWithItsCellWhenTheGridScrolls) {
  UseGrid(new TChoiceCorvath(Form));
  TStringStream items("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n17\n18\n19\n20\n");
  Grid->Outline()->LoadFromStream(&items);
  auto* e = static_cast<TChoiceComboEdit*>(Edit(1, 8));
  e->DoClick();
  ASSERT_TRUE(e->GetPopupVisible());
  auto below = [&] {
    const TPoint p = e->ClientToScreen(TPoint{0, 0});
    return Bounds(p.X + e->Width() - e->List->Width(), p.Y + e->Height(), e->List->Width(),
                  e->List->Height());
  };
  EXPECT_EQ(Headless().WindowBounds(e->List->Surface()), below());
  // The wheel turns the grid under the focused editor.
  THeadlessInput::Wheel(e, TPoint{5, 5}, -120);
  ASSERT_GT(Grid->TopRow(), 1);
  EXPECT_TRUE(e->GetPopupVisible());
  EXPECT_EQ(Headless().WindowBounds(e->List->Surface()), below());
  // Scrolled out of sight, the editor hides and the popup closes with it.
  Grid->SetTopRow(15);
  Application->ProcessMessages();
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_FALSE(Headless().WindowVisible(e->List->Surface()));
}

TEST_F(ComboEditWiringTest, MovingToAnotherCellClosesThePopupWithoutItsValue) {
  UseGrid(new TChoiceCorvath(Form));
  auto* e = static_cast<TChoiceComboEdit*>(Edit(1, 1));
  e->SetText("mine");
  e->DoClick();
  e->List->SetValue("two");
  THeadlessInput::Click(Grid, TPoint{Grid->CellRect(2, 2).Left + 5, Grid->CellRect(2, 2).Top + 5});
  EXPECT_FALSE(e->GetPopupVisible());
  EXPECT_EQ(Cells[std::make_pair(1, 1)], "mine");
}

// The picture a person looks at: BW_SNAPSHOT_DIR names the folder it goes to.
TEST_F(ComboEditWiringTest, SnapshotShowsTheTextAndTheDotsButton) {
  Cells[{1, 2}] = "Some text";
  Grid->SetColWidths(1, 120);
  auto* e = Edit(1, 2);
  Grid->Invalidate();
  Application->ProcessMessages();
  // The dots, black, centred on the button face in the presented pixels.
  const TEditButton* b = e->Button();
  const TPoint origin = b->ClientToScreen(TPoint{0, 0});
  const TRect w = Headless().WindowBounds(Form->Surface());
  auto pixel = [&](int32_t X, int32_t Y) {
    return Headless().WindowPixel(Form->Surface(), origin.X - w.Left + X, origin.Y - w.Top + Y);
  };
  const int32_t left = (b->Width() - 11 + 1) / 2, top = (b->Height() - 4 + 1) / 2;
  for (int32_t dot : {0, 4, 8}) {
    EXPECT_EQ(pixel(left + dot, top + 1), 0u) << dot;
    EXPECT_EQ(pixel(left + dot + 1, top + 2), 0u) << dot;
    EXPECT_EQ(pixel(left + dot + 2, top + 1), ColorToPixel(clBtnFace)) << dot;
  }
  EXPECT_EQ(pixel(left, top), ColorToPixel(clBtnFace));
  if (const char* dir = std::getenv("BW_SNAPSHOT_DIR"))
    Headless().SaveWindowPng(Form->Surface(), String(dir) + "/combo-corvath.png");
}

}  // namespace
}  // namespace bw::testing
