#pragma once
// Moving one element of a vector to another position, the elements between shifting by
// one: the Move of the list classes. Both indexes must be valid.

#include <algorithm>
#include <vector>

namespace bw {

template <class T>
void MoveItem(std::vector<T>& items, size_t curIndex, size_t newIndex) {
  auto cur = items.begin() + curIndex;
  auto dest = items.begin() + newIndex;
  if (curIndex < newIndex)
    std::rotate(cur, cur + 1, dest + 1);
  else if (newIndex < curIndex)
    std::rotate(dest, cur, cur + 1);
}

}  // namespace bw
