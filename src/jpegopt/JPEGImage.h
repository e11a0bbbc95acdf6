#pragma once
// TJPEGImage: a picture held as the bytes of a JPEG file, as a decoded bitmap, or both,
// converted into each other with libjpeg only when needed. Objects assigned from one
// another share one TJPEGData.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "JpegMetadata.h"
#include "JpegSettings.h"
#include "platform/Bitmap.h"
#include "platform/Graphic.h"

struct jpeg_common_struct;

namespace corvane {

class TJpegDecompressor;
class TStream;

// The compressed form, shared by every object assigned from the one that loaded or made it.
struct TJPEGData {
  std::vector<uint8_t> Bytes;  // the complete JPEG file; empty until loaded or compressed
  int Width = 0;
  int Height = 0;
  bool Grey = false;  // single-component file, or compressed in GreyMode
};

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;
  TJPEGImage(const TJPEGImage&) = delete;
  TJPEGImage& operator=(const TJPEGImage&) = delete;

  std::string ClassName() const override { return "TJPEGImage"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TJPEGImage>(); }

  // From a TJPEGImage: shares its data and copies its bitmap. From a TBitmap: holds a copy
  // of it, nothing compressed yet. Settings are never copied.
  void CopyFrom(const TPersistent& source) override;
  // Into a TBitmap: the decoded picture.
  void CopyTo(TPersistent& target) const override;

  int Width() const override;
  int Height() const override;
  // Refused: EInvalidGraphicOperation.
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  bool Empty() const override;
  // Into a rectangle at most half the picture's size each way, before the picture has been
  // decoded, the library decodes it at a reduced scale for drawing only (see DecodeToDraw).
  void Draw(TCanvas& canvas, const TRect& rect) override;

  // Takes the bytes from the position to the end of the stream; reads the header only.
  void LoadFromStream(TStream& stream) override;
  // Compresses the bitmap when there are no bytes yet, then writes the bytes.
  void SaveToStream(TStream& stream) override;
  // The form inside a larger stream: a 32-bit little-endian byte count, then the bytes.
  // Writing triggers no compression: without bytes it writes a count of 0.
  void WriteData(TStream& stream) const;
  void ReadData(TStream& stream);

  TPalette Palette() override;
  void SetPalette(TPalette palette) override;
  bool Equals(TGraphic& other) override;

  // The decoded picture, decoding it first when there is none.
  TBitmap& DecodeBitmap();
  // Compresses the bitmap into fresh bytes (into the shared data while it has none).
  void CompressBitmap();
  // Holds the pixels compressed into fresh bytes and no bitmap: the bytes CopyFrom(pixels)
  // and CompressBitmap make, without copying the pixels.
  void CompressFrom(const TBitmap& pixels);
  // Decodes now what Draw into a rectangle of that size reads: the picture, or the smallest
  // form the library can decode at a reduced scale that still has as many pixels each way.
  void DecodeToDraw(int width, int height);
  bool HasBitmap() const { return FBitmap != nullptr; }
  const TJPEGData& Data() const { return *FData; }

  bool IsGrey() const { return FGreyMode || FData->Grey; }
  bool GreyMode() const { return FGreyMode; }
  TJPEGPixelFormat ColourDepth() const { return FColourDepth; }
  // Changing either discards the bitmap, which is decoded again in the new form.
  void SetGreyMode(bool value);
  void SetColourDepth(TJPEGPixelFormat value);

  // Read when compressing; setting them keeps bytes that already exist.
  uint8_t SaveQuality;
  bool WriteProgressive;  // after loading: the file has several scans
  // Huffman tables made for the picture, at the cost of a second pass over its data.
  bool OptimizeCoding = false;
  // Written into the file after its JFIF header.
  TPictureMetadata Metadata;
  // Read when decoding.
  bool InterblockSmoothing;
  bool ShowPasses;
  TJPEGPerformance DecodeSpeed;
  TJPEGScale DecodeScale;
  // Asked at every step of the library's work while coding; true ends the work as an
  // EAbort from OnProgress does. Never copied.
  std::function<bool()> Cancelled;

 private:
  struct TDecodeChoices;
  // Throttles the library's progress calls to reports at most every 500 ms.
  struct TProgressState {
    std::chrono::steady_clock::time_point LastReport{};
    bool Started = false;
    int LastPercent = 0;
    int LastRow = 0;
  };

  void ReadJpegStream(int64_t count, TStream& stream);
  void EnsureCompressed();
  void CompressPixels(const TBitmap* pixels);
  std::unique_ptr<TJpegDecompressor> PrepareDecoder(TDecodeChoices& finalChoices,
                                                    std::function<void(jpeg_common_struct*)> onProgress,
                                                    unsigned reduction);
  void DecodeInto(TJpegDecompressor& decoder, const TDecodeChoices& finalChoices, bool& paletteModified,
                  std::unique_ptr<TBitmap>& target);
  TPoint ScaledSize() const;
  unsigned DrawReduction(int width, int height) const;
  const TBitmap& DrawingBitmap(int width, int height);
  void DecodePreview(unsigned reduction);
  void ReportProgress(TProgressState& state, jpeg_common_struct* info);
  void CheckCancelled() const;
  void DiscardBitmapForSetting();

  std::shared_ptr<TJPEGData> FData;
  std::unique_ptr<TBitmap> FBitmap;
  // Drawn in place of the picture while it has no bitmap: decoded at FPreviewReduction
  // times the reduction DecodeScale asks for.
  std::unique_ptr<TBitmap> FPreview;
  unsigned FPreviewReduction = 1;
  TPalette FHeldPalette;
  bool FGreyMode;
  TJPEGPixelFormat FColourDepth;
};

// Registers TJPEGImage for the extensions "jpeg" and "jpg". Calling it again does nothing.
void RegisterJPEGFormat();

}  // namespace corvane
