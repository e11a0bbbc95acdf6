#include "DeepOptimize.h"

#include <algorithm>
#include <array>

#include "gif/GIFImage.h"
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

// The first pass: how often each colour is drawn where the screen changes, and how many frames
// the new encoding has.
struct TSurvey {
  std::vector<int64_t> Usage;  // by colour id
  int Frames = 0;
  int Pictures = 0;  // frames that show something new
};

TSurvey Survey(const TGIFImage& image, TColorIds& ids) {
  TSurvey survey;
  TShownFrames shown(image, ids.Key());
  std::vector<TRGBA> previous(size_t(image.Width()) * size_t(image.Height()), 0);
  while (shown.Next()) {
    const std::vector<TRGBA>& picture = shown.Picture();
    survey.Usage.resize(size_t(ids.Count()) + 1, 0);
    bool changes = survey.Frames == 0;
    for (size_t i = 0; i < picture.size(); ++i) {
      if (picture[i] == previous[i]) continue;
      ++survey.Usage[picture[i]];
      changes = true;
    }
    previous = picture;
    ++survey.Frames;
    survey.Pictures += changes;
  }
  survey.Usage.resize(size_t(ids.Count()) + 1, 0);
  survey.Usage[0] = 0;
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

  // False when a frame cannot be coded. next: the picture after this one, or none.
  bool Add(std::vector<TRGBA> picture, uint16_t delay, const std::vector<TRGBA>* next, std::vector<uint8_t> blocks);
  std::vector<uint8_t> Finish(int loopCount);

 private:
  struct TChoice {
    TDisposalEffect Disposal;
    std::vector<TRGBA> Base;
    TRect Area;
  };
  std::vector<TChoice> Choices(const std::vector<TRGBA>& picture) const;

  const TGIFImage& FImage;
  int FWidth;
  bool FStill;
  TFrameCoder FCoder;
  TDeepGifWriter FWriter;
  std::optional<TPendingFrame> FPending;
};

// The screens the next frame can be drawn on, one per disposal of the frame in hand, with the
// area each leaves to draw; those no frame can turn into the picture are left out.
std::vector<TDeepEncoder::TChoice> TDeepEncoder::Choices(const std::vector<TRGBA>& picture) const {
  std::vector<TChoice> choices;
  auto consider = [&](TDisposalEffect disposal, std::vector<TRGBA> base) {
    bool valid = false;
    TRect area = ChangedArea(base, picture, FWidth, valid);
    if (valid) choices.push_back({disposal, std::move(base), area});
  };
  if (!FPending) {
    consider(TDisposalEffect::Keep, std::vector<TRGBA>(picture.size(), 0));
    return choices;
  }
  consider(TDisposalEffect::Keep, FPending->Picture);
  std::vector<TRGBA> cleared = FPending->Picture;
  const TRect drawn = FPending->Coded.Area;
  bool clears = false;
  for (int y = drawn.Top; y < drawn.Bottom; ++y) {
    TRGBA* row = &cleared[size_t(y) * size_t(FWidth)];
    clears |= std::any_of(row + drawn.Left, row + drawn.Right, [](TRGBA value) { return value != 0; });
    std::fill(row + drawn.Left, row + drawn.Right, 0);
  }
  if (clears) consider(TDisposalEffect::Clear, std::move(cleared));
  if (FPending->Base != FPending->Picture) consider(TDisposalEffect::Restore, FPending->Base);
  return choices;
}

// Where the next picture is transparent and this one is not, this frame must be cleared: it
// covers that area too.
TRect VanishingArea(const std::vector<TRGBA>& picture, const std::vector<TRGBA>* next, int width) {
  if (!next || width <= 0) return {};
  TRect area{width, int(picture.size() / size_t(width)), 0, 0};
  for (size_t i = 0; i < picture.size(); ++i) {
    if (picture[i] == 0 || (*next)[i] != 0) continue;
    const int x = int(i % size_t(width)), y = int(i / size_t(width));
    area = {std::min(area.Left, x), std::min(area.Top, y), std::max(area.Right, x + 1), std::max(area.Bottom, y + 1)};
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
  std::optional<TCodedFrame> best;
  size_t chosen = 0;
  for (size_t i = 0; i < choices.size(); ++i) {
    if (AreaOf(choices[i].Area) * 100 > smallest * kAreaSlackPercent) continue;
    std::optional<TCodedFrame> coded = FCoder.Code(choices[i].Base, picture, choices[i].Area);
    if (coded && (!best || coded->ImageBytes() < best->ImageBytes())) {
      best = std::move(coded);
      chosen = i;
    }
  }
  if (!best) return false;
  if (FPending) FWriter.AddFrame(FPending->Coded, FPending->Delay, choices[chosen].Disposal, FPending->Blocks);
  FPending = TPendingFrame{std::move(*best), FStill ? uint16_t(0) : delay, std::move(choices[chosen].Base),
                           std::move(picture), std::move(blocks)};
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
  const TGlobalTable global = MakeGlobalTable(survey.Usage);
  // A still needs one frame, whatever its time and loops.
  const bool still = survey.Pictures == 1;
  TDeepEncoder encoder(image, ids, global, still);
  TShownFrames shown(image, ids.Key());
  const int frames = still ? 1 : survey.Frames;
  bool more = shown.Next();
  int first = 0;  // the image's first frame the next new frame stands for
  for (int frame = 0; frame < frames && more; ++frame) {
    std::vector<TRGBA> picture = shown.Picture();
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
  // Viewers differ on which of several loop extensions they follow.
  if (LoopExtensionCount(image) > 1) return std::nullopt;
  return Encode(image, kept);
}

std::optional<std::vector<uint8_t>> DeepEncode(const TGIFImage& image, std::span<const uint8_t> source,
                                               TReduceSteps kept) {
  std::optional<std::vector<uint8_t>> encoding = DeepEncodeUnchecked(image, kept);
  if (encoding && !CompareAnimations(source, *encoding).Equal()) return std::nullopt;
  return encoding;
}

}  // namespace corvane
