#pragma once
// Case rules for names in form files: identifiers are ASCII and compare without regard
// to case.

#include "platform/core/Types.h"

namespace bw {

String AsciiUpper(String S);
/// True when A and B are equal ignoring the case of ASCII letters.
bool SameName(const String& A, const String& B);

}  // namespace bw
