#include "sparse/TSparsePointerArray.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/core/ResourceStrings.h"
#include "sparse/SparseStrings.h"

namespace bw {

namespace {
// Slot masks and block shifts by quantum ordinal.
constexpr uint16_t kSlotMasks[] = {15, 255};
constexpr uint16_t kBlockShifts[] = {4, 8};
}  // namespace

TSparsePointerArray::TSparsePointerArray(TSparseQuantum Quantum)
    : FSlotMask(kSlotMasks[static_cast<uint8_t>(Quantum)]),
      FBlockShift(kBlockShifts[static_cast<uint8_t>(Quantum)]),
      FBlockSize(static_cast<uint16_t>(FSlotMask + 1)),
      FQuantum(Quantum) {}

TSparsePointerArray::~TSparsePointerArray() = default;

bool TSparsePointerArray::BlockAllocated(int32_t D) const {
  return D >= 0 && BlockOf(static_cast<uint32_t>(D)) != nullptr;
}

Pointer* TSparsePointerArray::EnsureBlock(uint32_t D) {
  if (D >= FDirectory.size()) FDirectory.resize(D + 1);
  Block& block = FDirectory[D];
  if (!block) {
    block.reset(new Pointer[FBlockSize]());
    ++FBlockCount;
  }
  return block.get();
}

void TSparsePointerArray::RaiseLimitError(int32_t Index) const {
  throw EListError(Format(SSparseIndexLimit, {std::to_string(Index), std::to_string(MaxIndex())}));
}

Pointer TSparsePointerArray::ReadAt(int32_t Index) {
  if (Index < 0) return nullptr;  // -1 is also the "no cached read" mark
  if (Index == FCacheIndex) return FCacheItem;
  const uint32_t u = static_cast<uint32_t>(Index);
  const Pointer* block = BlockOf(u >> FBlockShift);
  Pointer result = block ? block[u & FSlotMask] : nullptr;
  FCacheIndex = Index;
  FCacheItem = result;
  return result;
}

Pointer* TSparsePointerArray::SlotAt(int32_t Index) {
  if (Index < 0) throw EListError(SListIndexError);
  CheckLimit(Index);
  const uint32_t u = static_cast<uint32_t>(Index);
  Pointer* block = EnsureBlock(u >> FBlockShift);
  if (Index > FHighestIndex) FHighestIndex = Index;
  FCacheIndex = -1;
  FCacheItem = nullptr;
  return &block[u & FSlotMask];
}

void TSparsePointerArray::WriteAt(int32_t Index, Pointer Item) {
  if (Index < 0) throw EListError(SListIndexError);
  CheckLimit(Index);
  if (!Item && !ReadAt(Index)) return;
  *SlotAt(Index) = Item;
  if (!Item) RecalcHighestIndex();
}

int32_t TSparsePointerArray::Iterate(const TSparseIterateFunc& Callback) {
  int32_t result = 0;
  // The directory is looked up afresh for every entry because the callback may grow it;
  // a block stays where it is, so holding its address across callbacks is safe.
  for (uint32_t d = 0; d < FDirectory.size() && result == 0; ++d) {
    Pointer* block = FDirectory[d].get();
    if (!block) continue;
    const int32_t base = static_cast<int32_t>(d << FBlockShift);
    for (uint32_t s = 0; s < FBlockSize && result == 0; ++s) {
      if (Pointer item = block[s]) result = Callback(base + static_cast<int32_t>(s), item);
    }
  }
  return result;
}

int32_t TSparsePointerArray::ScanDown(int32_t From) const {
  if (From < 0 || FDirectory.empty()) return -1;
  uint32_t d = static_cast<uint32_t>(From) >> FBlockShift;
  int32_t s = From & FSlotMask;
  if (d >= FDirectory.size()) {
    d = static_cast<uint32_t>(FDirectory.size() - 1);
    s = FSlotMask;
  }
  for (;;) {
    if (const Pointer* block = FDirectory[d].get()) {
      for (; s >= 0; --s) {
        if (block[s]) return static_cast<int32_t>(d << FBlockShift) + s;
      }
    }
    if (d == 0) return -1;
    --d;
    s = FSlotMask;
  }
}

void TSparsePointerArray::RecalcHighestIndex() {
  // Scanning down from the current highest index finds the same index as a forward scan
  // up to it, but usually after a step or two.
  FHighestIndex = ScanDown(FHighestIndex);
}

void TSparsePointerArray::ShiftUp(int32_t From, int32_t To) {
  if (From < 0) throw EListError(SListIndexError);
  if (To <= From) return;
  CheckLimit(To);
  const uint32_t lo = static_cast<uint32_t>(From) + 1, hi = static_cast<uint32_t>(To);
  // Blocks past the directory are empty; only the first of them can receive an item.
  const uint32_t dTop =
      std::min<uint32_t>(hi >> FBlockShift, static_cast<uint32_t>(FDirectory.size()));
  const uint32_t dLow = lo >> FBlockShift;
  for (uint32_t d = dTop + 1; d-- > dLow;) {
    const uint32_t base = d << FBlockShift;
    const uint32_t s = std::max(lo, base) - base;
    const uint32_t e = std::min(hi, base + FSlotMask) - base;
    // Slot 0 takes the last slot of the block below, still unchanged because blocks are
    // handled from the top down. lo >= 1, so a range starting at slot 0 has a block below.
    Pointer carry = nullptr;
    if (s == 0) {
      const Pointer* below = BlockOf(d - 1);
      carry = below ? below[FSlotMask] : nullptr;
    }
    Pointer* block = BlockOf(d);
    if (block) {
      const uint32_t first = s == 0 ? 1 : s;
      if (e >= first)
        std::memmove(block + first, block + first - 1, (e - first + 1) * sizeof(Pointer));
      if (s == 0) block[0] = carry;
    } else if (carry) {
      EnsureBlock(d)[0] = carry;
    }
  }
  FCacheIndex = -1;
  FCacheItem = nullptr;
  if (FHighestIndex >= 0 && FHighestIndex <= To)
    FHighestIndex = ScanDown(std::min(FHighestIndex + 1, To));
}

void TSparsePointerArray::ShiftDown(int32_t From, int32_t To) {
  if (From < 0) throw EListError(SListIndexError);
  if (To < From || FDirectory.empty()) return;
  const uint32_t lo = static_cast<uint32_t>(From), hi = static_cast<uint32_t>(To);
  // Past the directory every slot is nil already and stays so.
  const uint32_t dHigh =
      std::min<uint32_t>(hi >> FBlockShift, static_cast<uint32_t>(FDirectory.size() - 1));
  for (uint32_t d = lo >> FBlockShift; d <= dHigh; ++d) {
    const uint32_t base = d << FBlockShift;
    const uint32_t s = std::max(lo, base) - base;
    const uint32_t e = std::min(hi, base + FSlotMask) - base;
    // The last slot of the range takes slot 0 of the next block, unless it is To itself,
    // which is cleared.
    Pointer carry = nullptr;
    if (base + e < hi) {
      const Pointer* above = BlockOf(d + 1);
      carry = above ? above[0] : nullptr;
    }
    Pointer* block = BlockOf(d);
    if (block) {
      if (e > s) std::memmove(block + s, block + s + 1, (e - s) * sizeof(Pointer));
      block[e] = carry;
    } else if (carry) {
      EnsureBlock(d)[e] = carry;
    }
  }
  FCacheIndex = -1;
  FCacheItem = nullptr;
  if (FHighestIndex >= From && FHighestIndex <= To) FHighestIndex = ScanDown(FHighestIndex);
}

}  // namespace bw
