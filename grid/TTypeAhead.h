#pragma once
// The prefix a user types to find an item by its first letters. Characters typed within a
// second of the one before add to it; after a longer pause the next character starts a
// new prefix. Matching ignores case, over the letters LowerCaseChar folds.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/Types.h"

namespace bw {

class TTypeAhead {
 public:
  /// The longest pause, in milliseconds, between characters of one prefix.
  static constexpr uint32_t Timeout = 1000;

  /// Adds C, typed at tick Now; true when it starts a new prefix.
  bool Add(Char C, uint32_t Now);
  /// Drops the last character (Backspace at tick Now); false when there was no prefix
  /// left to shorten, which also ends it.
  bool Shorten(uint32_t Now);
  void Clear() { FPrefix.clear(); }
  bool Empty() const { return FPrefix.empty(); }
  /// True when Text (UTF-8) starts with the prefix, ignoring case.
  bool Matches(std::string_view Text) const;

 private:
  bool Expired(uint32_t Now) const { return FPrefix.empty() || Now - FLast > Timeout; }

  std::u32string FPrefix;  // folded to lower case
  uint32_t FLast = 0;      // tick of the last character; the clock may wrap
};

}  // namespace bw
