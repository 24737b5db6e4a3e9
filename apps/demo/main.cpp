// The demo: a project plan in a TVelloran. With a display it is a window to work in;
// without one it plays a short script and writes pictures (see TDemoOptions::Usage).
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "apps/demo/EDemoUsage.h"
#include "apps/demo/TChoiceDialog.h"
#include "apps/demo/TDemoOptions.h"
#include "apps/demo/TDemoTour.h"
#include "apps/demo/TPlanDocument.h"
#include "apps/demo/TPlanForm.h"
#include "platform/backend/Backend.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TApplication.h"

#ifndef BW_DEMO_DATA_DIR
#define BW_DEMO_DATA_DIR "apps/demo/data"
#endif

namespace {

using namespace bw;
using namespace bw::demo;

// The sample opens with the work in hand unfolded and the finished phases folded away.
const std::vector<String> kSampleExpanded = {"Groundworks", "Drainage",    "Ground floor slab",
                                             "Structure",   "Steel beams", "Electrical",
                                             "Plumbing"};

TPlanForm* MakeForm(const TDemoOptions& Options) {
  if (!Options.OpenFile.empty()) return TPlanDocument::Open(Options.OpenFile);
  if (!Options.PlanFile.empty())
    return TPlanDocument::FromOutline(Options.PlanFile, Options.CellsFile);
  const std::filesystem::path data = BW_DEMO_DATA_DIR;
  return TPlanDocument::FromOutline(
      (data / "plan.outline").string(),
      Options.CellsFile.empty() ? (data / "plan.cells").string() : Options.CellsFile,
      kSampleExpanded);
}

void RunWindow(TPlanForm* Form) {
  Form->Chooser = &TChoiceDialog::Execute;
  Form->OnClose = TCloseEvent([](TObject*, TCloseAction&) { Application->Terminate(); });
  Form->Show();
  while (!Application->Terminated() && Application->HandleMessage()) {
  }
}

void RunPictures(TPlanForm* Form, const String& Folder) {
  const std::vector<String> pictures = TDemoTour(Form, Folder).Run();
  std::cout << "No display: the demo played its script and wrote " << pictures.size()
            << " pictures of the form:\n";
  for (const String& file : pictures)
    std::cout << "  " << file << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const TDemoOptions options = TDemoOptions::Parse(argc, argv);
    if (options.Help) {
      std::cout << TDemoOptions::Usage();
      return 0;
    }
    if (options.Headless) setenv("BW_BACKEND", "headless", 1);
    // Freed before the program ends, as every window of a program that ends cleanly:
    // what it holds is released rather than left to the end of the process.
    const std::unique_ptr<TPlanForm> form(MakeForm(options));
    if (dynamic_cast<THeadlessBackend*>(&Backend()))
      RunPictures(form.get(), options.PictureFolder);
    else
      RunWindow(form.get());
    if (!options.SaveFile.empty()) {
      TPlanDocument::Save(form.get(), options.SaveFile);
      std::cout << "Saved the plan to " << options.SaveFile << " and "
                << TPlanDocument::CellsFileFor(options.SaveFile) << "\n";
    }
    return 0;
  } catch (const EDemoUsage& E) {
    std::cerr << "demo: " << E.what() << "\n\n" << TDemoOptions::Usage();
    return 2;
  } catch (const std::exception& E) {
    std::cerr << "demo: " << E.what() << "\n";
    return 1;
  }
}
