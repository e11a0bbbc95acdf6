// Composing every picture of an animation from decoded frames: a non-threaded painter on a
// virtual clock (rendering each frame and composing its disposal) against ImageMagick's
// coalesce, both on one thread.

#include <Magick++.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "RatioReporter.h"
#include "gifrender/GIFPainter.h"
#include "gifrender/GIFRenderer.h"
#include "platform/Canvas.h"
#include "support/GifBuilder.h"

namespace corvane {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kFrames = 24;
constexpr int kSprite = 64;

// A full background, then a sprite with a transparent corner that moves across it. With
// composing, the sprites alternate between restore to background and restore to previous.
test::TBytes Animation(bool composing) {
  std::vector<uint32_t> colors;
  for (int i = 0; i < 256; ++i) colors.push_back(uint32_t((i * 0x9E3779B1u) & 0xFFFFFF));
  test::TGifBuilder gif(kWidth, kHeight);
  gif.GlobalTable(8, colors).Loop(0).Control(1, 5);
  test::TBytes background(size_t(kWidth) * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) background[size_t(y) * kWidth + x] = uint8_t((x / 8 + y / 8) % 200);
  gif.Image(0, 0, kWidth, kHeight, background);
  test::TBytes sprite(size_t(kSprite) * kSprite);
  for (int y = 0; y < kSprite; ++y)
    for (int x = 0; x < kSprite; ++x) sprite[size_t(y) * kSprite + x] = x + y < 16 ? 255 : uint8_t(200 + (x ^ y) % 50);
  for (int i = 1; i < kFrames; ++i) {
    int disposal = composing ? 2 + i % 2 : 1;
    gif.Control(disposal, 5, 255).Image(i * 10, i * 7, kSprite, kSprite, sprite);
  }
  return gif.Trailer().Data();
}

void ComposeOurs(benchmark::State& state, bool composing) {
  InstallGIFRenderer();
  TGIFImage image;
  TMemoryStream stream(Animation(composing));
  image.LoadFromStream(stream);
  TVirtualClock clock;
  image.FPaintClock = &clock;
  image.DrawFlags &= uint16_t(~(dfThreaded | dfLoop));
  int pictures = 0;
  image.OnPaintAfter = [&](TGIFPainter& painter) {
    benchmark::DoNotOptimize(painter.PaintCanvas().Target().ScanLine(0));
    ++pictures;
  };
  TBitmap target(kWidth, kHeight);
  for (auto _ : state) {
    for (int i = 0; i < image.FrameCount(); ++i) {
      image.Frame(i).DropCachedBitmap();
      image.Frame(i).DropCachedMask();
    }
    image.DropStillBitmap();
    image.Draw(target.Canvas(), Bounds(0, 0, kWidth, kHeight));
  }
  if (pictures != int(state.iterations()) * kFrames) state.SkipWithError("not every picture was shown");
  state.SetItemsProcessed(state.iterations() * kFrames);
}

void ComposeMagick(benchmark::State& state, bool composing) {
  test::TBytes file = Animation(composing);
  std::vector<Magick::Image> frames;
  Magick::readImages(&frames, Magick::Blob(file.data(), file.size()));
  for (auto _ : state) {
    std::vector<Magick::Image> pictures;
    Magick::coalesceImages(&pictures, frames.begin(), frames.end());
    benchmark::DoNotOptimize(pictures.back().getConstPixels(0, 0, 1, 1));
  }
  state.SetItemsProcessed(state.iterations() * kFrames);
}

BENCHMARK_CAPTURE(ComposeOurs, sprite, false)->Name("Compose/ours/sprite")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ComposeMagick, sprite, false)->Name("Compose/imagemagick/sprite")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ComposeOurs, disposal, true)->Name("Compose/ours/disposal")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ComposeMagick, disposal, true)->Name("Compose/imagemagick/disposal")->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace corvane

int main(int argc, char** argv) {
  Magick::InitializeMagick(argv[0]);
  Magick::ResourceLimits::thread(1);
  return corvane::RunWithRatios(argc, argv, "imagemagick", {"Compose"}, {"sprite", "disposal"});
}
