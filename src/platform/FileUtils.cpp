#include "FileUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
    // One allocation for a file that does not grow meanwhile, rather than copies as it fills.
    bytes.reserve(size_t(file.Size()));
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

// Raised with the error number of the call that failed; the callers turn it into the
// create error of the file they were asked to write.
struct TSystemFailure {
  int Number;
};

void Check(bool done) {
  if (!done) throw TSystemFailure{errno};
}

// New content for a file, written where no reader sees it until it takes its name: an
// unnamed file in the target's folder where the system has them, so that a program
// killed half-way leaves nothing behind, otherwise a temporary name beside the target.
class TPendingFile {
 public:
  explicit TPendingFile(const fs::path& target) : FTarget(target) {
    fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    FHandle = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (FHandle >= 0) return;
    FTemporary = TemporaryNameBeside(target);
    FHandle = ::open(FTemporary.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
    if (FHandle < 0) FTemporary.clear();
    Check(FHandle >= 0);
  }
  ~TPendingFile() {
    if (FHandle >= 0) ::close(FHandle);
    if (!FTemporary.empty()) ::unlink(FTemporary.c_str());
  }
  TPendingFile(const TPendingFile&) = delete;
  TPendingFile& operator=(const TPendingFile&) = delete;

  void Write(std::span<const uint8_t> bytes) {
    for (size_t done = 0; done < bytes.size();) {
      ssize_t n = ::write(FHandle, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      Check(n > 0);
      done += size_t(n);
    }
  }
  // The owner and group where the system allows, the permission bits, and on request the
  // modification time of the file this one replaces.
  void TakeAttributesOf(const struct stat& replaced, bool modificationTime) {
    [[maybe_unused]] int ignored = ::fchown(FHandle, replaced.st_uid, replaced.st_gid);
    Check(::fchmod(FHandle, replaced.st_mode & 07777) == 0);
    if (!modificationTime) return;
    const struct timespec times[2] = {{0, UTIME_OMIT}, replaced.st_mtim};
    Check(::futimens(FHandle, times) == 0);
  }
  void Sync() { Check(::fsync(FHandle) == 0); }
  // Gives the content the target's name, replacing what has it.
  void Replace() {
    if (FTemporary.empty()) Name(TemporaryNameBeside(FTarget));
    Check(::rename(FTemporary.c_str(), FTarget.c_str()) == 0);
    FTemporary.clear();
  }
  // Gives the content the target's name unless the name is taken; answers whether it did.
  bool Create() {
    if (!FTemporary.empty()) {
      bool linked = ::link(FTemporary.c_str(), FTarget.c_str()) == 0;
      Check(linked || errno == EEXIST);
      return linked;
    }
    bool linked = LinkUnnamed(FTarget);
    Check(linked || errno == EEXIST);
    return linked;
  }

 private:
  bool LinkUnnamed(const fs::path& name) const {
    std::string self = "/proc/self/fd/" + std::to_string(FHandle);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
  }
  void Name(const fs::path& temporary) {
    Check(LinkUnnamed(temporary));
    FTemporary = temporary;
  }

  fs::path FTarget;
  fs::path FTemporary;  // the name the content has while it is not the target's
  int FHandle = -1;
};

}  // namespace

void WriteFileAtomically(const fs::path& linkOrFile, std::span<const uint8_t> bytes, const TReplaceOptions& options) {
  fs::path fileName = LinkTarget(linkOrFile);
  try {
    TPendingFile pending(fileName);
    pending.Write(bytes);
    struct stat replaced {};
    if (::stat(fileName.c_str(), &replaced) == 0) pending.TakeAttributesOf(replaced, options.KeepModificationTime);
    pending.Sync();
    if (options.BeforeRename) options.BeforeRename();
    pending.Replace();
  } catch (const TSystemFailure& failure) {
    throw EFCreateError(linkOrFile.string(), SystemReason(failure.Number));
  }
}

bool WriteNewFile(const fs::path& fileName, std::span<const uint8_t> bytes) {
  try {
    TPendingFile pending(fileName);
    pending.Write(bytes);
    pending.Sync();
    return pending.Create();
  } catch (const TSystemFailure& failure) {
    throw EFCreateError(fileName.string(), SystemReason(failure.Number));
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
