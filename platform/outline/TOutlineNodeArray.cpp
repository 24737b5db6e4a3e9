#include "platform/outline/TOutlineNodeArray.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace bw {

namespace {
constexpr size_t kPast = std::numeric_limits<size_t>::max();
}

TOutlineNodeArray::TOutlineNodeArray() : FRuns{TRun{kPast, kPast, 0}} {}

TOutlineNodeArray::~TOutlineNodeArray() {
  for (TOutlineNode** chunk : FChunks)
    std::free(chunk);
}

TOutlineNode** TOutlineNodeArray::Chunk(size_t c) {
  if (!FChunks[c]) {
    auto* chunk = static_cast<TOutlineNode**>(std::calloc(kChunk, sizeof(TOutlineNode*)));
    if (!chunk) throw std::bad_alloc();
    FChunks[c] = chunk;
  }
  return FChunks[c];
}

void TOutlineNodeArray::AddChunk() {
  FChunks.reserve(FChunks.size() + 1);
  FRunAt.reserve(FChunks.size() + 1);
  FChunks.push_back(nullptr);
  // Every run ends at the last position or before, so the new chunk's first run is the
  // closing one.
  FRunAt.push_back(uint32_t(FRuns.size() - 1));
}

void TOutlineNodeArray::Set(size_t i, TOutlineNode* node) {
  if (!node && !FChunks[i >> kShift]) return;
  TOutlineNode** chunk = Chunk(i >> kShift);
  const TRun& run = FRuns[RunAfter(i)];
  if (run.First <= i) {
    if (run.First < i && i + 1 < run.End) FRuns.reserve(FRuns.size() + 1);
    CutRuns(i, i + 1);
  }
  chunk[i & kMask] = node;
}

void TOutlineNodeArray::PrepareRuns(size_t i, size_t runs) {
  Chunk(i >> kShift);
  FRuns.reserve(FRuns.size() + runs);
}

void TOutlineNodeArray::SetRun(size_t first, size_t count, TOutlineNode* nodes) {
  if (count == 0) return;
  TOutlineNode** chunk = FChunks[first >> kShift];
  for (size_t k = 0; k < count; ++k)
    chunk[(first + k) & kMask] = nodes + k;
  if (count < kMinRun) return;
  const size_t r = RunAfter(first);
  const uintptr_t origin = reinterpret_cast<uintptr_t>(nodes) - first * kStride;
  FRuns.insert(FRuns.begin() + ptrdiff_t(r), TRun{first, first + count, origin});
  IndexRuns(first >> kShift);
}

void TOutlineNodeArray::Clear(size_t from, size_t to) {
  if (from >= to) return;
  CutRuns(from, to);
  for (size_t c = from >> kShift; c <= (to - 1) >> kShift; ++c) {
    if (!FChunks[c]) continue;
    const size_t begin = std::max(from, c << kShift), end = std::min(to, (c + 1) << kShift);
    std::fill(FChunks[c] + (begin & kMask), FChunks[c] + (begin & kMask) + (end - begin), nullptr);
  }
}

void TOutlineNodeArray::Insert(size_t i) {
  // A run that goes on across i splits in two.
  FRuns.reserve(FRuns.size() + 1);
  PushBack();
  try {
    Move(i + 1, i, FSize - 1 - i);
  } catch (...) {
    Truncate(FSize - 1);
    throw;
  }
  if (FChunks[i >> kShift]) FChunks[i >> kShift][i & kMask] = nullptr;
  const size_t r = RunAfter(i);
  if (FRuns[r].First < i) {
    FRuns.insert(FRuns.begin() + ptrdiff_t(r) + 1, FRuns[r]);
    FRuns[r].End = i;
    FRuns[r + 1].First = i;
    DropIfShort(r + 1);
    DropIfShort(r);
  }
  ShiftRuns(i, 1);
}

void TOutlineNodeArray::PrepareErase(size_t from, size_t to) {
  Prepare(from, to, FSize - to);
  FRuns.reserve(FRuns.size() + 1);
}

void TOutlineNodeArray::Erase(size_t from, size_t to) {
  Move(from, to, FSize - to);
  CutRuns(from, to);
  ShiftRuns(to, -ptrdiff_t(to - from));
  Truncate(FSize - (to - from));
}

void TOutlineNodeArray::Truncate(size_t n) {
  if (n < FSize) CutRuns(n, FSize);
  // Entries past n in a chunk that stays must read as null when the array grows again.
  if (n < FSize && (n & kMask) != 0) {
    if (TOutlineNode** chunk = FChunks[n >> kShift])
      std::fill(chunk + (n & kMask), chunk + std::min(kChunk, FSize - (n & ~kMask)), nullptr);
  }
  FSize = n;
  const size_t keep = (n + kMask) >> kShift;
  while (FChunks.size() > keep) {
    std::free(FChunks.back());
    FChunks.pop_back();
  }
  FRunAt.resize(FChunks.size());
}

void TOutlineNodeArray::Swap(TOutlineNodeArray& other) {
  FChunks.swap(other.FChunks);
  std::swap(FSize, other.FSize);
  FRuns.swap(other.FRuns);
  FRunAt.swap(other.FRunAt);
}

size_t TOutlineNodeArray::RunAfter(size_t i) const {
  // Runs do not overlap, so their ends increase like their starts.
  return size_t(std::upper_bound(FRuns.begin(), FRuns.end(), i,
                                 [](size_t p, const TRun& run) { return p < run.End; }) -
                FRuns.begin());
}

void TOutlineNodeArray::CutRuns(size_t from, size_t to) {
  size_t r = RunAfter(from);
  if (FRuns[r].First >= to) return;
  const size_t c = from >> kShift;
  if (FRuns[r].First < from && to < FRuns[r].End) {
    // [from, to) lies inside the run: it splits in two.
    FRuns.insert(FRuns.begin() + ptrdiff_t(r) + 1, FRuns[r]);
    FRuns[r].End = from;
    FRuns[r + 1].First = to;
    DropIfShort(r + 1);
    DropIfShort(r);
  } else {
    const bool before = FRuns[r].First < from;
    if (before) FRuns[r++].End = from;
    size_t e = r;
    while (FRuns[e].End <= to)
      ++e;
    FRuns.erase(FRuns.begin() + ptrdiff_t(r), FRuns.begin() + ptrdiff_t(e));
    if (FRuns[r].First < to) {
      FRuns[r].First = to;
      DropIfShort(r);
    }
    if (before) DropIfShort(r - 1);
  }
  IndexRuns(c);
}

void TOutlineNodeArray::DropIfShort(size_t r) {
  // The closing run is never dropped.
  if (FRuns[r].First == kPast || FRuns[r].End - FRuns[r].First >= kMinRun) return;
  FRuns.erase(FRuns.begin() + ptrdiff_t(r));
}

void TOutlineNodeArray::ShiftRuns(size_t from, ptrdiff_t delta) {
  size_t r = RunAfter(from);
  if (FRuns[r].First < from) ++r;
  for (; FRuns[r].First != kPast; ++r) {
    FRuns[r].First += size_t(delta);
    FRuns[r].End += size_t(delta);
    FRuns[r].Origin -= uintptr_t(delta) * kStride;
  }
  IndexRuns(std::min(from, from + size_t(delta)) >> kShift);
}

void TOutlineNodeArray::IndexRuns(size_t c) {
  if (c >= FRunAt.size()) return;
  size_t r = RunAfter(c << kShift);
  for (; c < FRunAt.size(); ++c) {
    while (FRuns[r].End <= c << kShift)
      ++r;
    FRunAt[c] = uint32_t(r);
  }
}

bool TOutlineNodeArray::AnyHandle(size_t from, size_t n) const {
  TOutlineNode* const* chunk = FChunks[from >> kShift];
  if (!chunk) return false;
  return std::any_of(chunk + (from & kMask), chunk + (from & kMask) + n,
                     [](TOutlineNode* node) { return node != nullptr; });
}

template <class F>
void TOutlineNodeArray::ForEachPiece(size_t dst, size_t src, size_t count, F&& f) const {
  if (dst > src) {
    // Back to front.
    while (count > 0) {
      const size_t s = src + count, d = dst + count;
      const size_t n = std::min({count, ((s - 1) & kMask) + 1, ((d - 1) & kMask) + 1});
      f(d - n, s - n, n);
      count -= n;
    }
  } else if (dst < src) {
    while (count > 0) {
      const size_t n = std::min({count, kChunk - (src & kMask), kChunk - (dst & kMask)});
      f(dst, src, n);
      dst += n;
      src += n;
      count -= n;
    }
  }
}

void TOutlineNodeArray::Prepare(size_t dst, size_t src, size_t count) {
  ForEachPiece(dst, src, count, [this](size_t d, size_t s, size_t n) {
    if (!FChunks[d >> kShift] && AnyHandle(s, n)) Chunk(d >> kShift);
  });
}

void TOutlineNodeArray::Move(size_t dst, size_t src, size_t count) {
  Prepare(dst, src, count);
  ForEachPiece(dst, src, count, [this](size_t d, size_t s, size_t n) {
    TOutlineNode** to = FChunks[d >> kShift];
    TOutlineNode* const* from = FChunks[s >> kShift];
    if (!to) return;  // the source piece holds no handle: nothing to carry
    if (from)
      std::memmove(to + (d & kMask), from + (s & kMask), n * sizeof(TOutlineNode*));
    else
      std::fill(to + (d & kMask), to + (d & kMask) + n, nullptr);
  });
}

}  // namespace bw
