#include "FileFilter.h"

#include <array>
#include <utility>

namespace corvane {

QString AllGraphicsOpenFilter() {
  static const std::array<std::pair<const char*, const char*>, 18> entries{{
      {"All Graphics",
       "*.bmp; *.rle; *.dib; *.jpeg; *.jpg; *.jpe; *.ico; *.gif;*.png; *.pcd; *.psd; *.pdd; *.psp; *.tif; "
       "*.tiff; *.emf; *.wmf;*.bw; *.rgb; *.rgba; *.sgi; *.cel; *.pic; *.tga; *.vst; *.icb; *.vda; *.win;*.pcx; "
       "*.pcc; *.scr; *.ppm; *.pgm; *.pbm; *.cut; *.pal; *.rla; *.rpf"},
      {"Bitmap      (*.bmp; *.rle; *.dib)", "*.bmp; *.rle; *.dib"},
      {"JPEG        (*.jpg; *.jpeg; *.jpe)", "*.jpeg;*.jpg;*.jpe"},
      {"Icons       (*.ico)", "*.ico"},
      {"Metafiles   (*.emf, *.wmf)", "*.emf; *.wmf"},
      {"GIF         (*.gif)", "*.gif"},
      {"Kodak Photo-CD images (*.pcd)", "*.pcd"},
      {"Photoshop images (*.psd, *.pdd)", "*.psd; *.pdd"},
      {"Paintshop Pro images (*.psp)", "*.psp"},
      {"PNG (*.png)", "*.png"},
      {"TIFF images (*.tif; *.tiff)", "*.tif; *.tiff"},
      {"Portable pixel/gray map images (*.ppm; *.pbm; *.pgm)", "*.ppm; *.pgm; *.pbm"},
      {"Autodesk images (*.cel, *.pic)", "*.cel; *.pic"},
      {"Truevision images (*.tga; *.vds; *.icb; *.vst; *.win)", "*.tga; *.vst; *.icb; *.vda; *.win"},
      {"SGI images (*.bw, *.rgba, *.rgb, *.sgi)", "*.bw; *.rgb; *.rgba; *.sgi"},
      {"Dr. Halo images (*.cut; *.pal)", "*.cut; *.pal"},
      {"ZSoft Paintbrush images (*.pcx; *.pcc; *.scr)", "*.pcx; *.pcc; *.scr"},
      {"SGI Wavefront images (*.rla; *.rpf)", "*.rla; *.rpf"},
  }};
  QStringList parts;
  for (const auto& [description, patterns] : entries) parts << description << patterns;
  return parts.join('|');
}

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) patterns << pattern.trimmed();
    // Qt reads the patterns from the last parentheses, so the description stays whole.
    result << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return result;
}

}  // namespace corvane
