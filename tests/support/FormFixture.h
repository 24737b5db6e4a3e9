#pragma once
// A form (not shown) named Form1 holding one grid of class G named Grid1, the form as the
// form files store it, and the grid of a form read back from its text or binary form.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/Exception.h"
#include "platform/core/FormStreaming.h"

namespace bw::testing {

template <class G>
class FormFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Reset();
    // The grids register their own classes: a form file holding one reads without the
    // application's help.
    RegisterClass<TForm>();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetName("Form1");
    Grid = new G(Form.get());
    Grid->SetName("Grid1");
    Grid->SetParent(Form.get());
  }
  void TearDown() override {
    Loaded.reset();
    Form.reset();
    Application->Reset();
  }

  /// The form in its text form and in its binary form.
  std::vector<String> StoredForms() const {
    return {ComponentToText(Form.get()), ComponentToBinary(Form.get())};
  }

  /// The grid of a form read back from Data.
  G* ReadBack(const String& Data) {
    Loaded.reset(ComponentFromString(Data));
    auto* grid = dynamic_cast<G*>(Loaded->FindComponent("Grid1"));
    EXPECT_NE(grid, nullptr);
    return grid;
  }

  /// The form's text form with its first Stored replaced by Damaged, as a damaged file
  /// would hold it.
  String DamagedText(const String& Stored, const String& Damaged) const {
    String Text = ComponentToText(Form.get());
    const size_t At = Text.find(Stored);
    EXPECT_NE(At, String::npos) << Stored << " is not in\n" << Text;
    if (At != String::npos) Text.replace(At, Stored.size(), Damaged);
    return Text;
  }

  /// Whether reading back Data raises an exception whose message holds Part.
  ::testing::AssertionResult RefusedSaying(const String& Data, const String& Part) {
    try {
      ReadBack(Data);
    } catch (const Exception& E) {
      if (String(E.Message()).find(Part) != String::npos) return ::testing::AssertionSuccess();
      return ::testing::AssertionFailure() << "refused with \"" << E.Message() << "\"";
    }
    return ::testing::AssertionFailure() << "read back without complaint";
  }

  std::unique_ptr<TForm> Form;
  std::unique_ptr<TComponent> Loaded;
  G* Grid = nullptr;
};

}  // namespace bw::testing
