#pragma once
// The event handlers a root component offers to its form file, by name. A stored event
// holds only the handler's name ("Grid1ButtonClick"); the form reader looks the name up
// here, on the root, and assigns the handler with that name to the event.
//
//   Handlers.Add<void(TObject*)>("Button1Click", [this](TObject* S) { Button1Click(S); });

#include <any>
#include <functional>
#include <map>

#include "platform/core/Types.h"

namespace bw {

class THandlerTable {
 public:
  /// Adds or replaces the handler Name; Sig is the event's signature.
  template <class Sig, class F>
  void Add(const String& Name, F&& Handler) {
    FHandlers[Key(Name)] = Entry{Name, std::function<Sig>(std::forward<F>(Handler))};
  }
  /// The handler Name (matched without regard to case) as the event type's function,
  /// and its name as added; null when there is none or its signature is another.
  template <class Sig>
  const std::function<Sig>* Find(const String& Name, String* Spelling = nullptr) const {
    return FindAs<std::function<Sig>>(Name, Spelling);
  }
  template <class Fn>
  const Fn* FindAs(const String& Name, String* Spelling = nullptr) const {
    const Entry* e = FindEntry(Name);
    if (!e) return nullptr;
    if (Spelling) *Spelling = e->Name;
    return std::any_cast<Fn>(&e->Handler);
  }
  bool Contains(const String& Name) const { return FindEntry(Name) != nullptr; }
  int32_t Count() const { return int32_t(FHandlers.size()); }

 private:
  struct Entry {
    String Name;
    std::any Handler;
  };
  static String Key(const String& Name);
  const Entry* FindEntry(const String& Name) const;
  std::map<String, Entry> FHandlers;
};

}  // namespace bw
