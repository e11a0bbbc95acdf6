#include "DeepGifWriter.h"

#include <algorithm>

#include "gif/GIFCodec.h"
#include "gif/GIFTypes.h"

namespace corvane {

namespace {

constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kControlBlockSize = 4;
constexpr char kLoopIdentifier[] = "NETSCAPE2.0";

void Put16(std::vector<uint8_t>& out, int value) {
  out.push_back(uint8_t(value & 0xFF));
  out.push_back(uint8_t(value >> 8 & 0xFF));
}

TGIFDisposal WrittenDisposal(TDisposalEffect disposal) {
  switch (disposal) {
    case TDisposalEffect::Clear:
      return dmRestoreBackground;
    case TDisposalEffect::Restore:
      return dmRestorePrevious;
    default:
      return dmKeep;
  }
}

void PutControlBlock(std::vector<uint8_t>& out, uint16_t delay, TDisposalEffect disposal, int transparent) {
  out.insert(out.end(), {TGIFExtension::kIntroducer, TGIFGraphicControlExtension::kLabel, kControlBlockSize});
  using TControl = TGIFGraphicControlExtension;
  out.push_back(uint8_t(WrittenDisposal(disposal) << TControl::kDisposalShift |
                        (transparent >= 0 ? TControl::kTransparentFlag : 0)));
  Put16(out, delay);
  out.push_back(uint8_t(std::max(transparent, 0)));
  out.push_back(0);
}

void PutLoopExtension(std::vector<uint8_t>& out, int loopCount) {
  constexpr uint8_t kIdentifierBytes = sizeof kLoopIdentifier - 1;
  out.insert(out.end(), {TGIFExtension::kIntroducer, TGIFApplicationExtension::kLabel, kIdentifierBytes});
  out.insert(out.end(), kLoopIdentifier, kLoopIdentifier + kIdentifierBytes);
  out.insert(out.end(), {TGIFAppExtNSLoop::kLoopSubBlockLength, TGIFAppExtNSLoop::kLoopSubBlock});
  Put16(out, loopCount);
  out.push_back(0);
}

}  // namespace

void TDeepGifWriter::AddFrame(const TCodedFrame& frame, uint16_t delay, TDisposalEffect disposal,
                              const std::vector<uint8_t>& blocks) {
  FFrames.insert(FFrames.end(), blocks.begin(), blocks.end());
  FNeeds89a = FNeeds89a || !blocks.empty();
  if (delay != 0 || disposal != TDisposalEffect::Keep || frame.TransparentIndex >= 0) {
    PutControlBlock(FFrames, delay, disposal, frame.TransparentIndex);
    FNeeds89a = true;
  }
  FFrames.push_back(TGIFSubImage::kSeparator);
  Put16(FFrames, frame.Area.Left);
  Put16(FFrames, frame.Area.Top);
  Put16(FFrames, frame.Area.Width());
  Put16(FFrames, frame.Area.Height());
  const uint8_t interlaced = frame.Interlaced ? TGIFSubImage::kInterlaced : 0;
  if (frame.LocalIds.empty()) {
    FUsesGlobal = true;
    FFrames.push_back(interlaced);
  } else {
    const int depth = DepthForCount(std::max(int(frame.LocalIds.size()), frame.TransparentIndex + 1));
    FFrames.push_back(uint8_t(TGIFSubImage::kLocalTable | interlaced | (depth - 1)));
    PutColors(FFrames, frame.LocalIds, 1 << depth);
  }
  FFrames.insert(FFrames.end(), frame.Data.begin(), frame.Data.end());
}

std::vector<uint8_t> TDeepGifWriter::Finish(const TGIFImage& source, int loopCount) {
  const TGIFHeader& header = source.Header();
  const bool needs89a = FNeeds89a || loopCount != kPlaysOnce || header.PixelAspect != 0;
  std::vector<uint8_t> out{'G', 'I', 'F', '8', uint8_t(needs89a ? '9' : '7'), 'a'};
  Put16(out, header.CanvasWidth);
  Put16(out, header.CanvasHeight);
  const bool global = FUsesGlobal && !FGlobal.Ids.empty();
  const int depth = global ? DepthForCount(int(FGlobal.Ids.size())) : 0;
  out.push_back(global ? uint8_t(TGIFHeader::kGlobalTable | (depth - 1) << 4 | (depth - 1)) : 0);
  out.push_back(global ? BackgroundIndex(source) : 0);
  out.push_back(header.PixelAspect);
  if (global) PutColors(out, FGlobal.Ids, FGlobal.PaddedCount());
  if (loopCount != kPlaysOnce) PutLoopExtension(out, loopCount);
  out.insert(out.end(), FFrames.begin(), FFrames.end());
  out.push_back(kTrailer);
  return out;
}

void TDeepGifWriter::PutColors(std::vector<uint8_t>& out, const std::vector<TRGBA>& ids, int entries) const {
  for (int i = 0; i < entries; ++i) {
    const TRGBA color = size_t(i) < ids.size() && ids[size_t(i)] != 0 ? FIds.ColorOf(ids[size_t(i)]) : kOpaque;
    out.insert(out.end(), {uint8_t(color & 0xFF), uint8_t(color >> 8 & 0xFF), uint8_t(color >> 16 & 0xFF)});
  }
}

// The entry of the source's background colour, so that viewers that paint the background see
// the same colour; 0 when the new table lacks it.
uint8_t TDeepGifWriter::BackgroundIndex(const TGIFImage& source) const {
  const TGIFColorMap& table = source.Header().GlobalTable();
  const int index = source.Header().BackdropIndex;
  if (index >= table.EntryCount()) return 0;
  const uint8_t* rgb = table.Entries() + size_t(index) * 3;
  const TRGBA id = FIds.Find(kOpaque | TRGBA(rgb[0]) | TRGBA(rgb[1]) << 8 | TRGBA(rgb[2]) << 16);
  return id != 0 && FGlobal.IndexOf[id] >= 0 ? uint8_t(FGlobal.IndexOf[id]) : 0;
}

}  // namespace corvane
