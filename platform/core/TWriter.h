#pragma once
// Writes values and whole component trees in the binary form ("TPF0"). The text form is
// made from this by ObjectBinaryToText.

#include <vector>

#include "platform/core/TFiler.h"

namespace bw {

class TPersistent;
struct TPropInfo;

class TWriter : public TFiler {
  BW_CLASS(TWriter, TFiler)

 public:
  explicit TWriter(TStream* Stream) : TFiler(Stream) {}

  // --- values
  void WriteValue(TValueType Value);
  /// In the smallest of Int8, Int16, Int32 and Int64 that holds Value.
  void WriteInteger(int64_t Value);
  void WriteBoolean(bool Value);
  /// A one-character string.
  void WriteChar(Char Value);
  /// ASCII text as an 8-bit string (a long string above 255 bytes); anything else as
  /// UTF-16, which every reader of the format decodes exactly.
  void WriteString(const String& Value);
  void WriteIdent(const String& Ident);
  void WriteFloat(double Value);
  /// The 10 bytes of an 80-bit extended float, as they are.
  void WriteExtended(const uint8_t Value[10]);
  void WriteSingle(float Value);
  /// Value is the amount times 10000.
  void WriteCurrency(int64_t Value);
  void WriteDate(double Value);
  /// The element names, in the order given.
  void WriteSet(const std::vector<String>& Names);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteBinary(const void* Data, int64_t Count);
  /// A bare short string; more than 255 bytes raises EWriteError (it would not read back).
  void WriteStr(const String& Value);
  void WriteSignature();
  /// A component header: the prefix byte (none when Flags is 0), class name and name.
  void WriteHeader(uint8_t Flags, int32_t ChildPos, const String& ClassName, const String& Name);
  void Write(const void* Buffer, int64_t Count);

  // --- components
  /// The signature, then Root with its properties and its children.
  void WriteRootComponent(TComponent* Root);
  void WriteComponent(TComponent* Component);
  /// The published properties that are stored, then the defined properties.
  void WriteProperties(TPersistent* Instance);

  void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

 private:
  void WriteProperty(TPersistent* Instance, const TPropInfo& Prop);
  void WritePropName(const String& Name);

  String FPropPath;  // "Outline.Lines." while writing a sub-object's properties
  int FDepth = 0;
};

}  // namespace bw
