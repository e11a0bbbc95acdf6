#include "GifListCommand.h"

#include <unistd.h>

#include <ostream>
#include <thread>

#include "GifRowPrinter.h"
#include "InterruptToAbort.h"
#include "gifbatch/GifBatch.h"
#include "gifbatch/GifFileSearch.h"
#include "gifbatch/GifOptimizerSeams.h"

namespace corvane::cli {

std::vector<OptionRule> GifListOptions() {
  return {{{"--two-pass"}}, {{"-j", "--jobs"}, true}, {{"--json"}}, {{"--max-memory"}, true}};
}

namespace {

int DefaultJobs() { return int(std::max(1u, std::thread::hardware_concurrency())); }

TGifOptions OptionsOf(const ParsedArgs& parsed) {
  TGifOptions options;
  options.TwoPass = parsed.Has("--two-pass");
  if (std::optional<std::string> directory = parsed.Value("--backup")) {
    options.Backup = true;
    options.BackupDirectory = *directory;
  }
  constexpr int kMegabyte = 1 << 20;
  if (auto megabytes = parsed.IntValue("--max-memory", 1, 1L << 24)) options.MemoryBudget = *megabytes * kMegabyte;
  return options;
}

}  // namespace

int RunGifList(const ParsedArgs& parsed, bool optimize, std::ostream& out, std::ostream& err,
               bool (*confirm)(std::ostream& err)) {
  if (parsed.Positional().empty()) throw UsageError("no GIF file or folder given");
  int jobs = int(parsed.IntValue("-j", 1, 256).value_or(DefaultJobs()));
  TGifBatch batch;
  std::vector<std::string> skipped;
  for (const std::string& file : ListGifFiles(parsed.Positional(), &skipped)) batch.List().Add(file);
  if (optimize && batch.List().Count() > 0 && !confirm(err)) {
    err << "corvane optimize: not confirmed; nothing changed\n";
    return 1;
  }

  TGifRunSeams seams;
  seams.Reduce = ReduceForList;
  if (optimize && !parsed.Has("--no-verify")) seams.CheckEncoding = VisibleDifference;
  TGifRowPrinter printer(out, err, parsed.Has("--json"), ::isatty(STDERR_FILENO) == 1, batch.List());
  for (const std::string& path : skipped) printer.PrintSkipped(path);
  bool incomplete = !skipped.empty();
  int finished = 0;
  seams.FileEnded = [&](int index, const TGifFileResult& result) {
    printer.FileEnded(index, result);
    finished += result.Ending != TGifFileEnding::Aborted;
    incomplete = incomplete || result.Ending == TGifFileEnding::Failed || result.Refused;
  };
  {
    TInterruptToAbort interrupt(batch.AbortFlag());
    batch.ProcessGifList(optimize, OptionsOf(parsed), seams, jobs);
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
