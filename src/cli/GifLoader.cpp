#include "GifLoader.h"

#include "gifbatch/GifRunSettings.h"

namespace corvane::cli {

void LoadGifFile(TGIFImage& image, const std::filesystem::path& file, std::vector<std::string>& warnings) {
  image.FWarningHandler = [&warnings](const TPersistent* sender, int, const std::string& message) {
    warnings.push_back(sender->ClassName() + ": " + message);
  };
  image.LoadFromFile(file);
  image.FWarningHandler = nullptr;
}

void LoadGifFileWarningTo(TGIFImage& image, const std::string& file, std::ostream& err, const std::string& command) {
  std::vector<std::string> warnings;
  auto printWarnings = [&] {
    for (const std::string& warning : warnings) err << "corvane " << command << ": " << file << ": warning: " << warning << "\n";
  };
  try {
    LoadGifFile(image, file, warnings);
  } catch (...) {
    printWarnings();
    throw;
  }
  printWarnings();
}

int64_t MemoryBudgetOption(const ParsedArgs& parsed) {
  constexpr int64_t kMegabyte = 1 << 20;
  if (auto megabytes = parsed.IntValue("--max-memory", 1, 1L << 24)) return *megabytes * kMegabyte;
  return kDefaultMemoryBudget;
}

}  // namespace corvane::cli
