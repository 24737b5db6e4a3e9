// The tree options worked through scripted input: the keys that open, close and move
// through branches, the plus and minus boxes, and finding an item by typing. Each script
// also runs with the option off, where the grid must do what it did before.

#include <filesystem>

#include "GridFixture.h"
#include "platform/backend/VirtualKeys.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TBrush.h"
#include "platform/graphics/TCanvas.h"
#include "platform/grids/TInplaceEdit.h"

namespace bw::testing {
namespace {

using Rows = std::vector<String>;

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kWhite = 0xFFFFFF;

class CorvathTreeOptionsTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    Grid->SetFixedCols(0);
    Grid->SetColCount(3);
    LoadItems(*Grid, "A\n\tA1\n\t\tA11\n\tA2\nB\n\tB1\n");
    Grid->HiddenOutline()->OnExpand =
        TOutlineEvent([this](TObject*, int32_t I) { Log.push_back("+" + ItemText(I)); });
    Grid->HiddenOutline()->OnCollapse =
        TOutlineEvent([this](TObject*, int32_t I) { Log.push_back("-" + ItemText(I)); });
    Grid->OnDblClick = TNotifyEvent([this](TObject*) { ++DblClicks; });
    Grid->SetFocus();
    Paint();
  }

  String ItemText(int32_t Index) { return Grid->Outline()->Get(Index)->Text(); }
  void Key(uint16_t K) { THeadlessInput::Key(K); }
  TPoint Current() const { return TPoint{Grid->Col(), Grid->Row()}; }
  static TPoint At(int32_t ACol, int32_t ARow) { return TPoint{ACol, ARow}; }
  bool EditorShown() const { return Grid->InplaceEditor() && Grid->InplaceEditor()->Visible(); }
  /// A point in the box step of the item on ARow (level Level), at the row's middle.
  TPoint BoxPoint(int32_t ARow, int32_t Level) {
    const TRect R = Grid->CellRect(0, ARow);
    return TPoint{R.Left + (Level - 1) * 24 + 12, R.Top + 12};
  }

  std::vector<String> Log;
  int DblClicks = 0;
};

// ---- keyboard --------------------------------------------------------------------------

TEST_F(CorvathTreeOptionsTest, ArrowsOpenCloseAndMoveThroughBranches) {
  Grid->SetTreeOptions({toKeyboard});
  Grid->SetRow(1);
  Grid->SetCol(0);

  Key(VK_RIGHT);  // opens A
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B"}));
  EXPECT_EQ(Current(), At(0, 1));
  Key(VK_RIGHT);  // to A's first child
  Key(VK_RIGHT);  // opens A1
  Key(VK_RIGHT);  // to A11
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A11", "A2", "B"}));
  EXPECT_EQ(Current(), At(0, 3));

  // A leaf leaves Right to the grid, which moves to the next column; Left comes back.
  Key(VK_RIGHT);
  EXPECT_EQ(Current(), At(1, 3));
  Key(VK_LEFT);
  EXPECT_EQ(Current(), At(0, 3));

  Key(VK_LEFT);  // from A11 to its parent A1
  EXPECT_EQ(Current(), At(0, 2));
  Key(VK_LEFT);  // closes A1
  Key(VK_LEFT);  // to A
  Key(VK_LEFT);  // closes A
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  EXPECT_EQ(Current(), At(0, 1));
  EXPECT_EQ(Log, Rows({"+A", "+A1", "-A1", "-A"}));

  // A closed top-level item has nowhere to go up: Left is the grid's (nothing to its left).
  Key(VK_LEFT);
  EXPECT_EQ(Current(), At(0, 1));
  // With a modifier the arrows stay the grid's.
  THeadlessInput::Key(VK_RIGHT, kModShift);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
}

TEST_F(CorvathTreeOptionsTest, PlusMinusAndStarWorkTheCurrentItem) {
  Grid->SetTreeOptions({toKeyboard});
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  Grid->SetCol(0);
  Grid->SetRow(1);

  THeadlessInput::Type("*");
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A11", "A2", "B"}));
  EXPECT_EQ(Log, Rows({"+A", "+A1"}));
  THeadlessInput::Type("-");
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  THeadlessInput::Type("+");
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A11", "A2", "B"}));  // A1 stayed open
  THeadlessInput::Type("+");                                         // already open
  EXPECT_EQ(Log, Rows({"+A", "+A1", "-A", "+A"}));
  EXPECT_FALSE(Grid->EditorMode());

  // On another column the characters are the editor's as before.
  Grid->SetCol(1);
  THeadlessInput::Type("-");
  EXPECT_TRUE(Grid->EditorMode());
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "-");
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A11", "A2", "B"}));
}

TEST_F(CorvathTreeOptionsTest, OpeningFromTheKeyboardScrollsTheNewRowsIntoView) {
  String Text;  // X far down; X2 holds more items than the view shows
  for (int i = 0; i < 50; ++i)
    Text += i < 20 ? "I\n" : i == 20 ? "X\n\tX1\n\tX2\n" : "\t\tY\n";
  LoadItems(*Grid, Text);
  Grid->SetTreeOptions({toKeyboard});
  Grid->SetCol(0);
  Grid->SetRow(21);  // X, on the last row shown
  Key(VK_RIGHT);     // X1 and X2 come into view, no further
  EXPECT_EQ(Grid->TopRow() + Grid->VisibleRowCount() - 1, 23);
  THeadlessInput::Type("*");  // more than fits: X goes to the top
  EXPECT_EQ(Grid->TopRow(), 21);
}

TEST_F(CorvathTreeOptionsTest, KeysGoToTheApplicationFirst) {
  Grid->SetTreeOptions({toKeyboard});
  Grid->SetCol(0);
  Grid->SetRow(1);
  Grid->OnKeyDown = TKeyEvent([](TObject*, uint16_t& K, TShiftState) {
    if (K == VK_RIGHT) K = 0;
  });
  Grid->OnKeyPress = TKeyPressEvent([](TObject*, Char& K) {
    if (K == U'*') K = U'+';
  });
  Key(VK_RIGHT);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  THeadlessInput::Type("*");  // becomes "+": A opens, A1 does not
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B"}));
}

// The same keys on a grid without the option: no branch moves, and the arrows move the
// current cell exactly as they do on a plain grid of the same size.
TEST_F(CorvathTreeOptionsTest, WithoutTheOptionKeysDoWhatTheyDidBefore) {
  auto* Plain = new TDrawGrid(Form);
  Plain->SetParent(Form);
  Plain->SetBounds(0, 0, 480, 360);
  Plain->SetFixedCols(0);
  Plain->SetColCount(3);
  Plain->SetRowCount(Grid->RowCount());
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  const uint16_t Script[] = {VK_RIGHT, VK_LEFT, VK_LEFT, VK_DOWN, VK_RIGHT, VK_RIGHT, VK_LEFT};
  for (TCustomGrid* G : {static_cast<TCustomGrid*>(Grid), static_cast<TCustomGrid*>(Plain)}) {
    G->SetCol(0);
    G->SetRow(1);
  }
  for (uint16_t K : Script) {
    Grid->SetFocus();
    Key(K);
    Plain->SetFocus();
    Key(K);
    EXPECT_EQ(Current(), At(Plain->Col(), Plain->Row()));
  }
  Grid->SetFocus();
  Grid->SetCol(0);
  THeadlessInput::Type("*+-ab");
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  EXPECT_EQ(Current(), At(0, 2));
  EXPECT_FALSE(EditorShown());
  EXPECT_TRUE(Log.empty());
}

// With goRowSelect the whole row is current, so the tree's keys act there, even with the
// tree in a fixed column that is never current itself.
TEST_F(CorvathTreeOptionsTest, RowSelectGridsTakeTheKeysOnAnyColumn) {
  Grid->SetFixedCols(1);
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect});
  Grid->SetTreeOptions({toKeyboard});
  Grid->SetRow(1);
  Key(VK_RIGHT);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B"}));

  // Without row select a fixed tree column takes no keys.
  Grid->SetOptions(Grid->Options() - TGridOptions{goRowSelect});
  Key(VK_LEFT);
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B"}));
}

// ---- expanders -------------------------------------------------------------------------

TEST_F(CorvathTreeOptionsTest, BoxesSitOnTheLinesAndPushTheTreeOneStep) {
  Grid->Outline()->Get(1)->Expand();  // A open; B closed
  Grid->Outline()->UpdateGrid();
  Grid->SetCol(2);
  Paint();
  const TRect A = Grid->CellRect(0, 1);
  // Without boxes A's open folder starts at +4, one picture pixel in grey at (+7, +5).
  EXPECT_EQ(Pixel(A.Left + 7, A.Top + 5), kGrey);

  Grid->SetTreeOptions({toExpanders});
  Paint();
  // A's minus box centred at (+12, +12): black bar across, white above its middle.
  EXPECT_EQ(Pixel(A.Left + 12, A.Top + 12), kBlack);
  EXPECT_EQ(Pixel(A.Left + 12, A.Top + 10), kWhite);
  EXPECT_EQ(Pixel(A.Left + 8, A.Top + 12), kGrey);  // the box's left side
  // The folder moved one step right.
  EXPECT_EQ(Pixel(A.Left + 24 + 7, A.Top + 5), kGrey);
  // B is closed: a plus, with its upright bar.
  const TRect B = Grid->CellRect(0, 4);
  EXPECT_EQ(Pixel(B.Left + 12, B.Top + 10), kBlack);
  // A1, a level-2 branch, has its box on its own line, one step further in; A2, a leaf,
  // keeps its line through the box's place.
  const TRect A1 = Grid->CellRect(0, 2);
  EXPECT_EQ(Pixel(A1.Left + 36, A1.Top + 10), kBlack);
  EXPECT_EQ(Pixel(A1.Left + 32, A1.Top + 12), kGrey);
  const TRect A2 = Grid->CellRect(0, 3);
  EXPECT_EQ(Pixel(A2.Left + 36, A2.Top + 2), kBlack);
  EXPECT_EQ(Pixel(A2.Left + 36, A2.Top + 10), kBlack);

  const auto Png = std::filesystem::temp_directory_path() / "corvath-expanders.png";
  Headless().SaveWindowPng(Form->Surface(), Png.string());
  EXPECT_TRUE(std::filesystem::exists(Png));
}

TEST_F(CorvathTreeOptionsTest, ReplacedBoxPicturesAreDrawn) {
  Grid->SetTreeOptions({toExpanders});
  // Red inside a white margin, which the bottom-left pixel makes transparent.
  TBitmap Red;
  Red.SetSize(9, 9);
  Red.Canvas()->Brush()->SetColor(clWhite);
  Red.Canvas()->FillRect(TRect{0, 0, 9, 9});
  Red.Canvas()->Brush()->SetColor(clRed);
  Red.Canvas()->FillRect(TRect{1, 1, 8, 8});
  Grid->SetPicture(0, &Red);
  Paint();
  const TRect B = Grid->CellRect(0, 2);
  EXPECT_EQ(Pixel(B.Left + 12, B.Top + 12), 0xFF0000u);
}

TEST_F(CorvathTreeOptionsTest, AClickOnABoxTogglesAndSelectsNoOtherRow) {
  Grid->SetTreeOptions({toExpanders});
  Grid->SetCol(1);
  Grid->SetRow(2);                              // B
  THeadlessInput::Click(Grid, BoxPoint(1, 1));  // A's box
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B"}));
  // B stays current, on its new row.
  EXPECT_EQ(Current(), At(1, 4));
  THeadlessInput::Click(Grid, BoxPoint(2, 2));  // A1's box, one step in
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A11", "A2", "B"}));
  EXPECT_EQ(Current(), At(1, 5));

  // Closing A while A11 is current leaves A current.
  Grid->SetRow(3);
  THeadlessInput::Click(Grid, BoxPoint(1, 1));
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  EXPECT_EQ(Current(), At(1, 1));
  EXPECT_EQ(Log, Rows({"+A", "+A1", "-A"}));

  // A double-click on a box toggles with each press; the double-click adds none.
  THeadlessInput::DoubleClick(Grid, BoxPoint(2, 1));
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  EXPECT_EQ(DblClicks, 1);
  EXPECT_EQ(Log, Rows({"+A", "+A1", "-A", "+B", "-B"}));

  // Beside the box a click selects the cell as before, and toggles nothing.
  THeadlessInput::Click(Grid, BoxPoint(2, 2));
  EXPECT_EQ(Current(), At(0, 2));
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
}

TEST_F(CorvathTreeOptionsTest, WithoutTheOptionAClickOnTheBoxPlaceSelects) {
  Grid->SetCol(1);
  Grid->SetRow(2);
  THeadlessInput::Click(Grid, BoxPoint(1, 1));
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "B"}));
  EXPECT_EQ(Current(), At(0, 1));
  THeadlessInput::DoubleClick(Grid, BoxPoint(1, 1));
  EXPECT_EQ(ShownRows(*Grid), Rows({"A", "A1", "A2", "B"}));  // the double-click's toggle
  EXPECT_EQ(Log, Rows({"+A"}));
}

// ---- type-ahead ------------------------------------------------------------------------

class CorvathTypeAheadTest : public CorvathTreeOptionsTest {
 protected:
  void SetUp() override {
    CorvathTreeOptionsTest::SetUp();
    LoadItems(*Grid,
              "apple\nBanana\nblueberry\nCherry\n\tbcollapsed\n\xC3\xA4rger\n\xC3\x84rmel\n"
              "\xCE\xA9mega\n");
    Grid->SetCol(0);
    Grid->SetRow(1);
  }
  String CurrentText() { return Grid->RowToOutline(Grid->Row())->Text(); }
};

TEST_F(CorvathTypeAheadTest, TypedLettersFindTheNextShownItem) {
  Grid->SetTreeOptions({toTypeAhead});
  THeadlessInput::Type("B");
  EXPECT_EQ(CurrentText(), "Banana");
  THeadlessInput::Type("l");
  EXPECT_EQ(CurrentText(), "blueberry");
  THeadlessInput::Key(VK_BACK);  // "b": blueberry still fits
  EXPECT_EQ(CurrentText(), "blueberry");
  THeadlessInput::Type("a");  // "ba", from the current row round to the top
  EXPECT_EQ(CurrentText(), "Banana");

  // Within a second the prefix goes on; after a longer pause a letter starts again, from
  // the row below, so the same letter steps through the items it begins.
  THeadlessInput::Wait(999);
  THeadlessInput::Type("n");
  EXPECT_EQ(CurrentText(), "Banana");
  THeadlessInput::Wait(1001);
  THeadlessInput::Type("b");
  EXPECT_EQ(CurrentText(), "blueberry");
  THeadlessInput::Wait(1001);
  THeadlessInput::Type("b");  // the hidden "bcollapsed" is passed over
  EXPECT_EQ(CurrentText(), "Banana");

  // Letters beyond ASCII fold as well.
  THeadlessInput::Wait(1001);
  THeadlessInput::Type("\xC3\x84");  // Ä
  EXPECT_EQ(CurrentText(), "\xC3\xA4rger");
  THeadlessInput::Type("rm");
  EXPECT_EQ(CurrentText(), "\xC3\x84rmel");
  THeadlessInput::Wait(1001);
  THeadlessInput::Type("\xCF\x89");  // ω
  EXPECT_EQ(CurrentText(), "\xCE\xA9mega");

  // No match: the current row stays.
  THeadlessInput::Type("zz");
  EXPECT_EQ(CurrentText(), "\xCE\xA9mega");
  EXPECT_TRUE(Log.empty());
}

TEST_F(CorvathTypeAheadTest, WithoutTheOptionTypingFindsNothing) {
  Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
  THeadlessInput::Type("bl");
  THeadlessInput::Key(VK_BACK);
  EXPECT_EQ(CurrentText(), "apple");
  EXPECT_FALSE(EditorShown());

  // With the option, typing on another column is still the editor's.
  Grid->SetTreeOptions({toTypeAhead});
  Grid->SetCol(1);
  THeadlessInput::Type("bl");
  EXPECT_TRUE(Grid->EditorMode());
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "bl");
  EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(CorvathTypeAheadTest, KeyboardCharactersWinOverTypeAhead) {
  Grid->SetTreeOptions({toKeyboard, toTypeAhead});
  Grid->SetRow(4);  // Cherry
  THeadlessInput::Type("+");
  EXPECT_EQ(ShownRows(*Grid)[4], "bcollapsed");
  THeadlessInput::Type("bc");
  EXPECT_EQ(CurrentText(), "bcollapsed");
}

}  // namespace
}  // namespace bw::testing
