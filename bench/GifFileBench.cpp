// Loading and saving whole GIF files through the model against giflib on the same files:
// giflib slurps a file into memory and writes it back from there.

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "GiflibMemory.h"
#include "RatioReporter.h"
#include "gif/GIFImage.h"
#include "platform/FileUtils.h"

namespace corvane {
namespace {

using TBytes = std::vector<uint8_t>;

struct TFileCase {
  std::string Name;
  TBytes File;
};

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

TBytes SaveToBytes(TGIFImage& image) {
  TMemoryStream stream;
  image.SaveToStream(stream);
  return stream.TakeBytes();
}

// An animation as a drawing program writes it: full frames of soft gradients with a moving
// disc, each with a control block, under a 64-entry global table.
TBytes Animation(int width, int height, int frames) {
  TGIFImage image;
  image.SetWidth(width);
  image.SetHeight(height);
  for (int i = 0; i < 64; ++i) image.Header().GlobalTable().AppendColor(MakeColor(uint8_t(4 * i), uint8_t(255 - 4 * i), 128));
  for (int f = 0; f < frames; ++f) {
    auto frame = std::make_unique<TGIFSubImage>(image);
    frame->PlaceFrame(0, 0, width, height);
    double cx = width * (0.2 + 0.6 * f / frames), cy = height / 2.0;
    for (int y = 0; y < height; ++y) {
      uint8_t* row = frame->RowStart(y);
      for (int x = 0; x < width; ++x)
        row[x] = std::hypot(x - cx, y - cy) < height / 5.0 ? 63 : uint8_t((x / 16 + y / 12) % 48);
    }
    auto control = std::make_unique<TGIFGraphicControlExtension>(*frame);
    control->SetDelayTime(5);
    frame->Extensions().AppendMember(std::move(control));
    image.AppendFrame(std::move(frame));
  }
  return SaveToBytes(image);
}

// One photo-like frame with its own 256-entry table.
TBytes Still(int width, int height) {
  TGIFImage image;
  auto frame = std::make_unique<TGIFSubImage>(image);
  frame->PlaceFrame(0, 0, width, height);
  for (int i = 0; i < 256; ++i) frame->LocalTable().AppendColor(MakeColor(uint8_t(i), uint8_t(i / 2), uint8_t(255 - i)));
  for (int y = 0; y < height; ++y) {
    uint8_t* row = frame->RowStart(y);
    for (int x = 0; x < width; ++x) row[x] = uint8_t((x / 3 + y / 2 + (x * y) % 7) % 256);
  }
  image.AppendFrame(std::move(frame));
  return SaveToBytes(image);
}

void LoadOurs(benchmark::State& state, const TFileCase& file) {
  for (auto _ : state) {
    TGIFImage image;
    TMemoryStream stream(file.File);
    image.LoadFromStream(stream);
    benchmark::DoNotOptimize(image.FrameCount());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.File.size()));
}

GifFileType* Slurp(const TBytes& file, TGiflibMemory& memory) {
  memory.In = &file;
  int error = 0;
  GifFileType* gif = DGifOpen(&memory, ReadGiflibMemory, &error);
  Check(gif && DGifSlurp(gif) == GIF_OK, "giflib cannot read the file");
  return gif;
}

void LoadGiflib(benchmark::State& state, const TFileCase& file) {
  for (auto _ : state) {
    TGiflibMemory memory;
    GifFileType* gif = Slurp(file.File, memory);
    benchmark::DoNotOptimize(gif->ImageCount);
    int error = 0;
    DGifCloseFile(gif, &error);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.File.size()));
}

void SaveOurs(benchmark::State& state, const TFileCase& file) {
  TGIFImage image;
  TMemoryStream in(file.File);
  image.LoadFromStream(in);
  for (auto _ : state) benchmark::DoNotOptimize(SaveToBytes(image).size());
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.File.size()));
}

void PutExtensions(GifFileType* out, int count, const ExtensionBlock* blocks) {
  bool open = false;
  for (int i = 0; i < count; ++i) {
    if (blocks[i].Function != CONTINUE_EXT_FUNC_CODE) {
      if (open) Check(EGifPutExtensionTrailer(out) == GIF_OK, "extension");
      Check(EGifPutExtensionLeader(out, blocks[i].Function) == GIF_OK, "extension");
      open = true;
    }
    Check(EGifPutExtensionBlock(out, blocks[i].ByteCount, blocks[i].Bytes) == GIF_OK, "extension");
  }
  if (open) Check(EGifPutExtensionTrailer(out) == GIF_OK, "extension");
}

// Writes what giflib read, block by block; giflib codes every frame again.
void SaveGiflib(benchmark::State& state, const TFileCase& file) {
  TGiflibMemory in;
  GifFileType* gif = Slurp(file.File, in);
  for (auto _ : state) {
    TGiflibMemory memory;
    int error = 0;
    GifFileType* out = EGifOpen(&memory, WriteGiflibMemory, &error);
    EGifSetGifVersion(out, true);
    Check(EGifPutScreenDesc(out, gif->SWidth, gif->SHeight, gif->SColorResolution, gif->SBackGroundColor,
                            gif->SColorMap) == GIF_OK,
          "screen");
    for (int i = 0; i < gif->ImageCount; ++i) {
      const SavedImage& image = gif->SavedImages[i];
      const GifImageDesc& d = image.ImageDesc;
      PutExtensions(out, image.ExtensionBlockCount, image.ExtensionBlocks);
      Check(EGifPutImageDesc(out, d.Left, d.Top, d.Width, d.Height, false, d.ColorMap) == GIF_OK, "image");
      Check(EGifPutLine(out, image.RasterBits, d.Width * d.Height) == GIF_OK, "pixels");
    }
    EGifCloseFile(out, &error);
    benchmark::DoNotOptimize(memory.Out.data());
  }
  int error = 0;
  DGifCloseFile(gif, &error);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.File.size()));
}

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
  using namespace corvane;
  std::vector<TFileCase> cases;
  cases.push_back({"sample_ball", ReadWholeFile(std::filesystem::path(CORVANE_SAMPLES_DIR) / "ball.gif")});
  cases.push_back({"animation_320x240_x20", Animation(320, 240, 20)});
  cases.push_back({"still_800x600_local", Still(800, 600)});
  std::vector<std::string> names;
  for (const TFileCase& file : cases) {
    names.push_back(file.Name);
    benchmark::RegisterBenchmark(("Load/ours/" + file.Name).c_str(), LoadOurs, file);
    benchmark::RegisterBenchmark(("Load/giflib/" + file.Name).c_str(), LoadGiflib, file);
    benchmark::RegisterBenchmark(("Save/ours/" + file.Name).c_str(), SaveOurs, file);
    benchmark::RegisterBenchmark(("Save/giflib/" + file.Name).c_str(), SaveGiflib, file);
  }
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter("giflib");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios({"Load", "Save"}, names);
  benchmark::Shutdown();
  return 0;
}
