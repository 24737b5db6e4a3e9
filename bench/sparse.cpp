// Figures for the sparse containers: random writes and reads, shifting at the front of a
// long list, and heap bytes per stored entry. Prints "name: value unit" lines.

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <numeric>
#include <random>
#include <vector>

#include "sparse/TSparseList.h"
#include "sparse/TSparsePointerArray.h"
#include "sparse/TStringSparseList.h"

using namespace bw;

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

using Clock = std::chrono::steady_clock;

double NsSince(Clock::time_point start, double ops) {
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / ops;
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

void FrontInsertDelete(TSparseQuantum q) {
  constexpr int32_t N = 100000, Ops = 2000;
  TSparseList list(q);
  for (int32_t i = 0; i < N; ++i)
    list.PutItem(i, Item(i));
  auto start = Clock::now();
  for (int32_t k = 0; k < Ops; ++k)
    list.Insert(0, Item(k));
  std::printf("insert_front_100k_%s: %.1f us/op\n", Name(q), NsSince(start, Ops) / 1000);
  start = Clock::now();
  for (int32_t k = 0; k < Ops; ++k)
    list.Delete(0);
  std::printf("delete_front_100k_%s: %.1f us/op\n", Name(q), NsSince(start, Ops) / 1000);
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
    FrontInsertDelete(q);
    StringListMemory(q);
  }
  return 0;
}
