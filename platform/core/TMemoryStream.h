#pragma once
// A stream held in memory. Writing past the end grows it; a gap left by seeking past the
// end reads back as zero bytes.

#include "platform/core/TStream.h"

namespace bw {

class TMemoryStream : public TStream {
  BW_CLASS(TMemoryStream, TStream)

 public:
  TMemoryStream() = default;

  /// The stream's bytes; valid until the next call that changes its size.
  Pointer Memory() { return FData.data(); }
  const void* Memory() const { return FData.data(); }

  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return int64_t(FData.size()); }
  /// Grows with zero bytes or truncates; a position past the new end moves to the end.
  void SetSize(int64_t NewSize) override;
  /// Empties the stream.
  void Clear();

  /// Replaces the contents with all of Stream (read from its start); the position goes
  /// to 0. When reading fails the contents stay as they were.
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  /// Writes the whole contents at Stream's position.
  void SaveToStream(TStream* Stream) const;
  /// Saves through a temporary file, so a failed save leaves the old file whole.
  void SaveToFile(const String& FileName) const;

 protected:
  /// Storage shared with TStringStream, which hands it out as text.
  String FData;
  int64_t FPosition = 0;

 private:
  void Resize(int64_t NewSize);
};

}  // namespace bw
