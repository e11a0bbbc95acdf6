#pragma once
// Backup copies of the files an Optimize run reads: where each goes, and writing it so
// that no earlier copy is ever replaced by other bytes.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "GifList.h"
#include "GifRunSettings.h"
#include "platform/Exceptions.h"

namespace corvane {

// A backup directory that would put copies among the files themselves.
class EBackupDirectory : public EPlatformError {
 public:
  using EPlatformError::EPlatformError;
};

// The path as given below the directory: an absolute path without its root, a relative
// one without leading ".." steps.
std::filesystem::path PathBelow(const std::filesystem::path& directory, const std::string& path);

// The name the copy of the listed file is meant to have: the directory and the file-name
// part, or with options.BackupKeepsFolders the listed path below the directory (an
// absolute path without its root, a relative one without leading ".." steps).
std::filesystem::path BackupPathOf(const TGifOptions& options, const std::string& path);

// EBackupDirectory when the backup directory is the folder of a listed file, or a copy
// would land in its file's folder.
void CheckBackupDirectory(const TGifList& list, const TGifOptions& options);

// Writes bytes as a backup meant for backupPath and answers where they are: there when
// the name is free or holds the same bytes, otherwise under the first free or same name
// of "name (2).gif", "name (3).gif", ... Folders below the directory are made as needed;
// the directory itself must exist. EFCreateError with the reason when it cannot be done.
std::filesystem::path WriteBackupCopy(const TGifOptions& options, const std::filesystem::path& backupPath,
                                      std::span<const uint8_t> bytes);

}  // namespace corvane
