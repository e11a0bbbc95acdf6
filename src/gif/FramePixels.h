#pragma once
// The frame-level pixel coding: fills a frame's pixel buffer from its coded data and writes
// its pixels as coded data, with the code size and colour count taken from its tables.

#include "platform/Stream.h"

namespace corvane {

class TGIFSubImage;

// Decodes the data the stream stands on into the frame's pixels. Viewers leave what the data
// never reaches as it was, so the frame keeps only the rows the data reaches: memory goes to
// what the length of the data can fill, not to the declared size. The rest of the last row
// holds the transparent index when the frame has one. Answers whether the data set every pixel
// of the declared frame.
bool DecodeFramePixels(TGIFSubImage& frame, TStream& stream);
// Codes the frame's pixels with the image's pixel coder.
void EncodeFramePixels(TGIFSubImage& frame, TStream& stream);

}  // namespace corvane
