#include "GIFList.h"

#include <utility>

#include "gif/ExtensionRegistry.h"
#include "gif/GIFHeader.h"
#include "gif/GIFImage.h"
#include "gif/GIFStreamIO.h"

namespace corvane {

const TGIFItem& TGIFList::MemberAt(int index) const {
  if (index < 0 || index >= MemberCount()) throw EListError(index);
  return *FMembers[size_t(index)];
}

TGIFItem& TGIFList::MemberAt(int index) { return const_cast<TGIFItem&>(std::as_const(*this).MemberAt(index)); }

int TGIFList::AppendMember(std::unique_ptr<TGIFItem> item) {
  item->FList = this;
  FMembers.push_back(std::move(item));
  return MemberCount() - 1;
}

void TGIFList::DeleteMember(int index) {
  MemberAt(index);
  std::unique_ptr<TGIFItem> item = std::move(FMembers[size_t(index)]);
  FMembers.erase(FMembers.begin() + index);
  item->FList = nullptr;
}

std::unique_ptr<TGIFItem> TGIFList::DetachMember(TGIFItem& item) {
  int index = IndexOf(item);
  if (index < 0) return nullptr;
  std::unique_ptr<TGIFItem> member = std::move(FMembers[size_t(index)]);
  FMembers.erase(FMembers.begin() + index);
  member->FList = nullptr;
  return member;
}

void TGIFList::DeleteAll() {
  // From the end, so that emptying a long list does not move the rest at every step.
  while (!FMembers.empty()) DeleteMember(MemberCount() - 1);
}

void TGIFList::ReportWarning(TGIFWarningSeverity severity, const std::string& message) const {
  FOwnerImage.ReportWarning(this, severity, message);
}

void TGIFList::SaveToStream(TStream& stream) {
  for (const auto& member : FMembers) member->SaveToStream(stream);
}

void TGIFList::Forget(TGIFItem& item) {
  int index = IndexOf(item);
  if (index < 0) return;
  FMembers[size_t(index)].release();
  FMembers.erase(FMembers.begin() + index);
  item.FList = nullptr;
}

int TGIFList::IndexOf(const TGIFItem& item) const {
  // Items are mostly freed from the end of their list.
  for (int i = MemberCount() - 1; i >= 0; --i)
    if (FMembers[size_t(i)].get() == &item) return i;
  return -1;
}

TGIFSubImage& TGIFImageList::Frame(int index) { return static_cast<TGIFSubImage&>(MemberAt(index)); }

const TGIFSubImage& TGIFImageList::Frame(int index) const {
  return static_cast<const TGIFSubImage&>(MemberAt(index));
}

void TGIFImageList::LoadFromStream(TStream& stream) {
  uint8_t next;
  if (!ReadNonZeroByte(stream, next)) return;
  while (next != TGIFTrailer::kTrailer) {
    StepBack(stream);
    if (next != TGIFExtension::kIntroducer && next != TGIFSubImage::kSeparator) {
      ReportWarning(wsIrregularData, "Unknown GIF block type");
      return;
    }
    auto frame = std::make_unique<TGIFSubImage>(FOwnerImage);
    frame->LoadFromStream(stream);
    AppendMember(std::move(frame));
    FOwnerImage.Progress(&FOwnerImage, TProgressStage::psRunning, RoundedPercent(stream.Position(), stream.Size()),
                         false, {}, "Loading...");
    if (!ReadNonZeroByte(stream, next)) return;
  }
  StepBack(stream);
}

void TGIFImageList::SaveToStream(TStream& stream) {
  int count = MemberCount();
  for (int i = 0; i < count; ++i) {
    Frame(i).SaveToStream(stream);
    FOwnerImage.Progress(&FOwnerImage, TProgressStage::psRunning, RoundedPercent(i + 1, count), false, {},
                         "Saving...");
  }
}

TGIFExtensionList::TGIFExtensionList(TGIFSubImage& frame) : TGIFList(frame.OwnerImage()), FFrame(frame) {}

TGIFExtension& TGIFExtensionList::Extension(int index) { return static_cast<TGIFExtension&>(MemberAt(index)); }

const TGIFExtension& TGIFExtensionList::Extension(int index) const {
  return static_cast<const TGIFExtension&>(MemberAt(index));
}

void TGIFExtensionList::LoadFromStream(TStream& stream) {
  uint8_t next;
  if (!ReadByte(stream, next)) return;
  while (next != TGIFSubImage::kSeparator && next != TGIFTrailer::kTrailer) {
    if (next != TGIFExtension::kIntroducer) {
      ReportWarning(wsIrregularData, "Invalid extension introducer");
      break;
    }
    const TGIFExtensionClass* extensionClass = ResolveExtensionClass(stream);
    if (!extensionClass) throw GIFException("Unknown extension type");
    StepBack(stream);
    std::unique_ptr<TGIFExtension> extension = extensionClass->CreateForFrame(FFrame);
    extension->LoadFromStream(stream);
    AppendMember(std::move(extension));
    if (!ReadByte(stream, next)) return;
  }
  StepBack(stream);
}

}  // namespace corvane
