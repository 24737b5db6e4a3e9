// The string list's parsers on arbitrary bytes: the first byte picks the line text, the
// comma text or the delimited text (the next two bytes then give the delimiter and the
// quote character). Each must keep what it read: the list's own form of the result
// parses back to the same entries (for the delimited text, where its characters allow).
#include "FormFuzzing.h"
#include "platform/core/TStringList.h"
#include "platform/core/TStringStream.h"

namespace bw::fuzzing {
namespace {

std::vector<String> Entries(const TStrings& List) {
  std::vector<String> out;
  for (int32_t i = 0; i < List.GetCount(); ++i)
    out.push_back(List.Get(i));
  return out;
}

void LinesOf(const String& Text) {
  TStringList list;
  list.SetText(Text);
  TStringList again;
  again.SetText(list.Text());
  Check(Entries(again) == Entries(list));
}

void StreamOf(const String& Text) {
  TStringList list;
  TStringStream stream(Text);
  list.LoadFromStream(&stream);
  TStringStream saved;
  list.SaveToStream(&saved);
  TStringList again;
  saved.SetPosition(0);
  again.LoadFromStream(&saved);
  Check(Entries(again) == Entries(list));
}

void CommaOf(const String& Text) {
  TStringList list;
  list.SetCommaText(Text);
  TStringList again;
  again.SetCommaText(list.CommaText());
  Check(Entries(again) == Entries(list));
}

/// Items keep their blanks, delimiters and quotes only with a quote character that is
/// neither blank nor the delimiter, and a delimiter that is not blank.
bool RoundTrips(char Delimiter, char Quote) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  return !blank(Quote) && !blank(Delimiter) && Quote != Delimiter;
}

void DelimitedOf(const String& Text, char Delimiter, char Quote) {
  TStringList list;
  list.SetDelimiter(Delimiter);
  list.SetQuoteChar(Quote);
  list.SetDelimitedText(Text);
  if (!RoundTrips(Delimiter, Quote)) return;
  TStringList again;
  again.SetDelimiter(Delimiter);
  again.SetQuoteChar(Quote);
  again.SetDelimitedText(list.DelimitedText());
  Check(Entries(again) == Entries(list));
}

}  // namespace
}  // namespace bw::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  using namespace bw::fuzzing;
  if (Size < 3) return 0;
  const bw::String text = Input(Data + 3, Size - 3);
  try {
    switch (Data[0] % 4) {
      case 0:
        LinesOf(text);
        break;
      case 1:
        StreamOf(text);
        break;
      case 2:
        CommaOf(text);
        break;
      default:
        DelimitedOf(text, char(Data[1]), char(Data[2]));
        break;
    }
  } catch (const bw::Exception&) {
  }
  return 0;
}
