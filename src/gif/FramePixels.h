#pragma once
// The frame-level pixel coding: fills a frame's pixel buffer from its coded data and writes
// its pixels as coded data, with the code size and colour count taken from its tables.

#include "platform/Stream.h"

namespace corvane {

class TGIFSubImage;

// Allocates the frame's pixels, filled with its transparent index when it has one (what the
// data never reaches keeps that value), and decodes the data the stream stands on.
void DecodeFramePixels(TGIFSubImage& frame, TStream& stream);
// Codes the frame's pixels with the image's pixel coder.
void EncodeFramePixels(TGIFSubImage& frame, TStream& stream);

}  // namespace corvane
