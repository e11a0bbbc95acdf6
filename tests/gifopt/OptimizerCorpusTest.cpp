// Every generated animation and every sample, optimized as the main pass, as the first pass
// of the two-pass mode and with the two-pass choice, shows what it showed before, and giflib
// reads every output.

#include <gtest/gtest.h>

#include <filesystem>

#include "AnimationCorpus.h"
#include "OptimizeTestSupport.h"
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

}  // namespace
}  // namespace corvane::test
