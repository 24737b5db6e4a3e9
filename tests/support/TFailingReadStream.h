#pragma once
// A stream holding Data that delivers the first Good bytes and then fails, as a file on a
// device that goes away part way through: the next read raises EReadError.

#include <algorithm>

#include "platform/core/Exception.h"
#include "platform/core/TStringStream.h"

namespace bw::testing {

class TFailingReadStream : public TStringStream {
 public:
  TFailingReadStream(const String& Data, int64_t Good) : TStringStream(Data), FGood(Good) {}

  int32_t Read(void* Buffer, int32_t Count) override {
    const int64_t left = FGood - Position();
    if (left <= 0) throw EReadError("Stream read error: the device went away");
    return TStringStream::Read(Buffer, int32_t(std::min<int64_t>(Count, left)));
  }

 private:
  int64_t FGood;
};

}  // namespace bw::testing
