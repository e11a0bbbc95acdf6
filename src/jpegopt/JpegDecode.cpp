// Decoding of a TJPEGImage's bytes into its bitmap.

#include "JPEGException.h"
#include "JPEGImage.h"
#include "JpegSession.h"

namespace corvane {

// The DCT, quantiser and dithering of the last output pass.
struct TJPEGImage::TDecodeChoices {
  J_DCT_METHOD Dct = JDCT_ISLOW;
  boolean TwoPass = TRUE;
  J_DITHER_MODE Dither = JDITHER_FS;
};

namespace {

constexpr int kQuantisedColours = 236;

void UseFastChoices(jpeg_decompress_struct& info) {
  info.dct_method = JDCT_IFAST;
  info.two_pass_quantize = FALSE;
  info.dither_mode = JDITHER_ORDERED;
}

// Greys for one component; otherwise the map is in output order: blue, green, red.
TPalette ColormapPalette(const jpeg_decompress_struct& info) {
  std::vector<TPaletteEntry> entries(size_t(std::max(info.actual_number_of_colors, 0)));
  for (size_t i = 0; i < entries.size(); ++i) {
    if (info.out_color_components == 1) {
      uint8_t grey = info.colormap[0][i];
      entries[i] = {grey, grey, grey, 0};
    } else {
      entries[i] = {info.colormap[2][i], info.colormap[1][i], info.colormap[0][i], 0};
    }
  }
  return MakePalette(std::move(entries));
}

// Makes the quantiser map every pixel to the palette's colours.
void SupplyColormap(TJpegDecompressor& decoder, const TLogPalette& palette) {
  jpeg_decompress_struct& info = decoder.Info;
  int count = int(std::min<size_t>(palette.Entries.size(), 256));
  JSAMPARRAY map = nullptr;
  decoder.Run([&] {
    map = info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, JDIMENSION(count), 3);
  });
  for (int i = 0; i < count; ++i) {
    const TPaletteEntry& e = palette.Entries[size_t(i)];
    map[0][i] = e.Blue;
    map[1][i] = e.Green;
    map[2][i] = e.Red;
  }
  info.colormap = map;
  info.actual_number_of_colors = count;
}

}  // namespace

std::unique_ptr<TJpegDecompressor> TJPEGImage::PrepareDecoder(TDecodeChoices& finalChoices,
                                                              TJpegProgressHandler onProgress, unsigned reduction) {
  auto decoder = std::make_unique<TJpegDecompressor>(std::move(onProgress));
  decoder->ReadHeader(FData->Bytes);
  jpeg_decompress_struct& info = decoder->Info;
  J_COLOR_SPACE space = info.jpeg_color_space;
  // A bitmap holds greys or blue-green-red; four-component (CMYK) files have no such form here.
  if (space != JCS_GRAYSCALE && space != JCS_YCbCr && space != JCS_RGB)
    throw EJPEG("Only greyscale and RGB JPEG files can be decoded");
  info.scale_num = 1;
  info.scale_denom = (1u << unsigned(DecodeScale)) * reduction;
  info.do_block_smoothing = InterblockSmoothing;
  info.out_color_space = FGreyMode || space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_EXT_BGR;
  if (FColourDepth == TJPEGPixelFormat::Depth8 || info.out_color_space == JCS_GRAYSCALE) {
    info.quantize_colors = TRUE;
    info.desired_number_of_colors = kQuantisedColours;
  }
  if (DecodeSpeed == TJPEGPerformance::FavourSpeed) UseFastChoices(info);
  finalChoices = {info.dct_method, info.two_pass_quantize, info.dither_mode};
  if (ShowPasses && reduction == 1 && decoder->HasMultipleScans()) {
    info.buffered_image = TRUE;
    info.enable_2pass_quant = finalChoices.TwoPass;
    UseFastChoices(info);
  }
  return decoder;
}

TBitmap& TJPEGImage::DecodeBitmap() {
  if (FBitmap) return *FBitmap;
  FBitmap = std::make_unique<TBitmap>();
  if (FData->Bytes.empty()) return *FBitmap;
  TDecodeChoices finalChoices;
  TProgressState progress;
  std::unique_ptr<TJpegDecompressor> decoder =
      PrepareDecoder(finalChoices, [this, &progress](j_common_ptr info) { ReportProgress(progress, info); }, 1);
  bool paletteModified = false;
  auto finish = [&](uint8_t percent) {
    Progress(this, TProgressStage::psEnding, percent, paletteModified, {}, "");
    if (paletteModified) Changed();
  };
  try {
    Progress(this, TProgressStage::psStarting, 0, false, {}, "");
    DecodeInto(*decoder, finalChoices, paletteModified, FBitmap);
  } catch (const EAbort&) {
    finish(0);  // a cancelled decode keeps the rows it has
    return *FBitmap;
  } catch (...) {
    finish(0);
    throw;
  }
  finish(100);
  return *FBitmap;
}

// Reports no progress and changes nothing but the preview: it is a form of drawing.
void TJPEGImage::DecodePreview(unsigned reduction) {
  FPreview.reset();
  TDecodeChoices finalChoices;
  std::unique_ptr<TJpegDecompressor> decoder =
      PrepareDecoder(finalChoices, [this](j_common_ptr) { CheckCancelled(); }, reduction);
  std::unique_ptr<TBitmap> preview;
  bool paletteModified = false;
  try {
    DecodeInto(*decoder, finalChoices, paletteModified, preview);
  } catch (const EAbort&) {
    return;
  }
  FPreview = std::move(preview);
  FPreviewReduction = reduction;
}

void TJPEGImage::DecodeInto(TJpegDecompressor& decoder, const TDecodeChoices& finalChoices, bool& paletteModified,
                            std::unique_ptr<TBitmap>& target) {
  jpeg_decompress_struct& info = decoder.Info;
  bool eightBit = FColourDepth == TJPEGPixelFormat::Depth8 || info.out_color_space == JCS_GRAYSCALE;
  // The library takes a fixed map for colour output only; greys get its own grey levels.
  bool supplied = false;
  if (FHeldPalette && FColourDepth == TJPEGPixelFormat::Depth24) {
    FHeldPalette = nullptr;
  } else if (FHeldPalette && info.out_color_space != JCS_GRAYSCALE && !FHeldPalette->Entries.empty()) {
    SupplyColormap(decoder, *FHeldPalette);
    supplied = true;
  }

  decoder.Run([&] { jpeg_start_decompress(&info); });
  target = std::make_unique<TBitmap>(int(info.output_width), int(info.output_height),
                                     eightBit ? TPixelFormat::pf8bit : TPixelFormat::pf24bit);
  TBitmap& bitmap = *target;
  if (supplied) bitmap.SetPalette(FHeldPalette);
  std::vector<JSAMPROW> rows = RowPointers(bitmap);
  auto readRows = [&] {
    decoder.Run([&] {
      while (info.output_scanline < info.output_height)
        jpeg_read_scanlines(&info, rows.data() + info.output_scanline, info.output_height - info.output_scanline);
    });
  };
  auto takePalette = [&] {
    bitmap.SetPalette(ColormapPalette(info));
    paletteModified = true;
  };

  if (info.buffered_image) {
    // Each scan is shown as it arrives, with the fast settings; the last pass uses the final ones.
    while (!decoder.InputComplete()) {
      decoder.Run([&] { jpeg_start_output(&info, info.input_scan_number); });
      if (eightBit && !supplied && !paletteModified && info.colormap) takePalette();
      readRows();
      decoder.Run([&] { jpeg_finish_output(&info); });
    }
    info.dct_method = finalChoices.Dct;
    info.dither_mode = finalChoices.Dither;
    if (finalChoices.TwoPass && info.quantize_colors && !supplied) {
      info.two_pass_quantize = TRUE;
      info.colormap = nullptr;
    }
    decoder.Run([&] { jpeg_start_output(&info, info.input_scan_number); });
  }
  if (!supplied && info.colormap) takePalette();
  readRows();
  if (info.buffered_image) decoder.Run([&] { jpeg_finish_output(&info); });
  decoder.Run([&] { jpeg_finish_decompress(&info); });
}

}  // namespace corvane
