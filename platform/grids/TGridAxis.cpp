#include "platform/grids/TGridAxis.h"

#include <algorithm>
#include <cstddef>

namespace bw {

TGridAxis::TGridAxis(int32_t count, int32_t defaultSize, int32_t lineWidth)
    : FCount(std::max(count, 0)),
      FDefaultSize(std::max(defaultSize, 0)),
      FLineWidth(std::max(lineWidth, 0)) {}

void TGridAxis::SetCount(int32_t value) {
  value = std::max(value, 0);
  if (value == FCount) return;
  if (value < FCount) {
    FEntries.erase(FEntries.begin() + static_cast<std::ptrdiff_t>(LowerBound(value)),
                   FEntries.end());
    FSumsValid = false;
  }
  FCount = value;
}

void TGridAxis::SetDefaultSize(int32_t value) {
  value = std::max(value, 0);
  if (value == FDefaultSize && FEntries.empty()) return;
  FDefaultSize = value;
  FEntries.clear();
  FSumsValid = false;
}

void TGridAxis::SetLineWidth(int32_t value) {
  value = std::max(value, 0);
  if (value == FLineWidth) return;
  FLineWidth = value;
  FSumsValid = false;
}

std::size_t TGridAxis::LowerBound(int32_t i) const {
  return static_cast<std::size_t>(
      std::lower_bound(FEntries.begin(), FEntries.end(), i,
                       [](const Entry& e, int32_t index) { return e.Index < index; }) -
      FEntries.begin());
}

int32_t TGridAxis::Size(int32_t i) const {
  std::size_t k = LowerBound(i);
  return k < FEntries.size() && FEntries[k].Index == i ? FEntries[k].Size : FDefaultSize;
}

void TGridAxis::SetSize(int32_t i, int32_t size) {
  if (i < 0 || i >= FCount) return;
  size = std::max(size, -1);
  std::size_t k = LowerBound(i);
  bool present = k < FEntries.size() && FEntries[k].Index == i;
  auto at = FEntries.begin() + static_cast<std::ptrdiff_t>(k);
  if (size == FDefaultSize) {
    if (!present) return;
    FEntries.erase(at);
  } else if (present) {
    if (FEntries[k].Size == size) return;
    FEntries[k].Size = size;
  } else {
    FEntries.insert(at, Entry{i, size});
  }
  FSumsValid = false;
}

void TGridAxis::EnsureSums() const {
  if (FSumsValid) return;
  FSums.resize(FEntries.size() + 1);
  int64_t sum = 0;
  FSums[0] = 0;
  for (std::size_t k = 0; k < FEntries.size(); ++k) {
    sum += ExtentOf(FEntries[k].Size) - Unit();
    FSums[k + 1] = sum;
  }
  FSumsValid = true;
}

int64_t TGridAxis::Position(int32_t i) const {
  i = std::clamp(i, 0, FCount);
  EnsureSums();
  return int64_t{i} * Unit() + FSums[LowerBound(i)];
}

int32_t TGridAxis::IndexAt(int64_t pos) const {
  if (pos < 0) return -1;
  if (pos >= Length()) return FCount;
  EnsureSums();
  auto start = [this](std::size_t k) { return int64_t{FEntries[k].Index} * Unit() + FSums[k]; };
  // The last entry that starts at or before pos; entry starts never decrease.
  std::size_t lo = 0, hi = FEntries.size();
  while (lo < hi) {
    std::size_t mid = lo + (hi - lo) / 2;
    if (start(mid) <= pos)
      lo = mid + 1;
    else
      hi = mid;
  }
  if (lo == 0) return static_cast<int32_t>(pos / Unit());  // default items only before pos
  std::size_t k = lo - 1;
  int64_t end = start(k) + ExtentOf(FEntries[k].Size);
  if (pos < end) return FEntries[k].Index;
  // Between entry k and the next one every item has the default size; there is room
  // there (pos lies in it), so Unit() > 0.
  return FEntries[k].Index + 1 + static_cast<int32_t>((pos - end) / Unit());
}

void TGridAxis::Insert(int32_t index) {
  index = std::clamp(index, 0, FCount);
  for (std::size_t k = LowerBound(index); k < FEntries.size(); ++k)
    ++FEntries[k].Index;
  ++FCount;
  FSumsValid = false;
}

void TGridAxis::Delete(int32_t index) {
  if (index < 0 || index >= FCount) return;
  std::size_t k = LowerBound(index);
  if (k < FEntries.size() && FEntries[k].Index == index)
    FEntries.erase(FEntries.begin() + static_cast<std::ptrdiff_t>(k));
  for (; k < FEntries.size(); ++k)
    --FEntries[k].Index;
  --FCount;
  FSumsValid = false;
}

void TGridAxis::Move(int32_t from, int32_t to) {
  if (from == to || from < 0 || to < 0 || from >= FCount || to >= FCount) return;
  int32_t size = Size(from);
  Delete(from);
  Insert(to);
  SetSize(to, size);
}

}  // namespace bw
