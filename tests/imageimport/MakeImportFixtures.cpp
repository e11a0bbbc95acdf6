// Writes the pictures the import tests read, with ImageMagick's own writers, into the
// directory named on the command line. It runs as a process of its own so that the
// readers' restricted ImageMagick set-up in the test program stays untouched.
//
// Every picture is 7 × 5 pixels: red 36·x, green 50·y, blue 200 − 20·x; the files with
// an alpha channel make pixel (0, 0) fully transparent and pixel (1, 0) half transparent.

#include <Magick++.h>

#include <iostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

Magick::Image StandardPicture(bool alpha) {
  Magick::Image image(Magick::Geometry(7, 5), Magick::Color(0, 0, 0));
  if (alpha) image.matte(true);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      Magick::ColorRGB color((36.0 * x) / 255, (50.0 * y) / 255, (200.0 - 20 * x) / 255);
      if (alpha && y == 0 && x < 2) color.alpha(x == 0 ? 1.0 : 0.5);  // in ImageMagick 6 this is the transparency
      image.pixelColor(size_t(x), size_t(y), color);
    }
  image.type(alpha ? Magick::TrueColorMatteType : Magick::TrueColorType);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_import_fixtures DIRECTORY\n";
    return 2;
  }
  Magick::InitializeMagick(argv[0]);
  std::string dir = argv[1];
  // file name, coder, with alpha
  const std::vector<std::tuple<std::string, std::string, bool>> files = {
      {"picture.bmp", "BMP3", false}, {"picture.rle", "BMP3", false}, {"picture.dib", "BMP3", false},
      {"picture.ico", "ICO", false},  {"picture.pcx", "PCX", false},  {"picture.pcc", "PCX", false},
      {"picture.scr", "PCX", false},  {"picture.psd", "PSD", false},  {"picture.pdd", "PSD", false},
      {"picture.tga", "TGA", false},  {"picture.vst", "TGA", false},  {"picture.icb", "TGA", false},
      {"picture.vda", "TGA", false},  {"picture.win", "TGA", false},  {"picture.rgb", "SGI", false},
      {"picture.rgba", "SGI", false}, {"picture.sgi", "SGI", false},  {"picture.bw", "SGI", false},
      {"picture.ppm", "PPM", false},  {"picture.pgm", "PGM", false},  {"picture.pbm", "PBM", false},
      {"picture.pcd", "PCD", false},  {"picture.png", "PNG", false},  {"picture.tif", "TIFF", false},
      {"picture.tiff", "TIFF", false}, {"alpha.png", "PNG", true},    {"alpha.tif", "TIFF", true},
      {"alpha.tga", "TGA", true},
  };
  try {
    for (const auto& [name, coder, alpha] : files) {
      Magick::Image image = StandardPicture(alpha);
      if (coder == "PGM" || name == "picture.bw") image.type(Magick::GrayscaleType);
      if (coder == "PBM") image.type(Magick::BilevelType);
      // ImageMagick 6 writes Targa rows top first under a bottom-left origin, so the
      // picture goes in upside down to come out the right way up.
      if (coder == "TGA") image.flip();
      image.write(coder + ":" + dir + "/" + name);
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return 0;
}
