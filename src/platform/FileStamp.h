#pragma once
// What tells whether a file is still the one that was read: its device, inode, size and
// times, and a hash of the bytes for when the times are too coarse to tell.

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <span>

namespace corvane {

struct TFileStamp {
  struct stat Status {};
  timespec ReadStart{};  // the clock before the file was looked at
  size_t ContentHash = 0;
};

// The clock as file times show it.
timespec FileClockNow();

// The stamp of bytes read from a file whose status was taken, after readStart, before
// they were read.
TFileStamp StampOfRead(const struct stat& status, timespec readStart, std::span<const uint8_t> bytes);

// Whether the file at path is still the one stamped: same device, inode, size and times;
// when a time lies so close to the reading that a change in the same clock tick could
// hide behind it, the bytes are read again and compared by their hash. A file that is
// gone or cannot be read is not.
bool StillTheFileRead(const std::filesystem::path& path, const TFileStamp& stamp);

}  // namespace corvane
