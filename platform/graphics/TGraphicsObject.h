#pragma once
// The base of pens, brushes and fonts: a persistent object that reports every change
// through OnChange, so that a canvas or control can react to it.

#include "platform/core/TEvent.h"
#include "platform/core/TPersistent.h"

namespace bw {

class TGraphicsObject : public TPersistent {
  BW_CLASS(TGraphicsObject, TPersistent)

 public:
  TGraphicsObject() = default;

  TNotifyEvent OnChange;

 protected:
  /// Raises OnChange (when assigned).
  virtual void Changed();
};

}  // namespace bw
