#include "GifFiles.h"

namespace corvane::cli {

void LoadGifFile(TGIFImage& image, const std::filesystem::path& file, std::vector<std::string>& warnings) {
  image.FWarningHandler = [&warnings](const TPersistent* sender, int, const std::string& message) {
    warnings.push_back(sender->ClassName() + ": " + message);
  };
  image.LoadFromFile(file);
  image.FWarningHandler = nullptr;
}

}  // namespace corvane::cli
