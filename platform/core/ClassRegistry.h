#pragma once
// The class registry: the classes a form file may name, each with a factory that creates
// a component with an owner. The form reader creates every component it reads through it.
//
//   RegisterClass<TCorvath>();
//   TComponent* grid = CreateComponent(FindClass("TCorvath"), Form);

#include <functional>
#include <vector>

#include "platform/core/TComponent.h"

namespace bw {

using TComponentFactory = std::function<TComponent*(TComponent* AOwner)>;

/// Registers Class under its class name. Factory may be empty for classes that are
/// never created from a form file (sub-objects). Registering a class again replaces its
/// factory; a different class under a name already taken raises EFilerError.
void RegisterClass(TClass Class, TComponentFactory Factory = {});

template <class T>
void RegisterClass() {
  if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>)
    RegisterClass(&T::StaticClassInfo(),
                  [](TComponent* AOwner) -> TComponent* { return new T(AOwner); });
  else
    RegisterClass(&T::StaticClassInfo());
}

template <class... T>
void RegisterClasses() {
  (RegisterClass<T>(), ...);
}

/// Removes Class; later look-ups do not find it.
void UnRegisterClass(TClass Class);
/// The registered class named ClassName (without regard to case), or null.
TClass GetClass(const String& ClassName);
/// Like GetClass, but raises EClassNotFound for a name that is not registered.
TClass FindClass(const String& ClassName);
/// Creates a component of Class owned by AOwner. Raises EClassNotFound when Class is
/// not registered or has no factory.
TComponent* CreateComponent(TClass Class, TComponent* AOwner);

}  // namespace bw
