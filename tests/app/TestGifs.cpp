#include "TestGifs.h"

#include <QFile>

#include "gif/GIFImage.h"
#include "gifbatch/GifOptimizerSeams.h"
#include "support/GifBuilder.h"

namespace corvane::test {

namespace {

TBytes Checkered(int width, int height, int colours) {
  TBytes pixels(size_t(width) * size_t(height));
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t((i / 3 + i / size_t(width)) % size_t(colours));
  return pixels;
}

}  // namespace

TBytes SloppyGif(int width, int height) {
  return TGifBuilder(width, height)
      .GlobalTable(8)
      .Comment({"made by a careless writer"})
      .Image(0, 0, width, height, Checkered(width, height, 2))
      .Trailer()
      .Data();
}

TBytes TightGif() {
  TMemoryStream source(SloppyGif());
  TGIFImage image;
  image.LoadFromStream(source);
  ReduceForList(image, kMainPassSteps);
  TMemoryStream tight;
  image.SaveToStream(tight);
  return tight.TakeBytes();
}

TBytes AnimatedGif(int frames, int width, int height, int delay) {
  std::vector<uint32_t> colours;
  for (int i = 0; i < 16; ++i) colours.push_back(uint32_t(i * 0x0F0F0F) ^ 0x203040u * uint32_t(i % 3));
  TGifBuilder gif(width, height);
  gif.GlobalTable(4, colours).Loop(0);
  for (int f = 0; f < frames; ++f)
    gif.Control(1, delay).Image(0, 0, width, height, TBytes(size_t(width) * size_t(height), uint8_t(1 + f % 15)), 4);
  return gif.Trailer().Data();
}

void WriteFile(const QString& path, const TBytes& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write " + path.toStdString());
  file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

TBytes ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray data = file.readAll();
  return TBytes(data.begin(), data.end());
}

}  // namespace corvane::test
