#pragma once
// Drawing a whole GIF image: its palette, the still bitmap that holds the picture as shown,
// and the bitmaps drawn of it, reserved through the image's budget account.

#include "gif/GIFImage.h"
#include "gif/GIFRenderHook.h"
#include "platform/Bitmap.h"

namespace corvane {

class TCanvas;

// What the renderer keeps of an image: the still picture of the whole image and whether a
// drawing of it runs.
class TStillPicture final : public TGIFImageDrawing {
 public:
  std::unique_ptr<TBitmap> Bitmap;
  TGIFBudgetReservation Reserved;
  bool DrawBusy = false;
};

// The image's drawings, made on first use.
TStillPicture& StillPicture(TGIFImage& image);

// Whether frames are rendered dithered to the web palette.
bool NeedsDither(const TGIFImage& image);
// What painters fill restored areas with: FDrawFillColor when set, else the desktop's
// window colour without a global table, else the background entry of the global table.
TColor PaintFillColor(const TGIFImage& image);
// The still bitmap's palette, else the web palette when dithering, else the global
// table's, else the first frame's.
TPalette ImagePalette(TGIFImage& image);
// Reserves through the image's account the bytes of a bitmap of that size and format.
TGIFBudgetReservation ReserveBitmap(const TGIFImage& image, int width, int height, TPixelFormat format);

// The picture as shown when no animation runs: frame 0 on the logical screen. None for an
// empty image.
TBitmap* StillBitmap(TGIFImage& image);
// A new still bitmap of the image's size and palette, filled with PaintFillColor.
TBitmap& BlankStillBitmap(TGIFImage& image);
// Stops the active painter and frees the still bitmap.
void DropStill(TGIFImage& image);
// Stretches the still bitmap into rect, or with dfTile repeats it from rect's corner.
void DrawStill(TGIFImage& image, TCanvas& canvas, const TRect& rect);
// Draws the first frame, or with dfAnimate plays the animation: into the still bitmap,
// which is then drawn here and on every later call, or with dfDirect straight onto the
// canvas. A threaded animation is drawn on the user-interface thread only.
void DrawImage(TGIFImage& image, TCanvas& canvas, const TRect& rect);
// A bitmap target receives the still bitmap (an empty one for an empty image); false for
// any other target.
bool CopyImageTo(TGIFImage& image, TPersistent& target);

}  // namespace corvane
