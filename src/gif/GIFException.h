#pragma once

#include "platform/Exceptions.h"

namespace corvane {

// The error raised by the GIF model, reader, writer, coder and optimizer.
class GIFException : public EInvalidGraphic {
 public:
  using EInvalidGraphic::EInvalidGraphic;
};

}  // namespace corvane
