#include "platform/outline/TLineBreaks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace bw {
namespace {

// Texts of every length around the 64-byte blocks, with breaks dense, sparse or absent:
// from every position in turn, the next break is where a plain search finds it.
TEST(TLineBreaksTest, FindsEachBreakLikeAPlainSearch) {
  std::mt19937 random(7);
  for (int round = 0; round < 400; ++round) {
    const size_t n = round < 200 ? size_t(round) : random() % 700;
    const uint32_t breakEvery = 1 + random() % 90;
    std::string text(n, 'a');
    for (char& c : text)
      if (random() % breakEvery == 0) c = random() % 2 ? '\n' : '\r';
    TLineBreaks breaks(text);
    for (size_t from = 0; from <= n; from += 1 + random() % 3) {
      const size_t expected = std::min(text.find_first_of("\r\n", from), n);
      ASSERT_EQ(breaks.Next(from), expected) << "length " << n << " from " << from;
    }
  }
}

}  // namespace
}  // namespace bw
