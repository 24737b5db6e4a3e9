// libFuzzer target for the form readers: arbitrary bytes go through the binary reader,
// the text parser and both converters. Any bw::Exception is an accepted outcome; a
// crash, a sanitizer report, a leak or another exception type is a fault.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/core/ClassRegistry.h"
#include "platform/core/Exception.h"
#include "platform/core/FormConversion.h"
#include "platform/core/FormStreaming.h"
#include "platform/core/TComponent.h"
#include "platform/core/TPropertyTable.h"
#include "platform/core/TReader.h"
#include "platform/core/TStream.h"
#include "platform/core/TStringList.h"
#include "platform/core/TWriter.h"

namespace bw {
namespace {

enum TFuzzKind : uint8_t { fkOne, fkTwo };

class TFuzzComponent : public TComponent {
  BW_CLASS(TFuzzComponent, TComponent)
 public:
  explicit TFuzzComponent(TComponent* AOwner) : TComponent(AOwner) {}
  int32_t Number() const { return FNumber; }
  void SetNumber(int32_t V) { FNumber = V; }
  const String& Text() const { return FText; }
  void SetText(const String& V) { FText = V; }
  TFuzzKind Kind() const { return FKind; }
  void SetKind(TFuzzKind V) { FKind = V; }
  TSet<TFuzzKind> Kinds() const { return FKinds; }
  void SetKinds(TSet<TFuzzKind> V) { FKinds = V; }
  double Ratio() const { return FRatio; }
  void SetRatio(double V) { FRatio = V; }
  TStringList* Lines() const { return FLines.get(); }
  TFuzzComponent* Link() const { return FLink; }
  void SetLink(TFuzzComponent* V) { FLink = V; }

  void DefineProperties(TFiler* Filer) override {
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        "Widths",
        [this](TReader* R) {
          R->ReadListBegin();
          for (int32_t& w : FWidths)
            w = R->ReadInteger();
          R->ReadListEnd();
        },
        [this](TWriter* W) {
          W->WriteListBegin();
          for (int32_t w : FWidths)
            W->WriteInteger(w);
          W->WriteListEnd();
        },
        true);
    Filer->DefineBinaryProperty(
        "Data",
        [this](TStream* S) {
          FData.resize(size_t(S->Size()));
          S->Read(FData.data(), int32_t(FData.size()));
        },
        [this](TStream* S) { S->Write(FData.data(), int32_t(FData.size())); }, !FData.empty());
  }

 private:
  int32_t FNumber = 0;
  String FText;
  TFuzzKind FKind = fkOne;
  TSet<TFuzzKind> FKinds;
  double FRatio = 0;
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
  TFuzzComponent* FLink = nullptr;
  int32_t FWidths[3] = {};
  String FData;
};

BW_PUBLISHED(TFuzzComponent) {
  P.Property("Number", &TFuzzComponent::Number, &TFuzzComponent::SetNumber);
  P.Property("Text", &TFuzzComponent::Text, &TFuzzComponent::SetText);
  P.Property("Kind", &TFuzzComponent::Kind, &TFuzzComponent::SetKind, {"fkOne", "fkTwo"});
  P.Property("Kinds", &TFuzzComponent::Kinds, &TFuzzComponent::SetKinds, {"fkOne", "fkTwo"});
  P.Property("Ratio", &TFuzzComponent::Ratio, &TFuzzComponent::SetRatio);
  P.Property("Lines", &TFuzzComponent::Lines);
  P.Property("Link", &TFuzzComponent::Link, &TFuzzComponent::SetLink);
}

}  // namespace
}  // namespace bw

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  using namespace bw;
  static const bool registered = (RegisterClass<TFuzzComponent>(), true);
  (void)registered;
  const String input(reinterpret_cast<const char*>(Data), Size);
  try {
    std::unique_ptr<TComponent> root(ComponentFromString(input));
    // What was read must write back in both forms.
    ComponentToText(root.get());
  } catch (const Exception&) {
  }
  try {
    ObjectBinaryToText(input);
  } catch (const Exception&) {
  }
  try {
    // Text that converts must convert back.
    ObjectBinaryToText(ObjectTextToBinary(input));
  } catch (const Exception&) {
  }
  return 0;
}
