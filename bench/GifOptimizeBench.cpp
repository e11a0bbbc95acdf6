// The per-file pipeline against gifsicle, run as a separate program on the same files in
// the same run: total output bytes against `gifsicle -O2` and `-O3`, and time against
// `gifsicle -O2`, over the generated animations and samples/. Ours runs one thread, main
// pass only, from reading the file to the encoding in memory; gifsicle's time is its
// process's, shown raw and less the time it takes to start on a one-pixel file.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "PeerProgram.h"
#include "gifbatch/GifOptimizerSeams.h"
#include "gifbatch/ProcessGifFile.h"
#include "platform/AllocatorTuning.h"
#include "gifopt/AnimationVerifier.h"
#include "platform/FileUtils.h"
#include "support/VariedAnimations.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using bench::FastestSeconds;
using bench::RunProgram;

struct TFileFigures {
  std::string Name;
  int64_t Source = 0, Ours = 0, O2 = 0, O3 = 0;
  double OursSeconds = 0, O2Seconds = 0;
  bool Verified = false;
};

TFileFigures Measure(const fs::path& file, const fs::path& scratch, TGifWorkingSet& work) {
  TFileFigures figures{file.filename().string()};
  figures.Source = int64_t(fs::file_size(file));
  TGifRunSeams seams;
  seams.Reduce = ReduceForList;
  std::atomic<bool> noAbort{false};
  TGifFileResult result;
  figures.OursSeconds = FastestSeconds([&] {
    TGifListItem item{file.string(), {}, {}};
    result = ProcessGifFile(item, 0, TGifMode::Test, {}, work, noAbort, seams);
  });
  if (result.Ending != TGifFileEnding::Complete) throw std::runtime_error("ours failed on " + file.string());
  figures.Ours = result.OptimizedSize;
  figures.Verified = CompareAnimations(ReadWholeFile(file), result.Chosen->Bytes()).Equal();
  fs::path out = scratch / "out.gif";
  figures.O2Seconds = FastestSeconds([&] { RunProgram({"gifsicle", "--no-warnings", "-O2", "-o", out.string(), file.string()}); });
  figures.O2 = int64_t(fs::file_size(out));
  RunProgram({"gifsicle", "--no-warnings", "-O3", "-o", out.string(), file.string()});
  figures.O3 = int64_t(fs::file_size(out));
  return figures;
}

double StartSeconds(const fs::path& scratch) {
  fs::path tiny = scratch / "tiny.gif";
  const std::vector<uint8_t> pixel{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255,
                                   0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};
  WriteFileAtomically(tiny, pixel);
  return FastestSeconds([&] { RunProgram({"gifsicle", "--no-warnings", "-O2", "-o", (scratch / "out.gif").string(), tiny.string()}); });
}

std::vector<fs::path> BenchFiles(const fs::path& scratch) {
  std::vector<fs::path> files;
  for (const test::TGeneratedGif& gif : test::VariedAnimations()) {
    files.push_back(scratch / gif.Name);
    WriteFileAtomically(files.back(), gif.Bytes);
  }
  std::vector<fs::path> samples;
  for (const auto& entry : fs::directory_iterator(CORVANE_SAMPLES_DIR))
    if (entry.path().extension() == ".gif") samples.push_back(entry.path());
  std::sort(samples.begin(), samples.end());
  files.insert(files.end(), samples.begin(), samples.end());
  return files;
}

int Run() {
  fs::path scratch = fs::temp_directory_path() / ("corvane-optimize-bench-" + std::to_string(::getpid()));
  fs::create_directories(scratch);
  double start = StartSeconds(scratch);
  TGifWorkingSet work;
  TFileFigures total{"total"};
  std::printf("%-24s %9s %9s %9s %9s %9s %9s  %s\n", "file", "source", "ours", "-O2", "-O3", "ours ms", "-O2 ms",
              "verified");
  std::vector<fs::path> files = BenchFiles(scratch);
  for (const fs::path& file : files) {
    TFileFigures f = Measure(file, scratch, work);
    std::printf("%-24s %9lld %9lld %9lld %9lld %9.2f %9.2f  %s\n", f.Name.c_str(), (long long)f.Source,
                (long long)f.Ours, (long long)f.O2, (long long)f.O3, f.OursSeconds * 1e3, f.O2Seconds * 1e3,
                f.Verified ? "yes" : "NO");
    total.Source += f.Source;
    total.Ours += f.Ours;
    total.O2 += f.O2;
    total.O3 += f.O3;
    total.OursSeconds += f.OursSeconds;
    total.O2Seconds += f.O2Seconds;
  }
  fs::remove_all(scratch);
  std::printf("\ngifsicle start-up on a one-pixel file: %.2f ms\n", start * 1e3);
  std::printf("bytes ours / gifsicle -O2 (below 1: ours is smaller)   %.3f\n", double(total.Ours) / double(total.O2));
  std::printf("bytes ours / gifsicle -O3 (below 1: ours is smaller)   %.3f\n", double(total.Ours) / double(total.O3));
  std::printf("speed ours / gifsicle -O2 (above 1: ours is faster)    %.2f\n", total.O2Seconds / total.OursSeconds);
  std::printf("  the same, less gifsicle's start-up                   %.2f\n",
              (total.O2Seconds - double(files.size()) * start) / total.OursSeconds);
  return 0;
}

}  // namespace
}  // namespace corvane

int main() {
  // As the programs run.
  corvane::KeepLargeBlocksForReuse();
  try {
    return corvane::Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gif_optimize_bench: %s\n", e.what());
    return 1;
  }
}
