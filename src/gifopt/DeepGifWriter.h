#pragma once
// TDeepGifWriter: writes the file of a new encoding from its coded frames: the header, the
// global table when a frame uses it, the loop extension, each frame with a control extension
// where it needs one, and the trailer. GIF87a when nothing needs GIF89a.

#include <cstdint>
#include <vector>

#include "gifopt/ColorIds.h"
#include "gifopt/FrameCoder.h"
#include "gifopt/GlobalTable.h"
#include "gifopt/ViewerRules.h"

namespace corvane {

class TDeepGifWriter {
 public:
  TDeepGifWriter(const TColorIds& ids, const TGlobalTable& global) : FIds(ids), FGlobal(global) {}

  // blocks: extensions kept as read, written before the frame.
  void AddFrame(const TCodedFrame& frame, uint16_t delay, TDisposalEffect disposal,
                const std::vector<uint8_t>& blocks = {});
  // The file. loopCount: the loop extension's repeat count, or kPlaysOnce for none.
  std::vector<uint8_t> Finish(const TGIFImage& source, int loopCount);

 private:
  void PutColors(std::vector<uint8_t>& out, const std::vector<TRGBA>& ids, int entries) const;
  uint8_t BackgroundIndex(const TGIFImage& source) const;

  const TColorIds& FIds;
  const TGlobalTable& FGlobal;
  std::vector<uint8_t> FFrames;
  bool FNeeds89a = false;
  bool FUsesGlobal = false;
};

}  // namespace corvane
