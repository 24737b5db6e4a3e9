// The form tool as a user runs it: a separate process, its exit status, what it prints
// and the files it writes.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "../../platform/core/TempFolder.h"
#include "grid/TCorvath.h"
#include "grid/TGridOutlineProperties.h"
#include "platform/controls/TForm.h"
#include "platform/core/FormConversion.h"
#include "platform/core/FormStreaming.h"
#include "platform/core/TStringList.h"

namespace bw::testing {
namespace {

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

// A form of a program that is not the tool: its own root class and a named handler.
const char* const kProgramForm =
    "object Form1: TForm1\n"
    "  Left = 10\n  Top = 10\n  Width = 200\n  Height = 120\n"
    "  object Button1: TButton\n"
    "    Left = 20\n    Top = 20\n    Width = 80\n    Height = 25\n"
    "    Caption = 'Press'\n    OnClick = Button1Click\n"
    "  end\n"
    "end\n";

class BwFormTest : public ::testing::Test {
 protected:
  TRun Run(const std::string& Args) {
    const std::string out = Folder.Path("stdout"), err = Folder.Path("stderr");
    const std::string command =
        std::string(BW_FORM_EXE) + " " + Args + " >" + out + " 2>" + err + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
  }
  std::string Write(const std::string& Name, const std::string& Contents) {
    WriteFile(Folder.Path(Name), Contents);
    return Folder.Path(Name);
  }
  // A form with an outline grid, in the text form, as the library writes it.
  std::string GridForm() {
    TForm form(nullptr);
    form.SetName("Main");
    form.SetBounds(0, 0, 240, 160);
    auto* grid = new TCorvath(&form);
    grid->SetName("Grid1");
    grid->SetParent(&form);
    grid->SetBounds(4, 4, 232, 152);
    TStringList lines;
    lines.SetText("Top\n\tChild\nOther\n");
    grid->Outline()->SetOutlineLines(&lines);
    return ComponentToText(&form);
  }

  TempFolder Folder;
};

// The width and height a PNG file's header gives.
std::pair<int, int> PngSize(const std::string& Data) {
  auto at = [&](size_t i) { return int(uint8_t(Data[i])); };
  EXPECT_EQ(Data.substr(1, 3), "PNG");
  return {at(16) << 24 | at(17) << 16 | at(18) << 8 | at(19),
          at(20) << 24 | at(21) << 16 | at(22) << 8 | at(23)};
}

TEST_F(BwFormTest, HelpAndWrongCommandLines) {
  const TRun help = Run("--help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("render FILE -o OUT.png"), std::string::npos);
  const std::string form = Write("f.dfm", kProgramForm);
  for (const std::string& args :
       {std::string(), "print " + form, "convert " + form + " -o x", "convert " + form + " --text",
        "render " + form, std::string("render -o x.png"),
        "render " + form + " " + form + " -o x.png", "convert " + form + " -o x --text --binary",
        "render " + form + " -o x.png --fast", "view " + form + " -o x.png",
        "render " + form + " -o x.png --text"}) {
    const TRun run = Run(args);
    EXPECT_EQ(run.Status, 2) << args;
    EXPECT_EQ(run.Err.rfind("bw-form: ", 0), 0u) << args;
    EXPECT_NE(run.Err.find("Usage:"), std::string::npos) << args;
  }
}

TEST_F(BwFormTest, ConvertsBothWaysWithoutLosingAnything) {
  const std::string text = GridForm();
  const std::string source = Write("grid.dfm", text);
  const std::string binary = Folder.Path("grid.bin"), back = Folder.Path("back.dfm");
  ASSERT_EQ(Run("convert " + source + " -o " + binary + " --binary").Status, 0);
  EXPECT_EQ(ReadFile(binary), ObjectTextToBinary(text));
  ASSERT_EQ(Run("convert " + binary + " -o " + back + " --text").Status, 0);
  EXPECT_EQ(ReadFile(back), text);
  // Into the form it is already in: the same bytes.
  ASSERT_EQ(Run("convert " + binary + " -o " + back + " --binary").Status, 0);
  EXPECT_EQ(ReadFile(back), ReadFile(binary));
  // Forms of classes the tool does not know convert too: no component is created.
  ASSERT_EQ(Run("convert " + Write("p.dfm", kProgramForm) + " -o " + back + " --binary").Status, 0);
  EXPECT_EQ(ObjectBinaryToText(ReadFile(back)), kProgramForm);
}

TEST_F(BwFormTest, RendersAFormOfAnotherProgramWithoutADisplay) {
  const std::string png = Folder.Path("out.png");
  const TRun run = Run("render " + Write("p.dfm", kProgramForm) + " -o " + png);
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(PngSize(ReadFile(png)), std::make_pair(200, 120));

  const std::string binary = Folder.Path("grid.bin");
  ASSERT_EQ(Run("convert " + Write("grid.dfm", GridForm()) + " -o " + binary + " --binary").Status,
            0);
  ASSERT_EQ(Run("render " + binary + " -o " + png).Status, 0);
  EXPECT_EQ(PngSize(ReadFile(png)), std::make_pair(240, 160));
}

TEST_F(BwFormTest, BadInputFailsWithAMessageAndLeavesTheOutputAlone) {
  const std::string out = Write("out.dfm", "kept");
  const std::string cut = std::string(kProgramForm).substr(0, 60);
  struct TCase {
    std::string Name, Contents, Command, Expected;
  } cases[] = {
      {"empty.dfm", "", "convert", "not a form file"},
      {"junk.dfm", "\x89PNG\r\n\x1a\n....", "convert", "not a form file"},
      {"cut.dfm", cut, "convert", "cut.dfm: "},
      {"cut.dfm", cut, "render", "cut.dfm: "},
      {"badclass.dfm", "object F: TForm\n  object X: TNoSuchThing\n  end\nend\n", "render",
       "TNoSuchThing"},
      {"button.dfm", "object B: TButton\nend\n", "render", "not a form"},
  };
  for (const TCase& c : cases) {
    const std::string file = Write(c.Name, c.Contents);
    const TRun run =
        Run(c.Command + " " + file + " -o " + out + (c.Command == "convert" ? " --text" : ""));
    EXPECT_EQ(run.Status, 1) << c.Name;
    EXPECT_NE(run.Err.find(c.Expected), std::string::npos) << c.Name << ": " << run.Err;
    EXPECT_EQ(ReadFile(out), "kept") << c.Name;
  }
  const TRun missing = Run("convert " + Folder.Path("none.dfm") + " -o " + out + " --text");
  EXPECT_EQ(missing.Status, 1);
  EXPECT_NE(missing.Err.find("none.dfm"), std::string::npos);
  const TRun unwritable =
      Run("convert " + Write("p.dfm", kProgramForm) + " -o " + Folder.Path("no/dir/x") + " --text");
  EXPECT_EQ(unwritable.Status, 1);
  EXPECT_NE(unwritable.Err.find("no/dir/x"), std::string::npos);
}

TEST_F(BwFormTest, ViewWithoutADisplaySaysSo) {
  const TRun run = Run("view " + Write("p.dfm", kProgramForm));
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("render"), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace bw::testing
