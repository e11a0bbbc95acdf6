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

namespace {

// The description a dialog shows with the patterns hidden: the text before the last
// parentheses.
QString Description(const QString& filter) {
  qsizetype open = filter.lastIndexOf('(');
  return open < 0 ? QString() : filter.left(open).simplified();
}

}  // namespace

int ChosenFilterIndex(const QStringList& filters, const QString& chosen) {
  for (qsizetype i = 0; i < filters.size(); ++i)
    if (chosen == filters[i] || chosen == filters[i].simplified()) return int(i) + 1;
  for (qsizetype i = 0; i < filters.size(); ++i)
    if (chosen == Description(filters[i])) return int(i) + 1;
  return 0;
}

QString KeepSpaceRuns(const QString& filter) {
  constexpr QChar kZeroWidthSpace(0x200B);
  QString kept;
  for (qsizetype i = 0; i < filter.size(); ++i) {
    kept += filter[i];
    if (filter[i] == ' ' && i + 1 < filter.size() && filter[i + 1] == ' ') kept += kZeroWidthSpace;
  }
  return kept;
}

}  // namespace corvane
