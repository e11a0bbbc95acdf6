// corvane jpeg --optimize-coding --progressive against cjpeg -optimize -progressive on the same
// pixels (one BMP file both read), and against jpegoptim --all-progressive (when present),
// which recodes cjpeg's baseline file of those pixels without decoding it. Printed are the
// bytes each wrote and the processor time of its process (user and system, the fastest of
// repeated runs, which the other work of a shared machine disturbs less than wall time), and
// the ratios. A plain program: the peers are processes.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "PeerProgram.h"
#include "support/PhotoPicture.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;

using bench::FastestSeconds;
using bench::RunProgram;

constexpr const char* kQuality = "85";

struct TSize {
  int Width, Height;
};
constexpr TSize kSizes[] = {{3000, 2000}, {1024, 768}};

struct TFigures {
  double Seconds = 0;
  uintmax_t Bytes = 0;
};

TFigures Measure(const std::vector<std::string>& args, const fs::path& output) {
  TFigures figures;
  figures.Seconds = FastestSeconds([&] { return RunProgram(args); }, 1.0);
  figures.Bytes = fs::file_size(output);
  return figures;
}

bool Present(const std::string& program) {
  try {
    RunProgram({program, "--version"});
    return true;
  } catch (const std::runtime_error&) {
    return false;
  }
}

void Print(const char* name, const TFigures& figures, const TFigures& ours) {
  std::printf("  %-44s %9ju bytes %8.3f s   size ours/peer %.3f   speed ours/peer %.2f\n", name, figures.Bytes,
              figures.Seconds, double(ours.Bytes) / double(figures.Bytes), figures.Seconds / ours.Seconds);
}

void RunCase(const TSize& size, const fs::path& dir, bool jpegoptim) {
  test::PhotoBitmap photo(size.Width, size.Height, 7);
  const fs::path bmp = dir / "photo.bmp", ours = dir / "ours.jpg", cjpeg = dir / "cjpeg.jpg";
  const fs::path baseline = dir / "baseline.jpg", optimized = dir / "optimized";
  photo.SaveToFile(bmp);
  std::printf("photo %d x %d, quality %s\n", size.Width, size.Height, kQuality);
  const TFigures our = Measure({CORVANE_PROGRAM, "jpeg", "-q", kQuality, "--optimize-coding", "--progressive",
                                "--force", bmp.string(), "-o", ours.string()},
                               ours);
  std::printf("  %-44s %9ju bytes %8.3f s\n", "corvane jpeg --optimize-coding --progressive", our.Bytes, our.Seconds);
  Print("cjpeg -optimize -progressive",
        Measure({"cjpeg", "-quality", kQuality, "-optimize", "-progressive", "-outfile", cjpeg.string(), bmp.string()}, cjpeg),
        our);
  if (!jpegoptim) return;
  RunProgram({"cjpeg", "-quality", kQuality, "-outfile", baseline.string(), bmp.string()});
  fs::create_directories(optimized);
  Print("jpegoptim --all-progressive (from baseline)",
        Measure({"jpegoptim", "--quiet", "--force", "--overwrite", "--all-progressive", "--dest", optimized.string(),
                 baseline.string()},
                optimized / "baseline.jpg"),
        our);
}

}  // namespace

}  // namespace corvane

int main() {
  using namespace corvane;
  const fs::path dir = test::ScratchDirectory("jpegclibench");
  const bool jpegoptim = Present("jpegoptim");
  if (!jpegoptim) std::printf("jpegoptim is not installed: compared with cjpeg only\n");
  for (const TSize& size : kSizes) RunCase(size, dir, jpegoptim);
  std::printf("(size ratio below 1: ours is smaller; speed ratio above 1: ours is faster)\n");
  fs::remove_all(dir);
  return 0;
}
