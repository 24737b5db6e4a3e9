// The demo's cells file: what it writes reads back, and a faulty file is refused whole,
// with the file and line named and the grid left as it was.

#include <gtest/gtest.h>

#include "apps/demo/ECellFileError.h"
#include "apps/demo/TCellFile.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/core/TStringStream.h"
#include "stringgrid/TVelloran.h"
#include "tests/platform/core/TempFolder.h"

namespace bw::demo::testing {
namespace {

using bw::testing::ReadFile;
using bw::testing::TempFolder;
using bw::testing::WriteFile;

// Whatever a save writes reads back: zero characters too, and the escape character.
TEST(CellFile, TextsOfEveryKindReadBack) {
  const std::vector<TCellFile::TCell> cells = {
      {0, 0, "Task"},
      {3, 7, "tab\there, line\nthere, back\\slash, cr\r"},
      {2, 1, "Ünïcödé ✓"},
      {1, 1, String("zero\0char", 9)},
      {1, 2, String(1, '\0')},
      {1, 3, "\\0 and \\\\0"},
      {1, 4, String(70000, 'x') + "\x01\x7f 日本 \xf0\x9f\x98\x80"}};
  const String text = TCellFile::Format(cells);
  EXPECT_EQ(text.substr(0, 23), "brantwell-demo-cells 1\n");
  const auto back = TCellFile::Parse(text, "t.cells", 4, 8);
  ASSERT_EQ(back.size(), cells.size());
  for (size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(back[i].Col, cells[i].Col);
    EXPECT_EQ(back[i].Row, cells[i].Row);
    EXPECT_EQ(back[i].Text, cells[i].Text);
  }
}

struct TBadFile {
  const char* Name;
  const char* Contents;
  const char* Message;
};

class CellFileFaults : public ::testing::TestWithParam<TBadFile> {};

TEST_P(CellFileFaults, AreNamedWithTheirLine) {
  try {
    TCellFile::Parse(GetParam().Contents, "p.cells", 6, 80);
    FAIL() << "accepted";
  } catch (const ECellFileError& E) {
    EXPECT_EQ(E.Message(), GetParam().Message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Demo, CellFileFaults,
    ::testing::Values(
        TBadFile{"Empty", "",
                 "p.cells, line 1: the file is empty; a cells file starts with "
                 "\"brantwell-demo-cells 1\""},
        TBadFile{"OtherFile", "name,owner\n",
                 "p.cells, line 1: not a cells file (it must start with \"brantwell-demo-cells\")"},
        TBadFile{"NewerVersion", "brantwell-demo-cells 2\n",
                 "p.cells, line 1: version \"2\" is not one this program reads (it reads 1)"},
        TBadFile{"CutShort", "brantwell-demo-cells 1\n1\t1\tTom",
                 "p.cells, line 2: the last line has no line feed; the file may be cut short"},
        TBadFile{"TwoFields", "brantwell-demo-cells 1\n1\tTom\n",
                 "p.cells, line 2: expected a column, a data row and a text, separated by tabs"},
        TBadFile{"NegativeRow", "brantwell-demo-cells 1\n1\t-1\tx\n",
                 "p.cells, line 2: data row \"-1\" is not a number of 0 or more"},
        TBadFile{"ColumnPastGrid", "brantwell-demo-cells 1\n6\t1\tx\n",
                 "p.cells, line 2: column 6 is past the grid's last (5)"},
        TBadFile{"RowPastGrid", "brantwell-demo-cells 1\n1\t80\tx\n",
                 "p.cells, line 2: data row 80 is past the grid's last (79)"},
        TBadFile{"Twice", "brantwell-demo-cells 1\n1\t1\ta\n1\t1\tb\n",
                 "p.cells, line 3: the cell in column 1, data row 1 is given twice"},
        TBadFile{"LoneBackslash", "brantwell-demo-cells 1\n1\t1\tx\\\n",
                 "p.cells, line 2: the text ends in a lone backslash"},
        TBadFile{"UnknownEscape", "brantwell-demo-cells 1\n1\t1\t\\q\n",
                 "p.cells, line 2: unknown escape \\q"},
        TBadFile{"WindowsLineEnds", "brantwell-demo-cells 1\n1\t1\ta\r\n",
                 "p.cells, line 2: a carriage return must be written \\r"}),
    [](const auto& Info) { return String(Info.param.Name); });

TEST(CellFile, AZeroByteIsRefused) {
  const String text("brantwell-demo-cells 1\n1\t1\ta\0b\n", 31);
  try {
    TCellFile::Parse(text, "p.cells", 6, 80);
    FAIL() << "accepted";
  } catch (const ECellFileError& E) {
    EXPECT_EQ(E.Message(), "p.cells, line 2: a zero byte; a cells file is text");
  }
}

class CellFileOnGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Reset();
    Form = new TForm(Application);
    Grid = new TVelloran(Form);
    Grid->SetParent(Form);
    TStringStream items("A\n\tA1\nB\n");
    Grid->Outline()->LoadFromStream(&items);
  }
  void TearDown() override { Application->Reset(); }

  TForm* Form = nullptr;
  TVelloran* Grid = nullptr;
  TempFolder Folder;
};

TEST_F(CellFileOnGrid, SavedCellsReplaceAllCellsOnLoad) {
  Grid->SetCells(1, 0, "Owner");
  Grid->SetCells(1, 3, "Tom\tHale");
  const String file = Folder.Path("g.cells");
  TCellFile::Save(Grid, file);
  EXPECT_EQ(ReadFile(file), "brantwell-demo-cells 1\n1\t0\tOwner\n1\t3\tTom\\tHale\n");

  Grid->SetCells(1, 3, "changed");
  Grid->SetCells(2, 2, "extra");
  TCellFile::Load(Grid, file);
  EXPECT_EQ(Grid->GetCells(1, 3), "Tom\tHale");
  EXPECT_EQ(Grid->GetCells(2, 2), "");
}

TEST_F(CellFileOnGrid, AFaultyFileLeavesTheGridAsItWas) {
  Grid->SetCells(1, 1, "kept");
  const String file = Folder.Path("bad.cells");
  WriteFile(file, "brantwell-demo-cells 1\n1\t1\tnew\n1\t9\tpast the items\n");
  EXPECT_THROW(TCellFile::Load(Grid, file), ECellFileError);
  EXPECT_EQ(Grid->GetCells(1, 1), "kept");
  EXPECT_THROW(TCellFile::Load(Grid, Folder.Path("missing.cells")), ECellFileError);
  EXPECT_THROW(TCellFile::Load(Grid, Folder.Root()), ECellFileError);
  EXPECT_EQ(Grid->GetCells(1, 1), "kept");
}

}  // namespace
}  // namespace bw::demo::testing
