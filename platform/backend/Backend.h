#pragma once
// Choosing and reaching the back end in use. The headless back end is the default; other
// back ends register a factory under their name, and BW_BACKEND picks one by name.

#include <functional>
#include <memory>

#include "platform/backend/TBackend.h"

namespace bw {

using TBackendFactory = std::function<std::unique_ptr<TBackend>()>;

/// Makes a back end known by name ("headless" is always known).
void RegisterBackend(const String& Name, TBackendFactory Factory);
/// A new back end of that name; an unknown name raises EInvalidOperation.
std::unique_ptr<TBackend> CreateBackend(const String& Name);

/// The back end in use; the first call creates the one BW_BACKEND names, else headless.
TBackend& Backend();
/// Replaces the back end in use (tests install a fresh headless one); returns the old one.
std::unique_ptr<TBackend> SetBackend(std::unique_ptr<TBackend> NewBackend);

}  // namespace bw
