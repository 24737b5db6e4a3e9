#include "platform/outline/TOutlineNodeArray.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace bw {

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

void TOutlineNodeArray::Set(size_t i, TOutlineNode* node) {
  if (!node && !FChunks[i >> kShift]) return;
  Chunk(i >> kShift)[i & kMask] = node;
}

void TOutlineNodeArray::Insert(size_t i) {
  PushBack();
  try {
    Move(i + 1, i, FSize - 1 - i);
  } catch (...) {
    Truncate(FSize - 1);
    throw;
  }
  Set(i, nullptr);
}

void TOutlineNodeArray::Erase(size_t from, size_t to) {
  Move(from, to, FSize - to);
  Truncate(FSize - (to - from));
}

void TOutlineNodeArray::Truncate(size_t n) {
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
}

void TOutlineNodeArray::Swap(TOutlineNodeArray& other) {
  FChunks.swap(other.FChunks);
  std::swap(FSize, other.FSize);
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
