// bw-form: looks at and converts form files.
//   bw-form view FILE                  the form in a window
//   bw-form render FILE -o OUT.png     a picture of the form, with no display needed
//   bw-form convert FILE -o OUT --text|--binary
// Exit status 0 on success, 1 when a file cannot be used, 2 for a wrong command line.

#include <iostream>
#include <optional>
#include <vector>

#include "EFormFileError.h"
#include "TFormFile.h"
#include "package/Register.h"
#include "platform/backend/Backend.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/controls/TApplication.h"
#include "platform/controls/TCustomForm.h"
#include "platform/core/TMemoryStream.h"

namespace {

using namespace bw;

const char* const kUsage =
    "Usage:\n"
    "  bw-form view FILE                   show the form in a window\n"
    "  bw-form render FILE -o OUT.png      draw the form into a PNG picture (no display needed)\n"
    "  bw-form convert FILE -o OUT --text|--binary\n"
    "                                      write the form in the text or the binary form\n"
    "  bw-form --help                      this text\n"
    "FILE may hold either form; its contents tell which. The program that wrote a form is\n"
    "not here: its event handlers stay unassigned and its own form class shows as a TForm.\n";

struct TUsageError {
  String Message;
};

struct TCommandLine {
  String Command;
  String File;
  String Output;
  std::optional<TStreamOriginalFormat> Format;
};

TCommandLine Parse(const std::vector<String>& Args) {
  if (Args.empty()) throw TUsageError{"no command given"};
  TCommandLine line;
  line.Command = Args[0];
  if (line.Command != "view" && line.Command != "render" && line.Command != "convert")
    throw TUsageError{"unknown command \"" + line.Command + "\""};
  for (size_t i = 1; i < Args.size(); ++i) {
    const String& a = Args[i];
    if (a == "-o") {
      if (++i == Args.size()) throw TUsageError{"-o needs a file name"};
      line.Output = Args[i];
    } else if (a == "--text" || a == "--binary") {
      if (line.Format) throw TUsageError{"give one of --text and --binary"};
      line.Format = a == "--text" ? sofText : sofBinary;
    } else if (a.size() > 1 && a[0] == '-') {
      throw TUsageError{"unknown option \"" + a + "\""};
    } else if (line.File.empty()) {
      line.File = a;
    } else {
      throw TUsageError{"more than one FILE given"};
    }
  }
  if (line.File.empty()) throw TUsageError{line.Command + " needs a FILE"};
  const bool writes = line.Command != "view";
  if (writes && line.Output.empty()) throw TUsageError{line.Command + " needs -o OUT"};
  if (!writes && !line.Output.empty()) throw TUsageError{"view writes no file (-o)"};
  if ((line.Command == "convert") != line.Format.has_value())
    throw TUsageError{line.Command == "convert" ? "convert needs --text or --binary"
                                                : "--text and --binary go with convert"};
  return line;
}

void WriteFile(const String& FileName, const String& Data) {
  TMemoryStream out;
  out.Write(Data.data(), int32_t(Data.size()));
  out.SaveToFile(FileName);  // atomically: a failure leaves any old file whole
}

void Convert(const TCommandLine& Line) {
  const TFormFile file(Line.File);
  WriteFile(Line.Output, *Line.Format == sofText ? file.Text() : file.Binary());
}

void Render(const TCommandLine& Line) {
  SetBackend(CreateBackend("headless"));  // pictures never need a display
  const TFormFile file(Line.File);
  TCustomForm* form = file.CreateForm(Application);
  form->Show();
  form->SaveSnapshotPng(Line.Output);
}

void View(const TCommandLine& Line) {
  const TFormFile file(Line.File);
  if (dynamic_cast<THeadlessBackend*>(&Backend()))
    throw EFormFileError(
        "view needs a display, and the back end in use is the headless "
        "one; use render to get a picture");
  TCustomForm* form = file.CreateForm(Application);
  form->Show();
  while (form->Visible() && !Application->Terminated())
    if (!Application->HandleMessage()) break;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<String> args(argv + 1, argv + argc);
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  try {
    const TCommandLine line = Parse(args);
    Register();  // the package's grids may stand in the forms
    if (line.Command == "convert")
      Convert(line);
    else if (line.Command == "render")
      Render(line);
    else
      View(line);
    return 0;
  } catch (const TUsageError& e) {
    std::cerr << "bw-form: " << e.Message << "\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "bw-form: " << e.what() << "\n";
    return 1;
  }
}
