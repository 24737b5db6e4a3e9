#include "grid/TTypeAhead.h"

#include "platform/core/TextCompare.h"
#include "platform/core/Unicode.h"

namespace bw {

bool TTypeAhead::Add(Char C, uint32_t Now) {
  const bool Fresh = Expired(Now);
  if (Fresh) FPrefix.clear();
  FPrefix += LowerCaseChar(C);
  FLast = Now;
  return Fresh;
}

bool TTypeAhead::Shorten(uint32_t Now) {
  if (Expired(Now)) {
    FPrefix.clear();
    return false;
  }
  FPrefix.pop_back();
  FLast = Now;
  return true;
}

bool TTypeAhead::Matches(std::string_view Text) const {
  if (FPrefix.empty()) return false;
  // Only as much of the text as the prefix can cover is decoded.
  const std::u32string Head = DecodeUtf8Lenient(String(Text.substr(0, FPrefix.size() * 4)));
  if (Head.size() < FPrefix.size()) return false;
  for (size_t i = 0; i < FPrefix.size(); ++i)
    if (LowerCaseChar(Head[i]) != FPrefix[i]) return false;
  return true;
}

}  // namespace bw
