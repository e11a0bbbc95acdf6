#pragma once
// Helpers of the GIF model and file format tests: loading bytes with the warnings collected,
// saving to bytes, and building images in memory.

#include <memory>
#include <string>
#include <vector>

#include "gif/GIFExtensions.h"
#include "gif/GIFImage.h"
#include "support/GifBuilder.h"

namespace corvane::test {

// Collects an image's warnings as their messages.
struct TWarnings {
  std::vector<std::string> Messages;
  void Attach(TGIFImage& image);
};

struct TLoaded {
  std::unique_ptr<TGIFImage> Image = std::make_unique<TGIFImage>();
  std::vector<std::string> Warnings;
  std::string Error;  // the GIFException's message; empty when the load succeeded
  int64_t EndPosition = 0;
};

// Sets the pixel limits for its lifetime.
class TPixelLimitsScope {
 public:
  explicit TPixelLimitsScope(const TGIFPixelLimits& limits) : FSaved(GIFPixelLimits()) { SetGIFPixelLimits(limits); }
  ~TPixelLimitsScope() { SetGIFPixelLimits(FSaved); }
  TPixelLimitsScope(const TPixelLimitsScope&) = delete;
  TPixelLimitsScope& operator=(const TPixelLimitsScope&) = delete;

 private:
  TGIFPixelLimits FSaved;
};

// Loads the bytes; only a GIFException is caught.
TLoaded Load(const TBytes& file);
TBytes Save(TGIFImage& image);

// A frame of the image, placed and filled with pixels, appended to it.
TGIFSubImage& AddFrame(TGIFImage& image, int left, int top, int width, int height, const TBytes& pixels = {});

template <typename T>
T& AddExtension(TGIFSubImage& frame) {
  auto extension = std::make_unique<T>(frame);
  T& added = *extension;
  frame.Extensions().AppendMember(std::move(extension));
  return added;
}

// A control extension appended to the frame; transparentIndex -1 for none.
TGIFGraphicControlExtension& AddControl(TGIFSubImage& frame, int disposal, int delay, int transparentIndex = -1);

void AddGreys(TGIFColorMap& table, int count);

TBytes Ramp(size_t count, int colors);

}  // namespace corvane::test
