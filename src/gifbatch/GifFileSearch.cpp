#include "GifFileSearch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace corvane {

namespace {

namespace fs = std::filesystem;

bool HasGifExtension(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return extension == ".gif";
}

// Unreadable folders below are skipped rather than ending the search. Entries named *.gif
// that are not regular files after following links go to skipped: a pipe or a device would
// block the run or never end.
std::vector<std::string> GifFilesBelow(const fs::path& folder, std::vector<std::string>* skipped) {
  std::vector<std::string> found;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
       !error && it != end; it.increment(error)) {
    std::error_code kind;
    if (!HasGifExtension(it->path()) || it->is_directory(kind)) continue;
    if (it->is_regular_file(kind))
      found.push_back(it->path().string());
    else if (skipped)
      skipped->push_back(it->path().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

std::vector<std::string> ListGifFiles(const std::vector<std::string>& paths, std::vector<std::string>* skipped) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
      std::vector<std::string> below = GifFilesBelow(path, skipped);
      files.insert(files.end(), below.begin(), below.end());
    } else {
      files.push_back(path);
    }
  }
  return files;
}

}  // namespace corvane
