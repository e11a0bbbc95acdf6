#include "AnimationVerifier.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "gif/GIFCodec.h"
#include "gifopt/CodedPixels.h"
#include "gifopt/PictureSequence.h"

namespace corvane {

namespace {

using TKind = TAnimationDifference::TKind;

// Warnings after which the model holds frames or pixels that viewers show otherwise: data
// cut short, whose missing pixels viewers leave transparent, a frame of no size, which the
// model stretches over the screen, and a broken block sequence.
bool ReadsUnlikeViewers(const std::string& warning) {
  return warning == "Premature end of data" || warning == "Decoder bit buffer under-run" ||
         warning == "Image exceeds Logical Screen size" || warning == "Invalid extension introducer";
}

bool HasPixels(const TGIFImage& image) {
  for (int i = 0; i < image.FrameCount(); ++i)
    if (!image.Frame(i).IsBlank()) return true;
  return false;
}

// Reads the file; answers why it cannot be composed as viewers show it, or nothing.
std::string Load(std::span<const uint8_t> file, TGIFImage& image) {
  std::string problem;
  image.FWarningHandler = [&problem](const TPersistent*, int, const std::string& message) {
    if (problem.empty() && ReadsUnlikeViewers(message)) problem = message;
  };
  TMemoryStream stream(std::vector<uint8_t>(file.begin(), file.end()));
  try {
    image.LoadFromStream(stream);
  } catch (const EPlatformError& e) {
    problem = e.what();
  }
  image.FWarningHandler = nullptr;
  if (!problem.empty()) return problem;
  try {
    problem = FindPixelsReadUnlikeViewers(file, image);
  } catch (const EPlatformError& e) {
    problem = e.what();
  }
  if (!problem.empty()) return problem;
  if ((image.Width() == 0 || image.Height() == 0) && HasPixels(image)) return "Empty logical screen";
  if (!TAnimationComposer::CanCompose(image)) return "Logical screen too large to compose";
  return {};
}

std::string ColorText(TRGBA color) {
  char text[10];
  std::snprintf(text, sizeof text, "#%02X%02X%02X%02X", unsigned(color & 0xFF), unsigned((color >> 8) & 0xFF),
                unsigned((color >> 16) & 0xFF), unsigned(color >> 24));
  return text;
}

std::string PictureText(const TAnimationDifference& d) {
  return "picture " + std::to_string(d.Picture) + " (frame " + std::to_string(d.FrameA) + " against frame " +
         std::to_string(d.FrameB) + ")";
}

std::string ScreenText(const TScreenSize& screen) {
  return std::to_string(screen.Width) + " x " + std::to_string(screen.Height);
}

std::string LoopText(int loop) {
  return loop == kPlaysOnce ? "plays once" : loop == 0 ? "loops forever" : "repeats " + std::to_string(loop) + " times";
}

TAnimationDifference Unreadable(const char* which, const std::string& problem) {
  TAnimationDifference d;
  d.Kind = TKind::Unreadable;
  d.Message = std::string(which) + " file cannot be compared: " + problem;
  return d;
}

// The first pixel where the pictures differ, or false.
bool FindPixelDifference(const TPictureSequence& a, const TPictureSequence& b, TAnimationDifference& d) {
  const std::vector<TRGBA>& pa = a.Picture();
  const std::vector<TRGBA>& pb = b.Picture();
  for (size_t i = 0; i < pa.size(); ++i) {
    if (pa[i] == pb[i]) continue;
    d.Kind = TKind::Pixel;
    d.X = int(i % size_t(a.Width()));
    d.Y = int(i / size_t(a.Width()));
    d.ColorA = pa[i];
    d.ColorB = pb[i];
    d.Message = PictureText(d) + " differs at (" + std::to_string(d.X) + ", " + std::to_string(d.Y) +
                "): " + ColorText(d.ColorA) + " against " + ColorText(d.ColorB);
    return true;
  }
  return false;
}

TAnimationDifference ComparePictures(const TGIFImage& imageA, const TGIFImage& imageB) {
  TAnimationDifference d;
  TPictureSequence a(imageA);
  TPictureSequence b(imageB);
  bool moreA = a.Next();
  bool moreB = b.Next();
  for (; moreA && moreB; ++d.Picture) {
    d.FrameA = a.FirstFrame();
    d.FrameB = b.FirstFrame();
    if (FindPixelDifference(a, b, d)) return d;
    d.TimeA = a.Time();
    d.TimeB = b.Time();
    moreA = a.Next();
    moreB = b.Next();
    const bool still = d.Picture == 0 && !moreA && !moreB;
    if (!still && d.TimeA != d.TimeB) {
      d.Kind = TKind::Time;
      d.Message = PictureText(d) + " is shown for " + std::to_string(d.TimeA) + " against " +
                  std::to_string(d.TimeB) + " hundredths of a second";
      return d;
    }
  }
  if (moreA != moreB) {
    d.Kind = TKind::PictureCount;
    d.Message = "the " + std::string(moreA ? "second" : "first") + " animation ends after " +
                std::to_string(d.Picture) + " pictures, the other goes on";
    return d;
  }
  d.LoopA = ViewerLoopCount(imageA);
  d.LoopB = ViewerLoopCount(imageB);
  if (d.Picture > 1 && d.LoopA != d.LoopB) {
    d.Kind = TKind::LoopCount;
    d.Message = "the first animation " + LoopText(d.LoopA) + ", the second " + LoopText(d.LoopB);
    return d;
  }
  return TAnimationDifference{};
}

}  // namespace

TAnimationDifference CompareAnimations(std::span<const uint8_t> a, std::span<const uint8_t> b) {
  auto imageA = std::make_unique<TGIFImage>();
  auto imageB = std::make_unique<TGIFImage>();
  if (std::string problem = Load(a, *imageA); !problem.empty()) return Unreadable("The first", problem);
  if (std::string problem = Load(b, *imageB); !problem.empty()) return Unreadable("The second", problem);
  if (imageA->Width() != imageB->Width() || imageA->Height() != imageB->Height()) {
    TAnimationDifference d;
    d.Kind = TKind::Screen;
    d.Message = "the logical screens differ: " + ScreenText({imageA->Width(), imageA->Height()}) + " against " +
                ScreenText({imageB->Width(), imageB->Height()});
    return d;
  }
  if (const TScreenSize shownA = BrowserScreen(*imageA), shownB = BrowserScreen(*imageB); shownA != shownB) {
    TAnimationDifference d;
    d.Kind = TKind::Screen;
    d.Message = "the screens browsers show differ: " + ScreenText(shownA) + " against " + ScreenText(shownB);
    return d;
  }
  try {
    return ComparePictures(*imageA, *imageB);
  } catch (const GIFException& e) {
    // The memory budget has no room for the pictures.
    TAnimationDifference d;
    d.Kind = TKind::Unreadable;
    d.Message = std::string("The files cannot be compared: ") + e.what();
    return d;
  }
}

}  // namespace corvane
