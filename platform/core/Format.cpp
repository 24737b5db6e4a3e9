#include "platform/core/Format.h"

namespace bw {

String Format(const String& pattern, std::initializer_list<String> args) {
  String result;
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      char kind = pattern[i + 1];
      if (kind == 's') {
        if (next != args.end()) result += *next++;
        ++i;
        continue;
      }
      if (kind == '%') {
        result += '%';
        ++i;
        continue;
      }
    }
    result += pattern[i];
  }
  return result;
}

}  // namespace bw
