#pragma once
// Choosing and reaching the back end in use. The headless back end is always there; other
// back ends register a factory under their name from their own library, so a program has
// the back ends it links and the platform library depends on none of them.
//
// The first use picks one: the back end that BW_BACKEND names; else headless when
// BW_HEADLESS=1 (the test suite sets it); else the first registered back end that finds
// a display and starts; else headless.

#include <functional>
#include <memory>
#include <vector>

#include "platform/backend/TBackend.h"

namespace bw {

using TBackendFactory = std::function<std::unique_ptr<TBackend>()>;
/// True when a back end's display is there (a real-window back end is tried only then).
using TDisplayProbe = std::function<bool()>;

/// Makes a back end known by name ("headless" is always known). With a probe, the back
/// end is a candidate when BW_BACKEND names none.
void RegisterBackend(const String& Name, TBackendFactory Factory, TDisplayProbe HasDisplay = {});
/// The names of the known back ends, sorted.
std::vector<String> BackendNames();
/// A new back end of that name; an unknown name raises EInvalidOperation.
std::unique_ptr<TBackend> CreateBackend(const String& Name);
/// A new back end chosen as the first use of Backend() chooses it.
std::unique_ptr<TBackend> CreateDefaultBackend();

/// The back end in use; the first call creates the one CreateDefaultBackend chooses.
TBackend& Backend();
/// Replaces the back end in use (tests install a fresh headless one); returns the old one.
std::unique_ptr<TBackend> SetBackend(std::unique_ptr<TBackend> NewBackend);

}  // namespace bw
