#include "UnavailablePicture.h"

#include "platform/Exceptions.h"

namespace corvane {

std::unique_ptr<TBitmap> TUnavailablePicture::Decode(std::span<const uint8_t>) { throw EInvalidGraphic(FReason); }

}  // namespace corvane
