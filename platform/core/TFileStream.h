#pragma once
// A stream over a named file that it opens itself and closes when freed.

#include "platform/core/THandleStream.h"

namespace bw {

/// Open modes: one access mode, optionally or-ed with a share mode. fmCreate creates the
/// file or empties an existing one, and opens it for reading and writing.
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
inline constexpr uint16_t fmCreate = 0xFF00;
/// Share modes are accepted for compatibility; the system does not lock files.
inline constexpr uint16_t fmShareCompat = 0x0000;
inline constexpr uint16_t fmShareExclusive = 0x0010;
inline constexpr uint16_t fmShareDenyWrite = 0x0020;
inline constexpr uint16_t fmShareDenyRead = 0x0030;
inline constexpr uint16_t fmShareDenyNone = 0x0040;

class TFileStream : public THandleStream {
  BW_CLASS(TFileStream, THandleStream)

 public:
  /// Opens FileName. Failing to create raises EFCreateError, failing to open raises
  /// EFOpenError; both name the file and give the system's reason.
  TFileStream(const String& FileName, uint16_t Mode);
  ~TFileStream() override;

  const String& FileName() const { return FName; }
};

}  // namespace bw
