#pragma once
// Owning lists of GIF items: TGIFImageList holds an image's frames, TGIFExtensionList the
// extensions that stand in front of one frame's image data.

#include <memory>
#include <string>
#include <vector>

#include "gif/GIFItem.h"

namespace corvane {

class TGIFExtension;
class TGIFSubImage;

class TGIFList : public TPersistent {
 public:
  explicit TGIFList(TGIFImage& ownerImage) : FOwnerImage(ownerImage) {}
  ~TGIFList() override { DeleteAll(); }
  TGIFList(const TGIFList&) = delete;
  TGIFList& operator=(const TGIFList&) = delete;

  std::string ClassName() const override { return "TGIFList"; }

  int MemberCount() const { return int(FMembers.size()); }
  // EListError for an index outside 0 to MemberCount - 1.
  TGIFItem& MemberAt(int index);
  const TGIFItem& MemberAt(int index) const;
  // Takes ownership; answers the new member's index.
  int AppendMember(std::unique_ptr<TGIFItem> item);
  // Removes the member and frees it.
  void DeleteMember(int index);
  // Removes the member without freeing it and hands it to the caller; none when the item is
  // not in this list.
  std::unique_ptr<TGIFItem> DetachMember(TGIFItem& item);
  void DeleteAll();

  virtual void ReportWarning(TGIFWarningSeverity severity, const std::string& message) const;
  // Each member's SaveToStream in list order.
  virtual void SaveToStream(TStream& stream);

  TGIFImage& OwnerImage() { return FOwnerImage; }
  const TGIFImage& OwnerImage() const { return FOwnerImage; }

 protected:
  std::vector<std::unique_ptr<TGIFItem>> FMembers;
  TGIFImage& FOwnerImage;

 private:
  friend class TGIFItem;
  // Drops the entry of an item that is being freed.
  void Forget(TGIFItem& item);
  int IndexOf(const TGIFItem& item) const;
};

class TGIFImageList final : public TGIFList {
 public:
  using TGIFList::TGIFList;
  std::string ClassName() const override { return "TGIFImageList"; }

  TGIFSubImage& Frame(int index);
  const TGIFSubImage& Frame(int index) const;
  // Reads frames up to the trailer, an unknown block or the end of the stream.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) override;
};

class TGIFExtensionList final : public TGIFList {
 public:
  explicit TGIFExtensionList(TGIFSubImage& frame);
  std::string ClassName() const override { return "TGIFExtensionList"; }

  TGIFExtension& Extension(int index);
  const TGIFExtension& Extension(int index) const;
  // Reads the extensions in front of the frame's image descriptor.
  void LoadFromStream(TStream& stream);

 private:
  TGIFSubImage& FFrame;
};

}  // namespace corvane
