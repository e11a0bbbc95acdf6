#pragma once
// Small types shared by the GIF model: file versions, colour depths, pixel coder choice and
// the warning event of an image.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Persistent.h"

namespace corvane {

// The file version an item or image needs; written as "87a" or "89a".
enum TGifRevision : uint8_t { revNone = 0, rev87a = 1, rev89a = 2 };

// The pixel encoder of an image: pcLZW codes strings, pcRunLength codes runs without a
// string table. Other values select pcLZW.
enum TPixelCoding : uint8_t { pcLZW = 0, pcRunLength = 1 };

// The largest screen size and frame position and size: the descriptors hold them in 16 bits.
// A frame's right and bottom edges must fit too.
constexpr int kMaxGifExtent = 0xFFFF;
// The longest frame delay, in hundredths of a second: the control block holds it in 16 bits.
constexpr int kMaxGifDelay = 0xFFFF;

// The entries of a colour table whose size field (the low three bits of its flags) is sizeBits.
constexpr int TableEntries(int sizeBits) { return 2 << sizeBits; }

// The bits needed for count colours: 0 for none, otherwise the smallest d >= 1 with 2^d >= count.
constexpr int DepthForCount(int count) {
  if (count <= 0) return 0;
  int depth = 1;
  while ((1 << depth) < count) ++depth;
  return depth;
}

// How grave a reported problem is. The coder reports only one kind: irregular data that it
// reads anyway.
enum TGIFWarningSeverity : int { wsIrregularData = 1 };

// Receives the non-fatal problems of an image's items, lists and tables.
using TGIFWarningEvent = std::function<void(const TPersistent* sender, TGIFWarningSeverity severity,
                                            const std::string& message)>;

}  // namespace corvane
