#pragma once
// A form (not shown) holding one TCorvath named Grid1, and the grid of a form read back
// from its text or binary form.

#include <gtest/gtest.h>

#include <memory>

#include "CorvathTestUtil.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/FormStreaming.h"

namespace bw::testing {

class FormFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Reset();
    RegisterClasses<TForm, TCorvath>();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetName("Form1");
    Grid = new TCorvath(Form.get());
    Grid->SetName("Grid1");
    Grid->SetParent(Form.get());
  }
  void TearDown() override {
    Loaded.reset();
    Form.reset();
    Application->Reset();
  }

  /// The grid of a form read back from Data.
  TCorvath* ReadBack(const String& Data) {
    Loaded.reset(ComponentFromString(Data));
    auto* grid = dynamic_cast<TCorvath*>(Loaded->FindComponent("Grid1"));
    EXPECT_NE(grid, nullptr);
    return grid;
  }

  std::unique_ptr<TForm> Form;
  std::unique_ptr<TComponent> Loaded;
  TCorvath* Grid = nullptr;
};

}  // namespace bw::testing
