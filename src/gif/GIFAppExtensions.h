#pragma once
// Application extensions: an 11-byte identifier (8 bytes of name, 3 of authentication code)
// and the application's data in sub-blocks. The looping extension is understood; any other
// application's data is kept as read and written back unchanged.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gif/GIFExtension.h"

namespace corvane {

using TAppIdentifier = std::array<uint8_t, 11>;

TAppIdentifier MakeAppIdentifier(const char (&text)[12]);

class TGIFApplicationExtension : public TGIFExtension {
 public:
  static constexpr uint8_t kLabel = 0xFF;
  // Abstract: refining always picks one of the descendants.
  static const TGIFExtensionClass& Class();

  using TGIFExtension::TGIFExtension;
  std::string ClassName() const override { return "TGIFApplicationExtension"; }
  uint8_t BlockLabel() const override { return kLabel; }

  // The identifier's text, with unprintable bytes as '.'.
  std::string IdentifierText() const;

  TAppIdentifier FIdentBytes{};
  // The bytes of an identifier block longer than 11, past the 11 identifier bytes; written
  // back so that such a block keeps its size and content.
  std::vector<uint8_t> FIdentTail;

 protected:
  void SaveData(TStream& stream) override;
  // Raises "Unsupported Application Extension block size" for an identifier block shorter
  // than 10 bytes; one of 10 bytes gets a 0 as 11th byte.
  void LoadData(TStream& stream) override;

  // The data sub-blocks and the terminator.
  virtual void WriteAppData(TStream& stream) = 0;
  virtual void ReadAppData(TStream& stream) = 0;
};

// The looping extension ("NETSCAPE2.0" or "ANIMEXTS1.0"): a repeat count and an optional
// buffer size hint.
class TGIFAppExtNSLoop final : public TGIFApplicationExtension {
 public:
  // The sub-block of the repeat count: its length byte, then kind 1 and 16 bits.
  static constexpr uint8_t kLoopSubBlock = 1;
  static constexpr uint8_t kLoopSubBlockLength = 3;

  static const TGIFExtensionClass& Class();

  explicit TGIFAppExtNSLoop(TGIFSubImage& frame);
  std::string ClassName() const override { return "TGIFAppExtNSLoop"; }

  uint16_t FRepeatCount = 0;  // 0: loop forever
  uint32_t FBufferHint = 0;   // 0: absent

 protected:
  void WriteAppData(TStream& stream) override;
  // "Invalid GIF data" for a sub-block too short for its value.
  void ReadAppData(TStream& stream) override;
};

// One data sub-block of an application that is not understood.
class TGIFBlock {
 public:
  explicit TGIFBlock(uint8_t length) : FLength(length), FBytes(length, 0) {}
  uint8_t FLength;
  std::vector<uint8_t> FBytes;
};

class TGIFUnknownAppExtension final : public TGIFApplicationExtension {
 public:
  static const TGIFExtensionClass& Class();

  using TGIFApplicationExtension::TGIFApplicationExtension;
  std::string ClassName() const override { return "TGIFUnknownAppExtension"; }

  std::vector<std::unique_ptr<TGIFBlock>> FRawBlocks;

 protected:
  void WriteAppData(TStream& stream) override;
  void ReadAppData(TStream& stream) override;
};

}  // namespace corvane
