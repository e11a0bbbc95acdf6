#pragma once
// Decodes a whole GIF file from memory with giflib, an independent decoder, into plain structs
// that tests compare with what the project's own code wrote or read.

#include <cstdint>
#include <span>
#include <vector>

namespace corvane {

struct TGiflibColor {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  friend bool operator==(const TGiflibColor&, const TGiflibColor&) = default;
};

struct TGiflibFrame {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool Interlaced = false;
  std::vector<TGiflibColor> LocalTable;  // empty without a local table
  std::vector<uint8_t> Pixels;           // Width × Height indices, rows top to bottom
  // The graphic control extension before the frame, when there is one.
  bool HasControlBlock = false;
  int DisposalMode = 0;
  bool UserInput = false;
  int DelayTime = 0;
  int TransparentIndex = -1;  // -1 without transparency
};

struct TGiflibImage {
  int Width = 0;
  int Height = 0;
  int ColorResolution = 0;
  int BackgroundIndex = 0;
  int AspectByte = 0;
  std::vector<TGiflibColor> GlobalTable;  // empty without a global table
  std::vector<TGiflibFrame> Frames;
};

// Raises std::runtime_error with giflib's message when giflib refuses the file.
TGiflibImage DecodeWithGiflib(std::span<const uint8_t> file);

}  // namespace corvane
