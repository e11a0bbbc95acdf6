#include "DeepOptimize.h"

#include <algorithm>
#include <array>

#include "gif/GIFCodec.h"
#include "gifopt/AnimationVerifier.h"
#include "gifopt/ColorIds.h"
#include "gifopt/DeepGifWriter.h"
#include "gifopt/FrameCoder.h"
#include "gifopt/GlobalTable.h"
#include "gifopt/RedundantBlocks.h"
#include "gifopt/ShownFrames.h"
#include "platform/Stream.h"

namespace corvane {

namespace {

// Screen pixels times frames beyond which the level leaves a file to the default one.
constexpr int64_t kMaxComposedPixels = int64_t(1) << 32;
// The level holds about six screens at once, four bytes a pixel: larger ones are left to the
// default level.
constexpr int64_t kMaxScreenPixels = int64_t(1) << 24;
// Disposals whose changed area is at most this much larger than the smallest are coded too.
constexpr int64_t kAreaSlackPercent = 125;

int64_t AreaOf(const TRect& area) { return int64_t(area.Width()) * area.Height(); }

int LoopExtensionCount(const TGIFImage& image) {
  int count = 0;
  for (int f = 0; f < image.FrameCount(); ++f) {
    const TGIFExtensionList& extensions = image.Frame(f).Extensions();
    for (int i = 0; i < extensions.MemberCount(); ++i)
      count += dynamic_cast<const TGIFAppExtNSLoop*>(&extensions.Extension(i)) != nullptr;
  }
  return count;
}

// The blocks of frames first to end - 1 that the keep bits keep, as the file holds them.
std::vector<uint8_t> KeptBlocks(const TGIFImage& image, int first, int end, TReduceSteps kept) {
  TMemoryStream out;
  for (int f = first; f < end && kept; ++f) {
    const TGIFExtensionList& extensions = image.Frame(f).Extensions();
    for (int i = 0; i < extensions.MemberCount(); ++i)
      if (IsKeptBlock(extensions.Extension(i), kept))
        const_cast<TGIFExtension&>(extensions.Extension(i)).SaveToStream(out);  // writing changes nothing
  }
  return out.TakeBytes();
}

// The first pass: how often each colour is drawn where the screen changes, which colours each
// frame draws, and how many frames the new encoding has.
struct TSurvey {
  std::vector<TColorUse> Usage;  // by colour id
  std::vector<TFrameColors> FrameColors;
  int Frames = 0;
  int Pictures = 0;  // frames that show something new
};

class TSurveyor {
 public:
  TSurveyor(TSurvey& survey, int width) : FSurvey(survey), FWidth(width) {}

  // Counts the pixels where picture differs from the one before; true when there are any.
  bool Add(const std::vector<TRGBA>& picture, const std::vector<TRGBA>& previous, int colorIds) {
    FSurvey.Usage.resize(size_t(colorIds) + 1);
    FDrawnIn.resize(FSurvey.Usage.size(), -1);
    TFrameColors drawn;
    const int height = int(picture.size() / size_t(FWidth));
    TRect area{FWidth, height, 0, 0};
    for (int y = 0; y < height; ++y) {
      const size_t row = size_t(y) * size_t(FWidth);
      for (int x = 0; x < FWidth; ++x) {
        const TRGBA id = picture[row + size_t(x)];
        if (id == previous[row + size_t(x)]) continue;
        area = {std::min(area.Left, x), std::min(area.Top, y), std::max(area.Right, x + 1), y + 1};
        ++FSurvey.Usage[id].Pixels;
        if (FDrawnIn[id] == FSurvey.Frames) continue;
        FDrawnIn[id] = FSurvey.Frames;
        if (FSurvey.Frames > 0) ++FSurvey.Usage[id].Frames;
        drawn.Ids.push_back(id);
      }
    }
    if (area.IsEmpty()) return false;
    drawn.Weight = AreaOf(area);
    if (drawn.Ids.size() <= kTableEntries) FSurvey.FrameColors.push_back(std::move(drawn));
    return true;
  }

 private:
  TSurvey& FSurvey;
  int FWidth;
  std::vector<int> FDrawnIn;  // by colour id: the last frame that draws it
};

TSurvey Survey(const TGIFImage& image, TColorIds& ids) {
  TSurvey survey;
  TSurveyor surveyor(survey, image.Width());
  TShownFrames shown(image, ids.Key());
  std::vector<TRGBA> previous(size_t(image.Width()) * size_t(image.Height()), 0);
  while (shown.Next()) {
    const bool changes = surveyor.Add(shown.Picture(), previous, ids.Count());
    previous = shown.Picture();
    survey.Pictures += changes || survey.Frames == 0;
    ++survey.Frames;
  }
  survey.Usage.resize(size_t(ids.Count()) + 1);
  survey.Usage[0] = {};
  return survey;
}

// The frame in hand, written once the next one has chosen its disposal.
struct TPendingFrame {
  TCodedFrame Coded;
  uint16_t Delay = 0;
  std::vector<TRGBA> Base;     // the screen it is drawn on
  std::vector<TRGBA> Picture;  // the screen it leaves
  std::vector<uint8_t> Blocks;  // kept blocks written before it
};

class TDeepEncoder {
 public:
  TDeepEncoder(const TGIFImage& image, TColorIds& ids, const TGlobalTable& global, bool still)
      : FImage(image), FWidth(image.Width()), FStill(still), FCoder(image.Width(), ids.Count(), global),
        FWriter(ids, global) {}

  // A screen-sized buffer for the next picture, recycled from the frames before.
  std::vector<TRGBA> TakeBuffer() { return std::move(FSpare); }
  // False when a frame cannot be coded. next: the picture after this one, or none.
  bool Add(std::vector<TRGBA> picture, uint16_t delay, const std::vector<TRGBA>* next, std::vector<uint8_t> blocks);
  std::vector<uint8_t> Finish(int loopCount);

 private:
  struct TChoice {
    TDisposalEffect Disposal;
    TScreenBase Base;
    TRect Area;
  };
  std::vector<TChoice> Choices(const std::vector<TRGBA>& picture) const;
  std::vector<TRGBA> NextBase(const TChoice& choice, size_t pixels);

  const TGIFImage& FImage;
  int FWidth;
  bool FStill;
  TFrameCoder FCoder;
  TDeepGifWriter FWriter;
  std::optional<TPendingFrame> FPending;
  std::vector<TRGBA> FSpare;
};

bool AnyOpaque(const std::vector<TRGBA>& screen, const TRect& area, int width) {
  for (int y = area.Top; y < area.Bottom; ++y) {
    const TRGBA* row = &screen[size_t(y) * size_t(width)];
    if (std::any_of(row + area.Left, row + area.Right, [](TRGBA value) { return value != 0; })) return true;
  }
  return false;
}

// The screens the next frame can be drawn on, one per disposal of the frame in hand, with the
// area each leaves to draw; those no frame can turn into the picture are left out.
std::vector<TDeepEncoder::TChoice> TDeepEncoder::Choices(const std::vector<TRGBA>& picture) const {
  std::vector<TChoice> choices;
  auto consider = [&](TDisposalEffect disposal, const TScreenBase& base) {
    bool valid = false;
    TRect area = ChangedArea(base, picture, FWidth, valid);
    if (valid) choices.push_back({disposal, base, area});
  };
  if (!FPending) {
    consider(TDisposalEffect::Keep, {picture, Bounds(0, 0, FWidth, int(picture.size() / size_t(FWidth)))});
    return choices;
  }
  consider(TDisposalEffect::Keep, {FPending->Picture, {}});
  if (AnyOpaque(FPending->Picture, FPending->Coded.Area, FWidth))
    consider(TDisposalEffect::Clear, {FPending->Picture, FPending->Coded.Area});
  if (FPending->Base != FPending->Picture) consider(TDisposalEffect::Restore, {FPending->Base, {}});
  return choices;
}

// The screen the chosen disposal leaves, made from the frame in hand's buffers; the other one
// is kept for the next picture.
std::vector<TRGBA> TDeepEncoder::NextBase(const TChoice& choice, size_t pixels) {
  if (!FPending) return std::vector<TRGBA>(pixels, 0);
  const bool restores = choice.Disposal == TDisposalEffect::Restore;
  std::vector<TRGBA> base = std::move(restores ? FPending->Base : FPending->Picture);
  FSpare = std::move(restores ? FPending->Picture : FPending->Base);
  const TRect& cleared = choice.Base.Cleared;
  for (int y = cleared.Top; y < cleared.Bottom; ++y) {
    TRGBA* row = &base[size_t(y) * size_t(FWidth)];
    std::fill(row + cleared.Left, row + cleared.Right, 0);
  }
  return base;
}

// Where the next picture is transparent and this one is not, this frame must be cleared: it
// covers that area too.
TRect VanishingArea(const std::vector<TRGBA>& picture, const std::vector<TRGBA>* next, int width) {
  if (!next || width <= 0) return {};
  const int height = int(picture.size() / size_t(width));
  TRect area{width, height, 0, 0};
  for (int y = 0; y < height; ++y) {
    const size_t row = size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x) {
      if (picture[row + size_t(x)] == 0 || (*next)[row + size_t(x)] != 0) continue;
      area = {std::min(area.Left, x), std::min(area.Top, y), std::max(area.Right, x + 1), y + 1};
    }
  }
  return area.IsEmpty() ? TRect{} : area;
}

TRect Union(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

bool TDeepEncoder::Add(std::vector<TRGBA> picture, uint16_t delay, const std::vector<TRGBA>* next,
                       std::vector<uint8_t> blocks) {
  std::vector<TChoice> choices = Choices(picture);
  if (choices.empty()) return false;
  const TRect vanishing = VanishingArea(picture, next, FWidth);
  for (TChoice& choice : choices) choice.Area = Union(choice.Area, vanishing);
  int64_t smallest = AreaOf(choices.front().Area);
  for (const TChoice& choice : choices) smallest = std::min(smallest, AreaOf(choice.Area));
  std::vector<size_t> worth;
  for (size_t i = 0; i < choices.size(); ++i)
    if (AreaOf(choices[i].Area) * 100 <= smallest * kAreaSlackPercent) worth.push_back(i);
  // Where several screens are worth coding, each is measured by its likeliest variant, and
  // only the screen chosen tries the others.
  const bool several = worth.size() > 1;
  std::optional<TCodedFrame> best;
  size_t chosen = 0;
  auto keepSmaller = [&](std::optional<TCodedFrame> coded, size_t i) {
    if (!coded || (best && coded->ImageBytes() >= best->ImageBytes())) return;
    best = std::move(coded);
    chosen = i;
  };
  for (size_t i : worth)
    keepSmaller(FCoder.Code(choices[i].Base, picture, choices[i].Area,
                            several ? TFrameVariants::Likeliest : TFrameVariants::All),
                i);
  if (!best) return false;
  if (several) {
    const TChoice& choice = choices[chosen];
    keepSmaller(FCoder.Code(choice.Base, picture, choice.Area, TFrameVariants::Others), chosen);
  }
  FCoder.CodeSmallest(*best);
  if (FPending) FWriter.AddFrame(FPending->Coded, FPending->Delay, choices[chosen].Disposal, FPending->Blocks);
  std::vector<TRGBA> base = NextBase(choices[chosen], picture.size());
  FPending = TPendingFrame{std::move(*best), FStill ? uint16_t(0) : delay, std::move(base), std::move(picture),
                           std::move(blocks)};
  return true;
}

std::vector<uint8_t> TDeepEncoder::Finish(int loopCount) {
  if (FPending) FWriter.AddFrame(FPending->Coded, FPending->Delay, TDisposalEffect::Keep, FPending->Blocks);
  return FWriter.Finish(FImage, FStill ? kPlaysOnce : loopCount);
}

std::optional<std::vector<uint8_t>> Encode(const TGIFImage& image, TReduceSteps kept) {
  TColorIds ids;
  const TSurvey survey = Survey(image, ids);
  if (survey.Frames == 0) return std::nullopt;
  const TGlobalTable global = MakeGlobalTable(survey.Usage, survey.FrameColors);
  // A still needs one frame, whatever its time and loops.
  const bool still = survey.Pictures == 1;
  TDeepEncoder encoder(image, ids, global, still);
  TShownFrames shown(image, ids.Key());
  const int frames = still ? 1 : survey.Frames;
  bool more = shown.Next();
  int first = 0;  // the image's first frame the next new frame stands for
  for (int frame = 0; frame < frames && more; ++frame) {
    std::vector<TRGBA> picture = encoder.TakeBuffer();
    picture.assign(shown.Picture().begin(), shown.Picture().end());
    const uint16_t delay = shown.Delay();
    more = frame + 1 < frames && shown.Next();
    const int end = more ? shown.FirstFrame() : image.FrameCount();
    if (!encoder.Add(std::move(picture), delay, more ? &shown.Picture() : nullptr, KeptBlocks(image, first, end, kept)))
      return std::nullopt;
    first = end;
  }
  const bool loopKept = (kept & rsKeepAppBlocks) && LoopExtensionCount(image) > 0;
  return encoder.Finish(loopKept ? kPlaysOnce : ViewerLoopCount(image));
}

}  // namespace

std::optional<std::vector<uint8_t>> DeepEncodeUnchecked(const TGIFImage& image, TReduceSteps kept) {
  if (image.FrameCount() == 0 || !TAnimationComposer::CanCompose(image)) return std::nullopt;
  const int64_t screen = int64_t(image.Width()) * image.Height();
  if (screen == 0 || screen > kMaxScreenPixels || screen * image.FrameCount() > kMaxComposedPixels) return std::nullopt;
  // Viewers differ on which of several loop extensions they follow, and on the screen a first
  // frame past its edge is shown on, while the new frames stay inside the logical screen.
  if (LoopExtensionCount(image) > 1 || WidensBrowserScreen(image, 0)) return std::nullopt;
  return Encode(image, kept);
}

std::optional<std::vector<uint8_t>> DeepEncode(const TGIFImage& image, std::span<const uint8_t> source,
                                               TReduceSteps kept) {
  std::optional<std::vector<uint8_t>> encoding = DeepEncodeUnchecked(image, kept);
  if (encoding && !CompareAnimations(source, *encoding).Equal()) return std::nullopt;
  return encoding;
}

}  // namespace corvane
