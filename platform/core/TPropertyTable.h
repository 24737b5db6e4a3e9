#pragma once
// Published properties: what the form writer stores and the form reader sets.
//
// A class lists its published properties once, in its .cpp file, in declaration order;
// its ancestors' properties come first without being repeated:
//
//   BW_PUBLISHED(TCorvath) {
//     P.Property("OnButtonClick", &TCorvath::OnButtonClick, &TCorvath::SetOnButtonClick);
//     P.Property("PicturePlus", [](TCorvath* G) { return G->GetPicture(0); });  // sub-object
//     P.Property("Editor", &TCorvath::Editor);      // stored as Editor.ButtonWidth, ...
//     P.Property("OutlineCol", &TCorvath::OutlineCol, &TCorvath::SetOutlineCol);
//   }
//
// The value type picks the kind: integers, bool, Char, String, float and double, enums
// and TSet<E> (both need the value names, in ordinal order), TEvent<...> (stored as the
// handler's name), and pointers to TPersistent descendants (sub-objects: no setter
// needed; a TComponent that is not a sub-object is stored as a reference by name).
// Defaults and stored-tests chain on:
//
//     P.Property("Kind", &TX::Kind, &TX::SetKind, {"gkCustom", "gkDefault"}).Default(gkDefault);
//     P.Property("Options", &TX::Options, &TX::SetOptions, {"goA", "goB"}).Default(TSet{goA});
//     P.Property("Caption", &TX::Caption, &TX::SetCaption).Stored(&TX::IsCaptionStored);
//
// Without a default an ordinal property is always written; a string only when not empty
// and a float only when not zero, so a class whose constructor gives a string or float a
// non-empty value declares that value as the default. Data beyond the published
// properties goes through DefineProperties (values in a list, binary data):
//
//   void TCorvath::DefineProperties(TFiler* Filer) {
//     inherited::DefineProperties(Filer);
//     Filer->DefineProperty("ColWidths", [this](TReader* R) { ReadColWidths(R); },
//                           [this](TWriter* W) { WriteColWidths(W); }, true);
//   }
//   // a bitmap:  Filer->DefineBinaryProperty("Data", ReadData, WriteData, !Empty());

#include <deque>
#include <functional>
#include <initializer_list>
#include <limits>
#include <type_traits>

#include "platform/core/TEvent.h"
#include "platform/core/THandlerTable.h"
#include "platform/core/TPropInfo.h"
#include "platform/core/TSet.h"

namespace bw {

class TPersistent;

namespace detail {

template <class T>
struct IsEvent : std::false_type {};
template <class Sig>
struct IsEvent<TEvent<Sig>> : std::true_type {};

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};

[[noreturn]] void PropertyDeclarationError(const String& Property, const char* Problem);
[[noreturn]] void WrongObjectClass(const String& Property, TPersistent* Value);
[[noreturn]] void HandlerNotFound(const String& Name, bool WrongSignature);

}  // namespace detail

/// The entry just declared, for chaining a default or a stored-test.
template <class C>
class TPublishedProperty {
 public:
  explicit TPublishedProperty(TPropInfo& Info) : FInfo(Info) {}

  template <class V>
  TPublishedProperty& Default(V Value) {
    FInfo.HasDefault = true;
    if constexpr (detail::IsSet<V>::value) {
      FInfo.OrdDefault = static_cast<int64_t>(Value.Bits());
    } else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) {
      FInfo.OrdDefault = static_cast<int64_t>(Value);
    } else if constexpr (std::is_floating_point_v<V>) {
      FInfo.FloatDefault = Value;
    } else {
      FInfo.StrDefault = String(Value);
    }
    return *this;
  }
  /// Names for some values of an integer property, both ways (see TPropInfo::IntToIdent).
  template <class ToIdent, class ToInt>
  TPublishedProperty& Idents(ToIdent IntToIdent, ToInt IdentToInt) {
    FInfo.IntToIdent = [IntToIdent](int64_t Value, String& Ident) {
      return static_cast<bool>(IntToIdent(Value, Ident));
    };
    FInfo.IdentToInt = [IdentToInt](const String& Ident, int64_t& Value) {
      return static_cast<bool>(IdentToInt(Ident, Value));
    };
    return *this;
  }
  TPublishedProperty& Stored(bool Value) {
    FInfo.StoredProc = [Value](TPersistent*) { return Value; };
    return *this;
  }
  /// A member function or a callable taking C*.
  template <class F>
  requires std::is_invocable_r_v<bool, F, C*> TPublishedProperty& Stored(F Test) {
    FInfo.StoredProc = [Test](TPersistent* I) {
      return static_cast<bool>(std::invoke(Test, static_cast<C*>(I)));
    };
    return *this;
  }

 private:
  TPropInfo& FInfo;
};

template <class C>
class TPropertyBuilder {
 public:
  explicit TPropertyBuilder(std::deque<TPropInfo>& Props) : FProps(Props) {}

  /// Declares a property read by Getter and written by Setter (member functions or
  /// callables taking C*). Names lists the value names of enumerations and sets.
  template <class G, class S = std::nullptr_t>
  TPublishedProperty<C> Property(const String& Name, G Getter, S Setter = nullptr,
                                 std::initializer_list<const char*> Names = {}) {
    using V = std::remove_cvref_t<std::invoke_result_t<G, C*>>;
    constexpr bool kHasSetter = !std::is_same_v<S, std::nullptr_t>;
    TPropInfo& p = FProps.emplace_back();
    p.Name = Name;
    p.DeclaringClass = &C::StaticClassInfo();
    for (const char* n : Names)
      p.Names.emplace_back(n);
    const auto self = [](TPersistent* I) { return static_cast<C*>(I); };

    if constexpr (std::is_pointer_v<V>) {
      using O = std::remove_cv_t<std::remove_pointer_t<V>>;
      static_assert(std::is_base_of_v<TPersistent, O>, "object properties hold TPersistent");
      p.Kind = tkClass;
      p.GetObject = [=](TPersistent* I) -> TPersistent* { return std::invoke(Getter, self(I)); };
      if constexpr (kHasSetter) {
        p.SetObject = [=](TPersistent* I, TPersistent* Value) {
          O* typed = Value ? dynamic_cast<O*>(Value) : nullptr;
          if (Value && !typed) detail::WrongObjectClass(Name, Value);
          std::invoke(Setter, self(I), typed);
        };
      }
    } else {
      static_assert(kHasSetter, "only object properties may be read-only");
      if constexpr (detail::IsEvent<V>::value) {
        p.Kind = tkMethod;
        p.GetHandler = [=](TPersistent* I) -> String {
          const V& e = std::invoke(Getter, self(I));
          return e ? e.HandlerName() : String();
        };
        p.SetHandler = [=](TPersistent* I, const String& HName, const THandlerTable* Table) {
          if (HName.empty()) return std::invoke(Setter, self(I), V());
          using Fn = typename V::Handler;
          String spelling;
          const Fn* fn = Table ? Table->template FindAs<Fn>(HName, &spelling) : nullptr;
          if (!fn) detail::HandlerNotFound(HName, Table && Table->Contains(HName));
          std::invoke(Setter, self(I), V(*fn, spelling));
        };
      } else if constexpr (std::is_same_v<V, String>) {
        p.Kind = tkString;
        p.GetStr = [=](TPersistent* I) -> String { return std::invoke(Getter, self(I)); };
        p.SetStr = [=](TPersistent* I, const String& Value) {
          std::invoke(Setter, self(I), Value);
        };
      } else if constexpr (std::is_floating_point_v<V>) {
        p.Kind = tkFloat;
        p.GetFloat = [=](TPersistent* I) -> double { return std::invoke(Getter, self(I)); };
        p.SetFloat = [=](TPersistent* I, double Value) { std::invoke(Setter, self(I), V(Value)); };
      } else {
        if constexpr (std::is_same_v<V, bool>) {
          p.Kind = tkBool;
          p.MaxValue = 1;
        } else if constexpr (std::is_same_v<V, Char>) {
          p.Kind = tkChar;
          p.MaxValue = 0x10FFFF;
        } else if constexpr (std::is_enum_v<V>) {
          p.Kind = tkEnumeration;
          if (p.Names.empty()) detail::PropertyDeclarationError(Name, "needs its value names");
          p.MaxValue = int64_t(p.Names.size()) - 1;
        } else if constexpr (detail::IsSet<V>::value) {
          p.Kind = tkSet;
          if (p.Names.empty() || p.Names.size() > 64)
            detail::PropertyDeclarationError(Name, "needs 1 to 64 element names");
        } else {
          static_assert(std::is_integral_v<V> && sizeof(V) <= 8, "unsupported property type");
          static_assert(!std::is_same_v<V, uint64_t>, "unsigned 64-bit properties are not stored");
          p.Kind = (sizeof(V) < 4 || (sizeof(V) == 4 && std::is_signed_v<V>)) ? tkInteger : tkInt64;
          p.MinValue = int64_t(std::numeric_limits<V>::min());
          p.MaxValue = int64_t(std::numeric_limits<V>::max());
        }
        p.GetOrd = [=](TPersistent* I) -> int64_t {
          V v = std::invoke(Getter, self(I));
          if constexpr (detail::IsSet<V>::value)
            return static_cast<int64_t>(v.Bits());
          else
            return static_cast<int64_t>(v);
        };
        p.SetOrd = [=](TPersistent* I, int64_t Value) {
          if constexpr (detail::IsSet<V>::value)
            std::invoke(Setter, self(I), V::FromBits(static_cast<uint64_t>(Value)));
          else
            std::invoke(Setter, self(I), static_cast<V>(Value));
        };
      }
    }
    return TPublishedProperty<C>(p);
  }

 private:
  std::deque<TPropInfo>& FProps;
};

/// Records the table of class C; Build runs when the table is first needed. A second
/// registration for the same class replaces the first.
void RegisterPropertyTable(TClass Class, std::function<void(std::deque<TPropInfo>&)> Build);

template <class C>
bool RegisterProperties(void (*Build)(TPropertyBuilder<C>&)) {
  RegisterPropertyTable(&C::StaticClassInfo(), [Build](std::deque<TPropInfo>& Props) {
    TPropertyBuilder<C> builder(Props);
    Build(builder);
  });
  return true;
}

}  // namespace bw

// Opens the body of the function that declares Class's published properties through P.
#define BW_PUBLISHED(Class) BW_PUBLISHED_IMPL(Class, BW_PUBLISHED_CAT(bwPublish, __COUNTER__))
#define BW_PUBLISHED_CAT2(A, B) A##B
#define BW_PUBLISHED_CAT(A, B) BW_PUBLISHED_CAT2(A, B)
#define BW_PUBLISHED_IMPL(Class, Fn)                                    \
  static void Fn(::bw::TPropertyBuilder<Class>& P);                     \
  [[maybe_unused]] static const bool BW_PUBLISHED_CAT(Fn, Registered) = \
      ::bw::RegisterProperties<Class>(&Fn);                             \
  static void Fn([[maybe_unused]] ::bw::TPropertyBuilder<Class>& P)
