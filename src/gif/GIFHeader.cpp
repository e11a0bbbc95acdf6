#include "GIFHeader.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "gif/GIFException.h"
#include "gif/GIFImage.h"
#include "gif/GIFStreamIO.h"

namespace corvane {

namespace {

constexpr int kSignatureBytes = 6;
constexpr int kPrefixTolerated = 4;

bool IsGifSignature(const uint8_t* bytes) {
  return std::toupper(bytes[0]) == 'G' && std::toupper(bytes[1]) == 'I' && std::toupper(bytes[2]) == 'F';
}

}  // namespace

TGIFHeader::TGIFHeader(TGIFImage& ownerImage)
    : TGIFItem(ownerImage), FGlobalTable(std::make_unique<TGIFGlobalColorMap>(*this)) {
  ResetScreen();
}

void TGIFHeader::CopyFrom(const TPersistent& source) {
  if (const auto* header = dynamic_cast<const TGIFHeader*>(&source)) {
    if (header == this) return;
    FGlobalTable->CopyFrom(header->GlobalTable());
    CanvasWidth = header->CanvasWidth;
    CanvasHeight = header->CanvasHeight;
    ScreenFlags = header->ScreenFlags;
    BackdropIndex = header->BackdropIndex;
    PixelAspect = header->PixelAspect;
  } else if (const auto* table = dynamic_cast<const TGIFColorMap*>(&source)) {
    ResetScreen();
    FGlobalTable->CopyFrom(*table);
  } else {
    TGIFItem::CopyFrom(source);
  }
}

TGifRevision TGIFHeader::FileRevision() const {
  return FGlobalTable->UsageOrdered() || PixelAspect != 0 ? rev89a : rev87a;
}

void TGIFHeader::ResetScreen() {
  FGlobalTable->ClearTable();
  CanvasWidth = CanvasHeight = 0;
  ScreenFlags = BackdropIndex = PixelAspect = 0;
}

void TGIFHeader::RefreshScreenFlags() {
  const TGIFImage& image = OwnerImage();
  int flags = (image.DeepestResolution() << kResolutionShift) & kResolutionMask;
  if (FGlobalTable->EntryCount() > 0) {
    flags |= kGlobalTable | (FGlobalTable->UsageOrdered() ? kSorted : 0);
    flags |= FGlobalTable->TableDepth() - 1;
  } else {
    flags |= (image.DeepestBitDepth() - 1) & kTableSizeMask;
  }
  ScreenFlags = uint8_t(flags);
}

void TGIFHeader::SaveToStream(TStream& stream) {
  TGifRevision revision = OwnerImage().FileRevision();
  if (revision == revNone) throw GIFException("Unsupported GIF version");
  // The sort flag and the aspect byte are reserved in 87a files.
  revision = std::max(revision, FileRevision());
  RefreshScreenFlags();
  uint8_t bytes[kSignatureBytes + kDescriptorBytes];
  std::memcpy(bytes, revision == rev89a ? "GIF89a" : "GIF87a", kSignatureBytes);
  uint8_t* descriptor = bytes + kSignatureBytes;
  PutLE16(&descriptor[0], CanvasWidth);
  PutLE16(&descriptor[2], CanvasHeight);
  descriptor[4] = ScreenFlags;
  descriptor[5] = BackdropIndex;
  descriptor[6] = PixelAspect;
  stream.WriteBuffer(bytes, sizeof bytes);
  if (ScreenFlags & kGlobalTable) FGlobalTable->SaveToStream(stream);
}

void TGIFHeader::LoadFromStream(TStream& stream) {
  int64_t start = stream.Position();
  uint8_t signature[kSignatureBytes];
  ReadExact(stream, signature, kSignatureBytes);
  if (!IsGifSignature(signature)) {
    stream.SetPosition(start + kPrefixTolerated);
    ReadExact(stream, signature, kSignatureBytes);
    if (!IsGifSignature(signature)) throw GIFException("Invalid GIF signature");
  }
  std::copy(signature + 3, signature + 6, FVersionRead.begin());
  uint8_t descriptor[kDescriptorBytes];
  ReadExact(stream, descriptor, kDescriptorBytes);
  CanvasWidth = GetLE16(&descriptor[0]);
  CanvasHeight = GetLE16(&descriptor[2]);
  ScreenFlags = descriptor[4];
  BackdropIndex = descriptor[5];
  PixelAspect = descriptor[6];
  if (ScreenFlags & kGlobalTable)
    FGlobalTable->LoadFromStream(stream, TableEntries(ScreenFlags & kTableSizeMask));
  else
    FGlobalTable->ClearTable();
}

void TGIFTrailer::LoadFromStream(TStream& stream) {
  uint8_t value;
  if (ReadByte(stream, value) && value != kTrailer) ReportWarning(wsIrregularData, "Invalid Image trailer");
}

}  // namespace corvane
