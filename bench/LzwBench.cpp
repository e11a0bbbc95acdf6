// Decoding and encoding throughput of the LZW coder against giflib on the same frames, with
// the speed ratio printed after the runs.

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "gif/Interlace.h"
#include "gif/LZWDecoder.h"
#include "gif/LZWEncoder.h"
#include "GiflibMemory.h"
#include "RatioReporter.h"
#include "platform/Stream.h"

namespace corvane {
namespace {

using TBytes = std::vector<uint8_t>;

struct TShape {
  std::string Name;
  int Width;
  int Height;
  int Frames;
  bool Interlaced;
  TBytes Pixels;  // all frames, one after the other
  TBytes Coded;   // every frame's coded data, one after the other
  TBytes File;    // a GIF file of all frames for giflib
};

TBytes PhotoLike(int width, int height, std::mt19937& random) {
  TBytes pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(uint8_t((x / 4 + y / 3) % 240 + random() % 16));
  }
  return pixels;
}

TBytes FlatAreas(int width, int height, std::mt19937& random) {
  std::vector<uint8_t> colours(size_t((width / 40 + 1) * (height / 40 + 1)));
  for (auto& c : colours) c = uint8_t(random() % 16);
  TBytes pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(colours[size_t(y / 40 * (width / 40 + 1) + x / 40)]);
  }
  return pixels;
}

TBytes Noise(int width, int height, std::mt19937& random) {
  TBytes pixels(size_t(width) * size_t(height));
  for (auto& p : pixels) p = uint8_t(random());
  return pixels;
}

void PutWord(TBytes& bytes, int value) {
  bytes.push_back(uint8_t(value));
  bytes.push_back(uint8_t(value >> 8));
}

TShape MakeShape(std::string name, int width, int height, int frames, bool interlaced,
                 TBytes (*generate)(int, int, std::mt19937&)) {
  std::mt19937 random(42);
  TShape shape{std::move(name), width, height, frames, interlaced, {}, {}, {}};
  shape.File = {'G', 'I', 'F', '8', '9', 'a'};
  PutWord(shape.File, width);
  PutWord(shape.File, height);
  shape.File.insert(shape.File.end(), {0xF7, 0, 0});
  for (int i = 0; i < 256; ++i) shape.File.insert(shape.File.end(), {uint8_t(i), uint8_t(i), uint8_t(i)});
  for (int f = 0; f < frames; ++f) {
    TBytes pixels = generate(width, height, random);
    TMemoryStream coded;
    TLZWEncoder encoder;
    encoder.CompressPixels(coded, 8, width, height, interlaced, pixels.data(), 256);
    shape.File.push_back(0x2C);
    PutWord(shape.File, 0);
    PutWord(shape.File, 0);
    PutWord(shape.File, width);
    PutWord(shape.File, height);
    shape.File.push_back(interlaced ? 0x40 : 0);
    shape.File.insert(shape.File.end(), coded.Bytes().begin(), coded.Bytes().end());
    shape.Coded.insert(shape.Coded.end(), coded.Bytes().begin(), coded.Bytes().end());
    shape.Pixels.insert(shape.Pixels.end(), pixels.begin(), pixels.end());
  }
  shape.File.push_back(0x3B);
  return shape;
}

void Check(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

// The rows of a frame in the order they are coded; giflib takes and gives interlaced frames
// row by row in that order.
std::vector<int> CodedRowOrder(const TShape& shape) {
  std::vector<int> rows;
  int row = 0;
  int pass = 0;
  do {
    rows.push_back(row);
  } while (shape.Interlaced ? NextInterlacedRow(row, pass, shape.Height) : ++row < shape.Height);
  return rows;
}

void DecodeOurs(benchmark::State& state, const TShape& shape) {
  TBytes pixels(size_t(shape.Width) * size_t(shape.Height));
  for (auto _ : state) {
    TMemoryStream stream(shape.Coded);
    for (int f = 0; f < shape.Frames; ++f) {
      DecodeLzwPixels(stream, pixels.data(), shape.Width, shape.Height, shape.Interlaced, {});
    }
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(shape.Pixels.size()));
}

void DecodeGiflib(benchmark::State& state, const TShape& shape) {
  TBytes pixels(size_t(shape.Width) * size_t(shape.Height));
  std::vector<int> rows = CodedRowOrder(shape);
  for (auto _ : state) {
    TGiflibMemory memory;
    memory.In = &shape.File;
    int error = 0;
    GifFileType* gif = DGifOpen(&memory, ReadGiflibMemory, &error);
    Check(gif != nullptr, "giflib cannot open the file");
    for (int f = 0; f < shape.Frames; ++f) {
      GifRecordType type;
      Check(DGifGetRecordType(gif, &type) == GIF_OK && type == IMAGE_DESC_RECORD_TYPE, "record");
      Check(DGifGetImageDesc(gif) == GIF_OK, "image descriptor");
      for (int row : rows) {
        uint8_t* line = pixels.data() + size_t(row) * size_t(shape.Width);
        Check(DGifGetLine(gif, line, shape.Width) == GIF_OK, "pixels");
      }
    }
    DGifCloseFile(gif, &error);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(shape.Pixels.size()));
}

void EncodeOurs(benchmark::State& state, const TShape& shape) {
  size_t frameSize = size_t(shape.Width) * size_t(shape.Height);
  for (auto _ : state) {
    TMemoryStream stream;
    for (int f = 0; f < shape.Frames; ++f) {
      TLZWEncoder encoder;
      encoder.CompressPixels(stream, 8, shape.Width, shape.Height, shape.Interlaced,
                             shape.Pixels.data() + size_t(f) * frameSize, 256);
    }
    benchmark::DoNotOptimize(stream.Memory());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(shape.Pixels.size()));
}

void EncodeGiflib(benchmark::State& state, const TShape& shape) {
  size_t frameSize = size_t(shape.Width) * size_t(shape.Height);
  std::vector<GifColorType> colours(256);
  for (int i = 0; i < 256; ++i) colours[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i)};
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  TBytes line(size_t(shape.Width));
  std::vector<int> rows = CodedRowOrder(shape);
  for (auto _ : state) {
    TGiflibMemory memory;
    int error = 0;
    GifFileType* gif = EGifOpen(&memory, WriteGiflibMemory, &error);
    Check(gif != nullptr, "giflib cannot create the file");
    Check(EGifPutScreenDesc(gif, shape.Width, shape.Height, 8, 0, map) == GIF_OK, "screen");
    for (int f = 0; f < shape.Frames; ++f) {
      Check(EGifPutImageDesc(gif, 0, 0, shape.Width, shape.Height, shape.Interlaced, nullptr) == GIF_OK,
            "image");
      for (int row : rows) {
        // giflib may change the line it is given.
        std::memcpy(line.data(), shape.Pixels.data() + size_t(f) * frameSize + size_t(row) * size_t(shape.Width),
                    line.size());
        Check(EGifPutLine(gif, line.data(), shape.Width) == GIF_OK, "pixels");
      }
    }
    EGifCloseFile(gif, &error);
    benchmark::DoNotOptimize(memory.Out.data());
  }
  GifFreeMapObject(map);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(shape.Pixels.size()));
}

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
  using namespace corvane;
  std::vector<TShape> shapes;
  shapes.push_back(MakeShape("photo_640x480", 640, 480, 1, false, PhotoLike));
  shapes.push_back(MakeShape("photo_640x480_interlaced", 640, 480, 1, true, PhotoLike));
  shapes.push_back(MakeShape("flat_1000x1000", 1000, 1000, 1, false, FlatAreas));
  shapes.push_back(MakeShape("noise_1000x1000", 1000, 1000, 1, false, Noise));
  shapes.push_back(MakeShape("small_24x24_x100", 24, 24, 100, false, PhotoLike));
  for (const TShape& shape : shapes) {
    benchmark::RegisterBenchmark(("Decode/ours/" + shape.Name).c_str(), DecodeOurs, shape);
    benchmark::RegisterBenchmark(("Decode/giflib/" + shape.Name).c_str(), DecodeGiflib, shape);
    benchmark::RegisterBenchmark(("Encode/ours/" + shape.Name).c_str(), EncodeOurs, shape);
    benchmark::RegisterBenchmark(("Encode/giflib/" + shape.Name).c_str(), EncodeGiflib, shape);
  }
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter("giflib");
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::vector<std::string> names;
  for (const TShape& shape : shapes) names.push_back(shape.Name);
  reporter.PrintRatios({"Decode", "Encode"}, names);
  benchmark::Shutdown();
  return 0;
}
