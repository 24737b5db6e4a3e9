#include "platform/outline/TOutlineNodeBlock.h"

#include <new>

#include "platform/outline/TOutlineNode.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BW_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define BW_ASAN 1
#endif
#ifdef BW_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace bw {

namespace {

// Under the address sanitizer a freed handle stays unreadable, as a handle freed on its
// own would be.
void MarkFreed([[maybe_unused]] void* at, [[maybe_unused]] size_t bytes) {
#ifdef BW_ASAN
  ASAN_POISON_MEMORY_REGION(at, bytes);
#endif
}
void MarkUsable([[maybe_unused]] void* at, [[maybe_unused]] size_t bytes) {
#ifdef BW_ASAN
  ASAN_UNPOISON_MEMORY_REGION(at, bytes);
#endif
}

}  // namespace

TOutlineNode* TOutlineNodeBlock::Make(TCustomOutline* outline, std::span<const int32_t> positions) {
  static_assert(alignof(TOutlineNode) <= kHeaderBytes);
  char* const raw =
      static_cast<char*>(::operator new(kHeaderBytes + positions.size() * sizeof(TOutlineNode)));
  new (raw) THeader{uint32_t(positions.size()), uint32_t(positions.size())};
  auto* const first = reinterpret_cast<TOutlineNode*>(raw + kHeaderBytes);
  for (size_t k = 0; k < positions.size(); ++k) {
    auto* node = new (first + k) TOutlineNode(outline, positions[k]);
    node->FSlot = uint32_t(k + 1);
  }
  return first;
}

void TOutlineNodeBlock::Free(TOutlineNode* node) {
  const uint32_t slot = node->FSlot;
  if (slot == 0) {
    delete node;
    return;
  }
  char* const raw = reinterpret_cast<char*>(node - (slot - 1)) - kHeaderBytes;
  auto* const header = reinterpret_cast<THeader*>(raw);
  node->~TOutlineNode();
  MarkFreed(node, sizeof(TOutlineNode));
  if (--header->Live > 0) return;
  MarkUsable(raw, kHeaderBytes + header->Count * sizeof(TOutlineNode));
  ::operator delete(raw);
}

}  // namespace bw
