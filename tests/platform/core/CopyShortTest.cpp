// The short copy of the in-place text records: every length up to 16, each byte where it
// belongs (the two moves of a size class meet in the middle) and nothing written past
// the text.

#include "platform/core/CopyShort.h"

#include <gtest/gtest.h>

#include <string>

namespace bw::testing {
namespace {

TEST(CopyShortTest, EveryLengthCopiesItsBytesAndNoMore) {
  const std::string Source = "0123456789abcdef";
  for (size_t n = 0; n <= 16; ++n) {
    char To[20];
    std::memset(To, '#', sizeof To);
    CopyShort(To, Source.data(), n);
    EXPECT_EQ(std::string(To, n), Source.substr(0, n)) << n;
    EXPECT_EQ(std::string(To + n, sizeof To - n), std::string(sizeof To - n, '#')) << n;
  }
}

}  // namespace
}  // namespace bw::testing
