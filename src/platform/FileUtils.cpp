#include "FileUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <random>
#include <string>
#include <system_error>

#include "Exceptions.h"
#include "Stream.h"

namespace corvane {

namespace fs = std::filesystem;

void RequireRegularFile(const fs::path& fileName) {
  std::error_code error;
  if (!fs::is_regular_file(fileName, error)) throw EFOpenError(fileName.string());
}

std::vector<uint8_t> ReadWholeFile(const fs::path& fileName) {
  TFileStream file(fileName, TFileMode::OpenRead);
  std::vector<uint8_t> bytes;
  uint8_t chunk[1 << 16];
  try {
    for (int64_t n; (n = file.Read(chunk, sizeof chunk)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
  } catch (const EReadError&) {
    throw EFOpenError(fileName.string());
  }
  return bytes;
}

namespace {

fs::path TemporaryNameBeside(const fs::path& fileName) {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  fs::path name = fileName;
  name += ".tmp" + std::to_string(random() % 1000000000);
  return name;
}

// A link is followed, so that the file it names gets the new content and the link stays
// a link.
fs::path LinkTarget(const fs::path& fileName) {
  std::error_code error;
  if (!fs::is_symlink(fileName, error)) return fileName;
  fs::path target = fs::canonical(fileName, error);
  return error ? fileName : target;
}

}  // namespace

void WriteFileAtomically(const fs::path& linkOrFile, std::span<const uint8_t> bytes) {
  fs::path fileName = LinkTarget(linkOrFile);
  fs::path temporary = TemporaryNameBeside(fileName);
  try {
    {
      TFileStream file(temporary, TFileMode::Create);
      file.WriteBuffer(bytes.data(), int64_t(bytes.size()));
      struct stat existing {};
      if (::stat(fileName.c_str(), &existing) == 0) ::chmod(temporary.c_str(), existing.st_mode & 07777);
      file.Sync();
    }
    std::error_code error;
    fs::rename(temporary, fileName, error);
    if (error) throw EFCreateError(linkOrFile.string());
  } catch (const EPlatformError&) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw EFCreateError(linkOrFile.string());
  }
}

bool CreateDirectories(const fs::path& directory) noexcept {
  std::error_code error;
  fs::create_directories(directory, error);
  return !error && fs::is_directory(directory, error);
}

std::string FileNamePart(const std::string& path) {
  size_t cut = path.find_last_of("/\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

fs::path ProgramDirectory() {
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::current_path() : exe.parent_path();
}

fs::path AppDir() {
  fs::path programDir = ProgramDirectory();
  if (::access(programDir.c_str(), W_OK) == 0) return programDir;
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  fs::path base = dataHome && *dataHome ? fs::path(dataHome)
                  : home && *home       ? fs::path(home) / ".local" / "share"
                                        : fs::temp_directory_path();
  fs::path dir = base / "corvane";
  CreateDirectories(dir);
  return dir;
}

}  // namespace corvane
