#include "platform/core/ClassRegistry.h"

#include <map>

#include "platform/core/Exception.h"
#include "platform/core/TextCase.h"

namespace bw {

namespace {

struct TEntry {
  TClass Class;
  TComponentFactory Factory;
};

std::map<String, TEntry>& Classes() {
  static std::map<String, TEntry> classes;
  return classes;
}

const TEntry* Find(const String& ClassName) {
  auto it = Classes().find(AsciiUpper(ClassName));
  return it == Classes().end() ? nullptr : &it->second;
}

[[noreturn]] void NotFound(const String& ClassName) {
  throw EClassNotFound("Class " + ClassName + " not found");
}

}  // namespace

void RegisterClass(TClass Class, TComponentFactory Factory) {
  const String key = AsciiUpper(Class->Name);
  auto it = Classes().find(key);
  if (it != Classes().end() && it->second.Class != Class)
    throw EFilerError("A class named " + String(Class->Name) + " is already registered");
  Classes()[key] = TEntry{Class, std::move(Factory)};
}

void UnRegisterClass(TClass Class) {
  auto it = Classes().find(AsciiUpper(Class->Name));
  if (it != Classes().end() && it->second.Class == Class) Classes().erase(it);
}

TClass GetClass(const String& ClassName) {
  const TEntry* e = Find(ClassName);
  return e ? e->Class : nullptr;
}

TClass FindClass(const String& ClassName) {
  const TEntry* e = Find(ClassName);
  if (!e) NotFound(ClassName);
  return e->Class;
}

TComponent* CreateComponent(TClass Class, TComponent* AOwner) {
  const TEntry* e = Find(Class->Name);
  if (!e || e->Class != Class) NotFound(Class->Name);
  if (!e->Factory) throw EClassNotFound("Class " + String(Class->Name) + " cannot be created");
  return e->Factory(AOwner);
}

}  // namespace bw
