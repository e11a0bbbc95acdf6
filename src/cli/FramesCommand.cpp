// corvane frames: plays a GIF animation as the program shows it, on a clock that does not
// wait, and writes every picture shown as a PNG file.

#include <png.h>

#include <charconv>
#include <cinttypes>
#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <ostream>

#include "ArgParser.h"
#include "Command.h"
#include "GifLoader.h"
#include "gifrender/GIFImageDrawing.h"
#include "gifrender/GIFPlayback.h"
#include "platform/Canvas.h"
#include "platform/FileUtils.h"

namespace corvane::cli {

namespace {

struct TSize {
  int Width = 0;
  int Height = 0;
};

TSize ParseSize(const std::string& text) {
  int width = 0, height = 0;
  const char* end = text.data() + text.size();
  auto [x, widthError] = std::from_chars(text.data(), end, width);
  bool valid = widthError == std::errc() && x != end && *x == 'x';
  if (valid) {
    auto [rest, heightError] = std::from_chars(x + 1, end, height);
    valid = heightError == std::errc() && rest == end;
  }
  if (!valid || width < 1 || height < 1 || int64_t(width) * height > kMaxBitmapPixels)
    throw UsageError("--size wants WIDTHxHEIGHT, both at least 1, such as 320x200; not '" + text + "'");
  return {width, height};
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

// libpng reports errors by jumping back here; nothing between the jump and its target
// needs destroying.
bool WritePng(std::vector<uint8_t>& out, const std::vector<png_bytep>& rows, int width, int height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendBytes, FlushNothing);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

// A 24-bit bitmap as a PNG file image.
std::vector<uint8_t> EncodePng(const TBitmap& bitmap) {
  std::vector<png_bytep> rows(size_t(bitmap.Height()));
  // libpng only reads the rows it writes.
  for (int y = 0; y < bitmap.Height(); ++y) rows[size_t(y)] = const_cast<png_bytep>(bitmap.ScanLine(y));
  std::vector<uint8_t> bytes;
  if (!WritePng(bytes, rows, bitmap.Width(), bitmap.Height())) throw std::runtime_error("Cannot encode a PNG picture");
  return bytes;
}

// Writes the pictures shown, stretched to the output size as a picture control shows the
// still bitmap; 24-bit pictures of that size as they are. The copy counts against the image's
// memory budget.
class TPictureWriter {
 public:
  TPictureWriter(const std::filesystem::path& directory, TSize size, const TGIFImage& image, std::ostream& out)
      : FDirectory(directory), FSize(size), FImage(image), FOut(out) {}

  void Write(const TBitmap& picture, int frameIndex, int frameCount, int64_t time) {
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%" PRId64 "ms.png", FCount, time);
    WriteFileAtomically(FDirectory / name, EncodePng(Output(picture)));
    FOut << "picture " << FCount << ": frame " << frameIndex + 1 << " of " << frameCount << " at " << time << " ms, "
         << name << "\n";
    ++FCount;
  }

 private:
  const TBitmap& Output(const TBitmap& picture) {
    if (picture.PixelFormat() == TPixelFormat::pf24bit && picture.Width() == FSize.Width &&
        picture.Height() == FSize.Height)
      return picture;
    if (FOutput.Empty()) {
      FOutputReserved = ReserveBitmap(FImage, FSize.Width, FSize.Height, TPixelFormat::pf24bit);
      FOutput.SetSize(FSize.Width, FSize.Height);
    }
    TRect whole = Bounds(0, 0, FOutput.Width(), FOutput.Height());
    FOutput.Canvas().CopyRect(whole, picture, Bounds(0, 0, picture.Width(), picture.Height()));
    return FOutput;
  }

  std::filesystem::path FDirectory;
  TSize FSize;
  const TGIFImage& FImage;
  TGIFBudgetReservation FOutputReserved;
  TBitmap FOutput;
  std::ostream& FOut;
  int FCount = 0;
};

int RunFrames(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ParsedArgs parsed = Parse(args, {{{"--size"}, true}, {{"--max-memory"}, true}});
  if (parsed.Positional().size() != 2) throw UsageError("expected a GIF file and an output directory");
  const std::string& input = parsed.Positional()[0];
  const std::filesystem::path directory = parsed.Positional()[1];
  TGIFRunBudget budget(MemoryBudgetOption(parsed));
  TGIFImage image;
  LoadGifFileWarningTo(image, input, err, "frames");
  CheckPlayable(image);
  TSize size{image.Width(), image.Height()};
  if (auto text = parsed.Value("--size")) size = ParseSize(*text);
  if (!CreateDirectories(directory)) throw EFCreateError(directory.string());
  TPictureWriter writer(directory, size, image, out);
  PlayOnce(image, [&](const TBitmap& picture, int frame, int64_t time) {
    writer.Write(picture, frame, image.FrameCount(), time);
  });
  return 0;
}

}  // namespace

extern const Command kFramesCommand{
    "frames", "write the pictures a GIF animation shows as PNG files",
    "Usage: corvane frames [--size WxH] [--max-memory MB] FILE OUTDIR\n\n"
    "Plays the GIF file once as the program shows it, composing every frame with the disposal\n"
    "of the one before, and writes each picture shown into OUTDIR as NNNN_Tms.png: its number\n"
    "from 0 and the time it appears, in milliseconds after the first. A line per picture tells\n"
    "which frame it shows. Nothing waits: the delays are counted, not slept. Transparent parts\n"
    "show the colour the picture is restored to. A still picture gives one file.\n\n"
    "Options:\n"
    "  --size WxH       stretch the pictures to W x H pixels (default: the logical screen)\n"
    "  --max-memory MB  megabytes of pixels the file may take, its frames and the pictures\n"
    "                   drawn (default 4096); a file that needs more fails naming the sizes\n\n"
    "Exit status: 0 when every picture was written, 1 on an error, 2 for a usage error.\n",
    &RunFrames};

}  // namespace corvane::cli
