// Which branches are open, kept in form files and outline files by grids with
// toKeepState; and the files of grids without it, which are written and read as before.

#include <gtest/gtest.h>

#include <memory>

#include "CorvathTestUtil.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Exception.h"
#include "platform/core/FormStreaming.h"
#include "platform/core/TStringStream.h"
#include "platform/outline/TOutline.h"
#include "tests/support/FormFixture.h"

namespace bw::testing {
namespace {

using Rows = std::vector<String>;

// A and A1 open; C closed with C1 open inside it; B closed.
const char* const kItems = "A\n\tA1\n\t\tA11\n\tA2\nB\n\tB1\nC\n\tC1\n\t\tC11\n";
const char* const kKeptText = "A\r\n\tA1\r\n\t\tA11\n\tA2\nB\n\tB1\nC\n\tC1\r\n\t\tC11\n";

class CorvathKeepStateTest : public FormFixture<TCorvath> {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    LoadItems(*Grid, kItems);
    for (const char* Text : {"A", "A1", "C1"})
      Grid->Outline()->Get(ItemIndex(*Grid, Text))->Expand();
    Grid->Outline()->UpdateGrid();
  }

  static String Saved(TCorvath& G) {
    TStringStream Stream("");
    G.Outline()->SaveToStream(&Stream);
    return Stream.DataString();
  }
};

TEST_F(CorvathKeepStateTest, FormsKeepTheOpenBranchesBesideTheItems) {
  Grid->SetTreeOptions({toKeepState});
  const String Text = ComponentToText(Form.get());
  EXPECT_NE(Text.find("Outline.Expanded = (\n      1\n      2\n      8)"), String::npos) << Text;
  EXPECT_NE(Text.find("TreeOptions = [toKeepState]"), String::npos) << Text;
  for (const String& Data : StoredForms()) {
    TCorvath* Copy = ReadBack(Data);
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->TreeOptions(), TTreeOptions{toKeepState});
    EXPECT_EQ(ShownRows(*Copy), Rows({"A", "A1", "A11", "A2", "B", "C"}));
    // C1 inside the closed C kept its state too.
    Copy->Outline()->Get(ItemIndex(*Copy, "C"))->Expand();
    Copy->Outline()->UpdateGrid();
    EXPECT_EQ(ShownRows(*Copy), Rows({"A", "A1", "A11", "A2", "B", "C", "C1", "C11"}));
  }

  // Nothing open: nothing more is stored.
  Grid->Outline()->FullCollapse();
  EXPECT_EQ(ComponentToText(Form.get()).find("Expanded"), String::npos);
}

TEST_F(CorvathKeepStateTest, WithoutTheOptionFormsAreWrittenAndReadAsBefore) {
  const String Text = ComponentToText(Form.get());
  EXPECT_EQ(Text.find("Expanded"), String::npos) << Text;
  EXPECT_EQ(Text.find("TreeOptions"), String::npos) << Text;
  EXPECT_EQ(ShownRows(*ReadBack(Text)), Rows({"A", "B", "C"}));

  // A form stored before there were tree options.
  TCorvath* Old = ReadBack(
      "object Form1: TForm\n"
      "  object Grid1: TCorvath\n"
      "    ColCount = 3\n"
      "    OutlineCol = 1\n"
      "    Outline.Lines.Strings = (\n"
      "      'Top'\n"
      "      #9'Child'\n"
      "      #9#9'Grandchild'\n"
      "      'Other')\n"
      "    ColWidths = (\n"
      "      64\n"
      "      200\n"
      "      30)\n"
      "  end\n"
      "end\n");
  ASSERT_NE(Old, nullptr);
  EXPECT_TRUE(Old->TreeOptions().Empty());
  EXPECT_EQ(ShownRows(*Old), Rows({"Top", "Other"}));
}

TEST_F(CorvathKeepStateTest, ADamagedListOfOpenBranchesIsRefused) {
  Grid->SetTreeOptions({toKeepState});
  // There are 9 items.
  EXPECT_TRUE(RefusedSaying(DamagedText("      8)", "      10)"), "10"));
}

// In the text form an open branch's line ends in CR LF: any reader takes it for a line end,
// so a reader that keeps no state reads the same items, all closed.
TEST_F(CorvathKeepStateTest, OutlineFilesKeepTheOpenBranchesInTheirLineEnds) {
  EXPECT_EQ(Saved(*Grid), kItems);
  Grid->SetTreeOptions({toKeepState});
  EXPECT_EQ(Saved(*Grid), kKeptText);

  TCorvath Keeping(nullptr);
  Keeping.SetTreeOptions({toKeepState});
  LoadItems(Keeping, kKeptText);
  EXPECT_EQ(ShownRows(Keeping), Rows({"A", "A1", "A11", "A2", "B", "C"}));
  EXPECT_EQ(Saved(Keeping), kKeptText);

  TCorvath Plain(nullptr);
  LoadItems(Plain, kKeptText);
  EXPECT_EQ(ShownRows(Plain), Rows({"A", "B", "C"}));
  EXPECT_EQ(Saved(Plain), kItems);
  TOutline Other(nullptr);
  TStringStream Stream(kKeptText);
  Other.LoadFromStream(&Stream);
  EXPECT_EQ(Other.Lines()->Text(), Plain.Outline()->GetOutlineLines()->Text());

  // A text with CR LF after every line was not written with kept state.
  LoadItems(Keeping, "A\r\n\tA1\r\n\t\tA11\r\nB\r\n\tB1\r\n");
  EXPECT_EQ(ShownRows(Keeping), Rows({"A", "B"}));
}

}  // namespace
}  // namespace bw::testing
