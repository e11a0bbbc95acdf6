#pragma once
// Builds GIF files byte by byte for tests: well-formed blocks through the named steps, and
// anything else through Byte and Bytes. Pixel data is coded with a clear code before the code
// width would grow, which every decoder reads and which does not depend on the project's
// encoders.

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::test {

using TBytes = std::vector<uint8_t>;

class TGifBuilder {
 public:
  // "GIF89a" and a logical screen without a global table.
  TGifBuilder(int width, int height, const std::string& signature = "GIF89a");

  // A global table of 2^bits entries (grey levels unless colours are given); sets the
  // screen's table bits.
  TGifBuilder& GlobalTable(int bits, const std::vector<uint32_t>& rgb = {});
  TGifBuilder& ScreenBytes(uint8_t background, uint8_t aspect);

  // Graphic control extension; transparentIndex -1 for none.
  TGifBuilder& Control(int disposal, int delay, int transparentIndex = -1);
  TGifBuilder& Comment(const std::vector<std::string>& lines);
  TGifBuilder& Loop(int repeatCount, const std::string& identifier = "NETSCAPE2.0");
  // An application extension with an identifier block of identifier.size() bytes.
  TGifBuilder& Application(const std::string& identifier, const std::vector<TBytes>& blocks);
  TGifBuilder& PlainText(const std::vector<std::string>& lines);

  // An image descriptor, a local table of 2^localBits entries when localBits > 0, and the
  // pixels coded with the given minimum code size.
  TGifBuilder& Image(int left, int top, int width, int height, const TBytes& pixels, int minCodeSize = 8,
                     int localBits = 0, bool interlaced = false);
  // An image descriptor alone.
  TGifBuilder& Descriptor(int left, int top, int width, int height, uint8_t flags = 0);
  TGifBuilder& Trailer() { return Byte(0x3B); }

  TGifBuilder& Byte(uint8_t value);
  TGifBuilder& Bytes(const TBytes& bytes);
  TGifBuilder& Word(uint16_t value);
  // Data as sub-blocks of at most 255 bytes, then the terminator.
  TGifBuilder& SubBlocks(const TBytes& data);

  const TBytes& Data() const { return FData; }

 private:
  TBytes FData;
};

// The coded form of pixels (minimum code size, sub-blocks, terminator); rows are coded in
// the order given.
TBytes CodePixels(const TBytes& pixels, int minCodeSize);

// Rows of an interlaced frame in the order the file stores them.
TBytes InterlaceRows(const TBytes& pixels, int width, int height);

}  // namespace corvane::test
