// Every generated animation and every sample, optimized as the main pass, as the first pass
// of the two-pass mode and with the two-pass choice, shows what it showed before, and giflib
// reads every output.

#include <gtest/gtest.h>

#include <filesystem>

#include "AnimationCorpus.h"
#include "OptimizeTestSupport.h"
#include "gifopt/AnimationVerifier.h"
#include "gifopt/ReduceFileSize.h"
#include "platform/FileUtils.h"

namespace corvane::test {
namespace {

void ExpectSameAnimation(const TCorpusFile& file) {
  SCOPED_TRACE(file.Name);
  EXPECT_EQ(CheckOptimized(file.Bytes, Optimize(file.Bytes, kMainPassSteps)), "") << "steps 31";
  EXPECT_EQ(CheckOptimized(file.Bytes, Optimize(file.Bytes, kFirstPassSteps)), "") << "steps 29";
  EXPECT_EQ(CheckOptimized(file.Bytes, OptimizeTwoPass(file.Bytes)), "") << "two passes";
}

TEST(OptimizerCorpus, EveryDisposalPairShowsTheSame) {
  for (const TCorpusFile& file : DisposalPairCorpus()) ExpectSameAnimation(file);
}

TEST(OptimizerCorpus, RandomAnimationsShowTheSame) {
  for (const TCorpusFile& file : RandomCorpus(3000, 20240601)) ExpectSameAnimation(file);
}

TEST(OptimizerCorpus, SamplesShowTheSameAndGrowNot) {
  int samples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(CORVANE_SAMPLES_DIR)) {
    if (entry.path().extension() != ".gif") continue;
    ++samples;
    TBytes bytes = ReadWholeFile(entry.path());
    ExpectSameAnimation({entry.path().filename().string(), bytes});
    EXPECT_LE(OptimizeTwoPass(bytes).size(), bytes.size()) << entry.path();
  }
  EXPECT_GE(samples, 4);
}

// Damaged files: what the model reads is optimized without harm, and where the verifier can
// show the original as viewers do, the output shows the same.
TEST(OptimizerCorpus, DamagedFilesAreOptimizedSafely) {
  std::vector<TBytes> files;
  for (const auto& entry : std::filesystem::directory_iterator(CORVANE_FUZZ_SEEDS_DIR))
    files.push_back(ReadWholeFile(entry.path()));
  for (const TCorpusFile& file : RandomCorpus(200, 7))
    for (size_t cut = 14; cut < file.Bytes.size(); cut += 7) files.emplace_back(file.Bytes.begin(), file.Bytes.begin() + long(cut));
  int compared = 0;
  for (const TBytes& file : files) {
    TLoaded loaded = Load(file);
    if (!loaded.Error.empty() || loaded.Image->FrameCount() == 0) continue;
    ReduceFileSize(*loaded.Image, kMainPassSteps, 0, 0, 8);
    TBytes optimized;
    try {
      optimized = Save(*loaded.Image);
    } catch (const GIFException&) {
      continue;  // such as pixels outside every table, which the writer refuses
    }
    TAnimationDifference difference = CompareAnimations(file, optimized);
    if (difference.Kind == TAnimationDifference::TKind::Unreadable) continue;
    EXPECT_EQ(difference.Message, "");
    ++compared;
  }
  EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace corvane::test
