#include "GIFWriter.h"

#include <algorithm>
#include <cstring>

#include "gif/GIFException.h"

namespace corvane {

namespace {
const char* const kInvalidOperation = "Invalid stream operation";
}

int64_t TGIFStream::Read(void*, int64_t) { throw GIFException(kInvalidOperation); }

int64_t TGIFStream::Seek(int64_t, TSeekOrigin) { throw GIFException(kInvalidOperation); }

TGIFWriter::~TGIFWriter() {
  // Reached with bytes pending only while an exception unwinds; that exception is the one to
  // report, so a failure to write the partial block is dropped.
  try {
    Finish();
  } catch (...) {
  }
}

int64_t TGIFWriter::Write(const void* buffer, int64_t count) {
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  for (int64_t left = count; left > 0;) {
    FUnflushed = true;
    int64_t n = std::min<int64_t>(left, int64_t(FBlock.size()) - FBlockFill);
    std::memcpy(&FBlock[size_t(FBlockFill)], bytes, size_t(n));
    FBlockFill += int(n);
    bytes += n;
    left -= n;
    if (FBlockFill == int(FBlock.size())) FlushSubBlock();
  }
  return std::max<int64_t>(count, 0);
}

void TGIFWriter::FlushSubBlock() {
  FBlock[0] = uint8_t(FBlockFill - 1);
  FOutStream.WriteBuffer(FBlock.data(), FBlockFill);
  FBlockFill = 1;
  FUnflushed = false;
}

}  // namespace corvane
