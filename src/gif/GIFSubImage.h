#pragma once
// TGIFSubImage: one frame of a GIF file: the extensions in front of it, its image
// descriptor, its local colour table and its pixels, one colour index per byte.

#include <cstdint>
#include <memory>
#include <string>

#include "gif/GIFColorMap.h"
#include "gif/GIFItem.h"
#include "gif/GIFList.h"
#include "platform/Palette.h"
#include "platform/Types.h"

namespace corvane {

class TGIFFrameDrawing;
class TGIFGraphicControlExtension;

class TGIFSubImage final : public TGIFItem {
 public:
  static constexpr uint8_t kSeparator = 0x2C;
  // The image descriptor's bytes, its separator included.
  static constexpr int kDescriptorBytes = 10;
  // Frame flags: local table present, interlaced, local table sorted, two reserved bits, and
  // the local table size, 2^(size + 1) entries.
  static constexpr uint8_t kLocalTable = 0x80;
  static constexpr uint8_t kInterlaced = 0x40;
  static constexpr uint8_t kSorted = 0x20;
  static constexpr uint8_t kReserved = 0x18;
  static constexpr uint8_t kTableSizeMask = 0x07;

  explicit TGIFSubImage(TGIFImage& ownerImage);
  ~TGIFSubImage() override;

  std::string ClassName() const override { return "TGIFSubImage"; }
  // From another frame: descriptor, pixels, local table (unless the source is blank) and
  // extensions, re-created from their file form.
  void CopyFrom(const TPersistent& source) override;
  // Through the render hook: a bitmap receives the frame's rendered bitmap (an empty one for
  // a blank frame); any other target is refused.
  void CopyTo(TPersistent& target) const override;
  // rev89a with a usage-ordered local table or any extension.
  TGifRevision FileRevision() const override;
  // The extensions, then (unless blank) the descriptor, the local table and the pixels.
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;

  // The first descriptor byte as read; the writer always writes 0x2C.
  uint8_t SeparatorByte() const { return FSeparatorByte; }
  // Whether the coded data as read set every pixel of the declared frame (viewers leave the
  // rest showing what lies beneath); true for a frame not read from a file.
  bool DataSetEveryPixel() const { return FDataSetEveryPixel; }
  uint16_t FrameLeft() const { return FFrameLeft; }
  uint16_t FrameTop() const { return FFrameTop; }
  uint16_t FrameWidth() const { return FFrameWidth; }
  uint16_t FrameHeight() const { return FFrameHeight; }
  uint8_t FrameFlags() const { return FFrameFlags; }
  void SetFrameFlags(uint8_t value) { FFrameFlags = value; }
  void SetFrameLeft(uint16_t value) { PlaceFrame(value, FFrameTop, FFrameWidth, FFrameHeight); }
  void SetFrameTop(uint16_t value) { PlaceFrame(FFrameLeft, value, FFrameWidth, FFrameHeight); }
  void SetFrameWidth(uint16_t value) { PlaceFrame(FFrameLeft, FFrameTop, value, FFrameHeight); }
  void SetFrameHeight(uint16_t value) { PlaceFrame(FFrameLeft, FFrameTop, FFrameWidth, value); }
  // Moves and sizes the frame. A new size renews the pixels (zero-filled). The logical screen
  // grows to hold the frame, with warnings unless it was empty.
  void PlaceFrame(int left, int top, int width, int height);
  // Keeps the pixels inside keep (frame coordinates, within the frame) and makes that the
  // frame's place and size. The logical screen is not consulted; "Invalid image dimensions"
  // when the new place does not fit in 16 bits.
  void CropFrame(const TRect& keep);
  // Right and bottom exclusive.
  TRect BoundsRect() const;
  bool IsInterlaced() const { return (FFrameFlags & kInterlaced) != 0; }
  // Sets FrameFlags from the local table, as the writer stores them.
  void RefreshFrameFlags();

  // No pixel buffer, or a frame without area.
  bool IsBlank() const;
  // A zero-filled buffer of FrameWidth × FrameHeight bytes (none when that is 0). Raises
  // GIFException beyond the pixel limits, before allocating.
  void AllocatePixels();
  void ReleasePixels();
  // For the reader: makes the frame rows high with a zero-filled buffer, the logical screen
  // not consulted.
  void AllocateRows(int rows);
  // Allocates when there is no buffer; "Image is empty" when there is still none.
  void EnsurePixels();
  // "Invalid pixel coordinates" outside the frame.
  uint8_t* RowStart(int y);
  uint8_t PixelAt(int x, int y);
  uint8_t* PixelData() { return FPixelData.get(); }
  const uint8_t* PixelData() const { return FPixelData.get(); }
  int32_t PixelDataSize() const { return FPixelDataSize; }

  // The local table when it has entries, else the global table when that has, else the
  // empty local table.
  const TGIFColorMap& ActiveTable() const;
  TGIFLocalColorMap& LocalTable() { return *FLocalTable; }
  const TGIFLocalColorMap& LocalTable() const { return *FLocalTable; }
  int TableDepth() const { return FLocalTable->TableDepth(); }
  int TableResolution() const { return FLocalTable->TableResolution(); }

  TGIFExtensionList& Extensions() { return *FExtensionList; }
  const TGIFExtensionList& Extensions() const { return *FExtensionList; }
  // Whether the control block marks a transparent index.
  bool HasTransparency() const;
  // The graphic control extension viewers apply to the frame: the last one in front of its
  // image, owned by the extension list. None when the frame has none.
  TGIFGraphicControlExtension* ControlBlock();
  const TGIFGraphicControlExtension* ControlBlock() const;

  // Deletes the extensions, the local table and the pixels and makes the frame 0 × 0;
  // position, flags and separator stay.
  void ClearFrame();
  // What the renderer keeps of the frame; none before it draws.
  std::unique_ptr<TGIFFrameDrawing>& Drawing() { return FDrawing; }
  const TGIFFrameDrawing* Drawing() const { return FDrawing.get(); }
  void DropCachedBitmap();
  void DropCachedMask();
  // After the local table changed: a drawing made with the frame's palette is dropped and
  // the image marks its palette modified.
  void DropFramePalette();

 private:

  // The descriptor, the pixels and the local table.
  void CopyImageDataFrom(const TGIFSubImage& frame);
  void ReadDescriptor(TStream& stream);
  // Pads the active table with black to the depth that holds every pixel's index, so that
  // the frame can be written as it shows.
  void CoverPixelIndices();
  void WriteDescriptor(TStream& stream) const;

  std::unique_ptr<TGIFFrameDrawing> FDrawing;
  std::unique_ptr<uint8_t[]> FPixelData;
  int32_t FPixelDataSize = 0;
  std::unique_ptr<TGIFLocalColorMap> FLocalTable;
  // The image descriptor, 10 bytes in file order.
  uint8_t FSeparatorByte = kSeparator;
  uint16_t FFrameLeft = 0;
  uint16_t FFrameTop = 0;
  uint16_t FFrameWidth = 0;
  uint16_t FFrameHeight = 0;
  uint8_t FFrameFlags = 0;
  bool FDataSetEveryPixel = true;
  std::unique_ptr<TGIFExtensionList> FExtensionList;
};

}  // namespace corvane
