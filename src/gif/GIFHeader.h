#pragma once
// TGIFHeader: the signature, the logical screen descriptor and the global colour table.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "gif/GIFColorMap.h"
#include "gif/GIFItem.h"

namespace corvane {

class TGIFHeader final : public TGIFItem {
 public:
  // Screen flags: global table present; the colour resolution, the bits per primary of the
  // source minus 1; global table sorted; the table size, 2^(size + 1) entries.
  static constexpr uint8_t kGlobalTable = 0x80;
  static constexpr uint8_t kResolutionMask = 0x70;
  static constexpr int kResolutionShift = 4;
  static constexpr uint8_t kSorted = 0x08;
  static constexpr uint8_t kTableSizeMask = 0x07;

  explicit TGIFHeader(TGIFImage& ownerImage);

  std::string ClassName() const override { return "TGIFHeader"; }
  // From another header: its global table and descriptor. From a colour table: an empty
  // screen with that table.
  void CopyFrom(const TPersistent& source) override;
  // rev89a when the global table is usage-ordered or PixelAspect is set.
  TGifRevision FileRevision() const override;
  // Raises "Unsupported GIF version" for an image without frames.
  void SaveToStream(TStream& stream) override;
  // Accepts up to 4 bytes in front of the signature; the version is not examined.
  void LoadFromStream(TStream& stream) override;

  // Clears the global table and the descriptor.
  void ResetScreen();
  // Sets ScreenFlags from the image's colour tables, as the writer stores them.
  void RefreshScreenFlags();

  TGIFGlobalColorMap& GlobalTable() { return *FGlobalTable; }
  const TGIFGlobalColorMap& GlobalTable() const { return *FGlobalTable; }

  // The logical screen descriptor, 7 bytes in file order.
  uint16_t CanvasWidth = 0;
  uint16_t CanvasHeight = 0;
  uint8_t ScreenFlags = 0;
  uint8_t BackdropIndex = 0;
  uint8_t PixelAspect = 0;
  // The three version bytes of the signature as read, for display only: the writer
  // computes the version from the content.
  std::array<char, 3> FVersionRead{};

 private:
  static constexpr int kDescriptorBytes = 7;
  std::unique_ptr<TGIFGlobalColorMap> FGlobalTable;
};

// The trailer byte 0x3B that ends a file.
class TGIFTrailer final : public TGIFItem {
 public:
  static constexpr uint8_t kTrailer = 0x3B;
  using TGIFItem::TGIFItem;
  std::string ClassName() const override { return "TGIFTrailer"; }
  void SaveToStream(TStream& stream) override { stream.WriteByte(kTrailer); }
  // Warns "Invalid Image trailer" for another byte; the end of the stream is accepted.
  void LoadFromStream(TStream& stream) override;
};

}  // namespace corvane
