// The one place that knows which back ends exist and which one is in use.

#include <cstdlib>
#include <map>

#include "platform/backend/Backend.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"

namespace bw {

namespace {

std::map<String, TBackendFactory>& Factories() {
  static std::map<String, TBackendFactory> factories{
      {"headless", [] { return std::make_unique<THeadlessBackend>(); }}};
  return factories;
}

std::unique_ptr<TBackend>& Current() {
  static std::unique_ptr<TBackend> current;
  return current;
}

}  // namespace

void RegisterBackend(const String& Name, TBackendFactory Factory) {
  Factories()[Name] = std::move(Factory);
}

std::unique_ptr<TBackend> CreateBackend(const String& Name) {
  auto it = Factories().find(Name);
  if (it == Factories().end()) throw EInvalidOperation(Format("Unknown back end \"%s\"", {Name}));
  return it->second();
}

TBackend& Backend() {
  auto& current = Current();
  if (!current) {
    const char* name = std::getenv("BW_BACKEND");
    current = CreateBackend(name && *name ? name : "headless");
  }
  return *current;
}

std::unique_ptr<TBackend> SetBackend(std::unique_ptr<TBackend> NewBackend) {
  std::unique_ptr<TBackend> old = std::move(Current());
  Current() = std::move(NewBackend);
  return old;
}

}  // namespace bw
