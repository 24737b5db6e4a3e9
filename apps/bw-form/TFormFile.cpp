#include "TFormFile.h"

#include <regex>
#include <sstream>

#include "EFormFileError.h"
#include "platform/controls/TCustomForm.h"
#include "platform/core/ClassRegistry.h"
#include "platform/core/FormConversion.h"
#include "platform/core/TMemoryStream.h"

namespace bw {

namespace {

String ReadWhole(const String& FileName) {
  TMemoryStream data;
  data.LoadFromFile(FileName);
  return String(static_cast<const char*>(data.Memory()), size_t(data.Size()));
}

TStreamOriginalFormat FormatOf(const String& Data) {
  TMemoryStream data;
  data.Write(Data.data(), int32_t(Data.size()));
  data.SetPosition(0);
  return TestStreamFormat(&data);
}

// Runs Convert; a failure becomes an EFormFileError that names the file.
template <class F>
String Checked(const String& FileName, F&& Convert) {
  try {
    return Convert();
  } catch (const Exception& e) {
    throw EFormFileError(FileName + ": " + e.Message());
  }
}

// "OnClick = Button1Click" names a handler of a program that is not here.
const std::regex kHandlerLine(R"(^\s*On[A-Z]\w*\s*=\s*(?!True$|False$)[A-Za-z_]\w*\s*$)");
// The first line: "object Form1: TForm1", possibly "inherited" or "inline", with "[n]".
const std::regex kRootLine(R"(^(\s*(?:object|inherited|inline)\s+(?:\w+\s*:\s*)?)(\w+)(.*)$)",
                           std::regex::icase);

String ForViewing(const String& Text) {
  std::istringstream in(Text);
  String line, out;
  bool first = true;
  while (std::getline(in, line)) {
    std::smatch m;
    if (first && std::regex_match(line, m, kRootLine) && !GetClass(m[2].str()))
      line = m[1].str() + "TForm" + m[3].str();
    first = false;
    if (std::regex_match(line, kHandlerLine)) continue;
    out += line + "\n";
  }
  return out;
}

}  // namespace

TFormFile::TFormFile(const String& FileName) : FFileName(FileName), FData(ReadWhole(FileName)) {
  FFormat = FormatOf(FData);
  if (FFormat == sofUnknown)
    throw EFormFileError(FileName + ": not a form file (neither the text nor the binary form)");
}

String TFormFile::Binary() const {
  return Checked(FFileName, [&] {
    if (FFormat == sofText) return ObjectTextToBinary(FData);
    ObjectBinaryToText(FData);  // a damaged binary form is refused here, not passed on
    return FData;
  });
}

String TFormFile::Text() const {
  return Checked(FFileName, [&] {
    return FFormat == sofText ? ObjectBinaryToText(ObjectTextToBinary(FData))
                              : ObjectBinaryToText(FData);
  });
}

TCustomForm* TFormFile::CreateForm(TComponent* Owner) const {
  const String text = ForViewing(Text());
  TComponent* root = nullptr;
  Checked(FFileName, [&] {
    root = ComponentFromString(text, nullptr, Owner);
    return String();
  });
  if (auto* form = dynamic_cast<TCustomForm*>(root)) return form;
  const String className = root->ClassName();
  delete root;
  throw EFormFileError(FFileName + ": holds a " + className + ", not a form");
}

}  // namespace bw
