#include "GifFileSearch.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace corvane {

namespace fs = std::filesystem;

bool HasGifExtension(const fs::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return extension == ".gif";
}

namespace {

bool IsHidden(const fs::path& path) { return path.filename().string().starts_with('.'); }

// Links to folders are not followed, so that no folder is searched twice or forever.
// Entries named *.gif that are not regular files after following links go to skipped: a
// pipe or a device would block the run or never end.
std::vector<std::string> GifFilesBelow(const fs::path& top, const TFolderError& folderError,
                                       std::vector<std::string>* skipped) {
  std::vector<std::string> found;
  std::vector<std::pair<std::string, std::string>> failed;
  std::vector<fs::path> folders{top};
  while (!folders.empty()) {
    fs::path folder = std::move(folders.back());
    folders.pop_back();
    std::error_code error;
    fs::directory_iterator it(folder, error), end;
    for (; !error && it != end; it.increment(error)) {
      std::error_code ignored;
      if (IsHidden(it->path()))
        continue;
      else if (it->is_directory(ignored) && !it->is_symlink(ignored))
        folders.push_back(it->path());
      else if (!HasGifExtension(it->path()) || it->is_directory(ignored))
        continue;
      else if (it->is_regular_file(ignored))
        found.push_back(it->path().string());
      else if (skipped)
        skipped->push_back(it->path().string());
    }
    if (error) failed.emplace_back(folder.string(), "Cannot open folder " + folder.string() + ": " + error.message());
  }
  std::sort(failed.begin(), failed.end());
  for (const auto& [folder, message] : failed)
    if (folderError) folderError(folder, message);
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace

std::vector<std::string> ListGifFiles(const std::vector<std::string>& paths, const TFolderError& folderError,
                                      std::vector<std::string>* skipped) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
      std::vector<std::string> below = GifFilesBelow(path, folderError, skipped);
      files.insert(files.end(), below.begin(), below.end());
    } else {
      files.push_back(path);
    }
  }
  return files;
}

}  // namespace corvane
