#include "GifList.h"

#include "platform/Exceptions.h"
#include "platform/FileUtils.h"

namespace corvane {

TGifListItem& TGifList::Add(const std::string& path) {
  return FItems.emplace_back(TGifListItem{path, {FileNamePart(path)}, {}});
}

void TGifList::Delete(int index) {
  Item(index);
  FItems.erase(FItems.begin() + index);
}

TGifListItem& TGifList::Item(int index) {
  if (index < 0 || index >= Count()) throw EListError(index);
  return FItems[size_t(index)];
}

const TGifListItem& TGifList::Item(int index) const { return const_cast<TGifList&>(*this).Item(index); }

}  // namespace corvane
