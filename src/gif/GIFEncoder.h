#pragma once
// Base of the GIF pixel encoders: writes the minimum code size, packs variable-width codes
// least significant bit first into sub-blocks, walks the frame's pixels in coding order
// (interlaced or not) and checks each against the colour table.

#include <cstdint>

#include "gif/CodePacker.h"
#include "gif/GIFException.h"
#include "gif/GIFWriter.h"
#include "platform/Stream.h"

namespace corvane {

class TGIFEncoder {
 public:
  virtual ~TGIFEncoder() = default;

  // Writes one frame's coded data at the stream's position: the minimum code size (raised to
  // 2 when below), the sub-blocks and the terminator. Raises GIFException "Color not in color
  // table" for a pixel value of colorCount or more; the partial sub-block is then written,
  // but neither the end code nor the terminator.
  void CompressPixels(TStream& stream, uint8_t minCodeSize, int width, int height,
                      bool interlaced, const uint8_t* pixels, int colorCount);

 protected:
  virtual void EmitCode(int code);
  virtual void EmitClear();
  // Codes the pixels; CompressPixels adds the end code.
  virtual void EncodeBody() = 0;

  static int LargestCode(int codeSize) { return (1 << codeSize) - 1; }
  // Packs a code. A pixel value at or above the clear code can come through as the end code,
  // and then completes the byte as the end code does.
  static void PackCode(TCodePacker& packer, int code, int codeSize, int endValue) {
    packer.Put(code, codeSize);
    if (code == endValue) packer.PadToByte();
  }
  // The first pixel from begin on that is not below the colour count, or end.
  const uint8_t* FirstOutsideTable(const uint8_t* begin, const uint8_t* end) const;

  // The pixel at the cursor, checked against the colour count; moves the cursor on.
  int TakePixel() {
    int pixel = *FPixelCursor++;
    if (pixel >= FColorCount) throw GIFException("Color not in color table");
    return pixel;
  }
  // Counts the pixel just taken; false when it was the frame's last. Moves the cursor to the
  // next row of the interlace order when a row is done.
  bool AdvancePixel() { return --FLeftInRow > 0 || NextRow(); }

  bool NextRow();

  int FColorCount = 0;
  uint8_t FMinCodeSize = 0;
  TStream* FOutStream = nullptr;
  int FFrameWidth = 0;
  int FFrameHeight = 0;
  bool FInterlaced = false;
  const uint8_t* FPixels = nullptr;
  TCodePacker FPacker;  // valid during CompressPixels
  bool FJustCleared = false;
  int FCodeSize = 0;
  int FStartCodeSize = 0;
  int FCodeLimit = 0;
  int FClearValue = 0;
  int FEndValue = 0;
  int FFirstFree = 0;
  const uint8_t* FPixelCursor = nullptr;
  int64_t FLeftInRow = 0;
  int FRowIndex = 0;
  int FPassIndex = 0;
};

}  // namespace corvane
