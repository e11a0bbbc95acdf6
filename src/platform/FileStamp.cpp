#include "FileStamp.h"

#include <string_view>

#include "Exceptions.h"
#include "FileUtils.h"

namespace corvane {

namespace {

// Some file systems keep times to the second or two, and the kernel's file clock lags
// the real one by a tick.
constexpr time_t kCoarsestTimeStep = 2;

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

bool NotBefore(const timespec& time, const timespec& limit) {
  return time.tv_sec > limit.tv_sec || (time.tv_sec == limit.tv_sec && time.tv_nsec >= limit.tv_nsec);
}

size_t HashOf(std::span<const uint8_t> bytes) {
  return std::hash<std::string_view>{}(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// Changed in the clock step of the reading or later: the times cannot tell a change.
bool InDoubt(const TFileStamp& stamp) {
  timespec limit = stamp.ReadStart;
  limit.tv_sec -= kCoarsestTimeStep;
  return NotBefore(stamp.Status.st_mtim, limit) || NotBefore(stamp.Status.st_ctim, limit);
}

}  // namespace

timespec FileClockNow() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}

TFileStamp StampOfRead(const struct stat& status, timespec readStart, std::span<const uint8_t> bytes) {
  return {status, readStart, HashOf(bytes)};
}

bool StillTheFileRead(const std::filesystem::path& path, const TFileStamp& stamp) {
  struct stat now {};
  if (::stat(path.c_str(), &now) != 0) return false;
  const struct stat& then = stamp.Status;
  if (now.st_dev != then.st_dev || now.st_ino != then.st_ino || now.st_size != then.st_size ||
      !SameTime(now.st_mtim, then.st_mtim) || !SameTime(now.st_ctim, then.st_ctim))
    return false;
  if (!InDoubt(stamp)) return true;
  try {
    return HashOf(ReadWholeFile(path)) == stamp.ContentHash;
  } catch (const EStreamError&) {
    return false;
  }
}

}  // namespace corvane
