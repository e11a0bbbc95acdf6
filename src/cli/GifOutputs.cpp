#include "GifOutputs.h"

#include <system_error>

#include "gifbatch/BackupCopy.h"
#include "platform/Exceptions.h"

namespace corvane::cli {

namespace fs = std::filesystem;

namespace {

// The path without links and "." or ".." steps, ending in "/", so that a prefix of it is
// a folder holding it.
std::string Resolved(const fs::path& folder) {
  std::error_code error;
  std::string real = fs::weakly_canonical(folder, error).string();
  if (error) real = fs::absolute(folder).lexically_normal().string();
  return real.ends_with('/') ? real : real + "/";
}

}  // namespace

TGifOutputs::TGifOutputs(const ParsedArgs& parsed, bool standardOutput)
    : FFile(parsed.Value("-o")), FFolder(parsed.Value("--output-dir").value_or("")) {
  if (standardOutput && !FFile) FFile = "-";
  if (InPlace()) return;
  if (FFile && !FFolder.empty()) throw UsageError("-o and --output-dir exclude each other");
  for (const char* option : {"--backup", "--preserve-time"})
    if (parsed.Has(option)) throw UsageError(std::string(option) + " is for files replaced in place, not with -o or --output-dir");
  if (FFile) {
    std::error_code error;
    const std::vector<std::string>& inputs = parsed.Positional();
    if (inputs.size() != 1 || parsed.Has("--files-from") || fs::is_directory(inputs.front(), error))
      throw UsageError("-o takes one input file; --output-dir takes several");
    if (*FFile != "-" && fs::equivalent(*FFile, inputs.front(), error))
      throw UsageError("-o names the input; leave -o out to replace the file itself");
    return;
  }
  FFolderReal = Resolved(FFolder);
  std::error_code error;
  for (const std::string& input : parsed.Positional())
    if (fs::is_directory(input, error)) CheckRoot(input);
  fs::create_directories(FFolder, error);
  if (error) throw EFCreateError(FFolder.string(), error.message());
}

void TGifOutputs::CheckRoot(const std::string& folder) const {
  if (!FFolderReal.empty() && FFolderReal.starts_with(Resolved(folder)))
    throw UsageError("the output folder " + FFolder.string() + " lies in the input folder " + folder + "; choose one outside");
}

std::optional<std::string> TGifOutputs::OutputOf(const std::string& file, const std::string& root, std::string& refusal) const {
  if (FFile) return *FFile;
  if (FFolder.empty()) return std::string();
  std::string real = Resolved(file);
  if (real.starts_with(FFolderReal)) {
    refusal = "the file lies in the output folder " + FFolder.string();
    return std::nullopt;
  }
  return PathBelow(FFolder, root.empty() ? file : file.substr(root.size())).string();
}

}  // namespace corvane::cli
