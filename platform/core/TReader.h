#pragma once
// Reads values and whole component trees from the binary form ("TPF0"). Text forms are
// turned into the binary form first (ObjectTextToBinary), so there is one reading path.
//
// Every failure raises EReadError (EClassNotFound for an unknown class) with a message
// that names the component and property being read. Reading a root component is all or
// nothing for what the reader creates: on failure every component it created is freed.

#include <vector>

#include "platform/core/TFiler.h"

namespace bw {

class TPersistent;
struct TPropInfo;

class TReader : public TFiler {
  BW_CLASS(TReader, TFiler)

 public:
  explicit TReader(TStream* Stream) : TFiler(Stream) {}

  // --- values
  /// The next tag; an unknown tag raises.
  TValueType ReadValue();
  /// The next tag without consuming it.
  TValueType NextValue();
  /// True when the next byte ends a list (vaNull).
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  /// Accepts Int8, Int16 and Int32 only.
  int32_t ReadInteger();
  /// Accepts every integer width.
  int64_t ReadInt64();
  bool ReadBoolean();
  /// A string of exactly one character.
  Char ReadChar();
  /// Any string tag, decoded to UTF-8.
  String ReadString();
  /// An identifier; True, False, nil and Null come back as those words.
  String ReadIdent();
  /// An extended, single, double (date), currency or integer value.
  double ReadFloat();
  /// The 10 bytes of an extended value, as they are; any other tag raises.
  void ReadExtended(uint8_t Out[10]);
  std::vector<String> ReadSet();
  /// The bytes of a binary value.
  String ReadBinary();
  /// A bare short string.
  String ReadStr();
  void ReadSignature();
  /// Reads a component header's prefix byte when there is one.
  void ReadPrefix(uint8_t& Flags, int32_t& ChildPos);
  /// Skips one value of any kind.
  void SkipValue();
  /// Reads exactly Count bytes; a short stream raises EReadError.
  void Read(void* Buffer, int64_t Count);

  // --- components
  /// Components created while reading are owned by Owner (the root, when not set).
  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* Value) { FOwner = Value; }
  /// The component whose children are being read.
  TComponent* Parent() const { return FParent; }
  /// Stream offset of the component header or property name being read, for error
  /// positions; -1 once the whole form has been read.
  int64_t ItemStart() const { return FItemStart; }

  /// Reads the signature and a root component: into Root when given (its class must
  /// match the stream's), else into a new component of the stream's class, owned by
  /// Owner. Then runs Loaded on every component read. On failure, the components
  /// created are freed (Root itself too when the reader created it), an existing Root
  /// and the existing components read into get their names and parents back (property
  /// values already read stay), and the error is raised again.
  TComponent* ReadRootComponent(TComponent* Root = nullptr);
  /// Reads the published and defined properties of Instance until the end of the list.
  void ReadProperties(TPersistent* Instance);

  void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

 private:
  // What a failed read puts back on a component that existed before it.
  struct TKept {
    TComponent* Component;
    String Name;
    TComponent* Parent;
  };

  struct TFixup {
    TPersistent* Instance;
    const TPropInfo* Prop;
    String Name;
  };

  void ReadComponent(TComponent* AParent);
  void ReadComponentData(TComponent* Component);
  void ReadProperty(TPersistent* Instance);
  void ReadPropValue(TPersistent* Instance, const TPropInfo& Prop);
  int64_t ReadIntegerValue(TValueType Tag);
  String ReadStringValue(TValueType Tag);
  uint32_t ReadLength(int64_t UnitSize);
  void ResolveFixups();
  void KeepState(TComponent* Existing);
  /// After a failure: existing components get their names and parents back and the
  /// created ones are freed.
  void RestoreKept();
  [[noreturn]] void InvalidValue(const char* Expected, TValueType Found);
  int64_t Remaining();

  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  String FPropName;  // a defined property's name, until DefineProperties consumes it
  int64_t FItemStart = 0;
  int FDepth = 0;
  std::vector<TComponent*> FCreated;
  std::vector<TComponent*> FLoaded;
  std::vector<TFixup> FFixups;
  std::vector<TKept> FKept;
};

}  // namespace bw
