#pragma once
// Events are closures with an optional handler name. The name is what a form file
// stores; the form reader resolves it through the root component's handler table.

#include <functional>
#include <utility>

#include "platform/core/Types.h"

namespace bw {

class TObject;

template <class Signature>
class TEvent;

template <class R, class... Args>
class TEvent<R(Args...)> {
 public:
  using Handler = std::function<R(Args...)>;

  TEvent() = default;
  TEvent(std::nullptr_t) {}
  template <class F, class = std::enable_if_t<std::is_invocable_r_v<R, F, Args...> &&
                                              !std::is_same_v<std::decay_t<F>, TEvent>>>
  TEvent(F&& handler, String handlerName = {})
      : FHandler(std::forward<F>(handler)), FName(std::move(handlerName)) {}

  explicit operator bool() const { return static_cast<bool>(FHandler); }
  /// Calls the handler; the caller checks that one is assigned.
  R operator()(Args... args) const { return FHandler(std::forward<Args>(args)...); }
  const String& HandlerName() const { return FName; }
  void Clear() { *this = TEvent(); }

 private:
  Handler FHandler;
  String FName;
};

using TNotifyEvent = TEvent<void(TObject* Sender)>;

}  // namespace bw
