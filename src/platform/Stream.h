#pragma once
// Seekable byte streams: the abstract TStream, a growable TMemoryStream and a TFileStream.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace corvane {

enum class TSeekOrigin { Beginning, Current, End };

class TStream {
 public:
  virtual ~TStream() = default;

  // Reads up to count bytes and answers how many were read (0 at the end).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // Writes count bytes and answers how many were written.
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Moves the position and answers the new one.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size();
  virtual void SetSize(int64_t newSize);

  int64_t Position() { return Seek(0, TSeekOrigin::Current); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::Beginning); }
  int64_t Remaining() { return Size() - Position(); }

  // Exactly count bytes, or EReadError / EWriteError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  void WriteByte(uint8_t value) { WriteBuffer(&value, 1); }
  void WriteBytes(std::span<const uint8_t> bytes) { WriteBuffer(bytes.data(), int64_t(bytes.size())); }

  // Copies count bytes from source's position; count 0 copies the whole source from its start.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over a growable byte buffer.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : FBytes(std::move(bytes)) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return int64_t(FBytes.size()); }
  void SetSize(int64_t newSize) override;

  // Reads one byte without a virtual call; false at the end.
  bool ReadByte(uint8_t& value) {
    if (FPosition >= FBytes.size()) return false;
    value = FBytes[FPosition++];
    return true;
  }

  void Clear();
  const std::vector<uint8_t>& Bytes() const { return FBytes; }
  std::vector<uint8_t> TakeBytes();
  uint8_t* Memory() { return FBytes.data(); }

  void LoadFromFile(const std::filesystem::path& fileName);
  void SaveToFile(const std::filesystem::path& fileName) const;

 private:
  std::vector<uint8_t> FBytes;
  size_t FPosition = 0;
};

enum class TFileMode {
  Create,     // create or truncate, read and write
  OpenRead,   // existing regular file, read only
  OpenWrite,  // existing file, read and write
};

// A stream over an open file. Opening raises EFOpenError, creating EFCreateError. Reading
// opens only regular files: a pipe or a device may block or never end.
class TFileStream : public TStream {
 public:
  TFileStream(const std::filesystem::path& fileName, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;

  // Flushes the file's data to the disk.
  void Sync();

 private:
  void OpenRegularForReading(const std::filesystem::path& fileName);

  int FHandle = -1;
};

}  // namespace corvane
