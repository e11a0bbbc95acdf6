// The deep level against `gifsicle -O3`, run as a separate program on the same files in the
// same run, set by set: clips as video converters write them, full-palette clips, sprite
// animations, stills and samples/. Per set: total bytes, the per-file geometric mean of
// ours / gifsicle's bytes, the worst file, and processor time (ours on one thread, from
// reading the file to the encoding in memory; gifsicle's as its process's; the two run by turns),
// so that neither a busy machine nor one whose speed drifts tilts the ratio.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <tuple>
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
using bench::FastestInTurns;
using bench::RunProgram;
using bench::ThreadCpuTimed;

struct TFigures {
  int64_t Ours = 0, Peer = 0;
  double OursSeconds = 0, PeerSeconds = 0;
};

struct TSetFigures {
  TFigures Total;
  double LogRatios = 0;
  int Files = 0;
  double Worst = 0;
  std::string WorstName;
  bool AllVerified = true;
};

TFigures Measure(const fs::path& file, const fs::path& scratch, TGifWorkingSet& work, bool& verified) {
  TGifRunSeams seams;
  seams.Reduce = ReduceForList;
  std::atomic<bool> noAbort{false};
  TGifOptions options;
  options.Deep = true;
  TGifFileResult result;
  TFigures figures;
  const fs::path out = scratch / "out.gif";
  auto ours = [&] {
    TGifListItem item{file.string(), {}, {}};
    result = ProcessGifFile(item, 0, TGifMode::Test, options, work, noAbort, seams);
  };
  auto peer = [&] { return RunProgram({"gifsicle", "--no-warnings", "-O3", "-o", out.string(), file.string()}); };
  std::tie(figures.OursSeconds, figures.PeerSeconds) = FastestInTurns(ThreadCpuTimed(ours), peer);
  if (result.Ending != TGifFileEnding::Complete) throw std::runtime_error("ours failed on " + file.string());
  figures.Ours = result.OptimizedSize;
  verified = CompareAnimations(ReadWholeFile(file), result.Chosen->Bytes()).Equal();
  figures.Peer = int64_t(fs::file_size(out));
  return figures;
}

void AddFile(TSetFigures& set, const std::string& name, const TFigures& f, bool verified) {
  const double ratio = double(f.Ours) / double(f.Peer);
  std::printf("  %-26s %9lld %9lld  %6.3f %9.1f %9.1f  %s\n", name.c_str(), (long long)f.Ours, (long long)f.Peer,
              ratio, f.OursSeconds * 1e3, f.PeerSeconds * 1e3, verified ? "yes" : "NO");
  set.Total.Ours += f.Ours;
  set.Total.Peer += f.Peer;
  set.Total.OursSeconds += f.OursSeconds;
  set.Total.PeerSeconds += f.PeerSeconds;
  set.LogRatios += std::log(ratio);
  ++set.Files;
  set.AllVerified = set.AllVerified && verified;
  if (ratio > set.Worst) {
    set.Worst = ratio;
    set.WorstName = name;
  }
}

void PrintSet(const std::string& name, const TSetFigures& s) {
  std::printf("%-13s bytes %.3f  geomean %.3f  worst %.3f (%s)  time %.2f  %s\n", name.c_str(),
              double(s.Total.Ours) / double(s.Total.Peer), std::exp(s.LogRatios / s.Files), s.Worst,
              s.WorstName.c_str(), s.Total.OursSeconds / s.Total.PeerSeconds,
              s.AllVerified ? "all verified" : "NOT ALL VERIFIED");
}

std::vector<test::TGifSet> Sets() {
  std::vector<test::TGifSet> sets = test::OptimizerSets();
  test::TGifSet samples{"samples", {}};
  for (const auto& entry : fs::directory_iterator(CORVANE_SAMPLES_DIR))
    if (entry.path().extension() == ".gif")
      samples.Files.push_back({entry.path().filename().string(), ReadWholeFile(entry.path())});
  std::sort(samples.Files.begin(), samples.Files.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
  sets.push_back(std::move(samples));
  return sets;
}

int Run() {
  const fs::path scratch = fs::temp_directory_path() / ("corvane-deep-bench-" + std::to_string(::getpid()));
  fs::create_directories(scratch);
  TGifWorkingSet work;
  std::vector<std::pair<std::string, TSetFigures>> summaries;
  std::printf("  %-26s %9s %9s  %6s %9s %9s  %s\n", "file", "ours", "-O3", "ratio", "ours ms", "-O3 ms", "verified");
  for (const test::TGifSet& set : Sets()) {
    std::printf("%s\n", set.Name.c_str());
    TSetFigures figures;
    for (const test::TGeneratedGif& gif : set.Files) {
      const fs::path file = scratch / gif.Name;
      WriteFileAtomically(file, gif.Bytes);
      bool verified = false;
      const TFigures measured = Measure(file, scratch, work, verified);
      AddFile(figures, gif.Name, measured, verified);
    }
    summaries.emplace_back(set.Name, figures);
  }
  fs::remove_all(scratch);
  std::printf("\nours / gifsicle -O3 per set (bytes and geometric mean below 1: ours is smaller; time below 1: "
              "ours is faster)\n");
  for (const auto& [name, figures] : summaries) PrintSet(name, figures);
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
    std::fprintf(stderr, "deep_optimize_bench: %s\n", e.what());
    return 1;
  }
}
