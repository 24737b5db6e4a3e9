#pragma once
// The root of the object model: every class knows its name and its ancestors, so that
// form files can name classes and callers can ask InheritsFrom. A class joins the chain
// with BW_CLASS(ThisClass, BaseClass) at the top of its body.

#include "platform/core/Types.h"

namespace bw {

/// Static description of a class: its name and its parent's description.
struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;
};

/// A class reference, as the class registry hands them out.
using TClass = const TClassInfo*;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info{"TObject", nullptr};
    return info;
  }
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }

  String ClassName() const { return ClassInfo().Name; }
  TClass ClassType() const { return &ClassInfo(); }
  bool InheritsFrom(TClass cls) const;
  bool InheritsFrom(const String& className) const;
};

/// True when cls is ancestor or cls itself.
bool ClassInheritsFrom(TClass cls, TClass ancestor);

}  // namespace bw

// Declares the class info of ThisClass and the `inherited` alias for its base.
#define BW_CLASS(ThisClass, BaseClass)                                             \
 public:                                                                           \
  using inherited = BaseClass;                                                     \
  static const ::bw::TClassInfo& StaticClassInfo() {                               \
    static const ::bw::TClassInfo info{#ThisClass, &BaseClass::StaticClassInfo()}; \
    return info;                                                                   \
  }                                                                                \
  const ::bw::TClassInfo& ClassInfo() const override {                             \
    return StaticClassInfo();                                                      \
  }                                                                                \
                                                                                   \
 private:
