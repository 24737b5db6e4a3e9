// A form holding a TVelloran: written and read back without the package being
// registered, with its items and widths; the cells are not part of the form.

#include <gtest/gtest.h>

#include <memory>

#include "grid/TGridOutlineProperties.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/FormStreaming.h"
#include "platform/core/TStringStream.h"
#include "stringgrid/TVelloran.h"

namespace bw {
namespace {

TEST(VelloranStreamingTest, AFormWithTheGridReadsBackWithoutItsCells) {
  Application->Reset();
  ASSERT_EQ(GetClass("TVelloran"), &TVelloran::StaticClassInfo());
  auto Form = std::make_unique<TForm>(nullptr);
  Form->SetName("Form1");
  auto* Grid = new TVelloran(Form.get());
  Grid->SetName("Grid1");
  Grid->SetParent(Form.get());
  Grid->SetColCount(3);
  Grid->SetColWidths(2, 90);
  TStringStream Items("Top\n\tChild\nOther\n");
  Grid->Outline()->LoadFromStream(&Items);
  Grid->SetCells(1, 1, "cell text");
  Grid->SetCells(2, 0, "header text");

  for (const String& Data : {ComponentToText(Form.get()), ComponentToBinary(Form.get())}) {
    EXPECT_EQ(Data.find("cell text"), String::npos);
    EXPECT_EQ(Data.find("header text"), String::npos);
    std::unique_ptr<TComponent> Loaded(ComponentFromString(Data));
    auto* Back = dynamic_cast<TVelloran*>(Loaded->FindComponent("Grid1"));
    ASSERT_NE(Back, nullptr);
    EXPECT_EQ(Back->Outline()->GetItemCount(), 3);
    EXPECT_EQ(Back->RowCount(), 1 + 2);  // Loaded built the rows: Top, Other
    EXPECT_EQ(Back->GetColWidths(2), 90);
    EXPECT_EQ(Back->GetCells(1, 1), "");
  }
  Form.reset();
  Application->Reset();
}

}  // namespace
}  // namespace bw
