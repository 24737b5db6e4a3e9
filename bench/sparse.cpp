// Figures for the sparse containers: random writes and reads, shifting at the front of a
// long list, and heap bytes per stored entry. Prints "name: value unit" lines; times are
// thread CPU time (BenchReport.h).

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <numeric>
#include <random>
#include <vector>

#include "bench/BenchReport.h"
#include "sparse/TSparseList.h"
#include "sparse/TSparsePointerArray.h"
#include "sparse/TStringSparseList.h"

using namespace bw;
using namespace bw::bench;

// Heap accounting: every allocation through operator new is counted with its usable size.
static size_t gHeapBytes = 0;

// The operators all go through these two, so that no operator calls a mismatched one.
static void* CountedAlloc(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  gHeapBytes += malloc_usable_size(p);
  return p;
}
static void CountedFree(void* p) noexcept {
  if (!p) return;
  gHeapBytes -= malloc_usable_size(p);
  std::free(p);
}

void* operator new(size_t n) {
  return CountedAlloc(n);
}
void* operator new[](size_t n) {
  return CountedAlloc(n);
}
void operator delete(void* p) noexcept {
  CountedFree(p);
}
void operator delete[](void* p) noexcept {
  CountedFree(p);
}
void operator delete(void* p, size_t) noexcept {
  CountedFree(p);
}
void operator delete[](void* p, size_t) noexcept {
  CountedFree(p);
}

namespace {

double NsSince(Clock::time_point start, double ops) {
  return Nanos(start, Clock::now()) / ops;
}

Pointer Item(int32_t i) {
  return reinterpret_cast<Pointer>(static_cast<intptr_t>(i + 1) * 8);
}

const char* Name(TSparseQuantum q) {
  return q == sqSmall ? "small" : "large";
}

void RandomWriteRead(TSparseQuantum q) {
  constexpr int32_t N = 1000000;
  std::vector<int32_t> order(N);
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), std::mt19937(1));

  const size_t heapBefore = gHeapBytes;
  TSparseList list(q);
  auto start = Clock::now();
  for (int32_t i : order)
    list.PutItem(i, Item(i));
  std::printf("random_write_1M_%s: %.1f ns/entry\n", Name(q), NsSince(start, N));

  std::shuffle(order.begin(), order.end(), std::mt19937(2));
  uintptr_t sum = 0;
  start = Clock::now();
  for (int32_t i : order)
    sum += reinterpret_cast<uintptr_t>(list.GetItem(i));
  std::printf("random_read_1M_%s: %.1f ns/entry\n", Name(q), NsSince(start, N));
  if (sum == 0) std::printf("(unexpected empty list)\n");

  std::printf("memory_dense_1M_%s: %.2f bytes/entry\n", Name(q),
              static_cast<double>(gHeapBytes - heapBefore) / N);
}

void Scattered(TSparseQuantum q) {
  // 100,000 entries spread over the whole index range: the cost of a sparse fill.
  constexpr int32_t N = 100000;
  const size_t heapBefore = gHeapBytes;
  TSparseList list(q);
  std::mt19937 rng(3);
  std::uniform_int_distribution<int32_t> pick(0, list.MaxIndex());
  int32_t stored = 0;
  for (int32_t k = 0; k < N; ++k) {
    int32_t i = pick(rng);
    if (!list.GetItem(i)) ++stored;
    list.PutItem(i, Item(i));
  }
  std::printf("memory_scattered_100k_%s: %.2f bytes/entry (over %d indexes)\n", Name(q),
              static_cast<double>(gHeapBytes - heapBefore) / stored, list.MaxIndex() + 1);
}

// Microseconds for one Insert and one Delete at index 0 of a list of n entries, both
// moving every entry: the cost must grow with n, linearly.
std::vector<double> FrontInsertDelete(TSparseQuantum q, int32_t n) {
  constexpr int32_t Ops = 1000;
  TSparseList list(q);
  for (int32_t i = 0; i < n; ++i)
    list.PutItem(i, Item(i));
  std::vector<double> runs;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = Clock::now();
    for (int32_t k = 0; k < Ops; ++k) {
      list.Insert(0, Item(k));
      list.Delete(0);
    }
    runs.push_back(NsSince(start, Ops) / 1000);
  }
  return runs;
}

void StringListMemory(TSparseQuantum q) {
  // Short texts, as grid cells mostly hold: the record and its string in one allocation.
  constexpr int32_t N = 1000000;
  const size_t heapBefore = gHeapBytes;
  {
    TStringSparseList list(q);
    auto start = Clock::now();
    for (int32_t i = 0; i < N; ++i)
      list.Put(i, "cell");
    std::printf("string_put_1M_%s: %.1f ns/entry\n", Name(q), NsSince(start, N));
    std::printf("memory_strings_1M_%s: %.2f bytes/entry\n", Name(q),
                static_cast<double>(gHeapBytes - heapBefore) / N);
  }
  if (gHeapBytes != heapBefore)
    std::printf("(heap not returned: %zu bytes)\n", gHeapBytes - heapBefore);
}

}  // namespace

int main() {
  for (TSparseQuantum q : {sqSmall, sqLarge}) {
    RandomWriteRead(q);
    Scattered(q);
    StringListMemory(q);
  }
  // The figure: a 100,000-entry list, and twice and four times that to show the growth.
  Report("sparse_list", FrontInsertDelete(sqSmall, 100'000), "us");
  Report("sparse_list_200k", FrontInsertDelete(sqSmall, 200'000), "us");
  Report("sparse_list_400k", FrontInsertDelete(sqSmall, 400'000), "us");
  Report("sparse_list_large_quantum", FrontInsertDelete(sqLarge, 100'000), "us");
  return 0;
}
