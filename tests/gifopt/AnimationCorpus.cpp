#include "AnimationCorpus.h"

#include <random>

namespace corvane::test {

namespace {

constexpr int kScreenWidth = 12;
constexpr int kScreenHeight = 10;
constexpr int kTableBits = 4;
constexpr int kTransparent = 15;

// The colours of the builder's local tables, so that an index means the same colour in
// every table; entry 9 repeats entry 3, so that some colours match by value only.
std::vector<uint32_t> GlobalColors(int bits) {
  std::vector<uint32_t> colors;
  for (int i = 0; i < (1 << bits); ++i) {
    int j = i == 9 ? 3 : i;
    colors.push_back(uint32_t(255 - j) << 16 | uint32_t(j & 0xFF) << 8 | uint32_t((j * 7) & 0xFF));
  }
  return colors;
}

struct TFrameRect {
  int Left, Top, Width, Height;
};

// The colour a frame paints at a screen position: likeness 0 repeats the pattern of the
// frame before, 1 repeats it but for one pixel, 2 paints another pattern.
uint8_t PatternAt(int pattern, int x, int y) { return uint8_t((x * 3 + y * 5 + pattern) % 12); }

TBytes FramePixels(const TFrameRect& r, int pattern, bool transparent) {
  TBytes pixels;
  for (int y = 0; y < r.Height; ++y) {
    for (int x = 0; x < r.Width; ++x) {
      bool border = x == 0 || y == 0 || x == r.Width - 1;
      pixels.push_back(transparent && border ? uint8_t(kTransparent) : PatternAt(pattern, r.Left + x, r.Top + y));
    }
  }
  return pixels;
}

const TFrameRect kPlacements[][2] = {
    {{2, 2, 6, 5}, {2, 2, 6, 5}},  // the same place
    {{1, 1, 8, 7}, {3, 3, 3, 2}},  // the second inside the first
    {{3, 3, 3, 2}, {1, 1, 8, 7}},  // the second around the first
    {{0, 0, 4, 4}, {6, 5, 4, 4}},  // beside each other
    {{1, 1, 6, 5}, {5, 4, 9, 8}},  // across, the second beyond the screen
};
const char* const kPlacementNames[] = {"same", "inside", "around", "beside", "across"};

void AddFrame(TGifBuilder& gif, const TFrameRect& r, int disposal, int delay, bool transparent, int pattern,
              bool local, bool interlaced = false) {
  gif.Control(disposal, delay, transparent ? kTransparent : -1);
  gif.Image(r.Left, r.Top, r.Width, r.Height, FramePixels(r, pattern, transparent), kTableBits,
            local ? kTableBits : 0, interlaced);
}

}  // namespace

std::vector<TCorpusFile> DisposalPairCorpus() {
  std::vector<TCorpusFile> corpus;
  for (int first = 0; first <= 4; ++first)
    for (int second = 0; second <= 4; ++second)
      for (int transparency = 0; transparency < 4; ++transparency)
        for (int place = 0; place < 5; ++place)
          for (int likeness = 0; likeness < 3; ++likeness)
            for (int local = 0; local < 2; ++local) {
              const TFrameRect& a = kPlacements[place][0];
              const TFrameRect& b = kPlacements[place][1];
              bool ta = transparency & 1, tb = transparency & 2;
              TGifBuilder gif(kScreenWidth, kScreenHeight);
              gif.GlobalTable(kTableBits, GlobalColors(kTableBits)).Loop(0);
              AddFrame(gif, {0, 0, kScreenWidth, kScreenHeight}, 1, 10, false, 7, false);
              AddFrame(gif, a, first, 5, ta, 0, local);
              if (likeness == 1) {
                // Like the frame before but for one pixel, which the optimizer must keep.
                TBytes pixels = FramePixels(b, 0, tb);
                pixels[pixels.size() / 2] = uint8_t((pixels[pixels.size() / 2] + 1) % 12);
                gif.Control(second, 5, tb ? kTransparent : -1)
                    .Image(b.Left, b.Top, b.Width, b.Height, pixels, kTableBits, local ? kTableBits : 0);
              } else {
                AddFrame(gif, b, second, 5, tb, likeness == 0 ? 0 : 4, local);
              }
              AddFrame(gif, a, first, 0, ta, 0, !local);
              gif.Trailer();
              std::string name = "disposal " + std::to_string(first) + std::to_string(second) + " transparency " +
                                 std::to_string(transparency) + " " + kPlacementNames[place] + " likeness " +
                                 std::to_string(likeness) + (local ? " local" : " global");
              corpus.push_back({name, gif.Data()});
            }
  return corpus;
}

std::vector<TCorpusFile> RandomCorpus(int count, unsigned seed) {
  std::mt19937 random(seed);
  auto pick = [&random](int n) { return int(random() % unsigned(n)); };
  std::vector<TCorpusFile> corpus;
  for (int n = 0; n < count; ++n) {
    const int bits = pick(4) == 0 ? 8 : kTableBits;
    const int width = 4 + pick(10), height = 4 + pick(10);
    TGifBuilder gif(width, height);
    gif.GlobalTable(bits, GlobalColors(bits));
    if (pick(3) == 0) gif.Comment({"made for the optimizer tests"});
    if (pick(2) == 0) gif.Loop(pick(3));
    const int frames = 1 + pick(6);
    int pattern = 0;
    for (int f = 0; f < frames; ++f) {
      TFrameRect r{pick(width), pick(height), 0, 0};
      r.Width = pick(3) == 0 ? width - r.Left : 1 + pick(width);
      r.Height = pick(3) == 0 ? height - r.Top : 1 + pick(height);
      if (pick(3) == 0) r = {0, 0, width, height};
      const bool transparent = pick(2) == 0;
      const bool local = pick(4) == 0;
      const int likeness = pick(3);
      if (likeness == 2) pattern = pick(12);
      // Extra blocks in front of the image: a control extension that a later one overrides,
      // a loop extension away from the first frame, plain text and unknown application data.
      if (pick(5) == 0) gif.Control(pick(4), pick(4), pick(2) ? pick(16) : -1);
      if (pick(8) == 0) gif.Loop(pick(4));
      if (pick(8) == 0) gif.PlainText({"text"});
      if (pick(8) == 0) gif.Application("CORVANE1.0T", {{1, 2, 3}});
      TBytes pixels = FramePixels(r, pattern, transparent);
      if (transparent && pick(4) == 0) pixels.assign(pixels.size(), uint8_t(kTransparent));
      if (likeness == 1) pixels[size_t(pick(int(pixels.size())))] = uint8_t(pick(12));
      if (pick(6) != 0) gif.Control(pick(8), pick(3) == 0 ? pick(3) : pick(40), transparent ? kTransparent : -1);
      const int tableBits = local ? (pick(3) == 0 ? 8 : kTableBits) : bits;
      gif.Image(r.Left, r.Top, r.Width, r.Height, pixels, tableBits, local ? tableBits : 0, pick(4) == 0);
    }
    if (pick(6) == 0) gif.Control(2, 7, -1).Comment({"a block without an image"});
    gif.Trailer();
    corpus.push_back({"random " + std::to_string(n), gif.Data()});
  }
  return corpus;
}

}  // namespace corvane::test
