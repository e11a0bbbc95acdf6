#include "BackupCopy.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/FileUtils.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;

// More copies of one name than anyone keeps: a loop that finds no free name ends here.
constexpr int kMostCopiesOfOneName = 10000;

fs::path FolderOf(const std::string& path) {
  fs::path folder = fs::path(path).parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

fs::path Numbered(const fs::path& path, int number) {
  fs::path name = path.stem();
  name += " (" + std::to_string(number) + ")";
  name += path.extension();
  return path.parent_path() / name;
}

bool Taken(const fs::path& path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(path, error));
}

bool HoldsBytes(const fs::path& path, std::span<const uint8_t> bytes) {
  try {
    std::vector<uint8_t> held = ReadWholeFile(path);
    return std::equal(held.begin(), held.end(), bytes.begin(), bytes.end());
  } catch (const EStreamError&) {
    return false;
  }
}

// The folders of the copy below the backup directory; errors name the copy.
void MakeFoldersFor(const fs::path& directory, const fs::path& copy) {
  std::error_code error;
  if (!fs::is_directory(directory, error)) throw EFCreateError(copy.string(), SystemReason(ENOENT));
  fs::create_directories(copy.parent_path(), error);
  if (error) throw EFCreateError(copy.string(), error.message());
}

}  // namespace

fs::path PathBelow(const fs::path& directory, const std::string& path) {
  fs::path below;
  for (const fs::path& step : fs::path(path).lexically_normal().relative_path())
    if (!(below.empty() && step == "..")) below /= step;
  return directory / below;
}

fs::path BackupPathOf(const TGifOptions& options, const std::string& path) {
  fs::path directory = options.BackupDirectory;
  if (!options.BackupKeepsFolders) return directory / FileNamePart(path);
  return PathBelow(directory, path);
}

void CheckBackupDirectory(const TGifList& list, const TGifOptions& options) {
  std::error_code error;
  for (int i = 0; i < list.Count(); ++i) {
    const std::string& path = list.Item(i).Caption;
    fs::path folder = FolderOf(path);
    if (fs::equivalent(folder, options.BackupDirectory, error) ||
        fs::equivalent(folder, BackupPathOf(options, path).parent_path(), error))
      throw EBackupDirectory("The backup directory " + options.BackupDirectory + " is the folder of " + path +
                             ": choose another");
  }
}

fs::path WriteBackupCopy(const TGifOptions& options, const fs::path& backupPath, std::span<const uint8_t> bytes) {
  MakeFoldersFor(options.BackupDirectory, backupPath);
  for (int number = 1; number <= kMostCopiesOfOneName; ++number) {
    fs::path name = number == 1 ? backupPath : Numbered(backupPath, number);
    bool written = !Taken(name) && WriteNewFile(name, bytes);
    if (written || HoldsBytes(name, bytes)) return name;
  }
  throw EFCreateError(backupPath.string(), SystemReason(EEXIST));
}

}  // namespace corvane
