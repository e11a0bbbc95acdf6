#pragma once
// Decoding of one frame's LZW-coded pixel data: the minimum code size byte, the data
// sub-blocks and their zero-length terminator.

#include <cstddef>
#include <cstdint>

#include "gif/GIFWarning.h"
#include "platform/Stream.h"

namespace corvane {

// Decodes one frame's coded data. The stream stands on the LZW minimum code size byte; pixels
// holds width*height bytes that the caller has already filled, and pixels the data never
// reaches keep that fill. Damaged but readable data is reported to warn; data that cannot be
// decoded raises GIFException, leaving the pixels decoded so far in place. On well-formed data
// the stream is left directly after the frame's zero-length terminator.
// Answers the number of pixels the data set, in the order of the stream.
size_t DecodeLzwPixels(TStream& stream, uint8_t* pixels, int width, int height, bool interlaced,
                       const TGIFWarningHook& warn);

// The most pixels that the coded data the stream stands on can set, from the length of its
// sub-blocks; the stream's position stays. A few bytes cannot fill a large frame.
int64_t LzwPixelBound(TStream& stream);

}  // namespace corvane
