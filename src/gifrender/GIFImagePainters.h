#pragma once
// Starting and stopping the animation painters of an image.

#include <cstdint>

#include "gif/GIFImage.h"

namespace corvane {

class TCanvas;

// Makes a painter for (canvas, rect) and keeps it in slot; none for an empty image or
// rectangle. A threaded painter waits for ResumePainter; a non-threaded one plays here,
// and what stopped it is raised here.
void StartPainter(TGIFImage& image, TGIFPainter*& slot, TCanvas& canvas, uint16_t flags, const TRect& rect);
// Stops the active painter, waiting for a threaded one to end, and drops the still bitmap.
void StopActivePainter(TGIFImage& image);
// Stops every painter and waits until no threaded one is left, then drops the still
// bitmap; on the user-interface thread.
void StopPainters(TGIFImage& image);
// The image goes away: its painters let go of it.
void ForgetPainters(TGIFImage& image);

}  // namespace corvane
