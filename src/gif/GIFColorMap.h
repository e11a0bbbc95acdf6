#pragma once
// GIF colour tables: TGIFGlobalColorMap belongs to the header (the logical screen),
// TGIFLocalColorMap to one frame. Entries are red, green, blue bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Palette.h"
#include "platform/Persistent.h"
#include "platform/Stream.h"
#include "gif/GIFTypes.h"
#include "platform/Types.h"

namespace corvane {

class TGIFHeader;
class TGIFSubImage;

class TGIFColorMap : public TPersistent {
 public:
  static constexpr int kMaxEntries = 256;

  TGIFColorMap() = default;
  TGIFColorMap(const TGIFColorMap&) = delete;
  TGIFColorMap& operator=(const TGIFColorMap&) = delete;

  std::string ClassName() const override { return "TGIFColorMap"; }
  // From another colour table: its entries, capacity and usage order. Anything else is
  // refused.
  void CopyFrom(const TPersistent& source) override;

  virtual void ReportWarning(TGIFWarningSeverity severity, const std::string& message) const = 0;
  // Drops the palette (and with it the drawings) that were made from this table.
  virtual void NotifyChanged() = 0;

  // Frees the storage; does not notify.
  void ClearTable();
  // Reserves storage for n entries: 16 for up to 16, otherwise n rounded up to 32, at most 256.
  void EnsureRoom(int n);
  // Appends the colour and answers its index; "Color table overflow" at 256 entries.
  int AppendColor(TColor color);
  // The index of an entry with exactly this colour, or -1. A usage-ordered table answers the
  // first match, any other table the last.
  int FindColor(TColor color) const;
  void AddColorOnce(TColor color);
  // Replaces the entries in use with count entries of red, green, blue bytes, keeping the
  // reserved storage when it suffices. Neither notifies nor changes the usage order.
  void StoreEntries(const uint8_t* rgb, int count);
  // Extends the table with black entries to count entries (at most 256): viewers show
  // indices beyond a table as black.
  void PadWithBlack(int count);
  // "Invalid color index" outside the table.
  void DeleteColor(int index);
  // The colour of an entry. An index outside the table warns "Invalid color index" and
  // answers entry 0; "Color table is empty" when there is none.
  TColor ColorAt(int index) const;

  int EntryCount() const { return FEntryCount; }
  int EntryCapacity() const { return FEntryCapacity; }
  bool UsageOrdered() const { return FUsageOrdered; }
  void SetUsageOrdered(bool value) { FUsageOrdered = value; }
  // EntryCount() × 3 bytes: red, green, blue per entry.
  const uint8_t* Entries() const { return FEntries.data(); }
  int TableDepth() const;
  // The depth minus 1; -1 for an empty table.
  int TableResolution() const { return TableDepth() - 1; }

  // The table as a platform palette, each entry flagged pcNoCollapse; none when empty.
  TPalette PlatformPalette() const;

  // Replaces the entries with count entries read from the stream. The file's sort flag is
  // not taken over.
  void LoadFromStream(TStream& stream, int count);
  // The entries, padded with black ones to 2^TableDepth; nothing for an empty table.
  void SaveToStream(TStream& stream) const;

 protected:
  std::vector<uint8_t> FEntries;  // FEntryCapacity × 3 bytes
  int FEntryCount = 0;
  int FEntryCapacity = 0;
  bool FUsageOrdered = false;
};

class TGIFGlobalColorMap final : public TGIFColorMap {
 public:
  explicit TGIFGlobalColorMap(TGIFHeader& header) : FHeaderBlock(header) {}
  std::string ClassName() const override { return "TGIFGlobalColorMap"; }
  void ReportWarning(TGIFWarningSeverity severity, const std::string& message) const override;
  void NotifyChanged() override;
  TGIFHeader& Header() { return FHeaderBlock; }
  const TGIFHeader& Header() const { return FHeaderBlock; }

 private:
  TGIFHeader& FHeaderBlock;
};

class TGIFLocalColorMap final : public TGIFColorMap {
 public:
  explicit TGIFLocalColorMap(TGIFSubImage& frame) : FFrame(frame) {}
  std::string ClassName() const override { return "TGIFLocalColorMap"; }
  void ReportWarning(TGIFWarningSeverity severity, const std::string& message) const override;
  void NotifyChanged() override;
  TGIFSubImage& Frame() { return FFrame; }
  const TGIFSubImage& Frame() const { return FFrame; }

 private:
  TGIFSubImage& FFrame;
};

}  // namespace corvane
