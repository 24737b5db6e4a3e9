#pragma once
// The base of pens, brushes and fonts: a persistent object that reports every change
// through OnChange, so that a canvas or control can react to it.

#include "platform/core/TEvent.h"
#include "platform/core/TObject.h"

namespace bw {

class TGraphicsObject : public TObject {
  BW_CLASS(TGraphicsObject, TObject)

 public:
  TGraphicsObject() = default;

  /// Copies the attributes of Source; EConvertError when Source is of another kind.
  virtual void Assign(TGraphicsObject* Source);

  TNotifyEvent OnChange;

 protected:
  /// Raises OnChange (when assigned).
  virtual void Changed();
};

}  // namespace bw
