#pragma once
// The demo without a display: a short script of what a user would do, played through
// the headless back end's scripted input, with a picture of the form after each step.
// The pictures show the screen where the form is, so an open calendar (a window of its
// own) is in the picture too.

#include <vector>

#include "platform/core/TPoint.h"
#include "platform/core/Types.h"

namespace bw::demo {

class TPlanForm;
class TPlanGrid;

class TDemoTour {
 public:
  TDemoTour(TPlanForm* Form, String Folder);

  /// Plays the script; returns the pictures written, in order. A plan other than the
  /// sample gets two pictures: as it opens, and with every branch open.
  std::vector<String> Run();
  /// True when the plan has the items the script works on.
  bool HoldsTheSample() const;

  // Steps of the script, also of use to tests.
  /// The visual row that shows Item; EInvalidOperation when none does.
  int32_t RowOf(const String& Item) const;
  void DoubleClickTree(const String& Item);
  /// Makes the cell current and opens its editor (as F2 does).
  void EditCell(int32_t ACol, const String& Item);
  void PressEditorButton();
  void Type(const String& Text);
  void Key(uint16_t Key);
  /// Writes the screen's picture of the form to Folder/Name.
  String Picture(const String& Name);

 private:
  TPoint CellCentre(int32_t ACol, int32_t ARow) const;

  TPlanForm* FForm;
  TPlanGrid* FGrid;
  String FFolder;
};

}  // namespace bw::demo
