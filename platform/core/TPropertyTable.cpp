#include "platform/core/TPropertyTable.h"

#include <algorithm>
#include <map>

#include "platform/core/Exception.h"
#include "platform/core/TPersistent.h"
#include "platform/core/TextCase.h"

namespace bw {

namespace {

struct TClassTable {
  std::function<void(std::deque<TPropInfo>&)> Build;
  std::deque<TPropInfo> Props;
  bool Built = false;
};

struct TRegistry {
  std::map<TClass, TClassTable> Tables;
  std::map<TClass, TPropList> Lists;  // ancestors included; dropped on registration
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

}  // namespace

namespace detail {

void PropertyDeclarationError(const String& Property, const char* Problem) {
  throw EInvalidOperation("Published property \"" + Property + "\" " + Problem);
}

void WrongObjectClass(const String& Property, TPersistent* Value) {
  throw EReadError("Property " + Property + " cannot hold a " + Value->ClassName());
}

void HandlerNotFound(const String& Name, bool WrongSignature) {
  if (WrongSignature) throw EReadError("The handler \"" + Name + "\" does not fit this event");
  throw EReadError("The root component has no handler named \"" + Name + "\"");
}

}  // namespace detail

void RegisterPropertyTable(TClass Class, std::function<void(std::deque<TPropInfo>&)> Build) {
  TRegistry& r = Registry();
  r.Tables[Class] = TClassTable{std::move(Build), {}, false};
  r.Lists.clear();
}

const TPropList& GetPropList(TClass Class) {
  TRegistry& r = Registry();
  auto found = r.Lists.find(Class);
  if (found != r.Lists.end()) return found->second;
  std::vector<TClass> chain;
  for (TClass c = Class; c; c = c->Parent)
    chain.push_back(c);
  TPropList list;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    auto t = r.Tables.find(*it);
    if (t == r.Tables.end()) continue;
    if (!t->second.Built) {
      t->second.Built = true;
      t->second.Build(t->second.Props);
    }
    for (const TPropInfo& p : t->second.Props) {
      // A redeclared property keeps its ancestor's place and takes the new entry.
      auto same = std::find_if(list.begin(), list.end(),
                               [&](const TPropInfo* q) { return SameName(q->Name, p.Name); });
      if (same != list.end())
        *same = &p;
      else
        list.push_back(&p);
    }
  }
  return r.Lists.emplace(Class, std::move(list)).first->second;
}

const TPropInfo* FindPropInfo(TClass Class, const String& Name) {
  for (const TPropInfo* p : GetPropList(Class))
    if (SameName(p->Name, Name)) return p;
  return nullptr;
}

bool TPropInfo::IsStored(TPersistent* Instance) const {
  if (StoredProc && !StoredProc(Instance)) return false;
  switch (Kind) {
    case tkString:
      return GetStr(Instance) != (HasDefault ? StrDefault : String());
    case tkFloat:
      return GetFloat(Instance) != (HasDefault ? FloatDefault : 0.0);
    case tkMethod:
      return !GetHandler(Instance).empty();
    case tkClass:
      return GetObject(Instance) != nullptr;
    default:
      return !HasDefault || GetOrd(Instance) != OrdDefault;
  }
}

}  // namespace bw
