#pragma once
// The rows of a list run on the command line: each file as the list shows it (file name,
// size, optimized size or the error, reduction, then any further texts), or one JSON
// object a line; and on a terminal a progress line on the error output.

#include <iosfwd>
#include <string>

#include "gifbatch/GifBatch.h"

namespace corvane::cli {

class TGifRowPrinter {
 public:
  // progress: show the files done on err, rewritten in place.
  TGifRowPrinter(std::ostream& out, std::ostream& err, bool json, bool progress, const TGifList& list);
  // Clears the progress line.
  ~TGifRowPrinter();
  TGifRowPrinter(const TGifRowPrinter&) = delete;
  TGifRowPrinter& operator=(const TGifRowPrinter&) = delete;

  // A file the run ended before reading gets no row.
  void FileEnded(int index, const TGifFileResult& result);
  // The row of a folder whose files could not be listed.
  void FolderFailed(const std::string& folder, const std::string& message);
  // A row for an entry of a folder that is not read: not a regular file.
  void PrintSkipped(const std::string& path);
  // "Total saved :  " and the total label, or its JSON object.
  void PrintTotal(const TGifBatch& batch, bool aborted);

 private:
  void PrintText(const TGifListItem& item);
  void PrintJson(const TGifListItem& item, const TGifFileResult& result);
  void ClearProgress();

  std::ostream& FOut;
  std::ostream& FErr;
  bool FJson;
  bool FProgress;
  const TGifList& FList;
  size_t FNameWidth = 8;
  int FDone = 0;
  bool FProgressShown = false;
};

}  // namespace corvane::cli
