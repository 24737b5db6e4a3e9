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

using TSetter = void (TStrings::*)(const String&);
using TGetter = String (TStrings::*)() const;

/// Reads Text into List with Set, and what Get makes of the result into a list set up as
/// List is: both hold the same entries.
void ExpectReadsBack(TStringList& List, const String& Text, TSetter Set, TGetter Get) {
  (List.*Set)(Text);
  TStringList again;
  again.SetDelimiter(List.Delimiter());
  again.SetQuoteChar(List.QuoteChar());
  (again.*Set)((List.*Get)());
  Check(Entries(again) == Entries(List));
}

void LinesOf(const String& Text) {
  TStringList list;
  ExpectReadsBack(list, Text, &TStrings::SetText, &TStrings::Text);
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
  ExpectReadsBack(list, Text, &TStrings::SetCommaText, &TStrings::CommaText);
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
  if (RoundTrips(Delimiter, Quote))
    ExpectReadsBack(list, Text, &TStrings::SetDelimitedText, &TStrings::DelimitedText);
  else
    list.SetDelimitedText(Text);
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
