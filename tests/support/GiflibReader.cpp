#include "support/GiflibReader.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

namespace corvane {
namespace {

struct TMemorySource {
  std::span<const uint8_t> Bytes;
  size_t Position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int count) {
  auto* source = static_cast<TMemorySource*>(gif->UserData);
  size_t n = std::min(size_t(std::max(count, 0)), source->Bytes.size() - source->Position);
  std::memcpy(buffer, source->Bytes.data() + source->Position, n);
  source->Position += n;
  return int(n);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

std::runtime_error GiflibError(const char* what, int code) {
  const char* text = GifErrorString(code);
  return std::runtime_error(std::string(what) + ": " + (text ? text : "unknown giflib error"));
}

std::vector<TGiflibColor> TableOf(const ColorMapObject* map) {
  std::vector<TGiflibColor> table;
  if (!map) return table;
  for (int i = 0; i < map->ColorCount; ++i) {
    const GifColorType& c = map->Colors[i];
    table.push_back({c.Red, c.Green, c.Blue});
  }
  return table;
}

TGiflibFrame FrameOf(GifFileType* gif, int index) {
  const SavedImage& saved = gif->SavedImages[index];
  const GifImageDesc& desc = saved.ImageDesc;
  TGiflibFrame frame;
  frame.Left = desc.Left;
  frame.Top = desc.Top;
  frame.Width = desc.Width;
  frame.Height = desc.Height;
  frame.Interlaced = desc.Interlace;
  frame.LocalTable = TableOf(desc.ColorMap);
  size_t count = size_t(desc.Width) * size_t(desc.Height);
  if (saved.RasterBits) frame.Pixels.assign(saved.RasterBits, saved.RasterBits + count);
  GraphicsControlBlock control;
  if (DGifSavedExtensionToGCB(gif, index, &control) == GIF_OK) {
    bool present = std::any_of(saved.ExtensionBlocks,
                               saved.ExtensionBlocks + saved.ExtensionBlockCount,
                               [](const ExtensionBlock& b) { return b.Function == GRAPHICS_EXT_FUNC_CODE; });
    frame.HasControlBlock = present;
    frame.DisposalMode = control.DisposalMode;
    frame.UserInput = control.UserInputFlag;
    frame.DelayTime = control.DelayTime;
    frame.TransparentIndex = control.TransparentColor;
  }
  return frame;
}

}  // namespace

TGiflibImage DecodeWithGiflib(std::span<const uint8_t> file) {
  TMemorySource source{file};
  int error = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&source, ReadFromMemory, &error));
  if (!gif) throw GiflibError("giflib cannot open the file", error);
  if (DGifSlurp(gif.get()) != GIF_OK) throw GiflibError("giflib cannot read the file", gif->Error);

  TGiflibImage image;
  image.Width = gif->SWidth;
  image.Height = gif->SHeight;
  image.ColorResolution = gif->SColorResolution;
  image.BackgroundIndex = gif->SBackGroundColor;
  image.AspectByte = gif->AspectByte;
  image.GlobalTable = TableOf(gif->SColorMap);
  for (int i = 0; i < gif->ImageCount; ++i) image.Frames.push_back(FrameOf(gif.get(), i));
  return image;
}

}  // namespace corvane
