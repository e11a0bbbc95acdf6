#pragma once
// TFrameCoder: codes the frame that turns one screen into the next in the fewest bytes it finds.
// Inside the changed area, pixels that change take their new colour; pixels that stay the same
// may be transparent or repeat their colour: the coder tries them all repeated, all
// transparent, a choice per pixel that follows LZW's strings, and the choice that makes the
// fewest runs, keeping the smallest.

#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

#include "gif/LZWEncoder.h"
#include "gifopt/GlobalTable.h"
#include "platform/Stream.h"
#include "platform/Types.h"

namespace corvane {

struct TCodedFrame {
  TRect Area;                   // on the screen
  std::vector<TRGBA> LocalIds;  // the local table's colour ids; empty: the frame uses the global table
  int TransparentIndex = -1;    // -1: no pixel is transparent
  bool Interlaced = false;      // the data holds the rows in interlace order
  std::vector<uint8_t> Data;    // as written: minimum code size, sub-blocks, terminator
  // Until CodeSmallest: the indices in row order and their code size; Data is the default
  // encoder's coding of them.
  std::vector<uint8_t> Values;
  int CodeSize = 0;

  // Bytes of the image descriptor, the local table and the data.
  int64_t ImageBytes() const;
};

// A screen a frame is drawn on: one the animation showed, with the area that the disposal of
// the frame before clears to transparent (none, or the whole screen before the first frame).
struct TScreenBase {
  const std::vector<TRGBA>& Screen;
  TRect Cleared;

  // Row y as the frame finds it: in the screen, or in scratch where the row is cleared.
  const TRGBA* Row(int y, int width, std::vector<TRGBA>& scratch) const;
};

// Which of the coder's variants Code tries: all of them, or, to compare screens to draw on
// cheaply, the one that wins most often first and the others later for the screen chosen.
enum class TFrameVariants { All, Likeliest, Others };

class TFrameCoder {
 public:
  TFrameCoder(int screenWidth, int colorIdCount, const TGlobalTable& global)
      : FWidth(screenWidth), FGlobal(global), FLocalIndex(size_t(colorIdCount) + 1, -1) {}

  // The smallest frame found that turns base into target, both screens of colour ids, drawn
  // over area (which holds every changed pixel; an empty area codes a frame that shows
  // nothing new), as the default encoder codes it, of the variants asked for. None when no
  // table can hold the frame's colours, or none of those variants applies.
  std::optional<TCodedFrame> Code(const TScreenBase& base, const std::vector<TRGBA>& target, TRect area,
                                  TFrameVariants variants = TFrameVariants::All);
  // Codes a frame Code made, of the candidates the one kept, in the fewest bytes the library
  // can: rows in order or interlaced, the default encoder or the flexible coder.
  void CodeSmallest(TCodedFrame& frame);

 private:
  static constexpr int kMaxEntries = 256;
  struct TTable;
  bool ChooseTable(TTable& table);
  int SpareIndex(const std::bitset<kMaxEntries>& used, int padded) const;
  void CodeVariant(const TTable& table, int variant, std::optional<TCodedFrame>& best);

  int FWidth;
  const TGlobalTable& FGlobal;
  std::vector<int16_t> FLocalIndex;  // by colour id, while a local table is made
  // The frame's pixels: their colour ids, and whether each one changes.
  TRect FArea;
  std::vector<TRGBA> FWanted;
  std::vector<uint8_t> FChanged;
  bool FMustClear = false;  // a pixel that stays transparent
  std::vector<uint8_t> FValues;
  std::vector<uint8_t> FFree;
  std::vector<uint8_t> FBestValues;  // the pixels of the smallest variant so far
  std::vector<TRGBA> FBaseRow;
  int FBestCodeSize = 0;
  TLZWEncoder FEncoder;
  TMemoryStream FCoded;
};

// The smallest area that holds every pixel where the screens differ; empty when none does.
// valid is false when target is transparent where base is not, which no frame can draw.
TRect ChangedArea(const TScreenBase& base, const std::vector<TRGBA>& target, int width, bool& valid);

}  // namespace corvane
