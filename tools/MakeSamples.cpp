// make_samples DIR: writes the sample GIF files of samples/ into DIR, drawn here and saved
// through the GIF model and writer, so that the samples can be made again at any time.

#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <vector>

#include "gif/GIFImage.h"

namespace corvane {
namespace {

// A picture of colour indices that the samples are drawn into.
struct TIndexPicture {
  int Width;
  int Height;
  std::vector<uint8_t> Pixels;

  TIndexPicture(int width, int height, uint8_t fill = 0)
      : Width(width), Height(height), Pixels(size_t(width) * height, fill) {}
  uint8_t& At(int x, int y) { return Pixels[size_t(y) * Width + x]; }
  uint8_t At(int x, int y) const { return Pixels[size_t(y) * Width + x]; }
  void FillRect(int left, int top, int right, int bottom, uint8_t index) {
    for (int y = std::max(top, 0); y < std::min(bottom, Height); ++y)
      for (int x = std::max(left, 0); x < std::min(right, Width); ++x) At(x, y) = index;
  }
  void FillCircle(double cx, double cy, double r, uint8_t index) {
    for (int y = 0; y < Height; ++y)
      for (int x = 0; x < Width; ++x)
        if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= r) At(x, y) = index;
  }
};

void AddColors(TGIFColorMap& table, std::initializer_list<TColor> colors) {
  for (TColor c : colors) table.AppendColor(c);
}

void SetScreen(TGIFImage& image, int width, int height) {
  image.SetWidth(width);
  image.SetHeight(height);
}

// A frame of the image at (left, top) holding the given part of the picture.
TGIFSubImage& AddFrame(TGIFImage& image, const TIndexPicture& picture, int left, int top, int width, int height) {
  auto frame = std::make_unique<TGIFSubImage>(image);
  frame->PlaceFrame(left, top, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) frame->RowStart(y)[x] = picture.At(left + x, top + y);
  TGIFSubImage& added = *frame;
  image.AppendFrame(std::move(frame));
  return added;
}

TGIFGraphicControlExtension& AddControl(TGIFSubImage& frame, uint8_t disposal, uint16_t delay) {
  auto control = std::make_unique<TGIFGraphicControlExtension>(frame);
  control->SetDisposal(disposal);
  control->SetDelayTime(delay);
  TGIFGraphicControlExtension& added = *control;
  frame.Extensions().AppendMember(std::move(control));
  return added;
}

void AddLoop(TGIFSubImage& frame, uint16_t repeatCount) {
  auto loop = std::make_unique<TGIFAppExtNSLoop>(frame);
  loop->FRepeatCount = repeatCount;
  frame.Extensions().AppendMember(std::move(loop));
}

// A small landscape: sky bands, a sun, hills and a path. The global table has 64 entries
// of which about half are used; entries 20 and 21 hold the same green as 9 and 10, and some
// pixels use the copies, as pictures pasted together from several sources do.
void WriteStill(const std::filesystem::path& file) {
  TGIFImage image;
  SetScreen(image, 96, 64);
  TGIFColorMap& table = image.Header().GlobalTable();
  for (int i = 0; i < 8; ++i) table.AppendColor(MakeColor(uint8_t(90 + 12 * i), uint8_t(140 + 10 * i), 255));
  AddColors(table, {MakeColor(255, 220, 60), MakeColor(40, 140, 50), MakeColor(30, 110, 40), MakeColor(150, 120, 80),
                    MakeColor(255, 255, 255), MakeColor(0, 0, 0)});
  for (int i = 14; i < 20; ++i) table.AppendColor(MakeColor(uint8_t(i * 9), 0, uint8_t(255 - i * 9)));
  AddColors(table, {MakeColor(40, 140, 50), MakeColor(30, 110, 40)});
  while (table.EntryCount() < 64) table.AppendColor(MakeColor(uint8_t(table.EntryCount() * 4), 128, 128));

  TIndexPicture picture(96, 64);
  for (int y = 0; y < 40; ++y) picture.FillRect(0, y, 96, y + 1, uint8_t(y / 5));
  picture.FillCircle(72, 14, 8, 8);
  for (int x = 0; x < 96; ++x) {
    int hill = 38 + int(6 * std::sin(x / 9.0));
    picture.FillRect(x, hill, x + 1, 64, x < 48 ? 9 : 20);
    picture.FillRect(x, hill + 8, x + 1, 64, x < 48 ? 10 : 21);
  }
  for (int y = 46; y < 64; ++y) picture.FillRect(44 - (y - 46) / 2, y, 50 + (y - 46) / 2, y + 1, 11);
  picture.FillRect(10, 8, 26, 12, 12);
  picture.FillRect(14, 5, 22, 8, 12);
  AddFrame(image, picture, 0, 0, 96, 64);
  image.SaveToFile(file);
}

// Concentric rings in 24 colours, coded interlaced.
void WriteInterlaced(const std::filesystem::path& file) {
  TGIFImage image;
  SetScreen(image, 80, 60);
  TGIFColorMap& table = image.Header().GlobalTable();
  for (int i = 0; i < 24; ++i)
    table.AppendColor(MakeColor(uint8_t(255 - i * 10), uint8_t(i * 10), uint8_t(128 + (i % 2) * 100)));
  TIndexPicture picture(80, 60);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 80; ++x) picture.At(x, y) = uint8_t(int(std::hypot(x - 40, y - 30) / 2.5) % 24);
  TGIFSubImage& frame = AddFrame(image, picture, 0, 0, 80, 60);
  frame.SetFrameFlags(TGIFSubImage::kInterlaced);
  image.SaveToFile(file);
}

// A ball moving over a landscape, 10 frames of 120 × 90, as a simple animation program writes
// it: some frames redraw the whole screen, others only the part around the ball with the
// unchanged pixels transparent; disposal methods 0 to 3 and a loop extension.
void WriteBall(const std::filesystem::path& file) {
  constexpr int kWidth = 120, kHeight = 90, kFrames = 10;
  constexpr uint8_t kTransparent = 15;
  TGIFImage image;
  SetScreen(image, kWidth, kHeight);
  TGIFColorMap& table = image.Header().GlobalTable();
  for (int i = 0; i < 6; ++i) table.AppendColor(MakeColor(uint8_t(100 + 15 * i), uint8_t(150 + 12 * i), 250));
  AddColors(table, {MakeColor(60, 160, 60), MakeColor(45, 130, 45), MakeColor(120, 90, 60), MakeColor(250, 250, 250),
                    MakeColor(220, 40, 40), MakeColor(250, 120, 110), MakeColor(150, 20, 20), MakeColor(0, 0, 0),
                    MakeColor(255, 230, 80), MakeColor(255, 0, 255)});

  TIndexPicture background(kWidth, kHeight);
  for (int y = 0; y < 60; ++y) background.FillRect(0, y, kWidth, y + 1, uint8_t(y / 10));
  for (int x = 0; x < kWidth; ++x) {
    int hill = 60 + int(5 * std::sin(x / 11.0));
    background.FillRect(x, hill, x + 1, kHeight, (x / 8) % 2 ? 6 : 7);
  }
  background.FillRect(0, 80, kWidth, kHeight, 8);
  background.FillRect(20, 12, 44, 18, 9);
  background.FillRect(70, 20, 90, 25, 9);
  background.FillCircle(100, 12, 7, 14);

  auto ballAt = [](int step) {
    double x = 12 + step * 10.5;
    double y = 62 - 48 * std::sin(3.14159 * step / (kFrames - 1));
    return std::pair{x, y};
  };
  auto draw = [&](int step) {
    TIndexPicture picture = background;
    auto [x, y] = ballAt(step);
    picture.FillCircle(x, y, 8, 12);
    picture.FillCircle(x - 1.5, y + 1.5, 6, 10);
    picture.FillCircle(x - 3, y - 3, 2.5, 11);
    return picture;
  };

  TIndexPicture shown(kWidth, kHeight, kTransparent);
  for (int step = 0; step < kFrames; ++step) {
    TIndexPicture picture = draw(step);
    bool full = step < 3 || step == 7 || step == 8;
    uint8_t disposal = step == 6 ? 2 : step == 7 ? 3 : step == 9 ? 0 : 1;
    if (full) {
      TGIFSubImage& frame = AddFrame(image, picture, 0, 0, kWidth, kHeight);
      AddControl(frame, disposal, 8);
      if (step == 0) AddLoop(frame, 0);
      shown = picture;
      continue;
    }
    // The part that changes since the frame before, with a margin, unchanged pixels
    // transparent.
    auto [x0, y0] = ballAt(step - 1);
    auto [x1, y1] = ballAt(step);
    int left = std::max(0, int(std::min(x0, x1)) - 12), top = std::max(0, int(std::min(y0, y1)) - 12);
    int right = std::min(kWidth, int(std::max(x0, x1)) + 12), bottom = std::min(kHeight, int(std::max(y0, y1)) + 12);
    TIndexPicture patch = picture;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (picture.At(x, y) == shown.At(x, y)) patch.At(x, y) = kTransparent;
    TGIFSubImage& frame = AddFrame(image, patch, left, top, right - left, bottom - top);
    TGIFGraphicControlExtension& control = AddControl(frame, disposal, 8);
    control.SetTransparent(true);
    control.SetTransparentIndex(kTransparent);
    shown = picture;
  }
  image.SaveToFile(file);
}

// Three frames of colour bars, each frame with its own local table of 16 entries of which
// only 6 are used, a comment in front of the first frame and a loop extension that plays
// the animation three times.
void WriteCommentAndLocalTables(const std::filesystem::path& file) {
  TGIFImage image;
  SetScreen(image, 64, 48);
  AddColors(image.Header().GlobalTable(),
            {MakeColor(0, 0, 0), MakeColor(255, 255, 255), MakeColor(128, 128, 128), MakeColor(64, 64, 64)});
  for (int f = 0; f < 3; ++f) {
    TIndexPicture picture(64, 48);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) picture.At(x, y) = uint8_t(((x + 8 * f) / 11 + y / 24) % 6);
    TGIFSubImage& frame = AddFrame(image, picture, 0, 0, 64, 48);
    for (int i = 0; i < 16; ++i) {
      double hue = (i + 2 * f) * 0.9;
      frame.LocalTable().AppendColor(MakeColor(uint8_t(127 + 127 * std::sin(hue)), uint8_t(127 + 127 * std::sin(hue + 2)),
                                               uint8_t(127 + 127 * std::sin(hue + 4))));
    }
    if (f == 0) {
      auto comment = std::make_unique<TGIFCommentExtension>(frame);
      comment->FTextLines = {"Corvane sample: colour bars with a local colour table per frame.",
                             "Made by tools/make_samples."};
      frame.Extensions().AppendMember(std::move(comment));
      AddLoop(frame, 3);
    }
    AddControl(frame, 1, 50);
  }
  image.SaveToFile(file);
}

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: make_samples DIR\n");
    return 2;
  }
  std::filesystem::path dir = argv[1];
  try {
    corvane::WriteStill(dir / "still.gif");
    corvane::WriteInterlaced(dir / "interlaced.gif");
    corvane::WriteBall(dir / "ball.gif");
    corvane::WriteCommentAndLocalTables(dir / "comment-local.gif");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_samples: %s\n", e.what());
    return 1;
  }
  return 0;
}
