// A form holding a TVelloran: written and read back without the package being
// registered, with its items and widths; the cells are not part of the form.

#include <gtest/gtest.h>

#include "grid/TGridOutlineProperties.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/TStringStream.h"
#include "stringgrid/TVelloran.h"
#include "tests/support/FormFixture.h"

namespace bw::testing {
namespace {

using VelloranStreamingTest = FormFixture<TVelloran>;

TEST_F(VelloranStreamingTest, AFormWithTheGridReadsBackWithoutItsCells) {
  ASSERT_EQ(GetClass("TVelloran"), &TVelloran::StaticClassInfo());
  Grid->SetColCount(3);
  Grid->SetColWidths(2, 90);
  TStringStream Items("Top\n\tChild\nOther\n");
  Grid->Outline()->LoadFromStream(&Items);
  Grid->SetCells(1, 1, "cell text");
  Grid->SetCells(2, 0, "header text");

  for (const String& Data : StoredForms()) {
    EXPECT_EQ(Data.find("cell text"), String::npos);
    EXPECT_EQ(Data.find("header text"), String::npos);
    TVelloran* Back = ReadBack(Data);
    ASSERT_NE(Back, nullptr);
    EXPECT_EQ(Back->Outline()->GetItemCount(), 3);
    EXPECT_EQ(Back->RowCount(), 1 + 2);  // Loaded built the rows: Top, Other
    EXPECT_EQ(Back->GetColWidths(2), 90);
    EXPECT_EQ(Back->GetCells(1, 1), "");
  }
}

}  // namespace
}  // namespace bw::testing
