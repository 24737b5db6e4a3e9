// The demo run as a user runs it, without a display: its usage, its pictures, and a plan
// saved, opened and saved again.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>

#include "apps/demo/PlanColumns.h"
#include "apps/demo/TCellFile.h"
#include "tests/platform/core/TempFolder.h"

namespace bw::demo::testing {
namespace {

using bw::testing::ReadFile;
using bw::testing::TempFolder;
using bw::testing::WriteFile;

struct TRun {
  int Status = -1;
  std::string Output;  // standard output and error
};

TRun RunDemo(const std::string& Args) {
  TRun run;
  const std::string command = "BW_BACKEND=headless " BW_DEMO_EXE " " + Args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer;
  while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
    run.Output.append(buffer.data(), n);
  const int status = pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// The cells of a saved plan by (column, data row).
std::map<std::pair<int32_t, int32_t>, String> SavedCells(const std::string& CellsFile) {
  std::map<std::pair<int32_t, int32_t>, String> cells;
  for (const TCellFile::TCell& c : TCellFile::Parse(ReadFile(CellsFile), CellsFile, 100, 1000))
    cells[{c.Col, c.Row}] = c.Text;
  return cells;
}

// Data rows of the sample's items (one fixed row, then the outline order).
constexpr int32_t kSlabPour = 35, kInspectionChamber = 32, kInstallBeams = 44;

TEST(DemoProgram, HelpAndBadArguments) {
  const TRun help = RunDemo("--help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Output.find("Usage: demo"), std::string::npos);
  EXPECT_NE(help.Output.find("--save-on-exit FILE"), std::string::npos);

  const TRun unknown = RunDemo("--colour");
  EXPECT_EQ(unknown.Status, 2);
  EXPECT_NE(unknown.Output.find("unknown option --colour"), std::string::npos);
  EXPECT_NE(unknown.Output.find("Usage: demo"), std::string::npos);

  EXPECT_EQ(RunDemo("--open").Status, 2);
  EXPECT_EQ(RunDemo("--open a.form --plan b.outline").Status, 2);
}

TEST(DemoProgram, WritesPicturesAndSavesWhatTheScriptDid) {
  TempFolder folder;
  const TRun run = RunDemo(folder.Path("pictures") + " --save-on-exit " + folder.Path("plan.form"));
  ASSERT_EQ(run.Status, 0) << run.Output;
  for (const char* name :
       {"plan-collapsed.png", "plan-expanded.png", "plan-editing.png", "plan-calendar.png"}) {
    const std::string file = folder.Path("pictures/") + name;
    EXPECT_NE(run.Output.find(file), std::string::npos) << run.Output;
    EXPECT_EQ(ReadFile(file).substr(1, 3), "PNG") << file;
  }

  auto cells = SavedCells(folder.Path("plan.cells"));
  EXPECT_EQ(cells[std::make_pair(int32_t(pcOwner), 0)], "Owner");
  EXPECT_EQ(cells[std::make_pair(int32_t(pcEffort), kSlabPour)], "3");  // "3d" typed
  EXPECT_EQ(cells[std::make_pair(int32_t(pcOwner), kInspectionChamber)], "Nina Okafor");
  EXPECT_EQ(cells[std::make_pair(int32_t(pcDue), kInstallBeams)], "2027-06-27");
  EXPECT_NE(ReadFile(folder.Path("plan.form")).find("OnButtonClick = PlanButtonClick"),
            std::string::npos);
}

TEST(DemoProgram, ASavedPlanOpensAndSavesTheSame) {
  TempFolder folder;
  ASSERT_EQ(RunDemo(folder.Path("a") + " --save-on-exit " + folder.Path("first.form")).Status, 0);
  const TRun again = RunDemo(folder.Path("b") + " --open " + folder.Path("first.form") +
                             " --save-on-exit " + folder.Path("second.form"));
  ASSERT_EQ(again.Status, 0) << again.Output;
  // The script did the same again on the opened plan: the same owner follows, the same
  // two days are added.
  auto cells = SavedCells(folder.Path("second.cells"));
  EXPECT_EQ(cells[std::make_pair(int32_t(pcOwner), kInspectionChamber)], "Priya Nair");
  EXPECT_EQ(cells[std::make_pair(int32_t(pcDue), kInstallBeams)], "2027-06-29");
  EXPECT_EQ(cells[std::make_pair(int32_t(pcNotes), kInstallBeams)], "Fabricator short of UB 203");
  EXPECT_EQ(cells.size(), SavedCells(folder.Path("first.cells")).size());
}

TEST(DemoProgram, AnotherPlanGetsPicturesOfItsOwn) {
  TempFolder folder;
  WriteFile(folder.Path("trip.outline"), "Packing\n\tTent\n\tStove\nRoute\n");
  const TRun run = RunDemo(folder.Path("pictures") + " --plan " + folder.Path("trip.outline") +
                           " --save-on-exit " + folder.Path("trip.form"));
  ASSERT_EQ(run.Status, 0) << run.Output;
  EXPECT_NE(run.Output.find("wrote 2 pictures"), std::string::npos) << run.Output;
  // Without a cells file the plan has only its column titles.
  EXPECT_EQ(ReadFile(folder.Path("trip.cells")),
            "brantwell-demo-cells 1\n0\t0\tTask\n1\t0\tOwner\n2\t0\tStatus\n"
            "3\t0\tEffort (days)\n4\t0\tDue\n5\t0\tNotes\n");
  EXPECT_NE(ReadFile(folder.Path("trip.form")).find("'Packing'"), std::string::npos);
}

TEST(DemoProgram, ABadCellsFileIsRefusedAndNothingIsSaved) {
  TempFolder folder;
  ASSERT_EQ(RunDemo(folder.Path("a") + " --save-on-exit " + folder.Path("p.form")).Status, 0);
  WriteFile(folder.Path("p.cells"), "brantwell-demo-cells 1\n1\t2\tfine\n1\tx\tbad\n");
  const TRun run = RunDemo(folder.Path("b") + " --open " + folder.Path("p.form") +
                           " --save-on-exit " + folder.Path("q.form"));
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Output.find(folder.Path("p.cells") + ", line 3: data row \"x\""), std::string::npos)
      << run.Output;
  EXPECT_FALSE(std::filesystem::exists(folder.Path("q.form")));
  EXPECT_FALSE(std::filesystem::exists(folder.Path("b")));
}

}  // namespace
}  // namespace bw::demo::testing
