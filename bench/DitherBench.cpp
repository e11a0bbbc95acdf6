// Dithering a true-colour frame to the 216-colour web palette with Floyd-Steinberg error
// diffusion: TFloydSteinbergDitherer against ImageMagick's remap with the same dither,
// both on one thread.

#include <Magick++.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "RatioReporter.h"
#include "gifrender/FloydSteinbergDitherer.h"
#include "gifrender/IndexColors.h"
#include "gifrender/WebPalette.h"

namespace corvane {

namespace {

constexpr int kSize = 512;

// A 256-entry table of smooth colours and a frame of gradients over it, the kind of
// picture dithering is for.
struct TFrame {
  std::vector<uint8_t> Table;
  std::vector<uint8_t> Pixels;
  TFrame() : Table(256 * 3), Pixels(size_t(kSize) * kSize) {
    for (int i = 0; i < 256; ++i) {
      Table[3 * i] = uint8_t(i);
      Table[3 * i + 1] = uint8_t(255 - i);
      Table[3 * i + 2] = uint8_t((i * 7) & 255);
    }
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) Pixels[size_t(y) * kSize + x] = uint8_t((x + y) / 4 + (x * y) % 7);
  }
};

const TFrame& Frame() {
  static const TFrame frame;
  return frame;
}

void DitherCorvane(benchmark::State& state) {
  const TFrame& frame = Frame();
  TIndexColors colors = IndexColors(frame.Table);
  std::vector<uint8_t> out(frame.Pixels.size());
  for (auto _ : state) {
    TFloydSteinbergDitherer ditherer(kSize);
    for (int y = 0; y < kSize; ++y) {
      size_t row = size_t(y) * kSize;
      ditherer.DitherRow({frame.Pixels.data() + row, size_t(kSize)}, colors, -1, {out.data() + row, size_t(kSize)});
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kSize * kSize);
}

Magick::Image SourceImage() {
  const TFrame& frame = Frame();
  std::vector<uint8_t> rgb(frame.Pixels.size() * 3);
  for (size_t i = 0; i < frame.Pixels.size(); ++i)
    for (int c = 0; c < 3; ++c) rgb[3 * i + c] = frame.Table[3 * frame.Pixels[i] + c];
  return Magick::Image(kSize, kSize, "RGB", Magick::CharPixel, rgb.data());
}

Magick::Image WebPaletteImage() {
  std::vector<uint8_t> rgb;
  for (const TPaletteEntry& e : WebPalette216()->Entries) rgb.insert(rgb.end(), {e.Red, e.Green, e.Blue});
  return Magick::Image(216, 1, "RGB", Magick::CharPixel, rgb.data());
}

void DitherMagick(benchmark::State& state) {
  Magick::Image source = SourceImage();
  Magick::Image palette = WebPaletteImage();
  for (auto _ : state) {
    Magick::Image image(source);
    image.quantizeDitherMethod(MagickCore::FloydSteinbergDitherMethod);
    image.map(palette, true);
    benchmark::DoNotOptimize(image);
  }
  state.SetItemsProcessed(state.iterations() * kSize * kSize);
}

BENCHMARK(DitherCorvane)->Name("Dither/ours/512x512")->Unit(benchmark::kMillisecond);
BENCHMARK(DitherMagick)->Name("Dither/imagemagick/512x512")->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace corvane

int main(int argc, char** argv) {
  Magick::InitializeMagick(argv[0]);
  Magick::ResourceLimits::thread(1);
  return corvane::RunWithRatios(argc, argv, "imagemagick", {"Dither"}, {"512x512"});
}
