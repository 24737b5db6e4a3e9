// A program of its own, in which nothing registers a class: a form holding the package's
// grids reads all the same, as one holding the platform's own controls does.

#include <gtest/gtest.h>

#include <memory>

#include "grid/TCorvath.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/FormStreaming.h"
#include "stringgrid/TVelloran.h"

namespace bw {
namespace {

TEST(ClassesKnownAtStart, FormHoldingTheGridsReadsWithoutRegistration) {
  EXPECT_EQ(GetClass("TCorvath"), &TCorvath::StaticClassInfo());
  EXPECT_EQ(GetClass("TVelloran"), &TVelloran::StaticClassInfo());

  Application->Reset();
  String Text;
  {
    TForm Form(nullptr);
    Form.SetName("Form1");
    auto* Grid = new TCorvath(&Form);
    Grid->SetName("Grid1");
    Grid->SetParent(&Form);
    Grid->Outline()->Add(0, "A");
    auto* Strings = new TVelloran(&Form);
    Strings->SetName("Strings1");
    Strings->SetParent(&Form);
    Text = ComponentToText(&Form);
  }
  std::unique_ptr<TComponent> Copy(ComponentFromString(Text));
  auto* Grid = dynamic_cast<TCorvath*>(Copy->FindComponent("Grid1"));
  ASSERT_NE(Grid, nullptr);
  EXPECT_EQ(Grid->Outline()->GetItemCount(), 1);
  EXPECT_NE(dynamic_cast<TVelloran*>(Copy->FindComponent("Strings1")), nullptr);
  Copy.reset();
  Application->Reset();
}

}  // namespace
}  // namespace bw
