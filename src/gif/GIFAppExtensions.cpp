#include "GIFAppExtensions.h"

#include <algorithm>

#include "gif/ExtensionRegistry.h"
#include "gif/GIFException.h"
#include "gif/GIFStreamIO.h"

namespace corvane {

namespace {

constexpr int kIdentBytes = 11;

// The looping extension's sub-blocks name their kind in the low three bits of their first
// byte; the value follows, little-endian.
constexpr uint8_t kSubBlockKindBits = 0x07;
constexpr uint8_t kBufferSubBlock = 2;  // the buffer size hint, 32 bits
constexpr uint8_t kBufferSubBlockLength = 5;

// The class of the application extension whose block size byte the stream stands on. The
// stream is set back in every case, so that asking the answer again answers the same.
const TGIFExtensionClass* RefineApplicationClass(TStream& stream) {
  int64_t start = stream.Position();
  const TGIFExtensionClass* refined = nullptr;
  uint8_t size;
  TAppIdentifier identifier{};
  if (ReadByte(stream, size)) {
    if (size == 10) {
      if (stream.Read(identifier.data(), 10) == 10) refined = &TGIFUnknownAppExtension::Class();
    } else if (size == kIdentBytes && stream.Read(identifier.data(), kIdentBytes) == kIdentBytes) {
      refined = AppExtensionClasses().Find(identifier);
      if (!refined) refined = &TGIFUnknownAppExtension::Class();
    } else {
      // Other sizes: the unknown application's reader keeps a longer block whole and
      // refuses a shorter or cut-off one with the proper error.
      refined = &TGIFUnknownAppExtension::Class();
    }
  }
  stream.SetPosition(start);
  return refined;
}

}  // namespace

TAppIdentifier MakeAppIdentifier(const char (&text)[12]) {
  TAppIdentifier identifier;
  std::copy(text, text + kIdentBytes, identifier.begin());
  return identifier;
}

const TGIFExtensionClass& TGIFApplicationExtension::Class() {
  static const TGIFExtensionClass c{"TGIFApplicationExtension", nullptr, &RefineApplicationClass};
  return c;
}

std::string TGIFApplicationExtension::IdentifierText() const {
  std::string text;
  for (uint8_t b : FIdentBytes) text += (b >= 0x20 && b < 0x7F) ? char(b) : '.';
  return text;
}

void TGIFApplicationExtension::SaveData(TStream& stream) {
  stream.WriteByte(uint8_t(kIdentBytes + FIdentTail.size()));
  stream.WriteBuffer(FIdentBytes.data(), kIdentBytes);
  stream.WriteBuffer(FIdentTail.data(), int64_t(FIdentTail.size()));
  WriteAppData(stream);
}

void TGIFApplicationExtension::LoadData(TStream& stream) {
  uint8_t size = ReadExactByte(stream);
  if (size < 10) throw GIFException("Unsupported Application Extension block size");
  FIdentBytes = {};
  ReadExact(stream, FIdentBytes.data(), std::min<int>(size, kIdentBytes));
  FIdentTail.assign(size > kIdentBytes ? size - kIdentBytes : 0, 0);
  ReadExact(stream, FIdentTail.data(), int64_t(FIdentTail.size()));
  ReadAppData(stream);
}

const TGIFExtensionClass& TGIFAppExtNSLoop::Class() {
  static const TGIFExtensionClass c{"TGIFAppExtNSLoop", &Create<TGIFAppExtNSLoop>, &RefineApplicationClass};
  return c;
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage& frame) : TGIFApplicationExtension(frame) {
  FIdentBytes = MakeAppIdentifier("NETSCAPE2.0");
}

void TGIFAppExtNSLoop::WriteAppData(TStream& stream) {
  uint8_t loop[1 + kLoopSubBlockLength] = {kLoopSubBlockLength, kLoopSubBlock};
  PutLE16(&loop[2], FRepeatCount);
  stream.WriteBuffer(loop, sizeof loop);
  if (FBufferHint != 0) {
    uint8_t buffer[1 + kBufferSubBlockLength] = {kBufferSubBlockLength, kBufferSubBlock};
    PutLE32(&buffer[2], FBufferHint);
    stream.WriteBuffer(buffer, sizeof buffer);
  }
  stream.WriteByte(0);
}

void TGIFAppExtNSLoop::ReadAppData(TStream& stream) {
  uint8_t length, kind;
  while (ReadByte(stream, length) && length != 0 && ReadByte(stream, kind)) {
    int rest = length - 1;
    uint8_t value[4];
    switch (kind & kSubBlockKindBits) {
      case kLoopSubBlock:
        if (length < kLoopSubBlockLength) throw GIFException("Invalid GIF data");
        ReadExact(stream, value, 2);
        FRepeatCount = GetLE16(value);
        rest -= 2;
        break;
      case kBufferSubBlock:
        if (length < kBufferSubBlockLength) throw GIFException("Invalid GIF data");
        ReadExact(stream, value, 4);
        FBufferHint = GetLE32(value);
        rest -= 4;
        break;
      default:
        break;
    }
    SkipBytes(stream, rest);
  }
}

const TGIFExtensionClass& TGIFUnknownAppExtension::Class() {
  static const TGIFExtensionClass c{"TGIFUnknownAppExtension", &Create<TGIFUnknownAppExtension>,
                                    &RefineApplicationClass};
  return c;
}

void TGIFUnknownAppExtension::WriteAppData(TStream& stream) {
  for (const auto& block : FRawBlocks) {
    stream.WriteByte(block->FLength);
    stream.WriteBuffer(block->FBytes.data(), block->FLength);
  }
  stream.WriteByte(0);
}

void TGIFUnknownAppExtension::ReadAppData(TStream& stream) {
  FRawBlocks.clear();
  uint8_t length;
  while (ReadByte(stream, length) && length != 0) {
    auto block = std::make_unique<TGIFBlock>(length);
    ReadExact(stream, block->FBytes.data(), length);
    FRawBlocks.push_back(std::move(block));
  }
}

}  // namespace corvane
