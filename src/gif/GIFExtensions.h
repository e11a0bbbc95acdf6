#pragma once
// The graphic control, plain text and comment extensions.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gif/GIFExtension.h"

namespace corvane {

// Disposal, delay and transparency of the frame that follows. The last one in front of a
// frame's image is the frame's control block, as viewers read it.
class TGIFGraphicControlExtension final : public TGIFExtension {
 public:
  static constexpr uint8_t kLabel = 0xF9;
  static const TGIFExtensionClass& Class();

  explicit TGIFGraphicControlExtension(TGIFSubImage& frame);
  ~TGIFGraphicControlExtension() override;

  std::string ClassName() const override { return "TGIFGraphicControlExtension"; }
  uint8_t BlockLabel() const override { return kLabel; }

  uint8_t BlockSize() const { return FBlockSize; }
  uint8_t ControlFlags() const { return FControlFlags; }
  uint8_t Terminator() const { return FTerminator; }

  bool Transparent() const { return (FControlFlags & 0x01) != 0; }
  // Sets or clears the transparency bit.
  void SetTransparent(bool value);
  uint8_t TransparentIndex() const { return FTransparentIndex; }
  // An index outside the frame's active table (when that has entries) warns "Invalid color
  // index" and stores 0.
  void SetTransparentIndex(uint8_t value);
  uint16_t DelayTime() const { return FDelayTime; }
  void SetDelayTime(uint16_t value) { FDelayTime = value; }
  bool UserInput() const { return (FControlFlags & 0x02) != 0; }
  uint8_t Disposal() const { return (FControlFlags >> 2) & 0x07; }
  void SetDisposal(uint8_t value) { FControlFlags = uint8_t((FControlFlags & ~0x1C) | ((value & 0x07) << 2)); }

 protected:
  void SaveData(TStream& stream) override;
  // A block cut short warns "Premature end of data" and keeps what could be read.
  void LoadData(TStream& stream) override;

 private:
  static constexpr int kBlockBytes = 6;
  std::array<uint8_t, kBlockBytes> PackBlock() const;
  void UnpackBlock(const std::array<uint8_t, kBlockBytes>& block);

  uint8_t FBlockSize = 4;
  uint8_t FControlFlags = 0;
  uint16_t FDelayTime = 0;
  uint8_t FTransparentIndex = 0;
  uint8_t FTerminator = 0;
};

// Text drawn into a grid of character cells on the logical screen.
class TGIFTextExtension final : public TGIFExtension {
 public:
  static constexpr uint8_t kLabel = 0x01;
  static const TGIFExtensionClass& Class();

  using TGIFExtension::TGIFExtension;
  std::string ClassName() const override { return "TGIFTextExtension"; }
  uint8_t BlockLabel() const override { return kLabel; }

  std::vector<std::string> FTextLines;
  uint8_t BlockSize = 12;
  uint16_t GridLeft = 0;
  uint16_t GridTop = 0;
  uint16_t GridWidth = 0;
  uint16_t GridHeight = 0;
  uint8_t CellWidth = 0;
  uint8_t CellHeight = 0;
  uint8_t TextColorIndex = 0;
  uint8_t TextBackIndex = 0;

 protected:
  void SaveData(TStream& stream) override;
  void LoadData(TStream& stream) override;

 private:
  static constexpr int kBlockBytes = 13;
};

class TGIFCommentExtension final : public TGIFExtension {
 public:
  static constexpr uint8_t kLabel = 0xFE;
  static const TGIFExtensionClass& Class();

  using TGIFExtension::TGIFExtension;
  std::string ClassName() const override { return "TGIFCommentExtension"; }
  uint8_t BlockLabel() const override { return kLabel; }

  std::vector<std::string> FTextLines;

 protected:
  void SaveData(TStream& stream) override;
  void LoadData(TStream& stream) override;
};

}  // namespace corvane
