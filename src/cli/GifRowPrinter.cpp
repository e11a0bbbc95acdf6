#include "GifRowPrinter.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <optional>
#include <ostream>

#include "JsonText.h"
#include "platform/FileUtils.h"

namespace corvane::cli {

namespace {

constexpr size_t kMinNameWidth = 8;
constexpr size_t kMaxNameWidth = 40;
constexpr int kSizeWidth = 10;
constexpr int kReductionWidth = 6;
const std::string kRefusalPrefix = "Not replaced: ";
const std::string kBackupPrefix = "Backed up as ";

const char* EndingName(TGifFileEnding ending) {
  switch (ending) {
    case TGifFileEnding::Complete: return "complete";
    case TGifFileEnding::Failed: return "failed";
    case TGifFileEnding::Aborted: return "aborted";
  }
  return "";
}

// Percent of before that saved is, to a tenth, or nothing without a size.
std::optional<double> Percent(int64_t saved, int64_t before) {
  if (before <= 0) return std::nullopt;
  constexpr double kTenths = 1000.0;
  return double(int64_t(double(saved) * kTenths / double(before) + (saved >= 0 ? 0.5 : -0.5))) / 10.0;
}

std::string Number(std::optional<double> value) {
  if (!value) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", *value);
  return text;
}

// The reason of the item's last refusal, without its prefix.
std::string RefusalReason(const TGifListItem& item) {
  for (auto text = item.SubItems.rbegin(); text != item.SubItems.rend(); ++text)
    if (text->starts_with(kRefusalPrefix)) return text->substr(kRefusalPrefix.size());
  return {};
}

std::string BackupNote(const TGifListItem& item) {
  for (const std::string& text : item.SubItems)
    if (text.starts_with(kBackupPrefix)) return ", backed up as " + text.substr(kBackupPrefix.size());
  return {};
}

}  // namespace

struct TGifRowPrinter::TRow {
  std::string Path;
  const TGifFileResult* Result = nullptr;  // none for a path that failed before it was read
  std::string Reduction;                   // as the list shows it, "38%"
  std::string Outcome;
  std::string Output;
  bool Trouble = false;  // failed, skipped or not replaced
  std::string Label;     // of a path that failed before it was read: "failed" or "skipped"
  std::string Error;     // the message of a failure or refusal
};

TGifRowPrinter::TGifRowPrinter(std::ostream& out, std::ostream& err, const TGifRowStyle& style, const TGifList& list)
    : FOut(out), FErr(err), FStyle(style), FList(list) {}

TGifRowPrinter::~TGifRowPrinter() { ClearProgress(); }

void TGifRowPrinter::ShowAs(const std::string& path, const std::string& shown) { FShownAs.emplace_back(path, shown); }

const std::string& TGifRowPrinter::Shown(const std::string& path) const {
  for (const auto& [listed, shown] : FShownAs)
    if (path == listed) return shown;
  return path;
}

void TGifRowPrinter::ClearProgress() {
  if (!FProgressShown) return;
  FErr << "\r\033[K" << std::flush;
  FProgressShown = false;
}

TGifRowPrinter::TRow TGifRowPrinter::RowOf(const TGifListItem& item, const TGifFileResult& result) const {
  TRow row{Shown(item.Caption), &result, {}, {}, FStyle.InPlace ? std::string() : Shown(item.Output), false, {}, {}};
  if (result.Ending == TGifFileEnding::Failed) {
    row.Outcome = "failed: " + result.Error;
    row.Trouble = true;
    return row;
  }
  if (result.Ending == TGifFileEnding::Aborted) {
    row.Outcome = "aborted: left as it was";
    return row;
  }
  row.Reduction = item.SubItems.size() > 3 ? item.SubItems[3] : std::string();
  if (FStyle.Mode != TGifMode::Optimize)
    row.Outcome = result.Smaller() ? "can shrink" : "not smaller";
  else if (result.Rewritten)
    row.Outcome = FStyle.InPlace ? "replaced" : "written";
  else if (result.LooksDifferent)
    row.Outcome = std::string(FStyle.InPlace ? "not replaced" : "kept") + ": looks different (" + RefusalReason(item) + ")";
  else if (result.Refused)
    row.Outcome = std::string(FStyle.InPlace ? "not replaced: " : "not written: ") + RefusalReason(item);
  else
    row.Outcome = "kept: not smaller";
  row.Outcome += BackupNote(item);
  row.Trouble = result.Refused;
  if (result.Refused) row.Error = kRefusalPrefix + RefusalReason(item);
  return row;
}

void TGifRowPrinter::FileEnded(int index, const TGifFileResult& result) {
  ClearProgress();
  const TGifListItem& item = FList.Item(index);
  if (result.Ending == TGifFileEnding::Aborted && item.SubItems.size() == 1) return;
  ++FDone;
  FFailed += result.Ending == TGifFileEnding::Failed;
  FRefused += result.Refused;
  if (result.Ending == TGifFileEnding::Complete) FMeasuredBytes += result.SourceSize;
  Print(RowOf(item, result));
  if (!FStyle.Progress) return;
  FErr << "\r" << FDone << (FFileCount >= 0 ? " / " + std::to_string(FFileCount) : std::string()) << " files" << std::flush;
  FProgressShown = true;
}

void TGifRowPrinter::PathFailed(const std::string& path, const std::string& label, const std::string& message) {
  ClearProgress();
  ++FDone;
  ++FFailed;
  Print(TRow{path, nullptr, {}, label + ": " + message, {}, true, label, message});
}

void TGifRowPrinter::Print(const TRow& row) {
  if (FStyle.Quiet && !row.Trouble) return;
  const TGifFileResult* result = row.Result;
  if (FStyle.Json) {
    FOut << "{\"path\": " << JsonString(row.Path) << ", \"file\": " << JsonString(FileNamePart(row.Path));
    if (!result) {
      FOut << ", \"result\": \"" << row.Label << "\", \"outcome\": " << JsonString(row.Outcome)
           << ", \"error\": " << JsonString(row.Error) << "}\n" << std::flush;
      return;
    }
    FOut << ", \"result\": \"" << EndingName(result->Ending) << "\", \"outcome\": " << JsonString(row.Outcome)
         << ", \"size\": " << (result->Read ? std::to_string(result->SourceSize) : "null");
    if (result->Ending == TGifFileEnding::Complete)
      FOut << ", \"optimized\": " << result->OptimizedSize << ", \"reduction\": "
           << Number(Percent(result->SourceSize - result->OptimizedSize, result->SourceSize))
           << ", \"replaced\": " << (result->Rewritten ? "true" : "false");
    if (result->Refused) FOut << ", \"refused\": " << JsonString(row.Error);
    if (result->Ending == TGifFileEnding::Failed) FOut << ", \"error\": " << JsonString(result->Error);
    if (!result->Backup.empty()) FOut << ", \"backup\": " << JsonString(result->Backup.string());
    if (!row.Output.empty()) FOut << ", \"output\": " << JsonString(row.Output);
    FOut << "}\n" << std::flush;
    return;
  }
  if (FNameWidth == 0) {
    FNameWidth = std::max(kMinNameWidth, row.Path.size());
    for (int i = 0; i < FList.Count(); ++i) FNameWidth = std::max(FNameWidth, Shown(FList.Item(i).Caption).size());
    FNameWidth = std::min(FNameWidth, kMaxNameWidth);
    if (FStyle.Header)
      FOut << std::left << std::setw(int(FNameWidth)) << "FILE" << std::right << "  " << std::setw(kSizeWidth) << "SIZE"
           << "  " << std::setw(kSizeWidth) << "OPTIMIZED" << "  " << std::setw(kReductionWidth) << "SAVED"
           << "  OUTCOME\n";
  }
  bool complete = result && result->Ending == TGifFileEnding::Complete;
  FOut << std::left << std::setw(int(FNameWidth)) << row.Path << std::right << "  " << std::setw(kSizeWidth)
       << (result && result->Read ? std::to_string(result->SourceSize) : "") << "  " << std::setw(kSizeWidth)
       << (complete ? std::to_string(result->OptimizedSize) : "") << "  " << std::setw(kReductionWidth) << row.Reduction
       << "  " << row.Outcome << "\n" << std::flush;
}

void TGifRowPrinter::PrintTotal(int64_t savedBytes, bool aborted) {
  ClearProgress();
  std::optional<double> percent = Percent(savedBytes, FMeasuredBytes);
  if (FStyle.Json) {
    FOut << "{\"total_saved\": " << savedBytes << ", \"reduction\": " << Number(percent.value_or(0))
         << ", \"size\": " << FMeasuredBytes << ", \"files\": " << FDone << ", \"failed\": " << FFailed
         << ", \"refused\": " << FRefused << ", \"aborted\": " << (aborted ? "true" : "false") << "}\n" << std::flush;
    return;
  }
  char share[32];
  std::snprintf(share, sizeof share, "%.0f%%", percent.value_or(0));
  FOut << "Total saved :  " << savedBytes << " bytes (" << share << ") in " << FDone << (FDone == 1 ? " file" : " files");
  if (FFailed > 0) FOut << ", " << FFailed << " failed";
  if (FRefused > 0) FOut << ", " << FRefused << (FStyle.InPlace ? " not replaced" : " not optimized");
  if (aborted) FOut << ", aborted";
  FOut << "\n" << std::flush;
}

}  // namespace corvane::cli
