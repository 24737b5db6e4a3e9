#pragma once
// One published property as the form reader and writer see it: its name, its kind and
// type-erased access to its value. Classes do not fill these by hand; TPropertyTable.h
// builds them from typed accessors.

#include <functional>
#include <vector>

#include "platform/core/TObject.h"

namespace bw {

class TPersistent;
class THandlerTable;

enum TTypeKind : uint8_t {
  tkInteger,      // 32 bits or fewer, stored as Int8/16/32
  tkInt64,        // stored in the smallest width, read up to Int64
  tkBool,         // True / False
  tkChar,         // one character, stored as a one-character string
  tkEnumeration,  // stored as the value's name
  tkSet,          // stored as its elements' names
  tkString,
  tkFloat,   // stored as an 80-bit extended
  tkClass,   // a sub-object stored through its own properties, or a component reference
  tkMethod,  // an event, stored as its handler's name
};

struct TPropInfo {
  String Name;
  TTypeKind Kind = tkInteger;
  /// The class whose table declared the property.
  TClass DeclaringClass = nullptr;
  /// Enumeration value names, or set element names, by ordinal.
  std::vector<String> Names;
  /// The range of integer kinds; a stored value outside it does not read.
  int64_t MinValue = 0;
  int64_t MaxValue = 0;

  /// A declared default: the value is not written while the property holds it. Without
  /// one, ordinal kinds are always written, strings unless empty, floats unless zero.
  bool HasDefault = false;
  int64_t OrdDefault = 0;
  double FloatDefault = 0;
  String StrDefault;
  /// Stored-test; null means stored.
  std::function<bool(TPersistent*)> StoredProc;
  /// For integer kinds whose values have names (colours such as clBtnFace): a value with
  /// a name is written as that identifier, and an identifier is read back through it.
  std::function<bool(int64_t Value, String& Ident)> IntToIdent;
  std::function<bool(const String& Ident, int64_t& Value)> IdentToInt;

  // Accessors; only those of the property's kind are set. Ordinal kinds (integers,
  // booleans, characters, enumerations, sets as bit masks) go through GetOrd/SetOrd.
  std::function<int64_t(TPersistent*)> GetOrd;
  std::function<void(TPersistent*, int64_t)> SetOrd;
  std::function<double(TPersistent*)> GetFloat;
  std::function<void(TPersistent*, double)> SetFloat;
  std::function<String(TPersistent*)> GetStr;
  std::function<void(TPersistent*, const String&)> SetStr;
  std::function<TPersistent*(TPersistent*)> GetObject;
  std::function<void(TPersistent*, TPersistent*)> SetObject;  // may be null
  /// The name of the assigned handler; empty when none is assigned or it has no name.
  std::function<String(TPersistent*)> GetHandler;
  /// Assigns the handler Name from Handlers, or clears the event for an empty name.
  /// Raises EReadError when Handlers has no handler of that name and signature.
  std::function<void(TPersistent*, const String& Name, const THandlerTable* Handlers)> SetHandler;

  bool IsOrdinal() const { return Kind <= tkSet; }
  /// False when the stored-test says so or the value equals the default.
  bool IsStored(TPersistent* Instance) const;
};

using TPropList = std::vector<const TPropInfo*>;

/// The published properties of Class, its ancestors' first, each in declaration order.
const TPropList& GetPropList(TClass Class);
/// The published property Name of Class or an ancestor, matched without regard to case.
const TPropInfo* FindPropInfo(TClass Class, const String& Name);

}  // namespace bw
