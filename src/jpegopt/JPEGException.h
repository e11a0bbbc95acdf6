#pragma once
// EJPEG: the error raised when libjpeg cannot code a picture, or a JPEG file is refused.

#include <string>

#include "platform/Exceptions.h"

namespace corvane {

class EJPEG : public EInvalidGraphic {
 public:
  using EInvalidGraphic::EInvalidGraphic;
  // A fatal error of libjpeg, carrying the library's message code.
  static EJPEG FromCode(int messageCode) { return EJPEG("JPEG error #" + std::to_string(messageCode)); }
};

}  // namespace corvane
