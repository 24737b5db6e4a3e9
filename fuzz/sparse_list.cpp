// The stored "List" property of a sparse string list: the input is the property's value
// in the binary form. A value that reads stores again and reads into an equal list.
#include "FormFuzzing.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TReader.h"
#include "platform/core/TWriter.h"
#include "sparse/TStringSparseList.h"

namespace bw::fuzzing {
namespace {

/// Reads Value as the "List" property of List.
void ReadList(TStringSparseList& List, const String& Value) {
  TMemoryStream stream;
  const String property = String("\x04List") + Value + String(1, '\0');
  stream.Write(property.data(), int32_t(property.size()));
  stream.SetPosition(0);
  TReader reader(&stream);
  reader.ReadProperties(&List);
}

/// The list's "List" property value.
String Stored(TStringSparseList& List) {
  TMemoryStream stream;
  {
    TWriter writer(&stream);
    List.WriteItems(&writer);
  }
  return String(static_cast<const char*>(stream.Memory()), size_t(stream.Size()));
}

}  // namespace
}  // namespace bw::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  using namespace bw;
  using namespace bw::fuzzing;
  TStringSparseList list(sqSmall);
  try {
    ReadList(list, Input(Data, Size));
  } catch (const Exception&) {
    return 0;
  }
  TStringSparseList again(sqLarge);
  const String stored = Stored(list);
  ReadList(again, stored);
  Check(Stored(again) == stored && again.GetCount() == list.GetCount());
  return 0;
}
