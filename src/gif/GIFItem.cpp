#include "GIFItem.h"

#include "gif/GIFImage.h"
#include "platform/FileUtils.h"

namespace corvane {

void TGIFItem::ReportWarning(TGIFWarningSeverity severity, const std::string& message) const {
  FOwnerImage->ReportWarning(this, severity, message);
}

void TGIFItem::StoreToFile(const std::filesystem::path& fileName) {
  TMemoryStream stream;
  SaveToStream(stream);
  WriteFileAtomically(fileName, stream.Bytes());
}

void TGIFItem::FetchFromFile(const std::filesystem::path& fileName) {
  TFileStream stream(fileName, TFileMode::OpenRead);
  LoadFromStream(stream);
}

void TGIFItem::DetachFromList() {
  if (FList) FList->Forget(*this);
}

}  // namespace corvane
