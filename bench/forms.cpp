// Writing and reading a large form: 500 components, each with a 200-line string list
// and a 50-entry integer list, in the binary and the text form.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/core/ClassRegistry.h"
#include "platform/core/FormStreaming.h"
#include "platform/core/TPropertyTable.h"
#include "platform/core/TReader.h"
#include "platform/core/TStringList.h"
#include "platform/core/TWriter.h"

namespace {

using namespace bw;

class TBenchItem : public TComponent {
  BW_CLASS(TBenchItem, TComponent)
 public:
  explicit TBenchItem(TComponent* AOwner) : TComponent(AOwner) {}
  int32_t Value() const { return FValue; }
  void SetValue(int32_t V) { FValue = V; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& V) { FCaption = V; }
  TStringList* Lines() const { return FLines.get(); }
  std::vector<int32_t> Widths;

  void DefineProperties(TFiler* Filer) override {
    inherited::DefineProperties(Filer);
    Filer->DefineProperty(
        "Widths",
        [this](TReader* R) {
          Widths.clear();
          R->ReadListBegin();
          while (!R->EndOfList())
            Widths.push_back(R->ReadInteger());
          R->ReadListEnd();
        },
        [this](TWriter* W) {
          W->WriteListBegin();
          for (int32_t w : Widths)
            W->WriteInteger(w);
          W->WriteListEnd();
        },
        !Widths.empty());
  }

 private:
  int32_t FValue = 0;
  String FCaption;
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
};

BW_PUBLISHED(TBenchItem) {
  P.Property("Value", &TBenchItem::Value, &TBenchItem::SetValue);
  P.Property("Caption", &TBenchItem::Caption, &TBenchItem::SetCaption);
  P.Property("Lines", &TBenchItem::Lines);
}

std::unique_ptr<TComponent> MakeForm() {
  RegisterClass<TComponent>();
  RegisterClass<TBenchItem>();
  auto root = std::make_unique<TComponent>(nullptr);
  root->SetName("Form1");
  for (int i = 0; i < 500; ++i) {
    auto* item = new TBenchItem(root.get());
    item->SetName("Item" + std::to_string(i));
    item->SetValue(i * 1000);
    item->SetCaption("Caption of item " + std::to_string(i) + " caf\xC3\xA9");
    for (int l = 0; l < 200; ++l)
      item->Lines()->Add("Line " + std::to_string(l) + "\twith a tab");
    for (int w = 0; w < 50; ++w)
      item->Widths.push_back(64 + w);
  }
  return root;
}

void Run(benchmark::State& state, bool Text, bool Read) {
  auto form = MakeForm();
  const String data = Text ? ComponentToText(form.get()) : ComponentToBinary(form.get());
  for (auto _ : state) {
    if (Read) {
      std::unique_ptr<TComponent> loaded(ComponentFromString(data));
      benchmark::DoNotOptimize(loaded.get());
    } else {
      benchmark::DoNotOptimize(Text ? ComponentToText(form.get()) : ComponentToBinary(form.get()));
    }
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.size()));
}

void BM_WriteBinary(benchmark::State& s) {
  Run(s, false, false);
}
void BM_ReadBinary(benchmark::State& s) {
  Run(s, false, true);
}
void BM_WriteText(benchmark::State& s) {
  Run(s, true, false);
}
void BM_ReadText(benchmark::State& s) {
  Run(s, true, true);
}
BENCHMARK(BM_WriteBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
