#pragma once
// Whole-file reads and writes, directory creation and the program's own directory.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <vector>

namespace corvane {

// The whole file; EFOpenError when it cannot be opened or read, or is not a regular file.
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& fileName);

// EFOpenError unless the path names a regular file, after following links: reading a pipe
// or a device may block or never end.
void RequireRegularFile(const std::filesystem::path& fileName);

// What replacing a file keeps of it and checks, besides its content.
struct TReplaceOptions {
  // The new content takes the modification time of the content it replaces; otherwise
  // the time shows that the file changed.
  bool KeepModificationTime = false;
  // Called when the new content is on the disk, right before it takes the file's name;
  // an exception leaves the file as it is and passes on.
  std::function<void()> BeforeRename;
};

// Replaces the file's content with bytes so that readers see either the old or the new
// content, never a part: the bytes are written beside it, flushed to the disk and renamed
// over the target. An existing target keeps its permission bits and, where the system
// allows, its owner and group; a symbolic link is followed and stays.
// EFCreateError, with the system's reason, when it cannot be done; the target is then
// unchanged and nothing is left beside it.
void WriteFileAtomically(const std::filesystem::path& fileName, std::span<const uint8_t> bytes,
                         const TReplaceOptions& options = {});

// Writes a new file with the bytes, whole or not at all; answers false, writing nothing,
// when the name is taken. EFCreateError with the system's reason when it cannot be done.
bool WriteNewFile(const std::filesystem::path& fileName, std::span<const uint8_t> bytes);

// Creates the directory and any missing parents; answers false when that fails.
bool CreateDirectories(const std::filesystem::path& directory) noexcept;

// The file-name part of a path: the text after the last "/" (or "\" or ":").
std::string FileNamePart(const std::string& path);

// The directory that holds the running program.
std::filesystem::path ProgramDirectory();

// Where the program keeps its files: the program's directory when it can be written,
// otherwise the per-user data directory ($XDG_DATA_HOME/corvane or ~/.local/share/corvane),
// created on demand.
std::filesystem::path AppDir();

}  // namespace corvane
