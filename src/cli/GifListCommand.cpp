#include "GifListCommand.h"

#include <unistd.h>

#include <ostream>
#include <thread>

#include "BeforeReplaceHook.h"
#include "GifRowPrinter.h"
#include "InterruptToAbort.h"
#include "gifbatch/BackupCopy.h"
#include "gifbatch/GifBatch.h"
#include "gifbatch/GifFileSearch.h"
#include "gifbatch/GifOptimizerSeams.h"

namespace corvane::cli {

std::vector<OptionRule> GifListOptions() {
  return {{{"--two-pass"}}, {{"--deep"}},          {{"-j", "--jobs"}, true},  {{"--json"}},
          {{"--max-memory"}, true}, {{"--keep-comments"}}, {{"--keep-extensions"}}};
}

namespace {

int DefaultJobs() { return int(std::max(1u, std::thread::hardware_concurrency())); }

TGifOptions OptionsOf(const ParsedArgs& parsed) {
  TGifOptions options;
  options.TwoPass = parsed.Has("--two-pass");
  options.Deep = parsed.Has("--deep");
  if (std::optional<std::string> directory = parsed.Value("--backup")) {
    options.Backup = true;
    options.BackupDirectory = *directory;
  }
  options.BackupKeepsFolders = true;
  options.PreserveTime = parsed.Has("--preserve-time");
  options.ErrorsInRows = true;
  options.KeptBlocks = TReduceSteps((parsed.Has("--keep-comments") ? rsKeepComments : 0) |
                                    (parsed.Has("--keep-extensions") ? rsKeepAppBlocks : 0));
  constexpr int kMegabyte = 1 << 20;
  if (auto megabytes = parsed.IntValue("--max-memory", 1, 1L << 24)) options.MemoryBudget = *megabytes * kMegabyte;
  return options;
}

struct TFolderFailure {
  std::string Folder, Message;
};

}  // namespace

int RunGifList(const ParsedArgs& parsed, bool optimize, std::ostream& out, std::ostream& err,
               bool (*confirm)(std::ostream& err)) {
  if (parsed.Positional().empty()) throw UsageError("no GIF file or folder given");
  int jobs = int(parsed.IntValue("-j", 1, 256).value_or(DefaultJobs()));
  TGifBatch batch;
  std::vector<TFolderFailure> folderFailures;
  std::vector<std::string> skipped;
  auto folderFailed = [&](const std::string& folder, const std::string& message) {
    folderFailures.push_back({folder, message});
  };
  for (const std::string& file : ListGifFiles(parsed.Positional(), folderFailed, &skipped)) batch.List().Add(file);
  TGifOptions options = OptionsOf(parsed);
  if (optimize && options.Backup) {
    try {
      CheckBackupDirectory(batch.List(), options);
    } catch (const EBackupDirectory& e) {
      throw UsageError(e.what());
    }
  }
  if (optimize && batch.List().Count() > 0 && !confirm(err)) {
    err << "corvane optimize: not confirmed; nothing changed\n";
    return 1;
  }

  TGifRunSeams seams;
  seams.Reduce = ReduceForList;
  if (optimize && !parsed.Has("--no-verify")) seams.CheckEncoding = VisibleDifference;
  seams.BeforeReplace = BeforeReplaceHook();
  TGifRowPrinter printer(out, err, parsed.Has("--json"), ::isatty(STDERR_FILENO) == 1, batch.List());
  for (const TFolderFailure& failure : folderFailures) printer.FolderFailed(failure.Folder, failure.Message);
  for (const std::string& path : skipped) printer.PrintSkipped(path);
  bool incomplete = !folderFailures.empty() || !skipped.empty();
  int finished = 0;
  seams.FileEnded = [&](int index, const TGifFileResult& result) {
    printer.FileEnded(index, result);
    finished += result.Ending != TGifFileEnding::Aborted;
    incomplete = incomplete || result.Ending == TGifFileEnding::Failed || result.Refused;
  };
  {
    TInterruptToAbort interrupt(batch.AbortFlag());
    batch.ProcessGifList(optimize, options, seams, jobs);
  }
  bool aborted = finished < batch.List().Count();
  printer.PrintTotal(batch, aborted);
  if (aborted) {
    err << "corvane " << (optimize ? "optimize" : "test") << ": aborted\n";
    return 130;
  }
  return incomplete ? 1 : 0;
}

}  // namespace corvane::cli
