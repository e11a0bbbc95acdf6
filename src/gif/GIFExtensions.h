#pragma once
// The graphic control, plain text and comment extensions.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "gif/GIFExtension.h"

namespace corvane {

// What a viewer does with a frame's rectangle once its time is up, as the control block
// names it; 4 to 7 have no defined meaning.
enum TGIFDisposal : uint8_t {
  dmUnspecified = 0,        // viewers leave the frame
  dmKeep = 1,               // leave the frame
  dmRestoreBackground = 2,  // clear the rectangle
  dmRestorePrevious = 3,    // put back what was beneath the frame
};

// Disposal, delay and transparency of the frame that follows. The last one in front of a
// frame's image is the frame's control block, as viewers read it.
class TGIFGraphicControlExtension final : public TGIFExtension {
 public:
  static constexpr uint8_t kLabel = 0xF9;
  static const TGIFExtensionClass& Class();
  // Control flags: transparency and user input bits, and the disposal's three bits.
  static constexpr uint8_t kTransparentFlag = 0x01;
  static constexpr uint8_t kUserInputFlag = 0x02;
  static constexpr int kDisposalShift = 2;
  static constexpr uint8_t kDisposalBits = 0x07;

  explicit TGIFGraphicControlExtension(TGIFSubImage& frame);
  ~TGIFGraphicControlExtension() override;

  std::string ClassName() const override { return "TGIFGraphicControlExtension"; }
  uint8_t BlockLabel() const override { return kLabel; }

  uint8_t BlockSize() const { return FBlockSize; }
  uint8_t ControlFlags() const { return FControlFlags; }
  uint8_t Terminator() const { return FTerminator; }

  bool Transparent() const { return (FControlFlags & kTransparentFlag) != 0; }
  // Sets or clears the transparency bit.
  void SetTransparent(bool value);
  uint8_t TransparentIndex() const { return FTransparentIndex; }
  // An index outside the frame's active table (when that has entries) warns "Invalid color
  // index" and stores 0.
  void SetTransparentIndex(uint8_t value);
  // In hundredths of a second. The format gives 0 no special meaning; browsers show frames
  // of 0 or 1 for 10 hundredths, other viewers take the delay as it is.
  uint16_t DelayTime() const { return FDelayTime; }
  void SetDelayTime(uint16_t value) { FDelayTime = value; }
  bool UserInput() const { return (FControlFlags & kUserInputFlag) != 0; }
  // A TGIFDisposal or one of the values 4 to 7, which the format leaves undefined: browsers
  // take 4 as dmRestorePrevious and 5 to 7 as leaving the frame in place; other viewers differ.
  uint8_t Disposal() const { return (FControlFlags >> kDisposalShift) & kDisposalBits; }
  void SetDisposal(uint8_t value) {
    FControlFlags = uint8_t((FControlFlags & ~(kDisposalBits << kDisposalShift)) | ((value & kDisposalBits) << kDisposalShift));
  }

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
