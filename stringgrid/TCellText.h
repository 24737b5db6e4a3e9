#pragma once
// A cell's text in 16 bytes, so that a stored cell needs no allocation of its own: texts
// of up to 15 characters are held in place, longer ones in a heap block the text owns.
// It is plain bytes on purpose: the cell store moves cells with memmove and sorts them,
// and frees a heap block itself through Release, so a copy never duplicates the block.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "platform/core/CopyShort.h"

namespace bw {

class TCellText {
 public:
  /// The empty text.
  TCellText() : FBytes{} {}

  /// Characters held in place; longer texts take a heap block.
  static constexpr size_t kInline = 15;

  bool IsEmpty() const { return FBytes[kTag] == 0; }
  /// True while the text is in a heap block.
  bool IsLong() const { return FBytes[kTag] == kHeap; }

  std::string_view View() const {
    if (FBytes[kTag] != kHeap) return {reinterpret_cast<const char*>(FBytes), FBytes[kTag]};
    const char* Block = HeapBlock();
    size_t Length;
    std::memcpy(&Length, Block, sizeof Length);
    return {Block + sizeof Length, Length};
  }

  /// The text as a string. Each way out returns a new string, so that the string is made
  /// in the caller's place rather than moved there.
  std::string ToString() const {
    if (FBytes[kTag] == kHeap) return std::string(View());
    return InlineToString();
  }

  /// Replaces the text, freeing a previous heap block. A failed allocation changes nothing.
  void Assign(std::string_view S) {
    if (S.size() > kInline) return AssignLong(S);
    if (FBytes[kTag] == kHeap) std::free(HeapBlock());
    AssignShort(S);
  }

  /// Replaces a text known not to be long by one of at most kInline characters. Only
  /// stores: the old bytes are never read, so a write to a cell that is not in the cache
  /// does not wait for it.
  void AssignShort(std::string_view S) {
    CopyShort(FBytes, S.data(), S.size());
    FBytes[kTag] = static_cast<uint8_t>(S.size());
  }

  /// Frees the heap block, if any; the text is empty afterwards.
  void Release() {
    if (FBytes[kTag] == kHeap) std::free(HeapBlock());
    FBytes[kTag] = 0;
  }

 private:
  static constexpr size_t kTag = 15;  // the byte after the characters: the length, or kHeap
  static constexpr uint8_t kHeap = 0xFF;

  void AssignLong(std::string_view S) {
    const size_t Length = S.size();
    char* Block = static_cast<char*>(std::malloc(sizeof Length + Length));
    if (!Block) throw std::bad_alloc();
    std::memcpy(Block, &Length, sizeof Length);
    std::memcpy(Block + sizeof Length, S.data(), Length);
    Release();
    std::memcpy(FBytes, &Block, sizeof Block);
    FBytes[kTag] = kHeap;
  }

  // Copied whole and then cut, so that the copy is of a fixed size and needs no call.
  std::string InlineToString() const {
    std::string Result(reinterpret_cast<const char*>(FBytes), kInline);
    Result.erase(FBytes[kTag]);
    return Result;
  }

  char* HeapBlock() const {
    char* Block;
    std::memcpy(&Block, FBytes, sizeof Block);
    return Block;
  }

  uint8_t FBytes[16];
};

static_assert(sizeof(TCellText) == 16);

}  // namespace bw
