// Compression of a TJPEGImage's bitmap into JPEG bytes.

#include "JPEGImage.h"
#include "JpegSession.h"

namespace corvane {

namespace {

// Rows handed to the library at a time, so that its progress hook is called while it
// works: one row of 8-by-8 blocks with 2:1 vertical subsampling.
constexpr JDIMENSION kRowsPerWrite = 16;

}  // namespace

void TJPEGImage::CompressBitmap() { CompressPixels(FBitmap.get()); }

void TJPEGImage::CompressFrom(const TBitmap& pixels) {
  FData = std::make_shared<TJPEGData>();
  FBitmap.reset();
  CompressPixels(&pixels);
  Changed();
}

void TJPEGImage::CompressPixels(const TBitmap* pixels) {
  std::vector<uint8_t> output;
  TProgressState progress;
  TJpegCompressor compressor([&](j_common_ptr info) { ReportProgress(progress, info); }, output);
  // Objects that share bytes already made keep them.
  if (!FData->Bytes.empty()) FData = std::make_shared<TJPEGData>();
  FPreview.reset();
  if (!pixels || pixels->Empty()) return;

  TBitmap converted;
  const TBitmap* source = pixels;
  if (source->PixelFormat() != TPixelFormat::pf24bit) {
    converted.CopyFrom(*source);
    converted.SetPixelFormat(TPixelFormat::pf24bit);
    source = &converted;
  }
  std::vector<JSAMPROW> rows = RowPointers(*source);
  jpeg_compress_struct& info = compressor.Info;
  JDIMENSION width = JDIMENSION(source->Width()), height = JDIMENSION(source->Height());
  int quality = SaveQuality;
  bool grey = FGreyMode, progressive = WriteProgressive, optimize = OptimizeCoding;
  compressor.Run([&] {
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    // The bitmap's rows are blue, green, red; the library reads them in that order.
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (grey) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (progressive) jpeg_simple_progression(&info);
    if (optimize) info.optimize_coding = TRUE;
  });

  try {
    Progress(this, TProgressStage::psStarting, 0, false, {}, "");
    compressor.Run([&] {
      jpeg_start_compress(&info, TRUE);
      WriteJpegMetadata(info, Metadata);
      while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows.data() + info.next_scanline,
                             std::min(kRowsPerWrite, info.image_height - info.next_scanline));
      jpeg_finish_compress(&info);
    });
  } catch (const EAbort&) {
    FData = std::make_shared<TJPEGData>();
    Progress(this, TProgressStage::psEnding, 0, false, {}, "");
    return;
  } catch (...) {
    Progress(this, TProgressStage::psEnding, 0, false, {}, "");
    throw;
  }
  // The bytes are taken only when complete, so a failed run leaves no half file behind.
  FData->Bytes = std::move(output);
  FData->Width = int(width);
  FData->Height = int(height);
  FData->Grey = grey;
  Progress(this, TProgressStage::psEnding, 100, false, {}, "");
}

}  // namespace corvane
