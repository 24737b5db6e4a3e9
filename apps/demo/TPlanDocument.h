#pragma once
// A plan on disk: the form file (the form, its grid and the items, in the text form) and,
// beside it, the cells file of the grid (TCellFile), named like the form file with the
// extension ".cells": plan.form goes with plan.cells.

#include <vector>

#include "platform/core/Types.h"

namespace bw::demo {

class TPlanForm;

class TPlanDocument {
 public:
  /// The cells file that goes with FormFile.
  static String CellsFileFor(const String& FormFile);

  /// A new form whose items come from an outline file and whose cells come from
  /// CellsFile (none when empty). Expanded lists the items shown open.
  static TPlanForm* FromOutline(const String& OutlineFile, const String& CellsFile,
                                const std::vector<String>& Expanded = {});
  /// Writes both files, each replaced whole or not at all.
  static void Save(TPlanForm* Form, const String& FormFile);
  /// Reads a saved plan: a new form owned by the application. On any failure nothing is
  /// left behind and the exception says which file was at fault.
  static TPlanForm* Open(const String& FormFile);
};

}  // namespace bw::demo
