#include "GifListCommand.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <thread>

#include "BeforeReplaceHook.h"
#include "GifLoader.h"
#include "GifOutputs.h"
#include "GifRowPrinter.h"
#include "InterruptToAbort.h"
#include "PathList.h"
#include "StandardStreamFiles.h"
#include "gifbatch/BackupCopy.h"
#include "gifbatch/GifBatch.h"
#include "gifbatch/GifFileSearch.h"
#include "gifbatch/GifOptimizerSeams.h"

namespace corvane::cli {

std::vector<OptionRule> GifListOptions() {
  return {{{"--two-pass"}},         {{"--deep"}}, {{"-j", "--jobs"}, true}, {{"--json"}}, {{"--max-memory"}, true},
          {{"--files-from"}, true}, {{"-0"}},     {{"-q", "--quiet"}},    {{"--keep-comments"}}, {{"--keep-extensions"}}};
}

namespace {

// Files put on the list for one run: a list file of millions of paths goes through in
// runs of this many, so that memory does not grow with it.
constexpr int kFilesPerRun = 1000;

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
  options.MemoryBudget = MemoryBudgetOption(parsed);
  options.KeptBlocks = TReduceSteps((parsed.Has("--keep-comments") ? rsKeepComments : 0) |
                                    (parsed.Has("--keep-extensions") ? rsKeepAppBlocks : 0));
  return options;
}

struct TListedFile {
  std::string Path, Root;  // Root: the folder given that holds the file, or empty
};

struct TPathRow {
  std::string Path, Label, Message;
};

// The files of the command line in order: those the arguments name, folders searched,
// then those of the list file, read as they are needed.
class TGifFeed {
 public:
  TGifFeed(const ParsedArgs& parsed, const TGifOutputs& outputs, const TStandardStreamFiles& streams)
      : FOutputs(outputs), FStandardOutput(streams.OutputPath()) {
    auto folderFailed = [&](const std::string& folder, const std::string& message) {
      FRows.push_back({folder, "failed", message});
    };
    for (const std::string& path : parsed.Positional()) {
      std::error_code error;
      bool folder = std::filesystem::is_directory(path, error);
      std::vector<std::string> skipped;
      for (std::string& file : ListGifFiles({path}, folderFailed, &skipped))
        FFiles.push_back({path == "-" ? streams.InputPath() : std::move(file), folder ? path : std::string()});
      for (const std::string& entry : skipped) FRows.push_back({entry, "skipped", "not a regular file"});
    }
    if (std::optional<std::string> name = parsed.Value("--files-from"))
      FList = std::make_unique<TPathList>(*name, parsed.Has("-0") ? '\0' : '\n');
  }

  // The number of files when no list file is read.
  int64_t KnownCount() const { return FList ? -1 : int64_t(FFiles.size()); }

  // Puts up to count files on the emptied list, with their outputs; the rows of the
  // arguments' folders, and of files refused an output, are printed. Answers whether the
  // list got any file.
  bool Fill(TGifList& list, int count, TGifRowPrinter& printer) {
    list.Clear();
    for (const TPathRow& row : FRows) printer.PathFailed(row.Path, row.Label, row.Message);
    FRows.clear();
    std::string path;
    while (list.Count() < count) {
      std::string root;
      if (FNext < FFiles.size()) {
        path = std::move(FFiles[FNext].Path);
        root = std::move(FFiles[FNext++].Root);
      } else if (!FList || !FList->Next(path)) {
        break;
      }
      std::string refusal;
      if (std::optional<std::string> output = FOutputs.OutputOf(path, root, refusal))
        list.Add(path).Output = *output == "-" ? FStandardOutput : *output;
      else
        printer.PathFailed(path, "not written", refusal);
    }
    return list.Count() > 0;
  }

 private:
  const TGifOutputs& FOutputs;
  std::string FStandardOutput;
  std::vector<TPathRow> FRows;
  std::vector<TListedFile> FFiles;
  size_t FNext = 0;
  std::unique_ptr<TPathList> FList;
};

}  // namespace

int RunGifList(const ParsedArgs& parsed, TGifMode mode, std::ostream& out, std::ostream& err,
               bool (*confirm)(std::ostream& err)) {
  const bool optimize = mode == TGifMode::Optimize;
  const std::vector<std::string>& inputs = parsed.Positional();
  if (inputs.empty() && !parsed.Has("--files-from")) throw UsageError("no GIF file or folder given");
  bool standardInput = std::find(inputs.begin(), inputs.end(), "-") != inputs.end();
  if (standardInput && (inputs.size() > 1 || parsed.Has("--files-from") || parsed.Has("--output-dir")))
    throw UsageError("'-' reads one file from standard input and takes no other input, nor --output-dir");
  int jobs = int(parsed.IntValue("-j", 1, 256).value_or(DefaultJobs()));
  TGifOutputs outputs(parsed, optimize && standardInput);
  TStandardStreamFiles streams(standardInput, outputs.ToStandardOutput());
  TGifOptions options = OptionsOf(parsed);

  TGifBatch batch;
  std::ostream& rows = outputs.ToStandardOutput() ? err : out;
  TGifRowStyle style{mode, outputs.InPlace(), parsed.Has("--json"), parsed.Has("-q"),
                     &rows == &out && ::isatty(STDOUT_FILENO) == 1,
                     !outputs.ToStandardOutput() && ::isatty(STDERR_FILENO) == 1};
  TGifRowPrinter printer(rows, err, style, batch.List());
  printer.ShowAs(streams.InputPath(), "-");
  printer.ShowAs(streams.OutputPath(), "-");
  TGifFeed feed(parsed, outputs, streams);
  printer.SetFileCount(feed.KnownCount());

  TGifRunSeams seams;
  seams.Reduce = ReduceForList;
  if (optimize && !parsed.Has("--no-verify")) seams.CheckEncoding = VisibleDifference;
  seams.BeforeReplace = BeforeReplaceHook();
  int finished = 0;
  seams.FileEnded = [&](int index, const TGifFileResult& result) {
    printer.FileEnded(index, result);
    finished += result.Ending != TGifFileEnding::Aborted;
  };
  bool aborted = false, first = true;
  int64_t saved = 0;
  TInterruptToAbort interrupt(batch.AbortFlag());
  while (!aborted && feed.Fill(batch.List(), kFilesPerRun, printer)) {
    if (optimize && options.Backup) {
      try {
        CheckBackupDirectory(batch.List(), options);
      } catch (const EBackupDirectory& e) {
        throw UsageError(e.what());
      }
    }
    if (first && optimize && outputs.InPlace() && !confirm(err)) {
      err << "corvane optimize: not confirmed; nothing changed\n";
      return 1;
    }
    first = false;
    finished = 0;
    batch.ProcessGifList(mode, options, seams, jobs);
    saved += batch.Total();
    // A Ctrl-C after the last file of this share still ends the run before the next.
    aborted = finished < batch.List().Count() || batch.AbortFlag().load();
  }
  printer.PrintTotal(saved, aborted);
  if (aborted) {
    err << "corvane " << (optimize ? "optimize" : "test") << ": aborted\n";
    return 130;
  }
  streams.CopyOutput(std::cout);
  return printer.Trouble() ? 1 : 0;
}

}  // namespace corvane::cli
