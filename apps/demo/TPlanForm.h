#pragma once
// The demo's form: a project plan in a TPlanGrid named "Plan", one row per phase, task
// and subtask, with the columns of PlanColumns.h and their titles in the fixed row.
//
// The form offers its grid's event handlers by name (PlanButtonClick, PlanEditAcceptKey),
// so a form file that stores them reads back into a working form. A new form is empty:
// BuildLayout adds the grid, or a form file brings it.

#include <functional>
#include <memory>
#include <vector>

#include "platform/controls/TForm.h"
#include "platform/core/THandlerTable.h"

namespace bw::demo {

class TPlanGrid;

/// Offers Items under Caption with Value chosen; true and Value changed when one is taken.
using TChooser =
    std::function<bool(const String& Caption, const std::vector<String>& Items, String& Value)>;

class TPlanForm : public TForm {
  BW_CLASS(TPlanForm, TForm)

 public:
  explicit TPlanForm(TComponent* AOwner);

  /// Adds the grid with its columns, titles, options and handlers.
  void BuildLayout();
  /// The grid, once BuildLayout or a form file made it; null before.
  TPlanGrid* Grid() const { return FGrid; }

  /// How the Owner and Status buttons choose. By default the next item after the cell's
  /// value (the first for a value not in the list): a choice with nobody to ask.
  TChooser Chooser;
  static bool ChooseNext(const String& Caption, const std::vector<String>& Items, String& Value);

  /// The owners to choose from: everyone named in the Owner column, sorted.
  std::vector<String> Owners() const;
  static const std::vector<String>& Statuses();

  const THandlerTable* HandlerTable() const override { return &FHandlers; }
  void Loaded() override;

 protected:
  /// Ctrl+Q closes the form, wherever the keyboard is (the form previews its keys).
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 private:
  void PlanButtonClick(TObject* Sender, int32_t ACol, int32_t ARow, String& EditText);
  void PlanEditAcceptKey(TObject* Sender, Char Key, bool& Accept);
  void SetColumnTitles();

  TPlanGrid* FGrid = nullptr;  // owned as a component
  THandlerTable FHandlers;
};

}  // namespace bw::demo
