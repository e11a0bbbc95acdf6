#pragma once
// Photo-like test pictures made in code (gradients, texture and noise), their PPM form
// for the peer tools, and a way to run those tools on files.

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/FileUtils.h"

namespace corvane::test {

// A 24-bit bitmap of a photo-like picture; the seed varies the texture and noise.
class PhotoBitmap : public TBitmap {
 public:
  PhotoBitmap(int width, int height, uint32_t seed = 1) : TBitmap(width, height, TPixelFormat::pf24bit) {
    Paint(*this, seed);
  }

 private:
  static void Paint(TBitmap& bitmap, uint32_t seed) {
  int width = bitmap.Width(), height = bitmap.Height();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> noise(-12, 12);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      double texture = 40 * std::sin(x * 0.05 + seed) * std::cos(y * 0.07);
      int red = int(255.0 * x / std::max(1, width - 1) + texture) + noise(random);
      int green = int(255.0 * y / std::max(1, height - 1) - texture) + noise(random);
      int blue = int(128 + 100 * std::sin((x + y) * 0.01) + texture / 2) + noise(random);
      row[3 * x] = uint8_t(std::clamp(blue, 0, 255));
      row[3 * x + 1] = uint8_t(std::clamp(green, 0, 255));
      row[3 * x + 2] = uint8_t(std::clamp(red, 0, 255));
    }
  }
  }
};

// A binary PPM (P6) of a 24-bit bitmap.
inline std::vector<uint8_t> PpmBytes(const TBitmap& bitmap) {
  std::string header = "P6\n" + std::to_string(bitmap.Width()) + " " + std::to_string(bitmap.Height()) + "\n255\n";
  std::vector<uint8_t> bytes(header.begin(), header.end());
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) bytes.insert(bytes.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
  }
  return bytes;
}

// A fresh empty directory for one test.
inline std::filesystem::path ScratchDirectory(const std::string& name) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              ("corvane-" + name + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// Runs a shell command and answers its exit status.
inline int RunCommand(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()); }

}  // namespace corvane::test
