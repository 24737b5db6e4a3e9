#include "platform/core/TReader.h"

#include <cstring>

#include "platform/core/ClassRegistry.h"
#include "platform/core/Exception.h"
#include "platform/core/Extended80.h"
#include "platform/core/TComponent.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TPropInfo.h"
#include "platform/core/TextCase.h"
#include "platform/core/Unicode.h"

namespace bw {

namespace {

template <class T>
T FromLe(const uint8_t* In) {
  std::make_unsigned_t<T> u = 0;
  for (size_t i = 0; i < sizeof(T); ++i)
    u |= static_cast<decltype(u)>(In[i]) << (8 * i);
  return static_cast<T>(u);
}

[[noreturn]] void Truncated() {
  throw EReadError("The stream ends before the form does");
}

struct TDepthGuard : TFilerNestingGuard<EReadError> {
  explicit TDepthGuard(int& Depth)
      : TFilerNestingGuard(Depth, "Values or components are nested too deeply") {}
};

// The position of Name among the names of an enumeration or set; a name that is not there
// raises EReadError saying it is not one of the Kind ("values", "elements").
size_t IndexOfName(const std::vector<String>& Names, const String& Name, const char* Kind) {
  size_t i = 0;
  while (i < Names.size() && !SameName(Names[i], Name))
    ++i;
  if (i == Names.size())
    throw EReadError("Invalid property value: " + Name + " is not one of its " + Kind);
  return i;
}

String DisplayName(TPersistent* Instance) {
  if (auto* c = dynamic_cast<TComponent*>(Instance); c && !c->Name().empty()) return c->Name();
  return Instance->ClassName();
}

}  // namespace

const char* ValueTypeDescription(uint8_t Tag) {
  switch (Tag) {
    case vaNull:
      return "the end of a list";
    case vaList:
      return "a list";
    case vaInt8:
    case vaInt16:
    case vaInt32:
      return "an integer";
    case vaInt64:
      return "a 64-bit integer";
    case vaQWord:
      return "an unsigned 64-bit integer";
    case vaExtended:
    case vaSingle:
    case vaDate:
      return "a float";
    case vaCurrency:
      return "a currency value";
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
    case vaUString:
      return "a string";
    case vaIdent:
      return "an identifier";
    case vaFalse:
    case vaTrue:
      return "a boolean";
    case vaBinary:
      return "binary data";
    case vaSet:
      return "a set";
    case vaNil:
      return "nil";
    case vaCollection:
      return "a collection";
    default:
      return "an unknown value";
  }
}

int64_t TReader::Remaining() {
  return FStream->Size() - FStream->Position();
}

void TReader::Read(void* Buffer, int64_t Count) {
  auto p = static_cast<uint8_t*>(Buffer);
  while (Count > 0) {
    const auto want = static_cast<int32_t>(std::min<int64_t>(Count, 1 << 30));
    const int32_t got = FStream->Read(p, want);
    if (got <= 0) Truncated();
    p += got;
    Count -= got;
  }
}

void TReader::InvalidValue(const char* Expected, TValueType Found) {
  throw EReadError(String("Invalid property value: expected ") + Expected + ", found " +
                   ValueTypeDescription(Found));
}

TValueType TReader::ReadValue() {
  uint8_t b;
  Read(&b, 1);
  if (b > vaLastValueType)
    throw EReadError("Invalid value type " + std::to_string(b) + " at offset " +
                     std::to_string(FStream->Position() - 1));
  return static_cast<TValueType>(b);
}

TValueType TReader::NextValue() {
  const TValueType v = ReadValue();
  FStream->Seek(-1, soFromCurrent);
  return v;
}

bool TReader::EndOfList() {
  // A raw peek: in a child list the next byte may be a component's prefix, not a tag.
  uint8_t b;
  Read(&b, 1);
  FStream->Seek(-1, soFromCurrent);
  return b == vaNull;
}

void TReader::ReadListBegin() {
  const TValueType v = ReadValue();
  if (v != vaList) InvalidValue("a list", v);
}

void TReader::ReadListEnd() {
  const TValueType v = ReadValue();
  if (v != vaNull) InvalidValue("the end of the list", v);
}

uint32_t TReader::ReadLength(int64_t UnitSize) {
  uint8_t buf[4];
  Read(buf, 4);
  const auto n = FromLe<uint32_t>(buf);
  // Checked before anything is allocated, so a damaged length cannot exhaust memory.
  if (int64_t(n) * UnitSize > Remaining()) Truncated();
  return n;
}

int64_t TReader::ReadIntegerValue(TValueType Tag) {
  uint8_t buf[8];
  switch (Tag) {
    case vaInt8:
      Read(buf, 1);
      return FromLe<int8_t>(buf);
    case vaInt16:
      Read(buf, 2);
      return FromLe<int16_t>(buf);
    case vaInt32:
      Read(buf, 4);
      return FromLe<int32_t>(buf);
    case vaInt64:
      Read(buf, 8);
      return FromLe<int64_t>(buf);
    case vaQWord: {
      Read(buf, 8);
      const auto u = FromLe<uint64_t>(buf);
      if (u > uint64_t(INT64_MAX)) throw EReadError("Integer value out of range");
      return int64_t(u);
    }
    default:
      InvalidValue("an integer", Tag);
  }
}

int32_t TReader::ReadInteger() {
  const TValueType v = ReadValue();
  if (v != vaInt8 && v != vaInt16 && v != vaInt32) InvalidValue("a 32-bit integer", v);
  return static_cast<int32_t>(ReadIntegerValue(v));
}

int64_t TReader::ReadInt64() {
  return ReadIntegerValue(ReadValue());
}

bool TReader::ReadBoolean() {
  const TValueType v = ReadValue();
  if (v != vaTrue && v != vaFalse) InvalidValue("a boolean", v);
  return v == vaTrue;
}

Char TReader::ReadChar() {
  const std::u32string s = DecodeUtf8Lenient(ReadString());
  if (s.size() != 1)
    throw EReadError("Invalid property value: expected one character, found " +
                     std::to_string(s.size()));
  return s[0];
}

String TReader::ReadStringValue(TValueType Tag) {
  String bytes;
  switch (Tag) {
    case vaString: {
      uint8_t n;
      Read(&n, 1);
      bytes.resize(n);
      Read(bytes.data(), n);
      return EncodeUtf8(DecodeUtf8Lenient(bytes));
    }
    case vaLString:
    case vaUTF8String:
      bytes.resize(ReadLength(1));
      Read(bytes.data(), int64_t(bytes.size()));
      return EncodeUtf8(DecodeUtf8Lenient(bytes));
    case vaWString:
    case vaUString: {
      const uint32_t n = ReadLength(2);
      bytes.resize(size_t(n) * 2);
      Read(bytes.data(), int64_t(bytes.size()));
      std::u16string units(n, u'\0');
      for (uint32_t i = 0; i < n; ++i)
        units[i] = FromLe<uint16_t>(reinterpret_cast<const uint8_t*>(bytes.data()) + 2 * i);
      return EncodeUtf8(FromUtf16(units));
    }
    default:
      InvalidValue("a string", Tag);
  }
}

String TReader::ReadString() {
  return ReadStringValue(ReadValue());
}

String TReader::ReadIdent() {
  const TValueType v = ReadValue();
  switch (v) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return "False";
    case vaTrue:
      return "True";
    case vaNil:
      return "nil";
    case vaNull:
      return "Null";
    default:
      InvalidValue("an identifier", v);
  }
}

double TReader::ReadFloat() {
  const TValueType v = ReadValue();
  uint8_t buf[10];
  switch (v) {
    case vaExtended:
      Read(buf, 10);
      return ExtendedToDouble(buf);
    case vaSingle: {
      Read(buf, 4);
      const auto bits = FromLe<uint32_t>(buf);
      float f;
      std::memcpy(&f, &bits, 4);
      return f;
    }
    case vaDate: {
      Read(buf, 8);
      const auto bits = FromLe<uint64_t>(buf);
      double d;
      std::memcpy(&d, &bits, 8);
      return d;
    }
    case vaCurrency:
      Read(buf, 8);
      return double(FromLe<int64_t>(buf)) / 10000.0;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
    case vaQWord:
      return double(ReadIntegerValue(v));
    default:
      InvalidValue("a float", v);
  }
}

void TReader::ReadExtended(uint8_t Out[10]) {
  const TValueType v = ReadValue();
  if (v != vaExtended) InvalidValue("an extended float", v);
  Read(Out, 10);
}

std::vector<String> TReader::ReadSet() {
  const TValueType v = ReadValue();
  if (v != vaSet) InvalidValue("a set", v);
  std::vector<String> names;
  for (;;) {
    String n = ReadStr();
    if (n.empty()) return names;
    names.push_back(std::move(n));
  }
}

String TReader::ReadBinary() {
  const TValueType v = ReadValue();
  if (v != vaBinary) InvalidValue("binary data", v);
  String bytes(ReadLength(1), '\0');
  Read(bytes.data(), int64_t(bytes.size()));
  return bytes;
}

String TReader::ReadStr() {
  uint8_t n;
  Read(&n, 1);
  String s(n, '\0');
  Read(s.data(), n);
  return s;
}

void TReader::ReadSignature() {
  char sig[4];
  Read(sig, 4);
  if (std::memcmp(sig, "TPF0", 4) != 0)
    throw EReadError("Invalid stream format: no form signature");
}

void TReader::ReadPrefix(uint8_t& Flags, int32_t& ChildPos) {
  Flags = 0;
  ChildPos = 0;
  uint8_t b;
  Read(&b, 1);
  if ((b & 0xF0) != 0xF0) {
    FStream->Seek(-1, soFromCurrent);
    return;
  }
  Flags = b & 0x0F;
  if (Flags & ffChildPos) ChildPos = ReadInteger();
}

void TReader::SkipValue() {
  TDepthGuard depth(FDepth);
  const TValueType v = ReadValue();
  auto skip = [this](int64_t n) {
    if (n > Remaining()) Truncated();
    FStream->Seek(n, soFromCurrent);
  };
  switch (v) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
      break;
    case vaList:
      while (!EndOfList())
        SkipValue();
      ReadListEnd();
      break;
    case vaInt8:
      skip(1);
      break;
    case vaInt16:
      skip(2);
      break;
    case vaInt32:
    case vaSingle:
      skip(4);
      break;
    case vaInt64:
    case vaQWord:
    case vaCurrency:
    case vaDate:
      skip(8);
      break;
    case vaExtended:
      skip(10);
      break;
    case vaString:
    case vaIdent:
      ReadStr();
      break;
    case vaBinary:
    case vaLString:
    case vaUTF8String:
      skip(ReadLength(1));
      break;
    case vaWString:
    case vaUString:
      skip(int64_t(ReadLength(2)) * 2);
      break;
    case vaSet:
      while (!ReadStr().empty()) {
      }
      break;
    case vaCollection:
      while (!EndOfList()) {
        const TValueType t = NextValue();
        if (t == vaInt8 || t == vaInt16 || t == vaInt32) ReadInteger();  // an item's order
        ReadListBegin();
        while (!EndOfList()) {
          ReadStr();
          SkipValue();
        }
        ReadListEnd();
      }
      ReadListEnd();
      break;
  }
}

// --- components

TComponent* TReader::ReadRootComponent(TComponent* Root) {
  FCreated.clear();
  FLoaded.clear();
  FFixups.clear();
  FDepth = 0;
  bool createdRoot = false;
  try {
    ReadSignature();
    FItemStart = FStream->Position();
    uint8_t flags;
    int32_t childPos;
    ReadPrefix(flags, childPos);
    const String className = ReadStr();
    const String name = ReadStr();
    if (!Root) {
      Root = CreateComponent(FindClass(className), FOwner);
      createdRoot = true;
    } else if (!Root->InheritsFrom(className)) {
      throw EReadError("The stream holds a " + className + ", which cannot be read into a " +
                       Root->ClassName());
    }
    FRoot = Root;
    Root->SetComponentStateFlag(csLoading, true);
    Root->SetComponentStateFlag(csReading, true);
    FLoaded.push_back(Root);
    if (!createdRoot) KeepState(Root);
    if (!name.empty() && Root->Name() != name) Root->SetName(name);
    ReadComponentData(Root);
    FItemStart = -1;  // what fails from here on belongs to no single item
    ResolveFixups();
    for (TComponent* c : FLoaded) {
      c->Loaded();
      c->SetComponentStateFlag(csLoading, false);
    }
  } catch (...) {
    for (TComponent* c : FLoaded) {
      c->SetComponentStateFlag(csReading, false);
      c->SetComponentStateFlag(csLoading, false);
    }
    if (createdRoot) {
      delete Root;  // frees the children it owns
    } else {
      RestoreKept();
    }
    FCreated.clear();
    FLoaded.clear();
    FFixups.clear();
    FKept.clear();
    throw;
  }
  FCreated.clear();
  FLoaded.clear();
  FKept.clear();
  return Root;
}

void TReader::KeepState(TComponent* Existing) {
  FKept.push_back({Existing, Existing->Name(),
                   Existing->HasParent() ? Existing->GetParentComponent() : nullptr});
}

void TReader::RestoreKept() {
  // Existing components go back to their parents first, so that freeing a created
  // component never takes an existing one with it.
  for (auto it = FKept.rbegin(); it != FKept.rend(); ++it)
    if (it->Component->HasParent() && it->Component->GetParentComponent() != it->Parent)
      it->Component->SetParentComponent(it->Parent);
  // Last created first: a child goes before the component it was read into.
  for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it)
    delete *it;
  for (auto it = FKept.rbegin(); it != FKept.rend(); ++it) {
    try {
      it->Component->SetName(it->Name);
    } catch (...) {
      // The name was valid before the read; keep the error being reported instead.
    }
  }
}

void TReader::ReadComponent(TComponent* AParent) {
  FItemStart = FStream->Position();
  uint8_t flags;
  int32_t childPos;
  ReadPrefix(flags, childPos);
  const String className = ReadStr();
  const String name = ReadStr();
  TComponent* c = nullptr;
  if (flags & (ffInherited | ffInline)) c = FRoot->FindComponent(name);
  if (c && !SameName(c->ClassName(), className) && !c->InheritsFrom(className))
    throw EReadError("Component " + name + " is a " + c->ClassName() + ", not a " + className);
  if (!c && (flags & ffInherited))
    throw EReadError("Inherited component " + name + " not found in " + DisplayName(FRoot));
  if (!c) {
    c = CreateComponent(FindClass(className), FRoot);
    FCreated.push_back(c);
  } else {
    // Read inside itself, a component would become its own parent or ancestor.
    for (TComponent* p = AParent; p; p = p->HasParent() ? p->GetParentComponent() : nullptr)
      if (p == c) throw EReadError("Component " + name + " cannot be read inside itself");
    KeepState(c);
  }
  c->SetComponentStateFlag(csLoading, true);
  c->SetComponentStateFlag(csReading, true);
  FLoaded.push_back(c);
  if (c->Name() != name) c->SetName(name);
  if (c->HasParent()) c->SetParentComponent(AParent);
  ReadComponentData(c);
}

void TReader::ReadComponentData(TComponent* Component) {
  TDepthGuard depth(FDepth);
  ReadProperties(Component);
  TComponent* saved = FParent;
  FParent = Component;
  while (!EndOfList())
    ReadComponent(Component);
  ReadListEnd();
  FParent = saved;
  Component->SetComponentStateFlag(csReading, false);
}

void TReader::ReadProperties(TPersistent* Instance) {
  while (!EndOfList())
    ReadProperty(Instance);
  ReadListEnd();
}

void TReader::ReadProperty(TPersistent* Instance) {
  FItemStart = FStream->Position();
  const String path = ReadStr();
  try {
    TPersistent* target = Instance;
    size_t start = 0;
    for (;;) {
      const size_t dot = path.find('.', start);
      const String part = path.substr(start, dot == String::npos ? String::npos : dot - start);
      const TPropInfo* prop = FindPropInfo(target->ClassType(), part);
      if (dot == String::npos) {
        if (prop) {
          ReadPropValue(target, *prop);
        } else {
          FPropName = part;
          target->DefineProperties(this);
          if (!FPropName.empty()) {
            FPropName.clear();
            throw EReadError("Unknown property \"" + part + "\"");
          }
        }
        return;
      }
      if (!prop) throw EReadError("Unknown property \"" + part + "\"");
      if (prop->Kind != tkClass) throw EReadError("Property " + part + " has no properties");
      TPersistent* next = prop->GetObject(target);
      auto* component = dynamic_cast<TComponent*>(next);
      // As the writer tells them apart: a component property that can be set, or that
      // holds a component the target does not own, is a reference, not a sub-object.
      if (!next || (component && (component->Owner() != target || prop->SetObject)))
        throw EReadError("Property " + part + " holds no object to read into");
      target = next;
      start = dot + 1;
    }
  } catch (Exception& e) {
    e.SetMessage("Error reading " + DisplayName(Instance) + "." + path + ": " + e.Message());
    throw;
  }
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo& Prop) {
  auto checkRange = [&](int64_t v) {
    if (v < Prop.MinValue || v > Prop.MaxValue)
      throw EReadError("Value " + std::to_string(v) + " out of range (" +
                       std::to_string(Prop.MinValue) + ".." + std::to_string(Prop.MaxValue) + ")");
    return v;
  };
  switch (Prop.Kind) {
    case tkInteger:
    case tkInt64:
      // The writer names values of either width, so both read names back.
      if (Prop.IdentToInt && NextValue() == vaIdent) {
        const String name = ReadIdent();
        int64_t value = 0;
        if (!Prop.IdentToInt(name, value))
          throw EReadError("Invalid property value: " + name + " is not a known name");
        Prop.SetOrd(Instance, checkRange(value));
        break;
      }
      Prop.SetOrd(Instance, checkRange(Prop.Kind == tkInteger ? ReadInteger() : ReadInt64()));
      break;
    case tkBool:
      Prop.SetOrd(Instance, ReadBoolean());
      break;
    case tkChar:
      Prop.SetOrd(Instance, ReadChar());
      break;
    case tkEnumeration: {
      const TValueType v = NextValue();
      if (v != vaIdent) InvalidValue("an identifier", v);
      const String name = ReadIdent();
      Prop.SetOrd(Instance, int64_t(IndexOfName(Prop.Names, name, "values")));
      break;
    }
    case tkSet: {
      uint64_t bits = 0;
      for (const String& name : ReadSet()) {
        bits |= uint64_t{1} << IndexOfName(Prop.Names, name, "elements");
      }
      Prop.SetOrd(Instance, static_cast<int64_t>(bits));
      break;
    }
    case tkString:
      Prop.SetStr(Instance, ReadString());
      break;
    case tkFloat:
      Prop.SetFloat(Instance, ReadFloat());
      break;
    case tkMethod: {
      const TValueType v = ReadValue();
      if (v == vaNil) return Prop.SetHandler(Instance, String(), nullptr);
      if (v != vaIdent) InvalidValue("a handler name", v);
      const String name = ReadStr();
      Prop.SetHandler(Instance, name, FRoot ? FRoot->HandlerTable() : nullptr);
      break;
    }
    case tkClass: {
      const TValueType v = ReadValue();
      if (v != vaNil && v != vaIdent) InvalidValue("a component name or nil", v);
      if (!Prop.SetObject) throw EReadError("Property " + Prop.Name + " cannot be set");
      if (v == vaNil) return Prop.SetObject(Instance, nullptr);
      // Set once the whole form is read, as the component may come later in the stream.
      FFixups.push_back(TFixup{Instance, &Prop, ReadStr()});
      break;
    }
  }
}

void TReader::ResolveFixups() {
  for (const TFixup& f : FFixups) {
    String name = f.Name;
    const size_t dot = name.find('.');
    if (dot != String::npos) {
      // Only the root's own components can be reached; other roots are not loaded here.
      if (!SameName(name.substr(0, dot), FRoot->Name())) continue;
      name = name.substr(dot + 1);
    }
    TComponent* target = SameName(name, FRoot->Name()) ? FRoot : FRoot->FindComponent(name);
    if (!target) continue;  // as other readers do: an unknown reference stays unset
    try {
      f.Prop->SetObject(f.Instance, target);
    } catch (Exception& e) {
      e.SetMessage("Error reading " + DisplayName(f.Instance) + "." + f.Prop->Name + ": " +
                   e.Message());
      throw;
    }
  }
  FFixups.clear();
}

void TReader::DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc, bool) {
  if (FPropName.empty() || !ReadData || !SameName(Name, FPropName)) return;
  FPropName.clear();
  ReadData(this);
}

void TReader::DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc, bool) {
  if (FPropName.empty() || !ReadData || !SameName(Name, FPropName)) return;
  FPropName.clear();
  const String bytes = ReadBinary();
  TMemoryStream data;
  data.Write(bytes.data(), int32_t(bytes.size()));
  data.SetPosition(0);
  ReadData(&data);
}

}  // namespace bw
