#include "AnimationComposer.h"

#include <algorithm>
#include <array>
#include <utility>

#include "gif/GIFCodec.h"

namespace corvane {

bool TAnimationComposer::CanCompose(const TGIFImage& image) {
  return int64_t(image.Width()) * image.Height() <= kMaxScreenPixels;
}

TAnimationComposer::TAnimationComposer(const TGIFImage& image, TColorKey key)
    : FImage(image), FKey(std::move(key)), FWidth(image.Width()), FHeight(image.Height()) {
  if (!CanCompose(image)) throw GIFException("Logical screen too large to compose");
  FScreenReserved = ReserveScreen();
  FScreen.assign(size_t(FWidth) * size_t(FHeight), 0);
}

bool TAnimationComposer::NextFrame() {
  if (FDrawn) Dispose();
  FDrawn = false;
  do {
    ++FIndex;
  } while (FIndex < FImage.FrameCount() && FImage.Frame(FIndex).IsBlank());
  if (FIndex >= FImage.FrameCount()) {
    FIndex = FImage.FrameCount();
    return false;
  }
  FDisposal = FrameDisposalEffect(FImage.Frame(FIndex));
  if (FDisposal == TDisposalEffect::Restore) {
    if (FSaved.empty()) FSavedReserved = ReserveScreen();
    FSaved = FScreen;
  }
  return true;
}

TGIFBudgetReservation TAnimationComposer::ReserveScreen() const {
  return {FImage.BudgetAccount(), int64_t(FWidth) * FHeight * int64_t(sizeof(TRGBA))};
}

void TAnimationComposer::DrawFrame() {
  const TGIFSubImage& frame = FImage.Frame(FIndex);
  const TGIFColorMap& table = frame.ActiveTable();
  std::array<TRGBA, 256> colors;
  colors.fill(FKey ? FKey(kOpaque) : kOpaque);
  for (int i = 0; i < table.EntryCount(); ++i) {
    const uint8_t* rgb = table.Entries() + size_t(i) * 3;
    const TRGBA color = kOpaque | TRGBA(rgb[0]) | TRGBA(rgb[1]) << 8 | TRGBA(rgb[2]) << 16;
    colors[size_t(i)] = FKey ? FKey(color) : color;
  }
  const TGIFGraphicControlExtension* control = ViewerControlBlock(frame);
  const bool transparent = control && control->Transparent();
  const uint8_t transparentIndex = control ? control->TransparentIndex() : 0;
  const TRect area = OnScreen(frame.BoundsRect());
  for (int y = area.Top; y < area.Bottom; ++y) {
    const uint8_t* row = frame.PixelData() + size_t(y - frame.FrameTop()) * frame.FrameWidth();
    TRGBA* target = &FScreen[size_t(y) * size_t(FWidth)];
    for (int x = area.Left; x < area.Right; ++x) {
      uint8_t index = row[x - frame.FrameLeft()];
      if (!transparent || index != transparentIndex) target[x] = colors[index];
    }
  }
  FDrawn = true;
}

int TAnimationComposer::FrameTime() const { return FrameDisplayTime(FImage.Frame(FIndex)); }

bool TAnimationComposer::IsClearOutside(const TRect& area, const TRect& except) const {
  const TRect clipped = OnScreen(area);
  for (int y = clipped.Top; y < clipped.Bottom; ++y)
    for (int x = clipped.Left; x < clipped.Right; ++x)
      if (FScreen[size_t(y) * size_t(FWidth) + size_t(x)] != 0 && !except.Contains({x, y})) return false;
  return true;
}

void TAnimationComposer::Dispose() {
  if (FDisposal == TDisposalEffect::Restore) {
    FScreen.swap(FSaved);
  } else if (FDisposal == TDisposalEffect::Clear) {
    const TRect area = OnScreen(FImage.Frame(FIndex).BoundsRect());
    for (int y = area.Top; y < area.Bottom; ++y)
      std::fill_n(&FScreen[size_t(y) * size_t(FWidth) + size_t(area.Left)], area.Width(), 0);
  }
}

TRect TAnimationComposer::OnScreen(const TRect& rect) const { return Intersect(rect, {0, 0, FWidth, FHeight}); }

}  // namespace corvane
