#pragma once
// The exception hierarchy of the platform. Every error raised by the platform and the
// components derives from Exception; the family of core errors is declared here with it
// because each is only a distinct type over the same message-carrying base.

#include <exception>

#include "platform/core/Types.h"

namespace bw {

class Exception : public std::exception {
 public:
  explicit Exception(String message) : FMessage(std::move(message)) {}
  const String& Message() const noexcept { return FMessage; }
  void SetMessage(String message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  String FMessage;
};

#define BW_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {             \
   public:                               \
    using Base::Base;                    \
  }

BW_DECLARE_EXCEPTION(EListError, Exception);
BW_DECLARE_EXCEPTION(EStringListError, Exception);
BW_DECLARE_EXCEPTION(EConvertError, Exception);
BW_DECLARE_EXCEPTION(EAbstractError, Exception);
BW_DECLARE_EXCEPTION(EInvalidOperation, Exception);
BW_DECLARE_EXCEPTION(EStreamError, Exception);
BW_DECLARE_EXCEPTION(EReadError, EStreamError);
BW_DECLARE_EXCEPTION(EWriteError, EStreamError);
BW_DECLARE_EXCEPTION(EFilerError, EStreamError);
BW_DECLARE_EXCEPTION(EFOpenError, EStreamError);
BW_DECLARE_EXCEPTION(EFCreateError, EStreamError);
BW_DECLARE_EXCEPTION(EComponentError, Exception);
BW_DECLARE_EXCEPTION(EClassNotFound, EFilerError);

}  // namespace bw
