#include "platform/core/THandlerTable.h"

#include "platform/core/TextCase.h"

namespace bw {

String THandlerTable::Key(const String& Name) {
  return AsciiUpper(Name);
}

const THandlerTable::Entry* THandlerTable::FindEntry(const String& Name) const {
  auto it = FHandlers.find(Key(Name));
  return it == FHandlers.end() ? nullptr : &it->second;
}

}  // namespace bw
