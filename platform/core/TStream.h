#pragma once
// The abstract byte stream. Descendants provide Read, Write and Seek; everything else
// (Position, Size, the raising buffer calls, CopyFrom) is built on those three.

#include "platform/core/TObject.h"

namespace bw {

enum TSeekOrigin : uint16_t { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

class TStream : public TObject {
  BW_CLASS(TStream, TObject)

 public:
  /// Reads up to Count bytes; returns how many were read (0 at the end or for Count <= 0).
  virtual int32_t Read(void* Buffer, int32_t Count) = 0;
  /// Writes up to Count bytes; returns how many were written.
  virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
  /// Moves the position and returns the new one. A position before the start raises
  /// EStreamError; a position past the end is allowed (a later write fills the gap).
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  int64_t Position() const;
  void SetPosition(int64_t Pos) { Seek(Pos, soFromBeginning); }
  /// The length in bytes. The default asks Seek and puts the position back.
  virtual int64_t Size();
  /// Grows or truncates the stream. Streams that cannot change their size raise.
  virtual void SetSize(int64_t NewSize);

  /// Reads exactly Count bytes or raises EReadError.
  void ReadBuffer(void* Buffer, int32_t Count);
  /// Writes exactly Count bytes or raises EWriteError.
  void WriteBuffer(const void* Buffer, int32_t Count);
  /// Copies Count bytes from Source's position. Count 0 copies all of Source from its
  /// start. Returns the number of bytes copied; a short source raises EReadError.
  int64_t CopyFrom(TStream* Source, int64_t Count);

 protected:
  /// Extra words for a failed transfer's message, such as the file and the system's
  /// reason; empty when the stream has nothing to add.
  virtual String TransferErrorDetail() const { return {}; }
};

}  // namespace bw
