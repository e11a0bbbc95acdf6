#pragma once
// Write-only streams that pack the bytes written to them into GIF data sub-blocks: a length
// byte followed by at most 255 data bytes.

#include <array>
#include <cstdint>

#include "platform/Stream.h"

namespace corvane {

// Base of the sub-block streams: they can only be written, never read or positioned.
class TGIFStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

 protected:
  explicit TGIFStream(TStream& outStream) : FOutStream(outStream) {}

  TStream& FOutStream;
  std::array<uint8_t, 256> FBlock{};  // index 0 is the length byte, 1-255 the data
  int FBlockFill = 1;                 // next index to fill
};

// Writes full sub-blocks of 255 bytes as they fill up and the last, shorter one when flushed
// or freed. The zero-length terminator is the caller's.
class TGIFWriter final : public TGIFStream {
 public:
  explicit TGIFWriter(TStream& outStream) : TGIFStream(outStream) {}
  ~TGIFWriter() override;
  TGIFWriter(const TGIFWriter&) = delete;
  TGIFWriter& operator=(const TGIFWriter&) = delete;

  int64_t Write(const void* buffer, int64_t count) override;

  // Writes the pending bytes as one sub-block.
  void FlushSubBlock();
  // Writes the pending bytes, if there are any.
  void Finish() {
    if (FUnflushed) FlushSubBlock();
  }

 private:
  bool FUnflushed = false;
};

}  // namespace corvane
