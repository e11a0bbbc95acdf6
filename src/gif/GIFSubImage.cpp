#include "GIFSubImage.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "gif/FramePixels.h"
#include "gif/GIFException.h"
#include "gif/GIFExtensions.h"
#include "gif/GIFHeader.h"
#include "gif/GIFImage.h"
#include "gif/GIFRenderHook.h"
#include "gif/GIFStreamIO.h"
#include "gif/GIFTypes.h"

namespace corvane {

TGIFSubImage::TGIFSubImage(TGIFImage& ownerImage)
    : TGIFItem(ownerImage),
      FLocalTable(std::make_unique<TGIFLocalColorMap>(*this)),
      FExtensionList(std::make_unique<TGIFExtensionList>(*this)) {}

TGIFSubImage::~TGIFSubImage() {
  DetachFromList();
  // The extensions refer to this frame while they go.
  FExtensionList->DeleteAll();
  ReleasePixels();
}

void TGIFSubImage::CopyFrom(const TPersistent& source) {
  const auto* frame = dynamic_cast<const TGIFSubImage*>(&source);
  if (!frame) {
    TGIFItem::CopyFrom(source);
    return;
  }
  if (frame == this) return;
  ClearFrame();
  if (!frame->IsBlank()) CopyImageDataFrom(*frame);
  // A blank frame keeps its extensions too: they are what it holds in the file.
  if (frame->FExtensionList->MemberCount() > 0) {
    TMemoryStream stream;
    frame->FExtensionList->SaveToStream(stream);
    stream.SetPosition(0);
    FExtensionList->LoadFromStream(stream);
  }
  if (frame->FDrawing) frame->FDrawing->CopyBitmapTo(FDrawing);
}

void TGIFSubImage::CopyImageDataFrom(const TGIFSubImage& frame) {
  FSeparatorByte = frame.FSeparatorByte;
  FFrameLeft = frame.FFrameLeft;
  FFrameTop = frame.FFrameTop;
  FFrameWidth = frame.FFrameWidth;
  FFrameHeight = frame.FFrameHeight;
  FFrameFlags = frame.FFrameFlags;
  FDataSetEveryPixel = frame.FDataSetEveryPixel;
  AllocatePixels();
  if (FPixelData && frame.FPixelData) std::memcpy(FPixelData.get(), frame.FPixelData.get(), size_t(FPixelDataSize));
  FLocalTable->CopyFrom(*frame.FLocalTable);
}

TGifRevision TGIFSubImage::FileRevision() const {
  if (FLocalTable->UsageOrdered()) return rev89a;
  for (int i = 0; i < FExtensionList->MemberCount(); ++i)
    if (FExtensionList->Extension(i).FileRevision() == rev89a) return rev89a;
  return rev87a;
}

void TGIFSubImage::PlaceFrame(int left, int top, int width, int height) {
  TGIFImage& image = OwnerImage();
  if (left < 0 || top < 0 || width < 0 || height < 0 || left + width > kMaxGifExtent ||
      top + height > kMaxGifExtent)
    throw GIFException("Invalid image dimensions");
  bool resized = width != FFrameWidth || height != FFrameHeight;
  FFrameLeft = uint16_t(left);
  FFrameTop = uint16_t(top);
  FFrameWidth = uint16_t(width);
  FFrameHeight = uint16_t(height);
  if (resized) {
    DropCachedBitmap();
    DropCachedMask();
    ReleasePixels();
    AllocatePixels();
  }
  bool overflow = false;
  if (image.Width() < left + width) {
    if (image.Width() > 0) {
      overflow = true;
      ReportWarning(wsIrregularData, "Image width too small for contained frames");
    }
    image.SetWidth(left + width);
  }
  if (image.Height() < top + height) {
    if (image.Height() > 0) {
      overflow = true;
      ReportWarning(wsIrregularData, "Image height too small for contained frames");
    }
    image.SetHeight(top + height);
  }
  if (overflow) ReportWarning(wsIrregularData, "Image exceeds Logical Screen size");
}

void TGIFSubImage::CropFrame(const TRect& keep) {
  TRect inside = Intersect(keep, Bounds(0, 0, FFrameWidth, FFrameHeight));
  if (inside.IsEmpty() || !FPixelData) throw GIFException("Invalid pixel coordinates");
  if (FFrameLeft + inside.Left > kMaxGifExtent || FFrameTop + inside.Top > kMaxGifExtent)
    throw GIFException("Invalid image dimensions");
  int width = inside.Width();
  int height = inside.Height();
  auto pixels = std::make_unique<uint8_t[]>(size_t(width) * size_t(height));
  for (int y = 0; y < height; ++y)
    std::memcpy(&pixels[size_t(y) * size_t(width)], RowStart(inside.Top + y) + inside.Left, size_t(width));
  ReleasePixels();
  // The kept pixels are fewer than the ones just given back, so the reservation fits.
  OwnerImage().ReservePixelBytes(int64_t(width) * height, width, height);
  FPixelData = std::move(pixels);
  FPixelDataSize = width * height;
  FFrameLeft = uint16_t(FFrameLeft + inside.Left);
  FFrameTop = uint16_t(FFrameTop + inside.Top);
  FFrameWidth = uint16_t(width);
  FFrameHeight = uint16_t(height);
  DropCachedBitmap();
  DropCachedMask();
}

TRect TGIFSubImage::BoundsRect() const { return Bounds(FFrameLeft, FFrameTop, FFrameWidth, FFrameHeight); }

void TGIFSubImage::RefreshFrameFlags() {
  if (FLocalTable->EntryCount() > 0)
    FFrameFlags = uint8_t(kLocalTable | (FLocalTable->UsageOrdered() ? kSorted : 0) | (FLocalTable->TableDepth() - 1));
  else
    FFrameFlags &= kInterlaced | kReserved;
}

bool TGIFSubImage::IsBlank() const {
  return !FPixelData || FPixelDataSize == 0 || FFrameWidth == 0 || FFrameHeight == 0;
}

void TGIFSubImage::AllocatePixels() {
  ReleasePixels();
  int64_t size = int64_t(FFrameWidth) * FFrameHeight;
  if (size == 0) return;
  OwnerImage().ReservePixelBytes(size, FFrameWidth, FFrameHeight);
  FPixelData = std::make_unique<uint8_t[]>(size_t(size));
  FPixelDataSize = int32_t(size);
}

void TGIFSubImage::AllocateRows(int rows) {
  ReleasePixels();
  FFrameHeight = uint16_t(rows);
  AllocatePixels();
  DropCachedBitmap();
  DropCachedMask();
}

void TGIFSubImage::ReleasePixels() {
  if (FPixelData) OwnerImage().ReturnPixelBytes(FPixelDataSize);
  FPixelData.reset();
  FPixelDataSize = 0;
}

void TGIFSubImage::EnsurePixels() {
  if (!FPixelData) AllocatePixels();
  if (FPixelDataSize == 0) throw GIFException("Image is empty");
}

uint8_t* TGIFSubImage::RowStart(int y) {
  if (y < 0 || y >= FFrameHeight) throw GIFException("Invalid pixel coordinates");
  EnsurePixels();
  return FPixelData.get() + size_t(y) * FFrameWidth;
}

uint8_t TGIFSubImage::PixelAt(int x, int y) {
  if (x < 0 || x >= FFrameWidth) throw GIFException("Invalid pixel coordinates");
  return RowStart(y)[x];
}

const TGIFColorMap& TGIFSubImage::ActiveTable() const {
  if (FLocalTable->EntryCount() > 0) return *FLocalTable;
  const TGIFColorMap& global = OwnerImage().Header().GlobalTable();
  if (global.EntryCount() > 0) return global;
  return *FLocalTable;
}

const TGIFGraphicControlExtension* TGIFSubImage::ControlBlock() const {
  const TGIFExtensionList& extensions = *FExtensionList;
  for (int i = extensions.MemberCount() - 1; i >= 0; --i)
    if (auto* control = dynamic_cast<const TGIFGraphicControlExtension*>(&extensions.Extension(i))) return control;
  return nullptr;
}

TGIFGraphicControlExtension* TGIFSubImage::ControlBlock() {
  return const_cast<TGIFGraphicControlExtension*>(std::as_const(*this).ControlBlock());
}

bool TGIFSubImage::HasTransparency() const {
  const TGIFGraphicControlExtension* control = ControlBlock();
  return control && control->Transparent();
}

void TGIFSubImage::ClearFrame() {
  FExtensionList->DeleteAll();
  FLocalTable->ClearTable();
  ReleasePixels();
  PlaceFrame(FFrameLeft, FFrameTop, FFrameWidth, 0);
  PlaceFrame(FFrameLeft, FFrameTop, 0, 0);
  FDataSetEveryPixel = true;
  DropCachedBitmap();
  DropCachedMask();
}

void TGIFSubImage::DropCachedBitmap() {
  if (FDrawing) FDrawing->DropBitmap();
}

void TGIFSubImage::DropCachedMask() {
  if (FDrawing) FDrawing->DropMask();
}

void TGIFSubImage::DropFramePalette() {
  if (FDrawing && FDrawing->DropPalette()) {
    OwnerImage().PaletteModified = true;
    OwnerImage().Changed();
  }
}

void TGIFSubImage::CopyTo(TPersistent& target) const {
  TGIFRenderHook* hook = GIFRenderHook();
  if (!hook || !hook->CopyTo(const_cast<TGIFSubImage&>(*this), target)) TGIFItem::CopyTo(target);
}

void TGIFSubImage::ReadDescriptor(TStream& stream) {
  uint8_t descriptor[kDescriptorBytes];
  ReadExact(stream, descriptor, kDescriptorBytes);
  FSeparatorByte = descriptor[0];
  FFrameLeft = GetLE16(&descriptor[1]);
  FFrameTop = GetLE16(&descriptor[3]);
  FFrameWidth = GetLE16(&descriptor[5]);
  FFrameHeight = GetLE16(&descriptor[7]);
  FFrameFlags = descriptor[9];
}

void TGIFSubImage::WriteDescriptor(TStream& stream) const {
  // A frame read after a damaged extension list may hold another byte as its separator; any
  // byte but 0x2C would make the written file unreadable from there on.
  uint8_t descriptor[kDescriptorBytes] = {kSeparator};
  PutLE16(&descriptor[1], FFrameLeft);
  PutLE16(&descriptor[3], FFrameTop);
  PutLE16(&descriptor[5], FFrameWidth);
  PutLE16(&descriptor[7], FFrameHeight);
  descriptor[9] = FFrameFlags;
  stream.WriteBuffer(descriptor, kDescriptorBytes);
}

void TGIFSubImage::LoadFromStream(TStream& stream) {
  ClearFrame();
  FExtensionList->LoadFromStream(stream);
  uint8_t next;
  if (!ReadByte(stream, next)) return;
  StepBack(stream);
  if (next == TGIFTrailer::kTrailer || next == 0) return;
  ReadDescriptor(stream);
  if (FFrameWidth == 0 || FFrameHeight == 0) {
    const TGIFHeader& header = OwnerImage().Header();
    FFrameHeight = header.CanvasHeight;
    FFrameWidth = header.CanvasWidth;
    ReportWarning(wsIrregularData, "Image exceeds Logical Screen size");
  }
  if (FFrameFlags & kLocalTable) FLocalTable->LoadFromStream(stream, TableEntries(FFrameFlags & kTableSizeMask));
  FDataSetEveryPixel = DecodeFramePixels(*this, stream);
  CoverPixelIndices();
}

void TGIFSubImage::CoverPixelIndices() {
  if (IsBlank()) return;
  TGIFColorMap& global = OwnerImage().Header().GlobalTable();
  TGIFColorMap& table = FLocalTable->EntryCount() > 0 ? static_cast<TGIFColorMap&>(*FLocalTable) : global;
  if (table.EntryCount() == 0) return;
  int highest = *std::max_element(FPixelData.get(), FPixelData.get() + FPixelDataSize);
  if (highest >= table.EntryCount()) table.PadWithBlack(1 << DepthForCount(highest + 1));
}

void TGIFSubImage::SaveToStream(TStream& stream) {
  FExtensionList->SaveToStream(stream);
  if (IsBlank()) return;
  RefreshFrameFlags();
  WriteDescriptor(stream);
  FLocalTable->SaveToStream(stream);
  EncodeFramePixels(*this, stream);
}

}  // namespace corvane
