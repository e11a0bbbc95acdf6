// The smallest-stream LZW coder against the default encoder and against gifsicle -O3, in one
// run, on photo-like, dithered, flat, noise and small-frame sets: the coded bytes of the same
// pixels and the coding time against the default encoder. gifsicle runs as a separate program
// on a file of the default encoder's frames; its image data bytes are counted from its output.

#include <Magick++.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "gif/LZWEncoder.h"
#include "gif/SmallestLzw.h"
#include "platform/FileUtils.h"
#include "platform/Stream.h"
#include "support/PhotoPicture.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using TBytes = std::vector<uint8_t>;

// A frame of indices; its code size is the depth of the largest index.
struct TFrame {
  TBytes Pixels;
  int CodeSize = 2;
};

struct TFrameSet {
  std::string Name;
  int Width = 0;
  int Height = 0;
  std::vector<TFrame> Frames;
};

// Numbers the colours of a picture's rows in order of appearance.
TFrame Indexed(const TBytes& rgb, size_t stride, size_t left, size_t top, size_t width, size_t height) {
  std::map<uint32_t, uint8_t> indices;
  TFrame frame;
  for (size_t y = top; y < top + height; ++y) {
    for (size_t x = left; x < left + width; ++x) {
      const uint8_t* p = &rgb[3 * (y * stride + x)];
      uint32_t colour = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
      frame.Pixels.push_back(indices.emplace(colour, uint8_t(indices.size())).first->second);
    }
  }
  while (size_t(1) << frame.CodeSize < indices.size()) ++frame.CodeSize;
  return frame;
}

// A plasma cloud of 640 × 480 quantized to 256 colours by ImageMagick, with or without
// Floyd-Steinberg dithering, as red, green, blue bytes.
TBytes Plasma(unsigned seed, bool dither) {
  Magick::Image image;
  image.size(Magick::Geometry(640, 480));
  Magick::SetRandomSeed(seed);
  image.read("plasma:fractal");
  image.quantizeColors(256);
  image.quantizeDitherMethod(dither ? MagickCore::FloydSteinbergDitherMethod : MagickCore::NoDitherMethod);
  image.quantizeDither(dither);
  image.quantize();
  TBytes rgb(size_t(640) * 480 * 3);
  image.write(0, 0, 640, 480, "RGB", Magick::CharPixel, rgb.data());
  return rgb;
}

TFrameSet Plasmas(const std::string& name, bool dither) {
  TFrameSet set{name, 640, 480, {}};
  for (unsigned seed = 1; seed <= 3; ++seed) set.Frames.push_back(Indexed(Plasma(seed, dither), 640, 0, 0, 640, 480));
  return set;
}

// 100 crops of 24 × 24 from a quantized plasma cloud, each with its own colours.
TFrameSet SmallFrames() {
  TFrameSet set{"small_24x24_x100", 24, 24, {}};
  TBytes rgb = Plasma(4, false);
  for (size_t i = 0; i < 100; ++i) set.Frames.push_back(Indexed(rgb, 640, i % 10 * 61, i / 10 * 45, 24, 24));
  return set;
}

TFrameSet Generated(const std::string& name, int width, int height, int codeSize,
                    uint8_t (*pixel)(int x, int y, std::mt19937& random)) {
  TFrameSet set{name, width, height, {TFrame{{}, codeSize}}};
  std::mt19937 random(7);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) set.Frames[0].Pixels.push_back(pixel(x, y, random));
  return set;
}

// Rectangles of 16 colours with a few stray pixels.
uint8_t Flat(int x, int y, std::mt19937& random) {
  return random() % 500 == 0 ? uint8_t(random() % 16) : uint8_t((x / 53 * 7 + y / 37 * 3) % 16);
}
uint8_t Noise(int, int, std::mt19937& random) { return uint8_t(random()); }

void PutWord(TBytes& bytes, int value) {
  bytes.push_back(uint8_t(value));
  bytes.push_back(uint8_t(value >> 8));
}

// A GIF file of one frame coded by the default encoder, under a grey table of the frame's depth.
TBytes DefaultGif(const TFrameSet& set, const TFrame& frame) {
  TBytes file{'G', 'I', 'F', '8', '9', 'a'};
  PutWord(file, set.Width);
  PutWord(file, set.Height);
  file.insert(file.end(), {uint8_t(0xF0 | (frame.CodeSize - 1)), 0, 0});
  for (int i = 0; i < 1 << frame.CodeSize; ++i) file.insert(file.end(), 3, uint8_t(i));
  file.push_back(0x2C);
  file.insert(file.end(), {0, 0, 0, 0});
  PutWord(file, set.Width);
  PutWord(file, set.Height);
  file.push_back(0);
  TMemoryStream coded;
  TLZWEncoder encoder;
  encoder.CompressPixels(coded, uint8_t(frame.CodeSize), set.Width, set.Height, false, frame.Pixels.data(),
                         1 << frame.CodeSize);
  file.insert(file.end(), coded.Bytes().begin(), coded.Bytes().end());
  file.push_back(0x3B);
  return file;
}

// The image data bytes (code size byte, sub-blocks, terminator) of every frame of a GIF file,
// and the code sizes they use.
int64_t ImageDataBytes(const TBytes& file, std::vector<int>& codeSizes) {
  auto skipSubBlocks = [&](size_t at) {
    while (file.at(at) != 0) at += file[at] + 1u;
    return at + 1;
  };
  size_t at = 13;
  if (file.at(10) & 0x80) at += size_t(3) << ((file[10] & 7) + 1);
  int64_t bytes = 0;
  while (file.at(at) != 0x3B) {
    if (file[at] == 0x21) {
      at = skipSubBlocks(at + 2);
      continue;
    }
    uint8_t flags = file.at(at + 9);
    at += 10;
    if (flags & 0x80) at += size_t(3) << ((flags & 7) + 1);
    size_t end = skipSubBlocks(at + 1);
    codeSizes.push_back(file[at]);
    bytes += int64_t(end - at);
    at = end;
  }
  return bytes;
}

int64_t GifsicleBytes(const TFrameSet& set, const fs::path& scratch) {
  int64_t bytes = 0;
  for (const TFrame& frame : set.Frames) {
    fs::path in = scratch / "in.gif", out = scratch / "out.gif";
    WriteFileAtomically(in, DefaultGif(set, frame));
    if (test::RunCommand("gifsicle -O3 " + in.string() + " -o " + out.string()) != 0)
      throw std::runtime_error("gifsicle failed; is it installed?");
    std::vector<int> codeSizes;
    bytes += ImageDataBytes(ReadWholeFile(out), codeSizes);
    for (int size : codeSizes)
      if (size != std::max(2, frame.CodeSize)) throw std::runtime_error("gifsicle changed the code size of " + set.Name);
  }
  return bytes;
}

using TCoder = void (*)(TStream&, const TFrameSet&, const TFrame&);

int64_t CodedBytes(const TFrameSet& set, TCoder code) {
  TMemoryStream stream;
  for (const TFrame& frame : set.Frames) code(stream, set, frame);
  return stream.Size();
}

void CodeDefault(TStream& stream, const TFrameSet& set, const TFrame& frame) {
  TLZWEncoder encoder;
  encoder.CompressPixels(stream, uint8_t(frame.CodeSize), set.Width, set.Height, false, frame.Pixels.data(),
                         1 << frame.CodeSize);
}

void CodeSmallest(TStream& stream, const TFrameSet& set, const TFrame& frame) {
  CompressPixelsSmallest(stream, uint8_t(frame.CodeSize), set.Width, set.Height, false, frame.Pixels.data(),
                         1 << frame.CodeSize);
}

void Time(benchmark::State& state, const TFrameSet& set, TCoder code) {
  int64_t pixels = int64_t(set.Width) * set.Height * int64_t(set.Frames.size());
  for (auto _ : state) {
    TMemoryStream stream;
    for (const TFrame& frame : set.Frames) code(stream, set, frame);
    benchmark::DoNotOptimize(stream.Memory());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * pixels);
}

}  // namespace
}  // namespace corvane

int main(int argc, char** argv) {
  using namespace corvane;
  Magick::InitializeMagick(argv[0]);
  Magick::ResourceLimits::thread(1);
  std::vector<TFrameSet> sets;
  sets.push_back(Plasmas("photo_640x480_x3", false));
  sets.push_back(Plasmas("dithered_640x480_x3", true));
  sets.push_back(Generated("flat_1000x1000", 1000, 1000, 4, Flat));
  sets.push_back(Generated("noise_1000x1000", 1000, 1000, 8, Noise));
  sets.push_back(SmallFrames());
  std::vector<std::string> names;
  for (const TFrameSet& set : sets) {
    names.push_back(set.Name);
    benchmark::RegisterBenchmark(("Encode/ours/" + set.Name).c_str(), Time, set, CodeSmallest)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Encode/greedy/" + set.Name).c_str(), Time, set, CodeDefault)->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter("greedy", TRatioReporter::TClock::Cpu);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios({"Encode"}, names);

  fs::path scratch = test::ScratchDirectory("smallest-lzw-bench");
  std::printf("\nimage data bytes     %10s %10s %10s %8s %8s\n", "greedy", "gifsicle", "smallest", "vs greedy", "vs gifsicle");
  for (const TFrameSet& set : sets) {
    int64_t greedy = CodedBytes(set, CodeDefault);
    int64_t smallest = CodedBytes(set, CodeSmallest);
    int64_t gifsicle = GifsicleBytes(set, scratch);
    std::printf("  %-20s %10lld %10lld %10lld %+8.2f%% %+8.2f%%\n", set.Name.c_str(), (long long)greedy,
                (long long)gifsicle, (long long)smallest, 100.0 * (double(smallest) / double(greedy) - 1),
                100.0 * (double(smallest) / double(gifsicle) - 1));
  }
  fs::remove_all(scratch);
  return 0;
}
