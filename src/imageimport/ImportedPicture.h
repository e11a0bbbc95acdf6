#pragma once
// TImportedPicture: the base of the picture readers chosen by file extension. It decodes
// the whole file into a 24-bit bitmap (transparent parts composed onto white), reports
// its size and draws it. Readers only read: saving is refused.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Graphic.h"

namespace corvane {

class TImportedPicture : public TGraphic {
 public:
  std::string ClassName() const override { return "TImportedPicture"; }

  void CopyFrom(const TPersistent& source) override;
  int Width() const override { return FBitmap->Width(); }
  int Height() const override { return FBitmap->Height(); }
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  bool Empty() const override { return FBitmap->Empty(); }
  void Draw(TCanvas& canvas, const TRect& rect) override;

  // Reads from the position to the end of the stream. On an error the picture keeps
  // what it held.
  void LoadFromStream(TStream& stream) override;
  // Decodes straight from the file's bytes, which are held once.
  void LoadFromFile(const std::filesystem::path& fileName) override;
  void SaveToStream(TStream& stream) override;

  const TBitmap& Bitmap() const { return *FBitmap; }

 protected:
  // Decodes a whole file into a new 24-bit bitmap; EInvalidGraphic when it cannot.
  virtual std::unique_ptr<TBitmap> Decode(std::span<const uint8_t> bytes) = 0;
  // Takes a decoded picture and signals the change.
  void TakePicture(std::unique_ptr<TBitmap> picture);

 private:
  std::unique_ptr<TBitmap> FBitmap = std::make_unique<TBitmap>();
};

// Refuses a picture whose declared size is not positive, exceeds the import pixel limit or
// a JPEG file's sides, or whose conversion copies do not fit the memory budget
// (CheckPictureMemory), before anything of that size is allocated.
void CheckPictureSize(int64_t width, int64_t height, const std::string& format);
// The 24-bit copies of a picture that converting it to JPEG holds at once: the picture
// drawn, the source, the source shown and the result being made.
inline constexpr int kConversionCopies = 4;
// Refuses with the memory budget's message a picture whose conversion copies the budget of
// the thread's account cannot hold; without an account, nothing is refused.
void CheckPictureMemory(int64_t width, int64_t height);
// The most pixels an imported picture may have: kMaxBitmapPixels unless lowered, as the
// fuzz targets do to keep their runs small and fast.
int64_t ImportPixelLimit();
void SetImportPixelLimit(int64_t pixels);

// Composes a colour channel with its alpha onto white.
constexpr uint8_t OntoWhite(uint8_t channel, uint8_t alpha) {
  return uint8_t((channel * alpha + 255 * (255 - alpha) + 127) / 255);
}

}  // namespace corvane
