#pragma once
// Shared pieces of the combo editor tests: a shown form on a fresh headless back end and
// a grid open for editing on it, a small list-of-choices popup (the package itself has no concrete
// popup), an editor that drops it down, and the editor's glyph read back as rows of '#' (black) and
// '.'.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "editor/TEditButton.h"
#include "editor/TInplaceComboEdit.h"
#include "editor/TPopupWindow.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TForm.h"
#include "platform/controls/THeadlessInput.h"
#include "platform/core/TStringStream.h"
#include "platform/graphics/TBitmap.h"
#include "platform/graphics/TCanvas.h"
#include "platform/grids/TCustomGrid.h"

namespace bw::testing {

/// A list of choices, one 16-pixel row each: a press picks the row under the mouse.
class TChoicePopup : public TPopupWindow {
 public:
  static constexpr int32_t RowHeight = 16;

  TChoicePopup(TComponent* AOwner, std::vector<String> Items)
      : TPopupWindow(AOwner), FItems(std::move(Items)) {
    SetBounds(0, 0, 100, int32_t(FItems.size()) * RowHeight + 2);
  }

  String GetValue() override { return FIndex >= 0 ? FItems[size_t(FIndex)] : String(); }
  void SetValue(const String& Value) override {
    FIndex = -1;
    for (size_t i = 0; i < FItems.size(); ++i)
      if (FItems[i] == Value) FIndex = int32_t(i);
    ++SetValueCalls;
  }
  int32_t ItemIndex() const { return FIndex; }
  int SetValueCalls = 0;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override {
    if (Button == mbLeft && Y >= 0 && Y / RowHeight < int32_t(FItems.size())) {
      FIndex = Y / RowHeight;
      Invalidate();
    }
    TPopupWindow::MouseDown(Button, Shift, X, Y);
  }
  void Paint() override {
    TCanvas* c = Canvas();
    for (int32_t i = 0; i < int32_t(FItems.size()); ++i) {
      const TRect r = Rect(0, i * RowHeight, ClientWidth(), (i + 1) * RowHeight);
      c->Brush()->SetColor(i == FIndex ? clHighlight : clWindow);
      c->FillRect(r);
      c->Font()->SetColor(i == FIndex ? clHighlightText : clWindowText);
      c->TextOut(r.Left + 2, r.Top + 1, FItems[size_t(i)]);
    }
  }

 private:
  std::vector<String> FItems;
  int32_t FIndex = -1;
};

/// An editor that offers the list of choices as its popup; Accept may veto a value.
class TChoiceComboEdit : public TInplaceComboEdit {
 public:
  explicit TChoiceComboEdit(TComponent* AOwner,
                            std::vector<String> Items = {"red", "green", "blue"})
      : TInplaceComboEdit(AOwner) {
    FPopup = List = new TChoicePopup(this, std::move(Items));
  }
  std::function<bool(String&)> Accept;
  TChoicePopup* List;

 protected:
  bool AcceptPopup(String& Value) override { return Accept ? Accept(Value) : true; }
};

class ComboEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Reset();
    Form = new TForm(Application);
    Form->SetBounds(100, 100, 400, 300);
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override { Application->Reset(); }

  THeadlessBackend& Headless() { return THeadlessInput::Backend(); }

  /// A shown editor on the form at the given bounds.
  template <class E = TInplaceComboEdit>
  E* NewEditor(TRect R = Bounds(20, 20, 160, 24)) {
    auto* e = new E(Form);
    e->SetParent(Form);
    e->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    e->SetVisible(true);
    Application->ProcessMessages();
    return e;
  }

  /// A grid of class G at the form's top left, open for editing: Width x Height pixels
  /// (the form 20 larger each way), Cols columns, holding the items of Items (one a line,
  /// tabs give the level), all collapsed.
  template <class G>
  G* NewEditingGrid(int32_t Width, int32_t Height, int32_t Cols, const String& Items) {
    Form->SetBounds(100, 100, Width + 20, Height + 20);
    auto* grid = new G(Form);
    grid->SetParent(Form);
    grid->SetBounds(0, 0, Width, Height);
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SetColCount(Cols);
    TStringStream stream(Items);
    grid->Outline()->LoadFromStream(&stream);
    return grid;
  }

  /// Presses and releases the left button in the middle of the editor's button.
  void ClickButton(TCustomInplaceComboEdit* E) {
    THeadlessInput::Click(E->Button(), TPoint{E->Button()->Width() / 2, E->Button()->Height() / 2});
  }

  TForm* Form = nullptr;
};

/// Opens a grid's editor on a cell; null when the grid made no combo editor.
inline TInplaceComboEdit* OpenEditor(TCustomGrid* Grid, int32_t ACol, int32_t ARow) {
  Grid->SetCol(ACol);
  Grid->SetRow(ARow);
  Grid->ShowEditor();
  Application->ProcessMessages();
  return dynamic_cast<TInplaceComboEdit*>(Grid->InplaceEditor());
}

/// The rows of a bitmap: '#' for black pixels, '.' for any other.
inline std::vector<String> Rows(const TBitmap& B) {
  std::vector<String> rows;
  for (int32_t y = 0; y < B.Height(); ++y) {
    String row;
    for (int32_t x = 0; x < B.Width(); ++x)
      row += (B.ScanLine(y)[x] & 0xFFFFFF) == 0 ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

}  // namespace bw::testing
