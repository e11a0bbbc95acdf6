#pragma once
// Whole-file reads and writes, directory creation and the program's own directory.

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace corvane {

// The whole file; EFOpenError when it cannot be opened or read, or is not a regular file.
std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& fileName);

// EFOpenError unless the path names a regular file, after following links: reading a pipe
// or a device may block or never end.
void RequireRegularFile(const std::filesystem::path& fileName);

// Replaces the file's content with bytes so that readers see either the old or the new
// content, never a part: a temporary file beside it is written, flushed to the disk and
// renamed over the target. An existing target keeps its permission bits; a symbolic link
// is followed and stays.
// EFCreateError when it cannot be done; the target is then unchanged.
void WriteFileAtomically(const std::filesystem::path& fileName, std::span<const uint8_t> bytes);

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
