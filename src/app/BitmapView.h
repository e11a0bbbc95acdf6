#pragma once
// Shows a TBitmap to Qt: a QImage over the bitmap's own rows, without copying pixels.

#include <QImage>

#include "platform/Bitmap.h"

namespace corvane {

// Valid while the bitmap keeps its size and format; a null image for an empty bitmap.
QImage BitmapImage(const TBitmap& bitmap);

}  // namespace corvane
