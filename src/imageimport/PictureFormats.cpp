#include "PictureFormats.h"

#include "AutodeskPicture.h"
#include "BMPPicture.h"
#include "EMFPicture.h"
#include "GIFPicture.h"
#include "ICOPicture.h"
#include "JPEGFilePicture.h"
#include "MagickPicture.h"
#include "PCXPicture.h"
#include "PNGPicture.h"
#include "PSDPicture.h"
#include "RLAPicture.h"
#include "TGAPicture.h"
#include "TIFFPicture.h"
#include "UnavailablePicture.h"
#include "platform/PictureRegistry.h"

namespace corvane {

namespace {

struct TMagickFormat {
  const char* Extension;
  const char* Coder;
  const char* Format;  // in error messages
  const char* Description;
};

// Each extension names its coder.
constexpr TMagickFormat kMagickFormats[] = {
    {"wmf", "WMF", "Windows metafile", "Metafiles"},
    {"pcd", "PCD", "Kodak Photo-CD", "Kodak Photo-CD images"},
    {"ppm", "PPM", "Portable pixmap", "Portable pixel/gray map images"},
    {"pgm", "PGM", "Portable graymap", "Portable pixel/gray map images"},
    {"pbm", "PBM", "Portable bitmap", "Portable pixel/gray map images"},
    {"bw", "SGI", "SGI", "SGI images"},
    {"rgb", "SGI", "SGI", "SGI images"},
    {"rgba", "SGI", "SGI", "SGI images"},
    {"sgi", "SGI", "SGI", "SGI images"},
};

struct TUnavailableFormat {
  const char* Extension;
  const char* Description;
  const char* Reason;
};

constexpr TUnavailableFormat kUnavailableFormats[] = {
    {"psp", "Paintshop Pro images", "Paint Shop Pro pictures (.psp) cannot be read: no reader for this format is available"},
    {"pal", "Dr. Halo images",
     "A Dr. Halo palette (.pal) holds colours, not a picture: open the .cut picture that uses it"},
};

}  // namespace

void RegisterAllPictureFormats() {
  for (const char* extension : {"jpeg", "jpg", "jpe"})
    RegisterFileFormat(extension, "JPEG Image File", [] { return std::make_unique<TJPEGFilePicture>(); });
  for (const char* extension : {"bmp", "rle", "dib"})
    RegisterFileFormat(extension, "Bitmap", [] { return std::make_unique<TBMPPicture>(); });
  for (const char* extension : {"ico", "cur"})
    RegisterFileFormat(extension, "Icons", [] { return std::make_unique<TICOPicture>(); });
  RegisterFileFormat("gif", "GIF Image", [] { return std::make_unique<TGIFPicture>(); });
  RegisterFileFormat("png", "PNG", [] { return std::make_unique<TPNGPicture>(); });
  for (const char* extension : {"tif", "tiff"})
    RegisterFileFormat(extension, "TIFF images", [] { return std::make_unique<TTIFFPicture>(); });
  for (const TMagickFormat& f : kMagickFormats)
    RegisterFileFormat(f.Extension, f.Description, [f] { return std::make_unique<TMagickPicture>(f.Coder, f.Format); });
  RegisterFileFormat("cut", "Dr. Halo images", [] { return std::make_unique<TDrHaloPicture>(); });
  for (const char* extension : {"pcx", "pcc", "scr"})
    RegisterFileFormat(extension, "ZSoft Paintbrush images", [] { return std::make_unique<TPCXPicture>(); });
  for (const char* extension : {"psd", "pdd"})
    RegisterFileFormat(extension, "Photoshop images", [] { return std::make_unique<TPSDPicture>(); });
  for (const char* extension : {"rla", "rpf"})
    RegisterFileFormat(extension, "SGI Wavefront images", [] { return std::make_unique<TRLAPicture>(); });
  RegisterFileFormat("emf", "Metafiles", [] { return std::make_unique<TEMFPicture>(); });
  for (const char* extension : {"tga", "vst", "icb", "vda", "win"})
    RegisterFileFormat(extension, "Truevision images", [] { return std::make_unique<TTGAPicture>(); });
  for (const char* extension : {"cel", "pic"})
    RegisterFileFormat(extension, "Autodesk images", [] { return std::make_unique<TAutodeskPicture>(); });
  for (const TUnavailableFormat& f : kUnavailableFormats)
    RegisterFileFormat(f.Extension, f.Description, [f] { return std::make_unique<TUnavailablePicture>(f.Reason); });
}

}  // namespace corvane
