#pragma once
// TGIFSubImage: one frame of a GIF file: the extensions in front of it, its image
// descriptor, its local colour table and its pixels, one colour index per byte.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "gif/GIFColorMap.h"
#include "gif/GIFItem.h"
#include "gif/GIFList.h"
#include "platform/Bitmap.h"
#include "platform/MaskBitmap.h"
#include "platform/Palette.h"
#include "platform/Types.h"

namespace corvane {

class TCanvas;
class TGIFGraphicControlExtension;

class TGIFSubImage final : public TGIFItem {
 public:
  static constexpr uint8_t kSeparator = 0x2C;
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
  // A bitmap receives the frame's rendered bitmap (an empty one for a blank frame); any
  // other target is refused.
  void CopyTo(TPersistent& target) const override;
  // rev89a with a usage-ordered local table or any extension.
  TGifRevision FileRevision() const override;
  // The extensions, then (unless blank) the descriptor, the local table and the pixels.
  void SaveToStream(TStream& stream) override;
  void LoadFromStream(TStream& stream) override;

  // The first descriptor byte as read; the writer always writes 0x2C.
  uint8_t SeparatorByte() const { return FSeparatorByte; }
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
  uint8_t* PixelData() const { return FPixelData.get(); }
  int32_t PixelDataSize() const { return FPixelDataSize; }

  // The local table when it has entries, else the global table when that has, else the
  // empty local table.
  const TGIFColorMap& ActiveTable() const;
  TGIFLocalColorMap& LocalTable() const { return *FLocalTable; }
  int TableDepth() const { return FLocalTable->TableDepth(); }
  int TableResolution() const { return FLocalTable->TableResolution(); }

  TGIFExtensionList& Extensions() const { return *FExtensionList; }
  // Whether the control block marks a transparent index.
  bool HasTransparency() const;
  // The graphic control extension viewers apply to the frame: the last one in front of its
  // image, owned by the extension list. None when the frame has none.
  TGIFGraphicControlExtension* ControlBlock() const;

  // Deletes the extensions, the local table and the pixels and makes the frame 0 × 0;
  // position, flags and separator stay.
  void ClearFrame();
  void DropCachedBitmap() { FCachedBitmap.reset(); }
  void DropCachedMask();

  TPalette FramePalette() const { return FFramePalette; }
  // Replaces the frame's palette; a drawing made with another palette is dropped.
  void SetFramePalette(TPalette palette);

  // Drawing. The rendered frame, an 8-bit bitmap of the frame's size, built on first use;
  // none for a blank frame or when a progress handler cancelled the rendering.
  TBitmap* FrameBitmap();
  // Renders again when the mask is pending; answers whether the frame has a mask.
  bool EnsureMask();
  // Bit 1 where a pixel is transparent; none when no pixel is.
  const TMaskBitmap* Mask() const { return FCachedMask.get(); }
  // The rendered bitmap's palette, else the frame's own (the web palette when the image
  // dithers, else its local table's), else the image's when it has a global table, else
  // 256 black entries: viewers show a frame without any table black.
  TPalette Palette();
  // The frame's place on the logical screen scaled into rect; empty for an image without area.
  TRect FrameTargetRect(const TRect& rect) const;
  // Draws the frame scaled to its place in rect or, tiled, at its own size in every copy of
  // the picture laid out from rect's top-left corner. Transparent pixels keep the target
  // when transparent is asked for.
  void DrawFrame(TCanvas& canvas, const TRect& rect, bool tile, bool transparent);
  // The frame's area in each copy of the picture laid out from rect's top-left corner at the
  // image's size, column by column, while the area starts inside rect.
  void ForEachTile(const TRect& rect, const std::function<void(const TRect& area)>& visit) const;

 private:
  static constexpr int kDescriptorBytes = 10;

  // The descriptor, the pixels and the local table.
  void CopyImageDataFrom(const TGIFSubImage& frame);
  void ReadDescriptor(TStream& stream);
  // Pads the active table with black to the depth that holds every pixel's index, so that
  // the frame can be written as it shows.
  void CoverPixelIndices();
  void WriteDescriptor(TStream& stream) const;

  // The renderers fill bitmap and, when one is made, the mask.
  void RenderDirect(TBitmap& bitmap);
  void RenderDithered(TBitmap& bitmap);
  // The transparent index a mask is made for, or -1; the mask is no longer pending.
  int BeginMask();
  // Keeps mask when any pixel is transparent; a mask made for no pixel is none.
  void EndMask(std::unique_ptr<TMaskBitmap> mask);
  void ReportRendering(int row);

  // Drawing state: the rendered frame, its transparency mask and its palette.
  std::unique_ptr<TBitmap> FCachedBitmap;
  std::unique_ptr<TMaskBitmap> FCachedMask;
  bool FMaskPending = true;
  TPalette FFramePalette;

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
  std::unique_ptr<TGIFExtensionList> FExtensionList;
};

}  // namespace corvane
