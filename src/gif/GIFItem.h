#pragma once
// TGIFItem: one group of blocks of a GIF file (header, frame, extension, trailer), owned by
// its image or by a list of it.

#include <filesystem>
#include <string>

#include "gif/GIFTypes.h"
#include "platform/Persistent.h"
#include "platform/Stream.h"

namespace corvane {

class TGIFImage;
class TGIFList;

class TGIFItem : public TPersistent {
 public:
  explicit TGIFItem(TGIFImage& ownerImage) : FOwnerImage(&ownerImage) {}
  ~TGIFItem() override { DetachFromList(); }
  TGIFItem(const TGIFItem&) = delete;
  TGIFItem& operator=(const TGIFItem&) = delete;

  std::string ClassName() const override { return "TGIFItem"; }

  // The lowest file version that can hold this item.
  virtual TGifRevision FileRevision() const { return rev87a; }
  // Passes a warning to the owning image with this item as sender.
  virtual void ReportWarning(TGIFWarningSeverity severity, const std::string& message) const;
  virtual void SaveToStream(TStream& stream) = 0;
  virtual void LoadFromStream(TStream& stream) = 0;

  // Writes the item alone into a file; the file holds the old content or the whole item.
  void StoreToFile(const std::filesystem::path& fileName);
  void FetchFromFile(const std::filesystem::path& fileName);

  TGIFImage& OwnerImage() { return *FOwnerImage; }
  const TGIFImage& OwnerImage() const { return *FOwnerImage; }

 protected:
  // Takes the item out of the list that holds it, without freeing it. Items that live in a
  // list call this first thing in their destructors, so that freeing one directly leaves no
  // dangling entry behind.
  void DetachFromList();

  TGIFImage* FOwnerImage;

 private:
  friend class TGIFList;
  TGIFList* FList = nullptr;  // the list that holds the item, if any
};

}  // namespace corvane
