#pragma once
// TGifList: the GIF tab's file list without its window. Each item is one listed file: its
// caption is the full path, and its sub-items are the file-name part followed by the
// result texts of every test or run, in the order they arose. The same path may be listed
// more than once.

#include <string>
#include <vector>

namespace corvane {

struct TGifListItem {
  std::string Caption;
  std::vector<std::string> SubItems;
  // Where an Optimize run writes the file's result, leaving the file as it is; empty:
  // over the file itself.
  std::string Output;

  void AppendResult(std::string text) { SubItems.push_back(std::move(text)); }
};

class TGifList {
 public:
  // Appends an item for the file: caption path, first sub-item its file-name part.
  TGifListItem& Add(const std::string& path);
  // EListError outside the list.
  void Delete(int index);
  void Clear() { FItems.clear(); }

  int Count() const { return int(FItems.size()); }
  // EListError outside the list.
  TGifListItem& Item(int index);
  const TGifListItem& Item(int index) const;

 private:
  std::vector<TGifListItem> FItems;
};

}  // namespace corvane
