#pragma once
// Drawing one frame of a GIF image: its rendered bitmap and mask, its palette, its place in
// a target rectangle, and the stretched, masked or tiled copy of it on a canvas.

#include <functional>

#include "gif/GIFImage.h"
#include "gif/GIFRenderHook.h"
#include "platform/Bitmap.h"
#include "platform/MaskBitmap.h"

namespace corvane {

class TCanvas;

// The rendered frame, an 8-bit bitmap of the frame's size, built on first use; none for a
// blank frame or when a progress handler cancelled the rendering.
TBitmap* FrameBitmap(TGIFSubImage& frame);
// Renders again when the mask is pending; answers whether the frame has a mask.
bool EnsureMask(TGIFSubImage& frame);
// Bit 1 where a pixel is transparent; none when no pixel is, or before rendering.
const TMaskBitmap* FrameMask(const TGIFSubImage& frame);
// The rendered bitmap's palette, else the frame's own (the web palette when the image
// dithers, else its local table's), else the image's when it has a global table, else
// 256 black entries: viewers show a frame without any table black.
TPalette FramePalette(TGIFSubImage& frame);
// The frame's place on the logical screen scaled into rect; empty for an image without area.
TRect FrameTargetRect(const TGIFSubImage& frame, const TRect& rect);
// Draws the frame scaled to its place in rect or, tiled, at its own size in every copy of
// the picture laid out from rect's top-left corner. Transparent pixels keep the target
// when transparent is asked for.
void DrawFrame(TGIFSubImage& frame, TCanvas& canvas, const TRect& rect, bool tile, bool transparent);
// The frame's area in each copy of the picture laid out from rect's top-left corner at the
// image's size, column by column, while the area starts inside rect.
void ForEachTile(const TGIFSubImage& frame, const TRect& rect, const std::function<void(const TRect& area)>& visit);
// A bitmap target receives the rendered frame (an empty bitmap for a blank frame); false
// for any other target.
bool CopyFrameTo(TGIFSubImage& frame, TPersistent& target);

}  // namespace corvane
