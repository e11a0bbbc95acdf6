#pragma once
// Decoding of one frame's LZW-coded pixel data: the minimum code size byte, the data
// sub-blocks and their zero-length terminator.

#include <cstdint>

#include "gif/GIFWarning.h"
#include "platform/Stream.h"

namespace corvane {

// Decodes one frame's coded data. The stream stands on the LZW minimum code size byte; pixels
// holds width*height bytes that the caller has already filled, and pixels the data never
// reaches keep that fill. Damaged but readable data is reported to warn; data that cannot be
// decoded raises GIFException, leaving the pixels decoded so far in place. On well-formed data
// the stream is left directly after the frame's zero-length terminator.
void DecodeLzwPixels(TStream& stream, uint8_t* pixels, int width, int height, bool interlaced,
                     const TGIFWarningHook& warn);

}  // namespace corvane
