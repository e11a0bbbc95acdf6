#include "GIFColorMap.h"

#include <algorithm>
#include <cstring>

#include "gif/GIFException.h"
#include "gif/GIFHeader.h"
#include "gif/GIFImage.h"
#include "gif/GIFStreamIO.h"
#include "gif/GIFSubImage.h"
#include "gif/GIFTypes.h"

namespace corvane {

void TGIFColorMap::CopyFrom(const TPersistent& source) {
  const auto* table = dynamic_cast<const TGIFColorMap*>(&source);
  if (!table) {
    TPersistent::CopyFrom(source);
    return;
  }
  if (table == this) return;
  ClearTable();
  FEntryCapacity = table->FEntryCapacity;
  FEntryCount = table->FEntryCount;
  FUsageOrdered = table->FUsageOrdered;
  FEntries.assign(size_t(FEntryCapacity) * 3, 0);
  // An empty table has no storage to copy from.
  if (FEntryCount > 0) std::memcpy(FEntries.data(), table->FEntries.data(), size_t(FEntryCount) * 3);
  NotifyChanged();
}

void TGIFColorMap::ClearTable() {
  FEntries = {};
  FEntryCount = 0;
  FEntryCapacity = 0;
  FUsageOrdered = false;
}

void TGIFColorMap::EnsureRoom(int n) {
  if (n < FEntryCapacity) return;
  FEntryCapacity = n <= 16 ? 16 : std::min((n + 31) / 32 * 32, kMaxEntries);
  FEntries.resize(size_t(FEntryCapacity) * 3, 0);
}

int TGIFColorMap::AppendColor(TColor color) {
  if (FEntryCount >= kMaxEntries) throw GIFException("Color table overflow");
  if (FEntryCount >= FEntryCapacity) EnsureRoom(FEntryCount + 1);
  uint8_t* entry = &FEntries[size_t(FEntryCount) * 3];
  entry[0] = RedOf(color);
  entry[1] = GreenOf(color);
  entry[2] = BlueOf(color);
  ++FEntryCount;
  FUsageOrdered = false;
  NotifyChanged();
  return FEntryCount - 1;
}

int TGIFColorMap::FindColor(TColor color) const {
  auto matches = [&](int i) {
    const uint8_t* entry = &FEntries[size_t(i) * 3];
    return entry[0] == RedOf(color) && entry[1] == GreenOf(color) && entry[2] == BlueOf(color);
  };
  if (FUsageOrdered) {
    for (int i = 0; i < FEntryCount; ++i)
      if (matches(i)) return i;
  } else {
    for (int i = FEntryCount - 1; i >= 0; --i)
      if (matches(i)) return i;
  }
  return -1;
}

void TGIFColorMap::AddColorOnce(TColor color) {
  if (FindColor(color) < 0) AppendColor(color);
}

void TGIFColorMap::StoreEntries(const uint8_t* rgb, int count) {
  count = std::clamp(count, 0, kMaxEntries);
  if (count > FEntryCapacity) EnsureRoom(count);
  std::memmove(FEntries.data(), rgb, size_t(count) * 3);
  FEntryCount = count;
}

void TGIFColorMap::PadWithBlack(int count) {
  count = std::min(count, kMaxEntries);
  if (count <= FEntryCount) return;
  EnsureRoom(count);
  std::fill(&FEntries[size_t(FEntryCount) * 3], &FEntries[size_t(count) * 3], uint8_t(0));
  FEntryCount = count;
  NotifyChanged();
}

void TGIFColorMap::DeleteColor(int index) {
  if (index < 0 || index >= FEntryCount) throw GIFException("Invalid color index");
  std::memmove(&FEntries[size_t(index) * 3], &FEntries[size_t(index + 1) * 3], size_t(FEntryCount - index - 1) * 3);
  --FEntryCount;
  FUsageOrdered = false;
  NotifyChanged();
}

TColor TGIFColorMap::ColorAt(int index) const {
  if (index < 0 || index >= FEntryCount) {
    ReportWarning(wsIrregularData, "Invalid color index");
    if (FEntryCount == 0) throw GIFException("Color table is empty");
    index = 0;
  }
  const uint8_t* entry = &FEntries[size_t(index) * 3];
  return MakeColor(entry[0], entry[1], entry[2]);
}

int TGIFColorMap::TableDepth() const { return DepthForCount(FEntryCount); }

TPalette TGIFColorMap::PlatformPalette() const {
  if (FEntryCount == 0) return nullptr;
  std::vector<TPaletteEntry> entries(static_cast<size_t>(FEntryCount));
  for (int i = 0; i < FEntryCount; ++i) {
    const uint8_t* rgb = &FEntries[size_t(i) * 3];
    entries[size_t(i)] = {rgb[0], rgb[1], rgb[2], pcNoCollapse};
  }
  return MakePalette(std::move(entries));
}

void TGIFColorMap::LoadFromStream(TStream& stream, int count) {
  ClearTable();
  EnsureRoom(count);
  ReadExact(stream, FEntries.data(), int64_t(count) * 3);
  FEntryCount = count;
}

void TGIFColorMap::SaveToStream(TStream& stream) const {
  if (FEntryCount == 0) return;
  stream.WriteBuffer(FEntries.data(), int64_t(FEntryCount) * 3);
  static const uint8_t kBlack[kMaxEntries * 3] = {};
  stream.WriteBuffer(kBlack, int64_t((1 << TableDepth()) - FEntryCount) * 3);
}

void TGIFGlobalColorMap::ReportWarning(TGIFWarningSeverity severity, const std::string& message) const {
  FHeaderBlock.OwnerImage().ReportWarning(this, severity, message);
}

void TGIFGlobalColorMap::NotifyChanged() { FHeaderBlock.OwnerImage().SetPalette(nullptr); }

void TGIFLocalColorMap::ReportWarning(TGIFWarningSeverity severity, const std::string& message) const {
  FFrame.OwnerImage().ReportWarning(this, severity, message);
}

void TGIFLocalColorMap::NotifyChanged() { FFrame.DropFramePalette(); }

}  // namespace corvane
