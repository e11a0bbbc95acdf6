#include "VariedAnimations.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "gif/GIFImage.h"
#include "platform/Stream.h"

namespace corvane::test {

namespace {

using TPainter = std::function<uint8_t(int frame, int x, int y)>;

struct TFramePlan {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Disposal = 0;
  int Transparent = -1;
  bool Interlaced = false;
  int LocalColors = 0;  // a local table of this many entries
};

std::vector<uint8_t> Encode(TGIFImage& image) {
  TMemoryStream stream;
  image.SaveToStream(stream);
  return stream.TakeBytes();
}

void FillTable(TGIFColorMap& table, int count, uint32_t seed) {
  std::mt19937 random(seed);
  for (int i = 0; i < count; ++i)
    table.AppendColor(MakeColor(uint8_t(random()), uint8_t(random()), uint8_t(random())));
}

void AddFrame(TGIFImage& image, int index, const TFramePlan& plan, const TPainter& paint) {
  auto frame = std::make_unique<TGIFSubImage>(image);
  frame->PlaceFrame(plan.Left, plan.Top, plan.Width, plan.Height);
  if (plan.LocalColors > 0) FillTable(frame->LocalTable(), plan.LocalColors, uint32_t(index + 7));
  if (plan.Interlaced) frame->SetFrameFlags(TGIFSubImage::kInterlaced);
  for (int y = 0; y < plan.Height; ++y) {
    uint8_t* row = frame->RowStart(y);
    for (int x = 0; x < plan.Width; ++x) row[x] = paint(index, plan.Left + x, plan.Top + y);
  }
  auto control = std::make_unique<TGIFGraphicControlExtension>(*frame);
  control->SetDisposal(uint8_t(plan.Disposal));
  control->SetDelayTime(uint16_t(4 + index % 3));
  if (plan.Transparent >= 0) {
    control->SetTransparent(true);
    control->SetTransparentIndex(uint8_t(plan.Transparent));
  }
  frame->Extensions().AppendMember(std::move(control));
  if (index == 0) {
    auto loop = std::make_unique<TGIFAppExtNSLoop>(*frame);
    loop->FRepeatCount = 0;
    frame->Extensions().AppendMember(std::move(loop));
  }
  image.AppendFrame(std::move(frame));
}

// Whole-screen frames over a global table of the given size.
TGeneratedGif FullFrames(const std::string& name, int width, int height, int frames, int colors, const TPainter& paint) {
  TGIFImage image;
  image.SetWidth(width);
  image.SetHeight(height);
  FillTable(image.Header().GlobalTable(), colors, uint32_t(width * 31 + frames));
  for (int f = 0; f < frames; ++f) AddFrame(image, f, {0, 0, width, height}, paint);
  return {name, Encode(image)};
}

bool InDisc(int x, int y, double cx, double cy, double r) { return std::hypot(x - cx, y - cy) <= r; }

uint8_t Hash(int a, int b, int c) {
  uint32_t h = uint32_t(a) * 73856093u ^ uint32_t(b) * 19349663u ^ uint32_t(c) * 83492791u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  return uint8_t(h >> 15);
}

TGeneratedGif Sprites() {
  return FullFrames("sprites.gif", 320, 240, 24, 64, [](int f, int x, int y) -> uint8_t {
    if (InDisc(x, y, 40 + 10.0 * f, 120 + 60 * std::sin(f / 4.0), 18)) return 60;
    if (InDisc(x, y, 280 - 8.0 * f, 60 + 3.0 * f, 12)) return 61;
    if (x > 100 + 5 * f && x < 130 + 5 * f && y > 180 && y < 210) return 62;
    return uint8_t((x / 20 + y / 15) % 40 + (y > 200 ? 20 : 0));
  });
}

TGeneratedGif Noise() {
  return FullFrames("noise.gif", 200, 160, 12, 256, [](int f, int x, int y) -> uint8_t {
    bool still = x < 100;
    return Hash(x, y, still ? 0 : f);
  });
}

TGeneratedGif ManySmallFrames() {
  return FullFrames("small-frames.gif", 40, 40, 150, 16, [](int f, int x, int y) -> uint8_t {
    if (InDisc(x, y, 20 + 12 * std::cos(f / 8.0), 20 + 12 * std::sin(f / 8.0), 5)) return 15;
    return uint8_t((x + y) / 6 % 8);
  });
}

TGeneratedGif LargeFrames() {
  return FullFrames("large-frames.gif", 1024, 768, 8, 128, [](int f, int x, int y) -> uint8_t {
    if (x > 300 + 40 * f && x < 420 + 40 * f && y > 300 && y < 420) return uint8_t(100 + (x + y) % 8);
    return uint8_t((int(std::hypot(x - 512, y - 384)) / 9) % 90);
  });
}

TGeneratedGif LocalTables() {
  TGIFImage image;
  image.SetWidth(160);
  image.SetHeight(120);
  for (int f = 0; f < 12; ++f) {
    TFramePlan plan{0, 0, 160, 120};
    plan.LocalColors = 256;
    AddFrame(image, f, plan, [](int f, int x, int y) -> uint8_t {
      return uint8_t(((x / 8) * 13 + (y / 8) * 7 + (InDisc(x, y, 20 + 10.0 * f, 60, 15) ? 99 : 0)) % 200);
    });
  }
  return {"local-tables.gif", Encode(image)};
}

// Sub-frames with transparent pixels over a drawn background, disposals 0 to 3 in turn.
TGeneratedGif TransparentSprites() {
  TGIFImage image;
  image.SetWidth(200);
  image.SetHeight(150);
  FillTable(image.Header().GlobalTable(), 32, 5);
  AddFrame(image, 0, {0, 0, 200, 150}, [](int, int x, int y) { return uint8_t((x / 10 + y / 10) % 30); });
  for (int f = 1; f < 20; ++f) {
    TFramePlan plan{10 + 7 * f, 20 + 3 * f, 40, 40};
    plan.Disposal = f % 4;
    plan.Transparent = 31;
    AddFrame(image, f, plan, [&](int, int x, int y) -> uint8_t {
      return InDisc(x, y, plan.Left + 20, plan.Top + 20, 14) ? uint8_t(30 - f % 5) : 31;
    });
  }
  return {"transparent-sprites.gif", Encode(image)};
}

TGeneratedGif Interlaced() {
  TGIFImage image;
  image.SetWidth(240);
  image.SetHeight(180);
  FillTable(image.Header().GlobalTable(), 64, 9);
  for (int f = 0; f < 6; ++f) {
    TFramePlan plan{0, 0, 240, 180};
    plan.Interlaced = true;
    AddFrame(image, f, plan, [](int f, int x, int y) -> uint8_t {
      return InDisc(x, y, 120, 90, 20 + 10 * f) ? uint8_t(50 + f) : uint8_t((x ^ y) % 48);
    });
  }
  return {"interlaced.gif", Encode(image)};
}

TGeneratedGif Photo() {
  return FullFrames("photo.gif", 400, 300, 1, 256, [](int, int x, int y) -> uint8_t {
    double v = 128 + 60 * std::sin(x / 23.0) * std::cos(y / 17.0) + (Hash(x, y, 1) % 24);
    return uint8_t(std::clamp(v, 0.0, 255.0));
  });
}

// A clip as video converters write it: 30 whole opaque frames over a photo-like background
// that uses every one of colors entries, with a disc moving and a small area blinking. With
// local tables, every frame lists the same colours in another order.
TGeneratedGif Clip(const std::string& name, int colors, bool localTables) {
  TGIFImage image;
  image.SetWidth(320);
  image.SetHeight(240);
  std::vector<TColor> palette;
  std::mt19937 random{uint32_t(colors)};
  for (int i = 0; i < colors; ++i) palette.push_back(MakeColor(uint8_t(random()), uint8_t(random()), uint8_t(random())));
  if (!localTables)
    for (TColor color : palette) image.Header().GlobalTable().AppendColor(color);
  auto paint = [colors](int f, int x, int y) -> int {
    if (InDisc(x, y, 60 + 6.0 * f, 120 + 30 * std::sin(f / 5.0), 22)) return (f * 7 + x / 4) % colors;
    if (x >= 260 && x < 280 && y >= 20 && y < 32 && f % 4 < 2) return colors - 1 - (x + y) % 5;
    double v = colors / 2.0 + colors / 3.0 * std::sin(x / 31.0) * std::cos(y / 23.0) + Hash(x, y, 3) % (colors / 4);
    return int(std::clamp(v, 0.0, colors - 1.0));
  };
  for (int f = 0; f < 30; ++f) {
    const int shift = localTables ? f * 37 % colors : 0;
    TFramePlan plan{0, 0, 320, 240};
    AddFrame(image, f, plan, [&](int f, int x, int y) { return uint8_t((paint(f, x, y) + shift) % colors); });
    if (localTables) {
      TGIFLocalColorMap& local = image.Frame(f).LocalTable();
      for (int i = 0; i < colors; ++i) local.AppendColor(palette[size_t((i - shift + colors) % colors)]);
    }
  }
  return {name, Encode(image)};
}

// A clip whose frames were quantized one by one: each has a local table of 256 entries, most of
// them the colours of the frames before, a few of them its own.
TGeneratedGif Requantized() {
  TGIFImage image;
  image.SetWidth(240);
  image.SetHeight(180);
  std::mt19937 random{77};
  std::vector<TColor> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(MakeColor(uint8_t(random()), uint8_t(random()), uint8_t(random())));
  for (int f = 0; f < 12; ++f) {
    for (int i = 0; i < 6; ++i) palette[size_t(random() % 256)] = MakeColor(uint8_t(random()), uint8_t(random()), uint8_t(random()));
    AddFrame(image, f, {0, 0, 240, 180}, [](int f, int x, int y) -> uint8_t {
      if (InDisc(x, y, 40 + 12.0 * f, 90, 20)) return uint8_t(200 + x % 8);
      return uint8_t(128 + 80 * std::sin(x / 19.0) * std::cos(y / 13.0) + Hash(x, y, 5) % 32);
    });
    for (TColor color : palette) image.Frame(f).LocalTable().AppendColor(color);
  }
  return {"requantized.gif", Encode(image)};
}

// Whole frames that keep transparent pixels around a sprite, as sprite editors export them.
TGeneratedGif TransparentFullFrames() {
  TGIFImage image;
  image.SetWidth(160);
  image.SetHeight(120);
  FillTable(image.Header().GlobalTable(), 16, 11);
  for (int f = 0; f < 16; ++f) {
    TFramePlan plan{0, 0, 160, 120};
    plan.Disposal = 2;
    plan.Transparent = 15;
    AddFrame(image, f, plan, [](int f, int x, int y) -> uint8_t {
      const double cx = 30 + 6.0 * f, cy = 60 + 20 * std::sin(f / 3.0);
      if (InDisc(x, y, cx, cy, 16)) return uint8_t((x + y + f) / 4 % 12);
      return InDisc(x, y, cx + 8, cy - 18, 6) ? 12 : 15;
    });
  }
  return {"transparent-full-frames.gif", Encode(image)};
}

TGeneratedGif Logo() {
  return FullFrames("logo.gif", 300, 200, 1, 8, [](int, int x, int y) -> uint8_t {
    if (InDisc(x, y, 80, 100, 50)) return 1 + uint8_t(y / 25 % 3);
    if (x > 150 && x < 280 && y > 60 && y < 140) return (x / 12 + y / 20) % 2 ? 4 : 5;
    return 0;
  });
}

TGeneratedGif Icon() {
  TGIFImage image;
  image.SetWidth(64);
  image.SetHeight(64);
  FillTable(image.Header().GlobalTable(), 32, 13);
  TFramePlan plan{0, 0, 64, 64};
  plan.Transparent = 0;
  AddFrame(image, 0, plan, [](int, int x, int y) -> uint8_t {
    return InDisc(x, y, 32, 32, 26) ? uint8_t(1 + (x * 3 + y * 5) / 16 % 30) : 0;
  });
  return {"icon.gif", Encode(image)};
}

}  // namespace

std::vector<TGeneratedGif> VariedAnimations() {
  return {Sprites(), Noise(), ManySmallFrames(), LargeFrames(), LocalTables(), TransparentSprites(), Interlaced(),
          Photo()};
}

std::vector<TGifSet> OptimizerSets() {
  return {{"converter", {Clip("clip-256.gif", 256, false), Clip("clip-255.gif", 255, false), Sprites(), LargeFrames(),
                         ManySmallFrames()}},
          {"full-palette", {Clip("clip-256-local.gif", 256, true), Clip("clip-255-local.gif", 255, true), Requantized(), Noise(),
                            LocalTables()}},
          {"sprites", {TransparentSprites(), TransparentFullFrames(), Interlaced()}},
          {"stills", {Photo(), Logo(), Icon()}}};
}

}  // namespace corvane::test
