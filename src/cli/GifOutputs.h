#pragma once
// Where an optimize run writes: over the files themselves (the default), to one file
// (-o OUT, "-" for standard output) or below a folder (--output-dir DIR) keeping the
// folders below the given roots; and the checks that leave every input as it is.

#include <filesystem>
#include <optional>
#include <string>

#include "ArgParser.h"

namespace corvane::cli {

class TGifOutputs {
 public:
  // UsageError for choices that cannot hold together: -o with more than one input, with a
  // folder or naming the input, -o and --output-dir both, --backup or --preserve-time
  // with either, an output folder in a folder given. The output folder is made when
  // missing. standardOutput: without -o the
  // result goes to standard output.
  TGifOutputs(const ParsedArgs& parsed, bool standardOutput);

  bool InPlace() const { return !FFile && FFolder.empty(); }
  bool ToStandardOutput() const { return FFile && *FFile == "-"; }
  // The output of a file found below root (empty: a file listed by its path); empty in
  // place. Nothing, with why in refusal, for a file below the output folder, whose output
  // could fall on another input.
  std::optional<std::string> OutputOf(const std::string& file, const std::string& root, std::string& refusal) const;

 private:
  // UsageError when the output folder is the folder or lies below it.
  void CheckRoot(const std::string& folder) const;

  std::optional<std::string> FFile;
  std::filesystem::path FFolder;
  std::string FFolderReal;  // the folder without links, ending in "/"
};

}  // namespace corvane::cli
