#pragma once
// The rows of a list run on the command line: for each file its path as given, size,
// optimized size, reduction and outcome, or one JSON object a line; a closing line with
// the files, the bytes and the share saved; on a terminal a progress line on the error
// output, cleared before every row.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "gifbatch/GifBatch.h"

namespace corvane::cli {

struct TGifRowStyle {
  TGifMode Mode = TGifMode::Test;
  bool InPlace = true;    // optimize replaces the files; otherwise it writes outputs
  bool Json = false;
  bool Quiet = false;     // only the rows of files that failed or were not replaced
  bool Header = false;    // a line naming the columns before the first row
  bool Progress = false;  // the files done on err, rewritten in place
};

class TGifRowPrinter {
 public:
  // The rows name the list's items; list may be refilled between runs.
  TGifRowPrinter(std::ostream& out, std::ostream& err, const TGifRowStyle& style, const TGifList& list);
  // Clears the progress line.
  ~TGifRowPrinter();
  TGifRowPrinter(const TGifRowPrinter&) = delete;
  TGifRowPrinter& operator=(const TGifRowPrinter&) = delete;

  // Rows show shown for path (the copies of standard input and output as "-").
  void ShowAs(const std::string& path, const std::string& shown);
  // The number of files when it is known beforehand, for the progress line.
  void SetFileCount(int64_t count) { FFileCount = count; }

  // A file the run ended before reading gets no row.
  void FileEnded(int index, const TGifFileResult& result);
  // The row of a path that failed before it was read, label "failed" or "skipped": a
  // folder whose files could not be listed, an entry of a folder that is not a regular
  // file, a file not to be written.
  void PathFailed(const std::string& path, const std::string& label, const std::string& message);
  // A file or path failed, or a file was not replaced.
  bool Trouble() const { return FFailed + FRefused > 0; }
  // The closing line, or its JSON object, for the run so far; savedBytes is its total.
  void PrintTotal(int64_t savedBytes, bool aborted);

 private:
  struct TRow;
  TRow RowOf(const TGifListItem& item, const TGifFileResult& result) const;
  void Print(const TRow& row);
  const std::string& Shown(const std::string& path) const;
  void ClearProgress();

  std::ostream& FOut;
  std::ostream& FErr;
  TGifRowStyle FStyle;
  const TGifList& FList;
  std::vector<std::pair<std::string, std::string>> FShownAs;
  size_t FNameWidth = 0;
  int64_t FFileCount = -1;
  int64_t FDone = 0, FFailed = 0, FRefused = 0, FMeasuredBytes = 0;
  bool FProgressShown = false;
};

}  // namespace corvane::cli
