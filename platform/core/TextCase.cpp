#include "platform/core/TextCase.h"

namespace bw {

namespace {
char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}
}  // namespace

String AsciiUpper(String S) {
  for (char& c : S)
    c = Upper(c);
  return S;
}

bool SameName(const String& A, const String& B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i)
    if (Upper(A[i]) != Upper(B[i])) return false;
  return true;
}

}  // namespace bw
