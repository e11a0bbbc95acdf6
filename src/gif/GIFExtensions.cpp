#include "GIFExtensions.h"

#include "gif/GIFStreamIO.h"
#include "gif/GIFSubImage.h"

namespace corvane {

const TGIFExtensionClass& TGIFGraphicControlExtension::Class() {
  static const TGIFExtensionClass c{"TGIFGraphicControlExtension", &Create<TGIFGraphicControlExtension>, nullptr};
  return c;
}

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage& frame) : TGIFExtension(frame) {}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() { DetachFromList(); }

void TGIFGraphicControlExtension::SetTransparent(bool value) {
  FControlFlags = uint8_t(value ? FControlFlags | kTransparentFlag : FControlFlags & ~kTransparentFlag);
}

void TGIFGraphicControlExtension::SetTransparentIndex(uint8_t value) {
  int count = FFrame.ActiveTable().EntryCount();
  if (count > 0 && value >= count) {
    ReportWarning(wsIrregularData, "Invalid color index");
    value = 0;
  }
  FTransparentIndex = value;
}

std::array<uint8_t, TGIFGraphicControlExtension::kBlockBytes> TGIFGraphicControlExtension::PackBlock() const {
  std::array<uint8_t, kBlockBytes> block{FBlockSize, FControlFlags, 0, 0, FTransparentIndex, FTerminator};
  PutLE16(&block[2], FDelayTime);
  return block;
}

void TGIFGraphicControlExtension::UnpackBlock(const std::array<uint8_t, kBlockBytes>& block) {
  FBlockSize = block[0];
  FControlFlags = block[1];
  FDelayTime = GetLE16(&block[2]);
  FTransparentIndex = block[4];
  FTerminator = block[5];
}

void TGIFGraphicControlExtension::SaveData(TStream& stream) {
  std::array<uint8_t, kBlockBytes> block = PackBlock();
  stream.WriteBuffer(block.data(), kBlockBytes);
}

void TGIFGraphicControlExtension::LoadData(TStream& stream) {
  std::array<uint8_t, kBlockBytes> block = PackBlock();
  bool complete = stream.Read(block.data(), kBlockBytes) == kBlockBytes;
  UnpackBlock(block);
  if (!complete) ReportWarning(wsIrregularData, "Premature end of data");
}

const TGIFExtensionClass& TGIFTextExtension::Class() {
  static const TGIFExtensionClass c{"TGIFTextExtension", &Create<TGIFTextExtension>, nullptr};
  return c;
}

void TGIFTextExtension::SaveData(TStream& stream) {
  uint8_t block[kBlockBytes] = {BlockSize};
  PutLE16(&block[1], GridLeft);
  PutLE16(&block[3], GridTop);
  PutLE16(&block[5], GridWidth);
  PutLE16(&block[7], GridHeight);
  block[9] = CellWidth;
  block[10] = CellHeight;
  block[11] = TextColorIndex;
  block[12] = TextBackIndex;
  stream.WriteBuffer(block, kBlockBytes);
  WriteTextBlocks(stream, FTextLines);
}

void TGIFTextExtension::LoadData(TStream& stream) {
  uint8_t block[kBlockBytes];
  ReadExact(stream, block, kBlockBytes);
  BlockSize = block[0];
  GridLeft = GetLE16(&block[1]);
  GridTop = GetLE16(&block[3]);
  GridWidth = GetLE16(&block[5]);
  GridHeight = GetLE16(&block[7]);
  CellWidth = block[9];
  CellHeight = block[10];
  TextColorIndex = block[11];
  TextBackIndex = block[12];
  ReadTextBlocks(stream, FTextLines);
}

const TGIFExtensionClass& TGIFCommentExtension::Class() {
  static const TGIFExtensionClass c{"TGIFCommentExtension", &Create<TGIFCommentExtension>, nullptr};
  return c;
}

void TGIFCommentExtension::SaveData(TStream& stream) { WriteTextBlocks(stream, FTextLines); }

void TGIFCommentExtension::LoadData(TStream& stream) { ReadTextBlocks(stream, FTextLines); }

}  // namespace corvane
