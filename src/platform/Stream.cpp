#include "Stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "Exceptions.h"

namespace corvane {

int64_t TStream::Size() {
  int64_t position = Position();
  int64_t size = Seek(0, TSeekOrigin::End);
  SetPosition(position);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EWriteError();
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<uint8_t> chunk(size_t(std::min<int64_t>(count, 1 << 16)));
  for (int64_t left = count; left > 0;) {
    int64_t n = std::min<int64_t>(left, int64_t(chunk.size()));
    source.ReadBuffer(chunk.data(), n);
    WriteBuffer(chunk.data(), n);
    left -= n;
  }
  return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || FPosition >= FBytes.size()) return 0;
  size_t n = std::min<size_t>(size_t(count), FBytes.size() - FPosition);
  std::memcpy(buffer, FBytes.data() + FPosition, n);
  FPosition += n;
  return int64_t(n);
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  size_t end = FPosition + size_t(count);
  if (end > FBytes.size()) FBytes.resize(end);
  std::memcpy(FBytes.data() + FPosition, buffer, size_t(count));
  FPosition = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == TSeekOrigin::Beginning ? 0
                 : origin == TSeekOrigin::Current ? int64_t(FPosition)
                                                  : int64_t(FBytes.size());
  int64_t target = base + offset;
  if (target < 0) throw EStreamError("Invalid stream position");
  FPosition = size_t(target);
  return target;
}

void TMemoryStream::SetSize(int64_t newSize) {
  FBytes.resize(size_t(std::max<int64_t>(newSize, 0)));
  FPosition = std::min(FPosition, FBytes.size());
}

void TMemoryStream::Clear() {
  FBytes.clear();
  FPosition = 0;
}

std::vector<uint8_t> TMemoryStream::TakeBytes() {
  FPosition = 0;
  return std::exchange(FBytes, {});
}

void TMemoryStream::LoadFromFile(const std::filesystem::path& fileName) {
  TFileStream file(fileName, TFileMode::OpenRead);
  Clear();
  FBytes.resize(size_t(file.Size()));
  file.ReadBuffer(FBytes.data(), int64_t(FBytes.size()));
}

void TMemoryStream::SaveToFile(const std::filesystem::path& fileName) const {
  TFileStream file(fileName, TFileMode::Create);
  file.WriteBuffer(FBytes.data(), int64_t(FBytes.size()));
}

TFileStream::TFileStream(const std::filesystem::path& fileName, TFileMode mode) {
  switch (mode) {
    case TFileMode::Create:
      FHandle = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      if (FHandle < 0) {
        int error = errno;
        throw EFCreateError(fileName.string(), SystemReason(error));
      }
      break;
    case TFileMode::OpenRead:
      OpenRegularForReading(fileName);
      break;
    case TFileMode::OpenWrite:
      FHandle = ::open(fileName.c_str(), O_RDWR | O_CLOEXEC);
      if (FHandle < 0) {
        int error = errno;
        throw EFOpenError(fileName.string(), SystemReason(error));
      }
      break;
  }
}

void TFileStream::OpenRegularForReading(const std::filesystem::path& fileName) {
  // Without O_NONBLOCK opening a pipe waits for a writer.
  FHandle = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (FHandle < 0) {
    int error = errno;
    throw EFOpenError(fileName.string(), SystemReason(error));
  }
  struct stat status {};
  if (::fstat(FHandle, &status) == 0 && S_ISREG(status.st_mode) &&
      ::fcntl(FHandle, F_SETFL, ::fcntl(FHandle, F_GETFL) & ~O_NONBLOCK) == 0)
    return;
  ::close(FHandle);
  FHandle = -1;
  throw EFOpenError(fileName.string(), "not a regular file");
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::read(FHandle, static_cast<char*>(buffer) + done, size_t(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EReadError();
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::write(FHandle, static_cast<const char*>(buffer) + done, size_t(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == TSeekOrigin::Beginning ? SEEK_SET
               : origin == TSeekOrigin::Current ? SEEK_CUR
                                                : SEEK_END;
  off_t result = ::lseek(FHandle, off_t(offset), whence);
  if (result < 0) throw EStreamError("Invalid stream position");
  return int64_t(result);
}

void TFileStream::SetSize(int64_t newSize) {
  if (::ftruncate(FHandle, off_t(newSize)) != 0) throw EWriteError();
}

void TFileStream::Sync() {
  if (::fsync(FHandle) != 0) throw EWriteError();
}

}  // namespace corvane
