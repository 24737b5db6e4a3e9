#pragma once
// The common part of the form reader and writer: the stream, the root component, and
// DefineProperties' way to store data that is not a published property.

#include <functional>

#include "platform/core/TObject.h"
#include "platform/core/TValueType.h"

namespace bw {

class TStream;
class TComponent;
class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

class TFiler : public TObject {
  BW_CLASS(TFiler, TObject)

 public:
  explicit TFiler(TStream* Stream) : FStream(Stream) {}

  TStream* Stream() const { return FStream; }
  /// The component at the top of what is being read or written; its handler table
  /// resolves event names, and children are the components GetChildren lists for it.
  TComponent* Root() const { return FRoot; }
  void SetRoot(TComponent* Value) { FRoot = Value; }

  /// Declares a stored property Name with the routines that read and write its values.
  /// The writer stores it only when HasData is true; the value is whatever WriteData
  /// writes (usually one value, often a list), and ReadData must read exactly that.
  virtual void DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc WriteData,
                              bool HasData) = 0;
  /// Like DefineProperty for a block of bytes: WriteData fills a memory stream, whose
  /// contents are stored as one binary value; ReadData gets a stream of those bytes.
  virtual void DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc WriteData,
                                    bool HasData) = 0;

 protected:
  TStream* FStream;
  TComponent* FRoot = nullptr;
};

/// Nesting deeper than this (lists in lists, components in components, sub-objects in
/// sub-objects) is taken for a damaged or hostile stream.
inline constexpr int kMaxFilerNesting = 200;

/// Counts one level of nesting in Depth for as long as it lives. Going deeper than
/// kMaxFilerNesting throws E with Message and leaves Depth as it was.
template <class E>
class TFilerNestingGuard {
 public:
  TFilerNestingGuard(int& Depth, const char* Message) : FDepth(Depth) {
    if (++FDepth > kMaxFilerNesting) {
      --FDepth;
      throw E(Message);
    }
  }
  ~TFilerNestingGuard() { --FDepth; }
  TFilerNestingGuard(const TFilerNestingGuard&) = delete;
  TFilerNestingGuard& operator=(const TFilerNestingGuard&) = delete;

 private:
  int& FDepth;
};

}  // namespace bw
