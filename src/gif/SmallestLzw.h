#pragma once
// The smallest GIF LZW coding this library makes of a frame: flexible parsing with clear codes
// placed where restarting the table pays, or the default encoder's stream when that is
// shorter. For the deep optimization level: a bounded number of table look-ups per pixel,
// several times the default encoder's time.

#include <cstdint>

#include "platform/Stream.h"

namespace corvane {

// Writes one frame's coded data at the stream's position as TGIFEncoder::CompressPixels does
// (minimum code size byte, sub-blocks, zero terminator), choosing the shorter of the flexible
// stream and the default encoder's. Same arguments and errors as CompressPixels: pixels in row
// order, coded in interlace order when interlaced; minCodeSize may be below the colour table's
// depth as long as every pixel is below 1 shl max(2, minCodeSize) and below colorCount.
void CompressPixelsSmallest(TStream& stream, uint8_t minCodeSize, int width, int height,
                            bool interlaced, const uint8_t* pixels, int colorCount);

// The flexible stream alone, also where the default encoder's is shorter: for callers that
// hold the default encoder's stream already, tests and measurements; of a frame with pixels. GIFException "Color not in color table" unless every
// pixel is below 1 shl max(2, minCodeSize), and minCodeSize is at most 11.
void CompressPixelsFlexible(TStream& stream, uint8_t minCodeSize, int width, int height,
                            bool interlaced, const uint8_t* pixels);

// The byte count CompressPixelsSmallest would write, without writing.
int64_t SmallestCodedSize(uint8_t minCodeSize, int width, int height, bool interlaced,
                          const uint8_t* pixels, int colorCount);

}  // namespace corvane
