#include "platform/controls/TClipboard.h"

#include "platform/backend/Backend.h"

namespace bw {

String TClipboard::AsText() const {
  return Backend().ClipboardText();
}

void TClipboard::SetAsText(const String& Value) {
  Backend().SetClipboardText(Value);
}

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}

}  // namespace bw
