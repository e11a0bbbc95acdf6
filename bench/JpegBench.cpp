// Compressing a 3000 × 2000 photo-like picture at quality 60, as the JPG tab does on every
// change, and decoding the result for its pane: TJPEGImage against the cjpeg and djpeg
// programs on the same pixels and bytes, in wall-clock time since the peers run as
// processes. The ratios are printed after the runs.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "jpegopt/JPEGImage.h"
#include "platform/FileUtils.h"
#include "platform/Stream.h"
#include "support/PhotoPicture.h"

extern char** environ;

namespace corvane {

namespace {

struct TPhoto {
  test::PhotoBitmap Bitmap{3000, 2000, 11};
  std::filesystem::path Dir = test::ScratchDirectory("jpegbench");
  std::filesystem::path Ppm = Dir / "photo.ppm";
  std::filesystem::path Jpeg = Dir / "photo.jpg";
  std::vector<uint8_t> Compressed;

  TPhoto() {
    WriteFileAtomically(Ppm, test::PpmBytes(Bitmap));
    Compressed = Compress();
    WriteFileAtomically(Jpeg, Compressed);
  }
  ~TPhoto() { std::filesystem::remove_all(Dir); }

  std::vector<uint8_t> Compress() const {
    TJPEGImage jpeg;
    jpeg.SaveQuality = 60;
    jpeg.CopyFrom(Bitmap);
    TMemoryStream out;
    jpeg.SaveToStream(out);
    return out.TakeBytes();
  }
};

const TPhoto& Photo() {
  static const TPhoto photo;
  return photo;
}

double SecondsOf(const std::function<void()>& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void RunPeer(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  int status = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0 || waitpid(pid, &status, 0) != pid ||
      status != 0)
    throw std::runtime_error("cannot run " + arguments[0]);
}

void CompressCorvane(benchmark::State& state) {
  const TPhoto& photo = Photo();
  for (auto _ : state) state.SetIterationTime(SecondsOf([&] { benchmark::DoNotOptimize(photo.Compress()); }));
}

void CompressCjpeg(benchmark::State& state) {
  const TPhoto& photo = Photo();
  for (auto _ : state)
    state.SetIterationTime(SecondsOf(
        [&] { RunPeer({"cjpeg", "-quality", "60", "-baseline", "-outfile", "/dev/null", photo.Ppm.string()}); }));
}

void DecodeCorvane(benchmark::State& state) {
  const TPhoto& photo = Photo();
  for (auto _ : state)
    state.SetIterationTime(SecondsOf([&] {
      TJPEGImage jpeg;
      jpeg.SetColourDepth(TJPEGPixelFormat::Depth24);
      TMemoryStream in(photo.Compressed);
      jpeg.LoadFromStream(in);
      benchmark::DoNotOptimize(jpeg.DecodeBitmap().ScanLine(0));
    }));
}

void DecodeDjpeg(benchmark::State& state) {
  const TPhoto& photo = Photo();
  for (auto _ : state)
    state.SetIterationTime(SecondsOf([&] { RunPeer({"djpeg", "-outfile", "/dev/null", photo.Jpeg.string()}); }));
}

BENCHMARK(CompressCorvane)->Name("Compress3000x2000/corvane")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CompressCjpeg)->Name("Compress3000x2000/cjpeg")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeCorvane)->Name("Decode3000x2000/corvane")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeDjpeg)->Name("Decode3000x2000/djpeg")->UseManualTime()->Unit(benchmark::kMillisecond);

// Keeps each run's wall-clock time to print corvane's time over the peer's.
class TWallClockRatios : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.iterations > 0) FTimes[run.run_name.function_name] = run.GetAdjustedRealTime();
  }
  void Print(const std::string& task, const std::string& peer) const {
    auto mine = FTimes.find(task + "/corvane"), theirs = FTimes.find(task + "/" + peer);
    if (mine != FTimes.end() && theirs != FTimes.end())
      std::printf("%s: corvane takes %.2f times the time of %s\n", task.c_str(), mine->second / theirs->second,
                  peer.c_str());
  }

 private:
  std::map<std::string, double> FTimes;
};

}  // namespace

}  // namespace corvane

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  corvane::TWallClockRatios reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.Print("Compress3000x2000", "cjpeg");
  reporter.Print("Decode3000x2000", "djpeg");
  benchmark::Shutdown();
  return 0;
}
