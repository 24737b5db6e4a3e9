// Figures for the outline model on tree T: 1,000 top-level items, each with 999 children,
// texts "Item N" (1,000,000 items). Each figure is measured 5 times and reported as
// BenchReport.h says (thread CPU time). Memory figures are heap bytes in use (mallinfo2).

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "bench/BenchReport.h"
#include "bench/HeapInUse.h"
#include "platform/core/TStringStream.h"
#include "platform/outline/TCustomOutline.h"

using namespace bw;
using namespace bw::bench;

namespace {

constexpr int32_t kTop = 1000;
constexpr int32_t kChildren = 999;
constexpr int32_t kItems = kTop * (1 + kChildren);

// Thread CPU time since it was made.
struct Timer {
  Clock::time_point start = Clock::now();
};

double Elapsed(const Timer& t, double scale) {
  return Nanos(t.start, Clock::now()) * 1e-9 * scale;
}

// Runs `measure` kRuns times, each on a fresh setup, and reports its results.
template <class Setup, class Measure>
void Measure5(const char* name, const char* unit, Setup setup, Measure measure) {
  std::vector<double> samples;
  for (int run = 0; run < kRuns; ++run) {
    auto state = setup();
    samples.push_back(measure(*state));
  }
  Report(name, samples, unit);
}

std::vector<String> MakeTexts() {
  std::vector<String> texts;
  texts.reserve(kItems);
  for (int32_t i = 1; i <= kItems; ++i)
    texts.push_back("Item " + std::to_string(i));
  return texts;
}

void BuildT(TCustomOutline& o, const std::vector<String>& texts) {
  o.BeginUpdate();
  size_t next = 0;
  for (int32_t t = 0; t < kTop; ++t) {
    const int32_t top = o.Add(0, texts[next++]);
    for (int32_t c = 0; c < kChildren; ++c)
      o.AddChild(top, texts[next++]);
  }
  o.EndUpdate();
}

std::unique_ptr<TCustomOutline> MakeT(const std::vector<String>& texts) {
  auto o = std::make_unique<TCustomOutline>(nullptr);
  BuildT(*o, texts);
  return o;
}

}  // namespace

int main() {
  const std::vector<String> texts = MakeTexts();
  const String folder =
      std::filesystem::temp_directory_path() / ("bwbench." + std::to_string(getpid()));
  std::filesystem::create_directory(folder);
  const String file = folder + "/T.txt";

  {
    std::vector<double> ns;
    std::vector<double> bytes;
    for (int run = 0; run < kRuns; ++run) {
      const size_t before = HeapInUse();
      auto o = std::make_unique<TCustomOutline>(nullptr);
      const Timer start;
      BuildT(*o, texts);
      ns.push_back(Elapsed(start, 1e9 / kItems));
      bytes.push_back(double(HeapInUse() - before) / kItems);
      if (o->ItemCount() != kItems) std::abort();
    }
    Report("build_T_per_item", ns, "ns");
    Report("build_T_memory_per_item", bytes, "bytes");
  }

  MakeT(texts)->SaveToFile(file);
  Measure5(
      "load_T_file", "ms", [] { return std::make_unique<TCustomOutline>(nullptr); },
      [&](TCustomOutline& o) {
        const Timer start;
        o.LoadFromFile(file);
        const double ms = Elapsed(start, 1e3);
        if (o.ItemCount() != kItems) std::abort();
        return ms;
      });
  {
    std::vector<double> bytes;
    for (int run = 0; run < kRuns; ++run) {
      const size_t before = HeapInUse();
      auto o = std::make_unique<TCustomOutline>(nullptr);
      o->LoadFromFile(file);
      bytes.push_back(double(HeapInUse() - before) / kItems);
    }
    Report("load_T_memory_per_item", bytes, "bytes");
  }

  Measure5(
      "save_T_stream", "ms", [&] { return MakeT(texts); },
      [&](TCustomOutline& o) {
        TStringStream stream;
        const Timer start;
        o.SaveToStream(&stream);
        return Elapsed(start, 1e3);
      });
  Measure5(
      "save_T_file_atomic", "ms", [&] { return MakeT(texts); },
      [&](TCustomOutline& o) {
        const Timer start;
        o.SaveToFile(file);
        return Elapsed(start, 1e3);
      });

  Measure5(
      "full_expand_T", "ms", [&] { return MakeT(texts); },
      [&](TCustomOutline& o) {
        const Timer start;
        o.FullExpand();
        return Elapsed(start, 1e3);
      });

  // Items[i] for every i: the first pass makes the node handles, the second finds them.
  auto itemsPass = [](TCustomOutline& o) {
    int64_t sum = 0;
    const Timer start;
    for (int32_t i = 1; i <= kItems; ++i)
      sum += o.Get(i)->Index();
    const double ns = Elapsed(start, 1e9 / kItems);
    if (sum != int64_t(kItems) * (kItems + 1) / 2) std::abort();
    return ns;
  };
  // An outline whose node handles have all been made once already.
  auto makeWithHandles = [&] {
    auto o = MakeT(texts);
    for (int32_t i = 1; i <= kItems; ++i)
      o->Get(i);
    return o;
  };
  Measure5(
      "items_every_i_first_pass_per_item", "ns", [&] { return MakeT(texts); }, itemsPass);
  Measure5("items_every_i_again_per_item", "ns", makeWithHandles, itemsPass);
  Measure5("items_node_level_parent_per_item", "ns", makeWithHandles, [](TCustomOutline& o) {
    int64_t sum = 0;
    const Timer start;
    for (int32_t i = 1; i <= kItems; ++i) {
      TOutlineNode* node = o.Get(i);
      sum += node->Level() + node->HasChildren() + node->Expanded() + node->Parent()->Index();
    }
    const double ns = Elapsed(start, 1e9 / kItems);
    if (sum == 0) std::abort();
    return ns;
  });

  // The grid's row map: every shown item in order.
  auto walk = [](TCustomOutline& o) {
    std::vector<int32_t> rows;
    rows.reserve(size_t(o.ItemCount()));
    const Timer start;
    o.ForEachVisible([&](int32_t i) { rows.push_back(i); });
    const double ms = Elapsed(start, 1e3);
    if (rows.empty()) std::abort();
    return ms;
  };
  Measure5(
      "visible_walk_T_expanded", "ms",
      [&] {
        auto o = MakeT(texts);
        o->FullExpand();
        return o;
      },
      walk);
  Measure5(
      "visible_walk_T_collapsed", "ms", [&] { return MakeT(texts); }, walk);

  // Structural change in the middle: one insert and one delete near the top of T.
  Measure5(
      "insert_and_delete_near_top_of_T", "ms", [&] { return MakeT(texts); },
      [](TCustomOutline& o) {
        const Timer start;
        const int32_t i = o.Insert(2, "new");
        o.Delete(i);
        return Elapsed(start, 1e3);
      });

  // Adding under the deepest item of a chain 100,000 deep, per item: it must cost what
  // adding to a flat list does, not the depth.
  Measure5(
      "add_child_deep_chain_100k_per_item", "ns",
      [] { return std::make_unique<TCustomOutline>(nullptr); },
      [](TCustomOutline& o) {
        constexpr int32_t kDepth = 100'000;
        const Timer start;
        o.BeginUpdate();
        for (int32_t i = 0; i < kDepth; ++i)
          o.AddChild(i, "deep");
        o.EndUpdate();
        const double ns = Elapsed(start, 1e9 / kDepth);
        if (o.Tree().Level(kDepth) != kDepth) std::abort();
        return ns;
      });

  std::filesystem::remove_all(folder);
  return 0;
}
