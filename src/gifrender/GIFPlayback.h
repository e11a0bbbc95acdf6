#pragma once
// Playing an animation once as the program shows it, without waiting: a non-threaded
// painter on a virtual clock composes the pictures in the still bitmap, and each picture
// shown is handed on as it appears.

#include <cstdint>
#include <functional>

#include "platform/Bitmap.h"

namespace corvane {

class TGIFImage;

// picture is the still bitmap at the logical screen's size; frame the frame just shown;
// time the milliseconds since the first picture.
using TPictureShown = std::function<void(const TBitmap& picture, int frame, int64_t time)>;

// GIFException for an image without frames or without area, or one too large to draw.
void CheckPlayable(const TGIFImage& image);

// Plays one pass of the image with its drawing flags otherwise as they are, once
// CheckPlayable has passed. Areas nothing covers show PaintFillColor. A still picture, or
// one frame, gives one picture.
void PlayOnce(TGIFImage& image, const TPictureShown& shown);

}  // namespace corvane
