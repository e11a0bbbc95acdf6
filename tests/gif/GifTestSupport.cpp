#include "GifTestSupport.h"

#include <algorithm>

namespace corvane::test {

void TWarnings::Attach(TGIFImage& image) {
  image.FWarningHandler = [this](const TPersistent*, int, const std::string& message) { Messages.push_back(message); };
}

TLoaded Load(const TBytes& file) {
  TLoaded loaded;
  loaded.Image->FWarningHandler = [&loaded](const TPersistent*, int, const std::string& message) {
    loaded.Warnings.push_back(message);
  };
  TMemoryStream stream(file);
  try {
    loaded.Image->LoadFromStream(stream);
  } catch (const GIFException& e) {
    loaded.Error = e.what();
  }
  loaded.Image->FWarningHandler = nullptr;
  loaded.EndPosition = stream.Position();
  return loaded;
}

TBytes Save(TGIFImage& image) {
  TMemoryStream stream;
  image.SaveToStream(stream);
  return stream.TakeBytes();
}

TGIFSubImage& AddFrame(TGIFImage& image, int left, int top, int width, int height, const TBytes& pixels) {
  auto frame = std::make_unique<TGIFSubImage>(image);
  frame->PlaceFrame(left, top, width, height);
  if (!pixels.empty()) std::copy(pixels.begin(), pixels.end(), frame->PixelData());
  TGIFSubImage& added = *frame;
  image.AppendFrame(std::move(frame));
  return added;
}

TGIFGraphicControlExtension& AddControl(TGIFSubImage& frame, int disposal, int delay, int transparentIndex) {
  auto& control = AddExtension<TGIFGraphicControlExtension>(frame);
  control.SetDisposal(uint8_t(disposal));
  control.SetDelayTime(uint16_t(delay));
  if (transparentIndex >= 0) {
    control.SetTransparent(true);
    control.SetTransparentIndex(uint8_t(transparentIndex));
  }
  return control;
}

void AddGreys(TGIFColorMap& table, int count) {
  for (int i = 0; i < count; ++i) table.AppendColor(MakeColor(uint8_t(i), uint8_t(i), uint8_t(i)));
}

TBytes Ramp(size_t count, int colors) {
  TBytes pixels(count);
  for (size_t i = 0; i < count; ++i) pixels[i] = uint8_t((i * 7 + i / 13) % size_t(colors));
  return pixels;
}

}  // namespace corvane::test
