#include "apps/demo/TDemoOptions.h"

#include "apps/demo/EDemoUsage.h"

namespace bw::demo {

String TDemoOptions::Usage() {
  return "Usage: demo [options] [FOLDER]\n"
         "\n"
         "Shows a project plan (phases, tasks and subtasks) in a TVelloran grid. With a\n"
         "display it opens a window until you close it; without one it plays a short\n"
         "script (expand a branch, choose an owner, type an effort, pick a date) and\n"
         "writes pictures of the form to FOLDER (default build/demo).\n"
         "\n"
         "In the window: double-click a task's tree cell to open or close it; type into\n"
         "a cell or press F2; the \"...\" button (or Ctrl+Down) of Owner and Status offers\n"
         "a list; the arrow of Due opens a calendar (arrow keys move the date, Enter\n"
         "takes it); Effort takes digits only. Ctrl+Q closes the window.\n"
         "\n"
         "Options:\n"
         "  --plan FILE          the items of a new plan: an outline file, one item a\n"
         "                       line, tabs for levels (default: the sample plan)\n"
         "  --cells FILE         the cells of that plan (default: the sample's; none\n"
         "                       with --plan)\n"
         "  --open FILE          open a plan saved before: the form file FILE and the\n"
         "                       cells file beside it (FILE with the extension .cells)\n"
         "  --save-on-exit FILE  save the plan when the demo ends, to FILE and FILE's\n"
         "                       .cells (each replaced whole or not at all)\n"
         "  --headless           write the pictures even when a display is there\n"
         "  --help               show this text\n"
         "\n"
         "BW_BACKEND=headless|sdl chooses the back end; by default a window is used when\n"
         "a display is there.\n";
}

TDemoOptions TDemoOptions::Parse(int argc, char** argv) {
  TDemoOptions options;
  bool folderGiven = false;
  for (int i = 1; i < argc; ++i) {
    const String arg = argv[i];
    auto value = [&]() -> String {
      if (i + 1 >= argc) throw EDemoUsage(arg + " needs a file name");
      return argv[++i];
    };
    if (arg == "--help" || arg == "-h")
      options.Help = true;
    else if (arg == "--headless")
      options.Headless = true;
    else if (arg == "--plan")
      options.PlanFile = value();
    else if (arg == "--cells")
      options.CellsFile = value();
    else if (arg == "--open")
      options.OpenFile = value();
    else if (arg == "--save-on-exit")
      options.SaveFile = value();
    else if (arg.starts_with("-"))
      throw EDemoUsage("unknown option " + arg);
    else if (folderGiven)
      throw EDemoUsage("one picture folder only (got " + options.PictureFolder + " and " + arg +
                       ")");
    else {
      options.PictureFolder = arg;
      folderGiven = true;
    }
  }
  if (!options.OpenFile.empty() && (!options.PlanFile.empty() || !options.CellsFile.empty()))
    throw EDemoUsage("--open reads a saved plan; it does not go with --plan or --cells");
  return options;
}

}  // namespace bw::demo
