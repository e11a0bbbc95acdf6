#pragma once
// Helpers of the rendering and animation tests: small images of solid frames, and a
// recorder that plays an animation without a thread on a virtual clock and keeps every
// picture shown.

#include <memory>
#include <vector>

#include "GifTestSupport.h"
#include "gifrender/GIFFrameDrawing.h"
#include "gifrender/GIFImageDrawing.h"
#include "gifrender/GIFImagePainters.h"
#include "gifrender/GIFPainter.h"
#include "platform/Canvas.h"

namespace corvane::test {

// The entries of the global table of MakeImage, in this order.
constexpr TColor kBlack = MakeColor(0, 0, 0);
constexpr TColor kRed = MakeColor(255, 0, 0);
constexpr TColor kGreen = MakeColor(0, 255, 0);
constexpr TColor kBlue = MakeColor(0, 0, 255);
constexpr TColor kWhite = MakeColor(255, 255, 255);
enum : uint8_t { iBlack, iRed, iGreen, iBlue, iWhite };

// An image of the screen size with the five colours above as its global table.
std::unique_ptr<TGIFImage> MakeImage(int width, int height);

// A frame filled with one index and, unless disposal is negative, a control extension.
TGIFSubImage& AddSolidFrame(TGIFImage& image, const TRect& bounds, uint8_t index, int disposal = 1, int delay = 0,
                            int transparentIndex = -1);
void AddLoop(TGIFSubImage& frame, int repeatCount);

std::unique_ptr<TBitmap> FilledBitmap(int width, int height, TColor color);
// The colours of a bitmap row by row.
std::vector<TColor> Colors(const TBitmap& bitmap);

// Sets the display depth for its lifetime.
class TDisplayScope {
 public:
  explicit TDisplayScope(int bits);
  ~TDisplayScope();
  TDisplayScope(const TDisplayScope&) = delete;
  TDisplayScope& operator=(const TDisplayScope&) = delete;

 private:
  int FSaved;
};

struct TShownPicture {
  int Frame;
  int64_t Time;
  std::vector<TColor> Pixels;
};

// Plays the image with its flags less dfThreaded into a target of the screen size
// filled with background, keeping each picture shown.
class TPlayRecorder {
 public:
  std::vector<TShownPicture> Play(TGIFImage& image, TColor background = kWhite);
  std::vector<int> Frames(TGIFImage& image);

  TVirtualClock Clock;
};

}  // namespace corvane::test
