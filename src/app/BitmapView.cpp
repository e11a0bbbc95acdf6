#include "BitmapView.h"

#include <QList>

namespace corvane {

namespace {

// A full table, so that an index beyond a short palette shows black as the canvas does.
QList<QRgb> ColorTable(const TPalette& palette) {
  QList<QRgb> table(256, qRgb(0, 0, 0));
  if (!palette) return table;
  for (size_t i = 0; i < palette->Entries.size() && i < 256; ++i) {
    const TPaletteEntry& e = palette->Entries[i];
    table[qsizetype(i)] = qRgb(e.Red, e.Green, e.Blue);
  }
  return table;
}

}  // namespace

QImage BitmapImage(const TBitmap& bitmap) {
  if (bitmap.Empty()) return {};
  bool indexed = bitmap.PixelFormat() == TPixelFormat::pf8bit;
  QImage image(bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.RowStride(),
               indexed ? QImage::Format_Indexed8 : QImage::Format_BGR888);
  if (indexed) image.setColorTable(ColorTable(bitmap.PaletteRef()));
  return image;
}

}  // namespace corvane
