#pragma once
// Node handles made together, side by side in one allocation: an outline makes the
// handles of a whole chunk of items at the first request for one of them (see
// TOutlineNodeArray), which costs less memory per handle than one allocation each and
// lets the handles of consecutive items be found by arithmetic. A handle freed with its
// item is destroyed in place; the block goes when its last handle does. Its memory is
// never handed to another handle before that.

#include <cstddef>
#include <cstdint>
#include <span>

namespace bw {

class TCustomOutline;
class TOutlineNode;

class TOutlineNodeBlock {
 public:
  /// Makes one handle of outline for each position, side by side, and gives the first.
  static TOutlineNode* Make(TCustomOutline* outline, std::span<const int32_t> positions);
  /// Destroys a handle, made in a block or alone.
  static void Free(TOutlineNode* node);

 private:
  struct THeader {
    uint32_t Count;  // handles made in the block
    uint32_t Live;   // of those, the ones not yet freed
  };
  static constexpr size_t kHeaderBytes = 16;  // keeps the handles aligned
  static_assert(sizeof(THeader) <= kHeaderBytes);
};

}  // namespace bw
