#include "GifRowPrinter.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <ostream>

#include "platform/FileUtils.h"

namespace corvane::cli {

namespace {

constexpr size_t kMaxNameWidth = 40;

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += char(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      quoted += escape;
    } else {
      quoted += char(c);
    }
  }
  return quoted + "\"";
}

const char* EndingName(TGifFileEnding ending) {
  switch (ending) {
    case TGifFileEnding::Complete: return "complete";
    case TGifFileEnding::Failed: return "failed";
    case TGifFileEnding::Aborted: return "aborted";
  }
  return "";
}

}  // namespace

TGifRowPrinter::TGifRowPrinter(std::ostream& out, std::ostream& err, bool json, bool progress, const TGifList& list)
    : FOut(out), FErr(err), FJson(json), FProgress(progress), FList(list) {
  for (int i = 0; i < list.Count(); ++i)
    FNameWidth = std::max(FNameWidth, std::min(kMaxNameWidth, list.Item(i).SubItems.front().size()));
}

TGifRowPrinter::~TGifRowPrinter() { ClearProgress(); }

void TGifRowPrinter::ClearProgress() {
  if (!FProgressShown) return;
  FErr << "\r\033[K" << std::flush;
  FProgressShown = false;
}

void TGifRowPrinter::FileEnded(int index, const TGifFileResult& result) {
  ClearProgress();
  const TGifListItem& item = FList.Item(index);
  if (result.Ending == TGifFileEnding::Aborted && item.SubItems.size() == 1) return;
  if (FJson)
    PrintJson(item, result);
  else
    PrintText(item);
  FOut << std::flush;
  ++FDone;
  if (!FProgress) return;
  FErr << "\r" << FDone << " / " << FList.Count() << " files" << std::flush;
  FProgressShown = true;
}

void TGifRowPrinter::PrintSkipped(const std::string& path) {
  const std::string reason = "skipped: not a regular file";
  if (FJson)
    FOut << "{\"path\": " << JsonString(path) << ", \"file\": " << JsonString(FileNamePart(path))
         << ", \"result\": \"skipped\", \"error\": " << JsonString(reason) << "}\n";
  else
    FOut << std::left << std::setw(int(FNameWidth)) << FileNamePart(path) << std::right << "  " << reason << "\n";
}

void TGifRowPrinter::PrintText(const TGifListItem& item) {
  const std::vector<std::string>& texts = item.SubItems;
  FOut << std::left << std::setw(int(FNameWidth)) << texts.front() << std::right;
  const int widths[] = {10, 10, 6};
  for (size_t i = 1; i < texts.size(); ++i) FOut << "  " << std::setw(i <= 3 ? widths[i - 1] : 0) << texts[i];
  FOut << "\n";
}

void TGifRowPrinter::PrintJson(const TGifListItem& item, const TGifFileResult& result) {
  const std::vector<std::string>& texts = item.SubItems;
  bool complete = result.Ending == TGifFileEnding::Complete;
  FOut << "{\"path\": " << JsonString(item.Caption) << ", \"file\": " << JsonString(texts.front())
       << ", \"result\": \"" << EndingName(result.Ending) << "\", \"size\": "
       << (result.Read ? std::to_string(result.SourceSize) : "null");
  if (complete) {
    FOut << ", \"optimized\": " << result.OptimizedSize << ", \"reduction\": " << JsonString(texts[3])
         << ", \"replaced\": " << (result.Rewritten ? "true" : "false");
    if (result.Refused) FOut << ", \"refused\": " << JsonString(texts.back());
  }
  if (result.Ending == TGifFileEnding::Failed) FOut << ", \"error\": " << JsonString(result.Error);
  if (!result.Backup.empty()) FOut << ", \"backup\": " << JsonString(result.Backup.string());
  FOut << "}\n";
}

void TGifRowPrinter::FolderFailed(const std::string& folder, const std::string& message) {
  ClearProgress();
  if (FJson)
    FOut << "{\"path\": " << JsonString(folder) << ", \"result\": \"failed\", \"error\": " << JsonString(message) << "}\n";
  else
    FOut << std::left << std::setw(int(FNameWidth)) << folder << std::right << "  " << message << "\n";
  FOut << std::flush;
}

void TGifRowPrinter::PrintTotal(const TGifBatch& batch, bool aborted) {
  ClearProgress();
  if (FJson)
    FOut << "{\"total_saved\": " << batch.Total() << ", \"aborted\": " << (aborted ? "true" : "false") << "}\n";
  else
    FOut << "Total saved :  " << batch.View().TotalLabel << "\n";
  FOut << std::flush;
}

}  // namespace corvane::cli
