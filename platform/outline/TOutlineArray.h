#pragma once
// A growable array of plain records for the outline's item store, kept in fixed-size
// chunks. Growing never moves what is stored (a std::vector of a million items would
// copy them all on each doubling and fault in twice the memory), and freed chunks are
// reused by the allocator. Records are moved with memmove, chunk by chunk.
//
// The first chunks come from the allocator one by one. A large array takes its further
// chunks from 2 MiB blocks that the system may back with huge pages, so that filling
// millions of records costs a few page faults rather than one per 4 KiB. Chunks are
// only ever added and removed at the end, so the blocks are too.

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace bw {

template <class T>
class TOutlineArray {
  static_assert(std::is_trivially_copyable_v<T>, "records are moved with memmove");

 public:
  static constexpr size_t kShift = 12;
  static constexpr size_t kChunk = size_t(1) << kShift;  // records a chunk
  static constexpr size_t kMask = kChunk - 1;

  TOutlineArray() = default;
  ~TOutlineArray() { Truncate(0); }
  TOutlineArray(const TOutlineArray&) = delete;
  TOutlineArray& operator=(const TOutlineArray&) = delete;

  size_t Size() const { return FSize; }
  T& operator[](size_t i) { return FChunks[i >> kShift][i & kMask]; }
  const T& operator[](size_t i) const { return FChunks[i >> kShift][i & kMask]; }

  /// Record i and how many records follow it in the same chunk, itself included: a run
  /// that can be read as a plain array.
  const T* RunAt(size_t i, size_t& n) const {
    n = kChunk - (i & kMask);
    return &(*this)[i];
  }
  /// Prepares the chunk table for n records.
  void Reserve(size_t n) { FChunks.reserve((n + kMask) >> kShift); }
  void PushBack(const T& value) { PushBackSlot() = value; }
  void Insert(size_t at, const T& value) { InsertSlot(at) = value; }
  /// Adds a record at the end and gives it to be filled in.
  T& PushBackSlot() {
    if (FSize == FChunks.size() * kChunk) AddChunk();
    return (*this)[FSize++];
  }
  /// Makes room for a record at `at` and gives it to be filled in.
  T& InsertSlot(size_t at) {
    if (FSize == FChunks.size() * kChunk) AddChunk();
    Move(at + 1, at, FSize - at);
    ++FSize;
    return (*this)[at];
  }
  /// Removes [from, to).
  void Erase(size_t from, size_t to) {
    Move(from, to, FSize - to);
    Truncate(FSize - (to - from));
  }
  /// Shrinks to n records (n <= Size()), freeing the chunks no longer needed.
  void Truncate(size_t n) {
    FSize = n;
    const size_t keep = (n + kMask) >> kShift;
    while (FChunks.size() > keep)
      FreeLastChunk();
  }
  void Swap(TOutlineArray& other) {
    FChunks.swap(other.FChunks);
    FBlocks.swap(other.FBlocks);
    std::swap(FSize, other.FSize);
  }

 private:
  static constexpr size_t kSmallChunks = 16;  // chunks taken from the allocator
  static constexpr size_t kBlockBytes = size_t(1) << 21;
  static constexpr size_t kChunksPerBlock = kBlockBytes / (kChunk * sizeof(T));
  static_assert(kChunksPerBlock >= 1);

  std::vector<T*> FChunks;
  std::vector<void*> FBlocks;  // the blocks of the chunks after the first kSmallChunks
  size_t FSize = 0;

  void AddChunk() {
    FChunks.reserve(FChunks.size() + 1);
    const size_t c = FChunks.size();
    T* chunk;
    if (c < kSmallChunks) {
      chunk = static_cast<T*>(std::malloc(kChunk * sizeof(T)));
      if (!chunk) throw std::bad_alloc();
    } else {
      const size_t inBlock = (c - kSmallChunks) % kChunksPerBlock;
      if (inBlock == 0) AddBlock();
      chunk = static_cast<T*>(FBlocks.back()) + inBlock * kChunk;
    }
    FChunks.push_back(chunk);
  }
  void AddBlock() {
    FBlocks.reserve(FBlocks.size() + 1);
    void* block = std::aligned_alloc(kBlockBytes, kBlockBytes);
    if (!block) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(block, kBlockBytes, MADV_HUGEPAGE);  // a hint; refused, it changes nothing
#endif
    FBlocks.push_back(block);
  }
  void FreeLastChunk() {
    const size_t c = FChunks.size() - 1;
    if (c < kSmallChunks) {
      std::free(FChunks.back());
    } else if ((c - kSmallChunks) % kChunksPerBlock == 0) {
      std::free(FBlocks.back());
      FBlocks.pop_back();
    }
    FChunks.pop_back();
  }

  /// Moves count records from src to dst; the ranges may overlap.
  void Move(size_t dst, size_t src, size_t count) {
    if (dst > src) {
      // Back to front, one run inside a chunk on both sides at a time.
      while (count > 0) {
        const size_t s = src + count, d = dst + count;
        const size_t n = std::min({count, ((s - 1) & kMask) + 1, ((d - 1) & kMask) + 1});
        std::memmove(static_cast<void*>(&(*this)[d - n]), &(*this)[s - n], n * sizeof(T));
        count -= n;
      }
    } else if (dst < src) {
      while (count > 0) {
        const size_t n = std::min({count, kChunk - (src & kMask), kChunk - (dst & kMask)});
        std::memmove(static_cast<void*>(&(*this)[dst]), &(*this)[src], n * sizeof(T));
        dst += n;
        src += n;
        count -= n;
      }
    }
  }
};

}  // namespace bw
