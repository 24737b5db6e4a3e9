// The one place that knows which back ends exist and which one is in use.

#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/backend/Backend.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"

namespace bw {

namespace {

struct TEntry {
  TBackendFactory Create;
  TDisplayProbe HasDisplay;
};

std::map<String, TEntry>& Entries() {
  static std::map<String, TEntry> entries{
      {"headless", {[] { return std::make_unique<THeadlessBackend>(); }, {}}}};
  return entries;
}

std::unique_ptr<TBackend>& Current() {
  static std::unique_ptr<TBackend> current;
  return current;
}

String EnvValue(const char* Name) {
  const char* value = std::getenv(Name);
  return value ? value : "";
}

}  // namespace

void RegisterBackend(const String& Name, TBackendFactory Factory, TDisplayProbe HasDisplay) {
  Entries()[Name] = TEntry{std::move(Factory), std::move(HasDisplay)};
}

std::vector<String> BackendNames() {
  std::vector<String> names;
  for (const auto& [name, entry] : Entries())
    names.push_back(name);
  return names;
}

std::unique_ptr<TBackend> CreateBackend(const String& Name) {
  auto it = Entries().find(Name);
  if (it == Entries().end()) {
    String known;
    for (const String& n : BackendNames())
      known += (known.empty() ? "" : ", ") + n;
    throw EInvalidOperation(
        Format("Unknown back end \"%s\" (this program has: %s)", {Name, known}));
  }
  return it->second.Create();
}

std::unique_ptr<TBackend> CreateDefaultBackend() {
  String named = EnvValue("BW_BACKEND");
  if (!named.empty()) return CreateBackend(named);
  if (EnvValue("BW_HEADLESS") != "1") {
    for (const auto& [name, entry] : Entries()) {
      if (!entry.HasDisplay || !entry.HasDisplay()) continue;
      try {
        return entry.Create();
      } catch (const std::exception& e) {
        // A display that will not open leaves the program drawing off screen; say why.
        std::fprintf(stderr, "%s; drawing without a display instead\n", e.what());
      }
    }
  }
  return CreateBackend("headless");
}

TBackend& Backend() {
  auto& current = Current();
  if (!current) current = CreateDefaultBackend();
  return *current;
}

std::unique_ptr<TBackend> SetBackend(std::unique_ptr<TBackend> NewBackend) {
  std::unique_ptr<TBackend> old = std::move(Current());
  Current() = std::move(NewBackend);
  return old;
}

}  // namespace bw
