#include "platform/grids/TGridAxis.h"

#include <algorithm>
#include <cstddef>

namespace bw {

TGridAxis::TGridAxis(int32_t count, int32_t defaultSize, int32_t lineWidth)
    : FCount(std::max(count, 0)),
      FDefaultSize(std::clamp(defaultSize, 0, MaxSize)),
      FLineWidth(std::clamp(lineWidth, 0, MaxLineWidth)) {}

std::size_t TGridAxis::ChunkFor(int32_t i) const {
  if (FChunks.empty()) return 0;
  auto it = std::upper_bound(FChunks.begin(), FChunks.end(), i,
                             [](int32_t index, const Chunk& c) { return index < c.First(); });
  return it == FChunks.begin() ? 0 : static_cast<std::size_t>(it - FChunks.begin()) - 1;
}

std::size_t TGridAxis::EntryFor(const Chunk& c, int32_t i) const {
  return static_cast<std::size_t>(
      std::lower_bound(c.Entries.begin(), c.Entries.end(), i - c.Shift,
                       [](const Entry& e, int32_t index) { return e.Index < index; }) -
      c.Entries.begin());
}

void TGridAxis::ChunkChanged(std::size_t k) const {
  if (k < FChunks.size()) FChunks[k].SumValid = false;
  FPrefixValid = false;
}

void TGridAxis::EnsureSums() const {
  if (FPrefixValid) return;
  FPrefix.resize(FChunks.size() + 1);
  FPrefix[0] = 0;
  for (std::size_t k = 0; k < FChunks.size(); ++k) {
    const Chunk& c = FChunks[k];
    if (!c.SumValid) {
      c.Sum = 0;
      for (const Entry& e : c.Entries)
        c.Sum += Deviation(e);
      c.SumValid = true;
    }
    FPrefix[k + 1] = FPrefix[k] + c.Sum;
  }
  FPrefixValid = true;
}

void TGridAxis::SetCount(int32_t value) {
  value = std::max(value, 0);
  if (value == FCount) return;
  ++FVersion;
  if (value < FCount && !FChunks.empty()) {
    // Dropped items forget their sizes.
    std::size_t k = ChunkFor(value);
    Chunk& c = FChunks[k];
    std::size_t at = EntryFor(c, value);
    FEntryCount -= static_cast<int32_t>(c.Entries.size() - at);
    c.Entries.erase(c.Entries.begin() + static_cast<std::ptrdiff_t>(at), c.Entries.end());
    for (std::size_t j = k + 1; j < FChunks.size(); ++j)
      FEntryCount -= static_cast<int32_t>(FChunks[j].Entries.size());
    FChunks.erase(FChunks.begin() + static_cast<std::ptrdiff_t>(c.Entries.empty() ? k : k + 1),
                  FChunks.end());
    if (k < FChunks.size()) ChunkChanged(k);
    FPrefixValid = false;
  }
  FCount = value;
}

void TGridAxis::SetDefaultSize(int32_t value) {
  value = std::clamp(value, 0, MaxSize);
  if (value == FDefaultSize && FChunks.empty()) return;
  ++FVersion;
  FDefaultSize = value;
  FChunks.clear();
  FEntryCount = 0;
  FPrefixValid = false;
}

void TGridAxis::SetLineWidth(int32_t value) {
  value = std::clamp(value, 0, MaxLineWidth);
  if (value == FLineWidth) return;
  ++FVersion;
  FLineWidth = value;
  for (Chunk& c : FChunks)
    c.SumValid = false;
  FPrefixValid = false;
}

int32_t TGridAxis::Size(int32_t i) const {
  if (FChunks.empty()) return FDefaultSize;
  const Chunk& c = FChunks[ChunkFor(i)];
  std::size_t at = EntryFor(c, i);
  return at < c.Entries.size() && c.Entries[at].Index + c.Shift == i ? c.Entries[at].Size
                                                                     : FDefaultSize;
}

void TGridAxis::SetSize(int32_t i, int32_t size) {
  if (i < 0 || i >= FCount) return;
  size = std::clamp(size, -1, MaxSize);
  ++FVersion;
  if (FChunks.empty()) {
    if (size == FDefaultSize) return;
    FChunks.push_back(Chunk{{Entry{i, size}}, 0});
    ++FEntryCount;
    ChunkChanged(0);
    return;
  }
  const std::size_t k = ChunkFor(i);
  Chunk& c = FChunks[k];
  const std::size_t at = EntryFor(c, i);
  const bool present = at < c.Entries.size() && c.Entries[at].Index + c.Shift == i;
  if (size == FDefaultSize) {
    if (!present) return;
    c.Entries.erase(c.Entries.begin() + static_cast<std::ptrdiff_t>(at));
    --FEntryCount;
    if (c.Entries.empty()) {
      FChunks.erase(FChunks.begin() + static_cast<std::ptrdiff_t>(k));
      FPrefixValid = false;
    } else {
      ChunkChanged(k);
    }
    return;
  }
  if (present) {
    if (c.Entries[at].Size == size) return;
    c.Entries[at].Size = size;
    ChunkChanged(k);
    return;
  }
  c.Entries.insert(c.Entries.begin() + static_cast<std::ptrdiff_t>(at), Entry{i - c.Shift, size});
  ++FEntryCount;
  ChunkChanged(k);
  if (c.Entries.size() > 2 * kChunkMax) {
    // Split in halves; the new chunk keeps the shift so its entries keep their indexes.
    Chunk tail;
    tail.Shift = c.Shift;
    tail.Entries.assign(c.Entries.begin() + static_cast<std::ptrdiff_t>(kChunkMax),
                        c.Entries.end());
    c.Entries.resize(kChunkMax);
    FChunks.insert(FChunks.begin() + static_cast<std::ptrdiff_t>(k + 1), std::move(tail));
    ChunkChanged(k);
    ChunkChanged(k + 1);
  }
}

int64_t TGridAxis::Position(int32_t i) const {
  i = std::clamp(i, 0, FCount);
  int64_t pos = int64_t{i} * Unit();
  if (FChunks.empty()) return pos;
  EnsureSums();
  const std::size_t k = ChunkFor(i);
  const Chunk& c = FChunks[k];
  pos += FPrefix[k];
  for (const Entry& e : c.Entries) {
    if (e.Index + c.Shift >= i) break;
    pos += Deviation(e);
  }
  return pos;
}

int32_t TGridAxis::IndexAt(int64_t pos) const {
  if (pos < 0) return -1;
  if (pos >= Length()) return FCount;
  EnsureSums();
  const int64_t unit = Unit();
  // Where an entry starts, given the deviation of everything before it.
  auto start = [unit](int32_t index, int64_t before) { return int64_t{index} * unit + before; };
  // The last chunk whose first entry starts at or before pos; chunk starts never decrease.
  std::size_t lo = 0, hi = FChunks.size();
  while (lo < hi) {
    std::size_t mid = lo + (hi - lo) / 2;
    if (start(FChunks[mid].First(), FPrefix[mid]) <= pos)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo == 0) return static_cast<int32_t>(pos / unit);  // default items only before pos
  // The last entry of that chunk that starts at or before pos.
  const Chunk& c = FChunks[lo - 1];
  int64_t before = FPrefix[lo - 1];
  const Entry* found = nullptr;
  int64_t foundBefore = 0;
  for (const Entry& e : c.Entries) {
    if (start(e.Index + c.Shift, before) > pos) break;
    found = &e;
    foundBefore = before;
    before += Deviation(e);
  }
  const int32_t index = found->Index + c.Shift;
  const int64_t end = start(index, foundBefore) + ExtentOf(found->Size);
  if (pos < end) return index;
  // Between this entry and the next one every item has the default size; there is room
  // there (pos lies in it), so unit > 0.
  return index + 1 + static_cast<int32_t>((pos - end) / unit);
}

void TGridAxis::ShiftFrom(int32_t from, int32_t delta) {
  if (FChunks.empty()) return;
  std::size_t k = ChunkFor(from);
  Chunk& c = FChunks[k];
  // Within the chunk only the entries at or after `from` move; later chunks move whole.
  if (c.First() >= from) {
    c.Shift += delta;
  } else {
    for (std::size_t at = EntryFor(c, from); at < c.Entries.size(); ++at)
      c.Entries[at].Index += delta;
  }
  for (std::size_t j = k + 1; j < FChunks.size(); ++j)
    FChunks[j].Shift += delta;
  FPrefixValid = false;
}

void TGridAxis::Insert(int32_t index) {
  index = std::clamp(index, 0, FCount);
  ++FVersion;
  ShiftFrom(index, 1);
  ++FCount;
}

void TGridAxis::Delete(int32_t index) {
  if (index < 0 || index >= FCount) return;
  ++FVersion;
  SetSize(index, FDefaultSize);  // forgets its size
  ShiftFrom(index + 1, -1);
  --FCount;
}

void TGridAxis::Move(int32_t from, int32_t to) {
  if (from == to || from < 0 || to < 0 || from >= FCount || to >= FCount) return;
  int32_t size = Size(from);
  Delete(from);
  Insert(to);
  SetSize(to, size);
}

}  // namespace bw
