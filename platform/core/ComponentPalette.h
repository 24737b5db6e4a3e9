#pragma once
// The component palette: the pages a development environment shows and the component
// classes on each, in the order they were registered. Registering a component for the
// palette also registers its class, so forms that use it can be read.
//
//   RegisterComponents<TCorvath, TVelloran>("Brantwell");

#include <vector>

#include "platform/core/ClassRegistry.h"

namespace bw {

/// Appends Classes to Page (created at the end when new). Every class must already be
/// registered (RegisterClass); otherwise EClassNotFound and the palette is unchanged.
/// A class already on the page keeps its place.
void RegisterComponents(const String& Page, const std::vector<TClass>& Classes);

template <class... T>
void RegisterComponents(const String& Page) {
  RegisterClasses<T...>();
  RegisterComponents(Page, {&T::StaticClassInfo()...});
}

/// The pages in the order they were first used.
std::vector<String> PalettePages();
/// The classes of Page (matched without regard to case), in order; empty when unknown.
std::vector<TClass> PaletteClasses(const String& Page);
/// Empties the palette (the class registry keeps its classes).
void ClearPalette();

}  // namespace bw
