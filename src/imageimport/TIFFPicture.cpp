#include "TIFFPicture.h"

#include <tiffio.h>

#include <algorithm>
#include <vector>

#include "MagickPicture.h"
#include "platform/Exceptions.h"

namespace corvane {

namespace {

// Most memory libtiff may take in one allocation (a strip or tile buffer).
constexpr tmsize_t kMaxTiffAllocation = tmsize_t(256) << 20;
// Rows converted per call, so that only this band is held in libtiff's RGBA form.
constexpr uint32_t kRowsPerBand = 256;

// The file in memory as libtiff reads it, with the first error it reported.
struct TTiffSource {
  std::span<const uint8_t> Bytes;
  uint64_t Position = 0;
  std::string Error;
};

TTiffSource& SourceOf(thandle_t handle) { return *static_cast<TTiffSource*>(handle); }

tsize_t ReadProc(thandle_t handle, tdata_t buffer, tsize_t size) {
  TTiffSource& source = SourceOf(handle);
  if (size <= 0 || source.Position >= source.Bytes.size()) return 0;
  size_t n = std::min<uint64_t>(uint64_t(size), source.Bytes.size() - source.Position);
  std::copy_n(source.Bytes.data() + source.Position, n, static_cast<uint8_t*>(buffer));
  source.Position += n;
  return tsize_t(n);
}

tsize_t WriteProc(thandle_t, tdata_t, tsize_t) { return 0; }

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  TTiffSource& source = SourceOf(handle);
  uint64_t base = whence == SEEK_CUR ? source.Position : whence == SEEK_END ? source.Bytes.size() : 0;
  if (offset > UINT64_MAX - base) return toff_t(-1);
  source.Position = base + offset;
  return source.Position;
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t handle) { return SourceOf(handle).Bytes.size(); }
int MapProc(thandle_t, tdata_t*, toff_t*) { return 0; }
void UnmapProc(thandle_t, tdata_t, toff_t) {}

int OnError(TIFF*, void* user, const char* module, const char* format, va_list args) {
  auto& source = *static_cast<TTiffSource*>(user);
  if (source.Error.empty()) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    source.Error = std::string(module ? module : "TIFF") + ": " + text;
  }
  return 1;  // handled: nothing goes to the process-wide handler
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TTiffFile {
  TIFF* Handle = nullptr;
  ~TTiffFile() {
    if (Handle) TIFFClose(Handle);
  }
};

struct TTiffOptions {
  TIFFOpenOptions* Options = TIFFOpenOptionsAlloc();
  ~TTiffOptions() { TIFFOpenOptionsFree(Options); }
};

struct TRgbaReader {
  TIFFRGBAImage Image{};
  bool Begun = false;
  ~TRgbaReader() {
    if (Begun) TIFFRGBAImageEnd(&Image);
  }
};

[[noreturn]] void Fail(const TTiffSource& source, const char* fallback) {
  throw EInvalidGraphic("TIFF picture cannot be read: " + (source.Error.empty() ? std::string(fallback) : source.Error));
}

// libtiff's RGBA interface takes 1 to 16-bit integer samples only; ImageMagick's TIFF
// coder, over the same libtiff, also converts 12, 24 and 32-bit integers and 16, 24,
// 32 and 64-bit floats. When it cannot either, libtiff's reason is the one given.
std::unique_ptr<TBitmap> DecodeUnusualSamples(std::span<const uint8_t> bytes, const TTiffSource& source,
                                              const char* reason) {
  try {
    return DecodeWithMagick(bytes, "TIFF", "TIFF");
  } catch (const EInvalidGraphic&) {
    Fail(source, reason);
  }
}

}  // namespace

std::unique_ptr<TBitmap> TTIFFPicture::Decode(std::span<const uint8_t> bytes) {
  TTiffSource source{bytes, 0, {}};
  TTiffOptions options;
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.Options, kMaxTiffAllocation);
  TIFFOpenOptionsSetErrorHandlerExtR(options.Options, &OnError, &source);
  TIFFOpenOptionsSetWarningHandlerExtR(options.Options, &OnWarning, nullptr);
  TTiffFile file;
  // "m": never map the file; reads go through the procedures above.
  file.Handle = TIFFClientOpenExt("picture", "rm", &source, &ReadProc, &WriteProc, &SeekProc, &CloseProc, &SizeProc,
                                  &MapProc, &UnmapProc, options.Options);
  if (!file.Handle) Fail(source, "not a TIFF file");

  TRgbaReader reader;
  char message[1024] = "";
  if (!TIFFRGBAImageOK(file.Handle, message)) return DecodeUnusualSamples(bytes, source, message);
  if (!TIFFRGBAImageBegin(&reader.Image, file.Handle, 1, message)) Fail(source, message);
  reader.Begun = true;
  uint32_t width = reader.Image.width, height = reader.Image.height;
  CheckPictureSize(width, height, "TIFF");
  reader.Image.req_orientation = ORIENTATION_TOPLEFT;

  auto bitmap = std::make_unique<TBitmap>(int(width), int(height), TPixelFormat::pf24bit);
  std::vector<uint32_t> band(size_t(width) * std::min(height, kRowsPerBand));
  for (uint32_t top = 0; top < height; top += kRowsPerBand) {
    uint32_t rows = std::min(kRowsPerBand, height - top);
    reader.Image.row_offset = int(top);
    reader.Image.col_offset = 0;
    if (!TIFFRGBAImageGet(&reader.Image, band.data(), width, rows)) Fail(source, "damaged picture data");
    for (uint32_t y = 0; y < rows; ++y) {
      uint8_t* out = bitmap->ScanLine(int(top + y));
      const uint32_t* in = band.data() + size_t(y) * width;
      // libtiff hands out colours premultiplied by alpha.
      for (uint32_t x = 0; x < width; ++x) {
        uint32_t p = in[x];
        uint8_t transparency = uint8_t(255 - TIFFGetA(p));
        out[3 * x] = uint8_t(std::min<uint32_t>(255, TIFFGetB(p) + transparency));
        out[3 * x + 1] = uint8_t(std::min<uint32_t>(255, TIFFGetG(p) + transparency));
        out[3 * x + 2] = uint8_t(std::min<uint32_t>(255, TIFFGetR(p) + transparency));
      }
    }
  }
  return bitmap;
}

}  // namespace corvane
