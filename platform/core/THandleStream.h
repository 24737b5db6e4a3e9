#pragma once
// A stream over an open file descriptor. The descriptor belongs to the caller;
// TFileStream is the descendant that opens and closes its own.

#include "platform/core/TStream.h"

namespace bw {

class THandleStream : public TStream {
  BW_CLASS(THandleStream, TStream)

 public:
  /// AName is the file the descriptor stands for; errors name it.
  explicit THandleStream(int AHandle, String AName = {});

  int Handle() const { return FHandle; }

  /// Less than Count only at the end of the file; a failing read raises EReadError.
  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override;
  /// Truncates or extends the file; a position past the new end moves to the end.
  void SetSize(int64_t NewSize) override;
  /// Forces written data to the disk (fsync); raises EWriteError when that fails.
  void Flush();

 protected:
  String TransferErrorDetail() const override;
  /// The file name used in messages ("descriptor N" when none was given).
  String DisplayName() const;

  int FHandle;
  String FName;
  /// errno of the last failed read or write; 0 after a clean transfer or end of file.
  int FLastError = 0;
};

}  // namespace bw
