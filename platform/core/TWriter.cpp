#include "platform/core/TWriter.h"

#include <bit>

#include "platform/core/Exception.h"
#include "platform/core/Extended80.h"
#include "platform/core/TComponent.h"
#include "platform/core/TMemoryStream.h"
#include "platform/core/TPropInfo.h"
#include "platform/core/Unicode.h"

namespace bw {

namespace {

// The binary form is little-endian whatever the machine.
template <class T>
void Le(uint8_t* Out, T Value) {
  auto u = static_cast<std::make_unsigned_t<T>>(Value);
  for (size_t i = 0; i < sizeof(T); ++i)
    Out[i] = static_cast<uint8_t>(u >> (8 * i));
}

// A tag byte followed by a fixed-width value, written in one piece.
template <class T>
void WriteTagged(TWriter& W, TValueType Tag, T Value) {
  uint8_t buf[1 + sizeof(T)];
  buf[0] = Tag;
  Le(buf + 1, Value);
  W.Write(buf, sizeof buf);
}

// Cleared again when a write fails half-way.
class TStateGuard {
 public:
  TStateGuard(TComponent* C, TComponentStateFlag Flag) : FC(C), FFlag(Flag) {
    FWasSet = C->ComponentState().Contains(Flag);
    C->SetComponentStateFlag(Flag, true);
  }
  ~TStateGuard() {
    if (!FWasSet) FC->SetComponentStateFlag(FFlag, false);
  }
  TStateGuard(const TStateGuard&) = delete;
  TStateGuard& operator=(const TStateGuard&) = delete;

 private:
  TComponent* FC;
  TComponentStateFlag FFlag;
  bool FWasSet;
};

// Nesting guard for sub-objects and children, whose cycles would never end.
struct TDepthGuard : TFilerNestingGuard<EWriteError> {
  explicit TDepthGuard(int& Depth)
      : TFilerNestingGuard(Depth, "Components or sub-objects are nested too deeply to be stored") {}
};

}  // namespace

void TWriter::Write(const void* Buffer, int64_t Count) {
  auto p = static_cast<const uint8_t*>(Buffer);
  while (Count > 0) {
    const auto n = static_cast<int32_t>(std::min<int64_t>(Count, 1 << 30));
    FStream->WriteBuffer(p, n);
    p += n;
    Count -= n;
  }
}

void TWriter::WriteValue(TValueType Value) {
  const uint8_t b = Value;
  Write(&b, 1);
}

void TWriter::WriteInteger(int64_t Value) {
  if (Value >= INT8_MIN && Value <= INT8_MAX)
    WriteTagged(*this, vaInt8, static_cast<int8_t>(Value));
  else if (Value >= INT16_MIN && Value <= INT16_MAX)
    WriteTagged(*this, vaInt16, static_cast<int16_t>(Value));
  else if (Value >= INT32_MIN && Value <= INT32_MAX)
    WriteTagged(*this, vaInt32, static_cast<int32_t>(Value));
  else
    WriteTagged(*this, vaInt64, Value);
}

void TWriter::WriteBoolean(bool Value) {
  WriteValue(Value ? vaTrue : vaFalse);
}

void TWriter::WriteChar(Char Value) {
  String s;
  AppendUtf8(s, Value);
  WriteString(s);
}

void TWriter::WriteString(const String& Value) {
  if (IsAscii(Value)) {
    if (Value.size() <= 255) {
      WriteTagged(*this, vaString, static_cast<uint8_t>(Value.size()));
    } else {
      if (Value.size() > UINT32_MAX) throw EWriteError("String too long to be stored");
      WriteTagged(*this, vaLString, static_cast<uint32_t>(Value.size()));
    }
    Write(Value.data(), int64_t(Value.size()));
    return;
  }
  const std::u16string units = ToUtf16(DecodeUtf8Lenient(Value));
  if (units.size() > UINT32_MAX) throw EWriteError("String too long to be stored");
  std::vector<uint8_t> buf(5 + 2 * units.size());
  buf[0] = vaWString;
  Le(buf.data() + 1, static_cast<uint32_t>(units.size()));
  for (size_t i = 0; i < units.size(); ++i)
    Le(buf.data() + 5 + 2 * i, uint16_t(units[i]));
  Write(buf.data(), int64_t(buf.size()));
}

void TWriter::WriteIdent(const String& Ident) {
  WriteValue(vaIdent);
  WriteStr(Ident);
}

void TWriter::WriteFloat(double Value) {
  uint8_t buf[11];
  buf[0] = vaExtended;
  DoubleToExtended(Value, buf + 1);
  Write(buf, sizeof buf);
}

void TWriter::WriteExtended(const uint8_t Value[10]) {
  WriteValue(vaExtended);
  Write(Value, 10);
}

void TWriter::WriteSingle(float Value) {
  WriteTagged(*this, vaSingle, std::bit_cast<uint32_t>(Value));
}

void TWriter::WriteCurrency(int64_t Value) {
  WriteTagged(*this, vaCurrency, Value);
}

void TWriter::WriteDate(double Value) {
  WriteTagged(*this, vaDate, std::bit_cast<uint64_t>(Value));
}

void TWriter::WriteSet(const std::vector<String>& Names) {
  WriteValue(vaSet);
  for (const String& n : Names) {
    if (n.empty()) throw EWriteError("A set element needs a name");
    WriteStr(n);
  }
  WriteStr(String());
}

void TWriter::WriteBinary(const void* Data, int64_t Count) {
  if (Count < 0 || Count > UINT32_MAX) throw EWriteError("Binary data too large to be stored");
  WriteTagged(*this, vaBinary, static_cast<uint32_t>(Count));
  Write(Data, Count);
}

void TWriter::WriteStr(const String& Value) {
  // Cutting a longer name short would store a different name, so refuse it.
  if (Value.size() > 255)
    throw EWriteError("Name too long to be stored (more than 255 bytes): " + Value.substr(0, 40) +
                      "...");
  const uint8_t len = static_cast<uint8_t>(Value.size());
  Write(&len, 1);
  Write(Value.data(), len);
}

void TWriter::WriteSignature() {
  Write("TPF0", 4);
}

void TWriter::WriteHeader(uint8_t Flags, int32_t ChildPos, const String& ClassName,
                          const String& Name) {
  // Readers take a first byte of $F0 or more for a prefix, so a class name whose length
  // byte is that large needs one, even without flags.
  if (Flags != 0 || ClassName.size() >= 0xF0) {
    const uint8_t b = 0xF0 | (Flags & 0x0F);
    Write(&b, 1);
    if (Flags & ffChildPos) WriteInteger(ChildPos);
  }
  WriteStr(ClassName);
  WriteStr(Name);
}

void TWriter::WriteRootComponent(TComponent* Root) {
  SetRoot(Root);
  WriteSignature();
  WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent* Component) {
  TDepthGuard depth(FDepth);
  TStateGuard writing(Component, csWriting);
  if (!FRoot) FRoot = Component;
  WriteHeader(0, 0, Component->ClassName(), Component->Name());
  WriteProperties(Component);
  WriteListEnd();
  Component->GetChildren([this](TComponent* Child) { WriteComponent(Child); }, FRoot);
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* Instance) {
  for (const TPropInfo* p : GetPropList(Instance->ClassType()))
    if (p->IsStored(Instance)) WriteProperty(Instance, *p);
  Instance->DefineProperties(this);
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo& Prop) {
  switch (Prop.Kind) {
    case tkInteger:
    case tkInt64: {
      WritePropName(Prop.Name);
      const int64_t value = Prop.GetOrd(Instance);
      String ident;
      if (Prop.IntToIdent && Prop.IntToIdent(value, ident))
        WriteIdent(ident);
      else
        WriteInteger(value);
      break;
    }
    case tkBool:
      WritePropName(Prop.Name);
      WriteBoolean(Prop.GetOrd(Instance) != 0);
      break;
    case tkChar:
      WritePropName(Prop.Name);
      WriteChar(static_cast<Char>(Prop.GetOrd(Instance)));
      break;
    case tkEnumeration: {
      const int64_t v = Prop.GetOrd(Instance);
      if (v < 0 || v >= int64_t(Prop.Names.size()))
        throw EWriteError("Property " + Prop.Name + " holds " + std::to_string(v) +
                          ", which has no name");
      WritePropName(Prop.Name);
      WriteIdent(Prop.Names[size_t(v)]);
      break;
    }
    case tkSet: {
      const auto bits = static_cast<uint64_t>(Prop.GetOrd(Instance));
      std::vector<String> names;
      for (size_t i = 0; i < 64; ++i) {
        if (!(bits & (uint64_t{1} << i))) continue;
        if (i >= Prop.Names.size())
          throw EWriteError("Property " + Prop.Name + " holds element " + std::to_string(i) +
                            ", which has no name");
        names.push_back(Prop.Names[i]);
      }
      WritePropName(Prop.Name);
      WriteSet(names);
      break;
    }
    case tkString:
      WritePropName(Prop.Name);
      WriteString(Prop.GetStr(Instance));
      break;
    case tkFloat:
      WritePropName(Prop.Name);
      WriteFloat(Prop.GetFloat(Instance));
      break;
    case tkMethod:
      WritePropName(Prop.Name);
      WriteIdent(Prop.GetHandler(Instance));
      break;
    case tkClass: {
      TPersistent* object = Prop.GetObject(Instance);
      auto* component = dynamic_cast<TComponent*>(object);
      // A component is a sub-object only when the instance owns it and the property cannot
      // be set; otherwise (a root's property naming one of its own components, say) it is
      // a reference, stored by name when it can be found again.
      if (component && (component->Owner() != Instance || Prop.SetObject)) {
        if (component->Name().empty()) break;
        String name = component->Name();
        if (component != FRoot && component->Owner() != FRoot) {
          if (!component->Owner() || component->Owner()->Name().empty()) break;
          name = component->Owner()->Name() + "." + name;
        }
        WritePropName(Prop.Name);
        WriteIdent(name);
        break;
      }
      TDepthGuard depth(FDepth);
      const String saved = FPropPath;
      FPropPath += Prop.Name + ".";
      try {
        WriteProperties(object);
      } catch (...) {
        FPropPath = saved;
        throw;
      }
      FPropPath = saved;
      break;
    }
  }
}

void TWriter::WritePropName(const String& Name) {
  WriteStr(FPropPath + Name);
}

void TWriter::DefineProperty(const String& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const String& Name, TStreamProc, TStreamProc WriteData,
                                   bool HasData) {
  if (!HasData || !WriteData) return;
  TMemoryStream data;
  WriteData(&data);
  WritePropName(Name);
  WriteBinary(data.Memory(), data.Size());
}

}  // namespace bw
