#include "GIFStreamIO.h"

#include <algorithm>

#include "gif/GIFException.h"

namespace corvane {

void ReadExact(TStream& stream, void* buffer, int64_t count) {
  if (count > 0 && stream.Read(buffer, count) != count) throw GIFException("Premature end of data");
}

uint8_t ReadExactByte(TStream& stream) {
  uint8_t value;
  ReadExact(stream, &value, 1);
  return value;
}

bool ReadNonZeroByte(TStream& stream, uint8_t& value) {
  while (ReadByte(stream, value))
    if (value != 0) return true;
  return false;
}

void SkipBytes(TStream& stream, int64_t count) {
  if (count > 0) stream.Seek(std::min(count, std::max<int64_t>(stream.Remaining(), 0)), TSeekOrigin::Current);
}

void ReadTextBlocks(TStream& stream, std::vector<std::string>& lines) {
  lines.clear();
  uint8_t length;
  char block[255];
  while (ReadByte(stream, length) && length != 0) {
    ReadExact(stream, block, length);
    lines.emplace_back(block, std::find(block, block + length, '\0'));
  }
}

void WriteTextBlocks(TStream& stream, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    for (size_t start = 0; start < line.size(); start += 255) {
      size_t length = std::min<size_t>(255, line.size() - start);
      stream.WriteByte(uint8_t(length));
      stream.WriteBuffer(line.data() + start, int64_t(length));
    }
  }
  stream.WriteByte(0);
}

uint8_t RoundedPercent(int64_t done, int64_t total) {
  if (total <= 0) return 0;
  return uint8_t(std::clamp<int64_t>((done * 100 + total / 2) / total, 0, 100));
}

}  // namespace corvane
