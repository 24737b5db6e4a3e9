// The converters between the text and binary forms on arbitrary bytes, each way. Whatever
// one converter accepts, the other must take back without a change in meaning: the text
// a binary form gives converts back to binary that gives the same text, and text that
// converts gives binary whose text converts to the same binary.
#include "FormFuzzing.h"
#include "platform/core/FormConversion.h"

namespace bw::fuzzing {
namespace {

void FromText(const String& Input) {
  String binary;
  try {
    binary = ObjectTextToBinary(Input);
  } catch (const Exception&) {
    return;
  }
  Check(ObjectTextToBinary(ObjectBinaryToText(binary)) == binary);
}

void FromBinary(const String& Input) {
  String text;
  try {
    text = ObjectBinaryToText(Input);
  } catch (const Exception&) {
    return;
  }
  Check(ObjectBinaryToText(ObjectTextToBinary(text)) == text);
}

}  // namespace
}  // namespace bw::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const bw::String input = bw::fuzzing::Input(Data, Size);
  bw::fuzzing::FromText(input);
  bw::fuzzing::FromBinary(input);
  return 0;
}
