// The deep level: it encodes every animation the tests can make, each encoding shows what the
// original showed and giflib reads it; odd and damaged input never ends in a wrong picture;
// delays of 0 and 1 are never summed.

#include <gtest/gtest.h>

#include <filesystem>

#include "AnimationCorpus.h"
#include "OptimizeTestSupport.h"
#include "gifopt/AnimationVerifier.h"
#include "gifopt/DeepOptimize.h"
#include "gifopt/MaskChoice.h"
#include "platform/FileUtils.h"
#include "support/VariedAnimations.h"

namespace corvane::test {
namespace {

// The deep encoding shows the same where the verifier can compose the original; false when
// the level leaves the file alone.
bool ExpectDeepShowsTheSame(const TCorpusFile& file) {
  SCOPED_TRACE(file.Name);
  TLoaded loaded = Load(file.Bytes);
  if (!loaded.Error.empty()) return false;
  std::optional<TBytes> deep = DeepEncodeUnchecked(*loaded.Image);
  if (!deep) return false;
  const TAnimationDifference difference = CompareAnimations(file.Bytes, *deep);
  if (difference.Kind == TAnimationDifference::TKind::Unreadable && difference.Message.starts_with("The first"))
    return false;
  EXPECT_EQ(CheckOptimized(file.Bytes, *deep), "");
  return true;
}

std::vector<TCorpusFile> GeneratedFiles() {
  std::vector<TCorpusFile> files;
  for (const TGeneratedGif& gif : VariedAnimations()) files.push_back({gif.Name, gif.Bytes});
  for (const TGifSet& set : OptimizerSets())
    for (const TGeneratedGif& gif : set.Files) files.push_back({gif.Name, gif.Bytes});
  for (const auto& entry : std::filesystem::directory_iterator(CORVANE_SAMPLES_DIR))
    if (entry.path().extension() == ".gif") files.push_back({entry.path().filename().string(), ReadWholeFile(entry.path())});
  return files;
}

TEST(DeepOptimize, EncodesEveryGeneratedAnimationAndSample) {
  for (const TCorpusFile& file : GeneratedFiles()) EXPECT_TRUE(ExpectDeepShowsTheSame(file)) << file.Name;
}

TEST(DeepOptimize, EncodesTheCorporaShowingTheSame) {
  int encoded = 0, files = 0;
  for (const TCorpusFile& file : DisposalPairCorpus()) encoded += ExpectDeepShowsTheSame(file), ++files;
  for (const TCorpusFile& file : RandomCorpus(600, 20261208)) encoded += ExpectDeepShowsTheSame(file), ++files;
  EXPECT_GT(encoded, files * 9 / 10);
}

TEST(DeepOptimize, DamagedFilesNeverShowOtherwise) {
  for (const TCorpusFile& file : RandomCorpus(60, 11))
    for (size_t cut = 14; cut < file.Bytes.size(); cut += 11)
      ExpectDeepShowsTheSame({file.Name, TBytes(file.Bytes.begin(), file.Bytes.begin() + long(cut))});
}

// Frames of one picture: delays of 2 and more add up into one frame, 0 and 1 stay apart.
TEST(DeepOptimize, SumsOnlyDelaysThatEveryViewerReadsAlike) {
  auto animation = [](int delay) {
    TGifBuilder gif(4, 4);
    gif.GlobalTable(1);
    for (int frame = 0; frame < 3; ++frame)
      gif.Control(1, delay).Image(0, 0, 4, 4, TBytes(16, frame == 2 ? 1 : 0), 2);
    return gif.Trailer().Data();
  };
  auto frameCount = [](const TBytes& file) { return Load(file).Image->FrameCount(); };
  for (int delay : {0, 1, 5}) {
    const TBytes file = animation(delay);
    std::optional<TBytes> deep = DeepEncode(*Load(file).Image, file);
    ASSERT_TRUE(deep) << delay;
    EXPECT_EQ(CheckOptimized(file, *deep), "");
    EXPECT_EQ(frameCount(*deep), delay > 1 ? 2 : 3) << delay;
  }
}

// Pixels that may be transparent (T) or keep their colour take whichever makes the fewest runs.
TEST(DeepOptimize, MaskChoiceMakesTheFewestRuns) {
  constexpr uint8_t T = 9;
  struct TCase {
    TBytes Values, Free, Expected;
  };
  const TCase cases[] = {
      {{1, 2, 2, 2, 2}, {0, 1, 1, 1, 0}, {1, 2, 2, 2, 2}},  // the free run joins the pixel after it
      {{1, 1, 1, 2}, {0, 1, 1, 0}, {1, 1, 1, 2}},        // ... or the one before
      {{4, 5, 6, 7}, {1, 1, 1, 1}, {T, T, T, T}},
      {{T, 4, 3, 3}, {0, 1, 1, 0}, {T, T, T, 3}},        // ties go to transparency
  };
  for (const TCase& c : cases) {
    TBytes values = c.Values;
    ChooseFewestRuns(values, c.Free, T);
    EXPECT_EQ(values, c.Expected);
  }
}

}  // namespace
}  // namespace corvane::test
