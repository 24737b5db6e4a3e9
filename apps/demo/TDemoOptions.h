#pragma once
// The demo's command line.

#include "platform/core/Types.h"

namespace bw::demo {

class TDemoOptions {
 public:
  /// Reads the arguments; EDemoUsage (see Usage) for anything it does not know.
  static TDemoOptions Parse(int argc, char** argv);
  static String Usage();

  bool Help = false;
  /// Pictures even when a display is there.
  bool Headless = false;
  /// Where the pictures go.
  String PictureFolder = "build/demo";
  /// The items (an outline file) and cells of a new plan; empty for the sample's.
  String PlanFile;
  String CellsFile;
  /// A saved plan's form file to open instead.
  String OpenFile;
  /// Where the plan is saved when the demo ends; empty for nowhere.
  String SaveFile;
};

}  // namespace bw::demo
