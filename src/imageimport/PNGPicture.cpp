#include "PNGPicture.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <strings.h>
#include <vector>

#include "platform/Exceptions.h"

namespace corvane {

namespace {

// The file in memory as libpng reads it, and the first error libpng raised.
struct TPngSource {
  std::span<const uint8_t> Bytes;
  size_t Position = 0;
  std::string Error;
};

void ReadProc(png_structp png, png_bytep out, size_t length) {
  auto& source = *static_cast<TPngSource*>(png_get_io_ptr(png));
  if (length > source.Bytes.size() - source.Position) png_error(png, "file ends early");
  std::copy_n(source.Bytes.data() + source.Position, length, out);
  source.Position += length;
}

void OnError(png_structp png, png_const_charp message) {
  auto& source = *static_cast<TPngSource*>(png_get_error_ptr(png));
  if (source.Error.empty()) source.Error = message;
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// libpng's read and info structures, freed on every way out.
// The library allocates the length a text or profile chunk declares before reading it, up to
// 2 GB from a few bytes of file. No block it needs for a picture this reader takes is near this
// size; a larger request fails, and the library skips the chunk with a warning.
constexpr png_alloc_size_t kMaxPngAllocation = png_alloc_size_t(64) << 20;

png_voidp BoundedMalloc(png_structp, png_alloc_size_t size) {
  return size > kMaxPngAllocation ? nullptr : std::malloc(size);
}

void PngFree(png_structp, png_voidp block) { std::free(block); }

struct TPngReader {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  explicit TPngReader(TPngSource& source) {
    Png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &source, &OnError, &OnWarning, nullptr, &BoundedMalloc,
                                   &PngFree);
    if (Png) Info = png_create_info_struct(Png);
    if (!Png || !Info) throw EOutOfMemory("PNG reader cannot be set up: out of memory");
  }
  ~TPngReader() { png_destroy_read_struct(&Png, &Info, nullptr); }
};

// Every colour type and depth as 8-bit straight RGBA. No gamma, chromaticity or ICC
// profile is applied: the samples are shown as stored. Returns the number of passes.
int AskForRgba8(png_structp png, png_infop info) {
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return passes;
}

void ComposeRow(const uint8_t* rgba, uint8_t* bgr, int width) {
  for (int x = 0; x < width; ++x, rgba += 4, bgr += 3)
    for (int c = 0; c < 3; ++c) bgr[c] = OntoWhite(rgba[2 - c], rgba[3]);
}

// The steps that may end in a longjmp: they hold nothing that needs a destructor.
bool ReadHeader(TPngReader& reader, png_uint_32& width, png_uint_32& height) {
  if (setjmp(png_jmpbuf(reader.Png))) return false;
  png_set_read_fn(reader.Png, png_get_error_ptr(reader.Png), &ReadProc);
  png_read_info(reader.Png, reader.Info);
  width = png_get_image_width(reader.Png, reader.Info);
  height = png_get_image_height(reader.Png, reader.Info);
  return true;
}

bool ReadPixels(TPngReader& reader, TBitmap& bitmap, uint8_t* rows, bool interlaced) {
  if (setjmp(png_jmpbuf(reader.Png))) return false;
  int passes = AskForRgba8(reader.Png, reader.Info);
  int width = bitmap.Width(), height = bitmap.Height();
  size_t rowBytes = size_t(width) * 4;
  if (interlaced) {
    // Every pass adds pixels to every row: the whole picture is held until the last one.
    for (int pass = 0; pass < passes; ++pass)
      for (int y = 0; y < height; ++y) png_read_row(reader.Png, rows + size_t(y) * rowBytes, nullptr);
    for (int y = 0; y < height; ++y) ComposeRow(rows + size_t(y) * rowBytes, bitmap.ScanLine(y), width);
  } else {
    for (int y = 0; y < height; ++y) {
      png_read_row(reader.Png, rows, nullptr);
      ComposeRow(rows, bitmap.ScanLine(y), width);
    }
  }
  png_read_end(reader.Png, nullptr);
  return true;
}

// After ReadHeader: skips the pixels, which libpng still inflates, to the chunks after them.
bool ReadChunksAfterPixels(TPngReader& reader) {
  if (setjmp(png_jmpbuf(reader.Png))) return false;
  png_start_read_image(reader.Png);
  png_read_end(reader.Png, reader.Info);
  return true;
}

[[noreturn]] void Fail(const TPngSource& source) {
  throw EInvalidGraphic("PNG picture cannot be read: " + (source.Error.empty() ? "damaged file" : source.Error));
}

}  // namespace

std::unique_ptr<TBitmap> DecodePNG(std::span<const uint8_t> bytes) {
  TPngSource source{bytes, 0, {}};
  TPngReader reader(source);
  png_uint_32 width = 0, height = 0;
  if (!ReadHeader(reader, width, height)) Fail(source);
  CheckPictureSize(width, height, "PNG");
  auto bitmap = std::make_unique<TBitmap>(int(width), int(height), TPixelFormat::pf24bit);
  bool interlaced = png_get_interlace_type(reader.Png, reader.Info) != PNG_INTERLACE_NONE;
  std::vector<uint8_t> rows(size_t(width) * 4 * (interlaced ? height : 1));
  if (!ReadPixels(reader, *bitmap, rows.data(), interlaced)) Fail(source);
  return bitmap;
}

TPictureMetadata ReadPngMetadata(std::span<const uint8_t> bytes) {
  TPngSource source{bytes, 0, {}};
  TPngReader reader(source);
  png_uint_32 width = 0, height = 0;
  if (!ReadHeader(reader, width, height)) Fail(source);
  // Skipping the pixels costs what reading them does.
  CheckPictureSize(width, height, "PNG");
  if (!ReadChunksAfterPixels(reader)) Fail(source);
  TPictureMetadata metadata;
  png_charp name = nullptr;
  int compression = 0;
  png_bytep profile = nullptr;
  png_uint_32 profileBytes = 0;
  if (png_get_iCCP(reader.Png, reader.Info, &name, &compression, &profile, &profileBytes) != 0)
    metadata.Icc.assign(profile, profile + profileBytes);
  png_uint_32 exifBytes = 0;
  png_bytep exif = nullptr;
  if (png_get_eXIf_1(reader.Png, reader.Info, &exifBytes, &exif) != 0) metadata.Exif.assign(exif, exif + exifBytes);
  png_textp texts = nullptr;
  int count = 0;
  png_get_text(reader.Png, reader.Info, &texts, &count);
  for (int i = 0; i < count; ++i)
    if (::strcasecmp(texts[i].key, "Comment") == 0) metadata.Comments.emplace_back(texts[i].text ? texts[i].text : "");
  return metadata;
}

}  // namespace corvane
