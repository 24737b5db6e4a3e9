#pragma once
// The clipboard as the controls use it: text only, kept by the back end.

#include "platform/core/TObject.h"

namespace bw {

class TClipboard : public TObject {
  BW_CLASS(TClipboard, TObject)

 public:
  /// The clipboard's text (UTF-8); empty when it holds none.
  String AsText() const;
  void SetAsText(const String& Value);
  bool HasText() const { return !AsText().empty(); }
  void Clear() { SetAsText(String()); }
};

/// The program's clipboard.
TClipboard* Clipboard();

}  // namespace bw
