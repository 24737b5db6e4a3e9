#pragma once
// The base of every object that can be copied from another (Assign) and stored in a
// form file (DefineProperties).

#include "platform/core/TObject.h"

namespace bw {

class TFiler;

class TPersistent : public TObject {
  BW_CLASS(TPersistent, TObject)

 public:
  /// Copies Source into this object. The default lets Source try (AssignTo); when neither
  /// side knows the other, EConvertError names both classes.
  virtual void Assign(TPersistent* Source);
  /// The dotted path that names this object for its users, such as "Form1.Grid1.Font".
  virtual String GetNamePath();
  /// Declares stored data beyond the published properties; nothing by default. The form
  /// reader and writer call it.
  virtual void DefineProperties(TFiler* Filer);
  /// The object this one belongs to, for GetNamePath; none by default.
  virtual TPersistent* GetOwner();

 protected:
  /// Copies this object into Dest; the default reports that it cannot.
  virtual void AssignTo(TPersistent* Dest);
  /// Raises EConvertError for assigning Source (which may be null) to this object.
  [[noreturn]] void AssignError(TPersistent* Source);
};

}  // namespace bw
