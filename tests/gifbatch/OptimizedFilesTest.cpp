// Runs with the real optimizer and verifier over the samples and the generated
// animations: what replaces a file shows what it showed, and the check before a file is
// replaced catches an encoding that does not.

#include "GifBatchTestSupport.h"
#include "gifbatch/GifOptimizerSeams.h"
#include "gifopt/AnimationVerifier.h"
#include "support/VariedAnimations.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

class OptimizedFilesTest : public TGifBatchTest {
 protected:
  void AddCorpus() {
    for (const TGeneratedGif& gif : VariedAnimations()) AddFile(gif.Name, gif.Bytes);
    for (const auto& entry : fs::directory_iterator(CORVANE_SAMPLES_DIR))
      if (entry.path().extension() == ".gif") AddFile("sample-" + entry.path().filename().string(), ReadBytes(entry.path()));
  }
  TGifRunSeams RealSeams() {
    TGifRunSeams seams;
    seams.Reduce = ReduceForList;
    seams.CheckEncoding = VisibleDifference;
    return seams;
  }
};

TEST_F(OptimizedFilesTest, EveryReplacedFileShowsWhatItShowedBefore) {
  AddCorpus();
  fs::create_directories(Dir / "backup");
  Options = {.TwoPass = true, .Backup = true, .BackupDirectory = (Dir / "backup").string()};
  Batch.ProcessGifList(TGifMode::Optimize, Options, RealSeams(), 2);
  int replaced = 0;
  for (int i = 0; i < Batch.List().Count(); ++i) {
    const TGifListItem& item = Batch.List().Item(i);
    ASSERT_EQ(item.SubItems.size(), 4u) << item.Caption << ": " << item.SubItems.back();
    TBytes before = ReadBytes(Dir / "backup" / item.SubItems[0]), after = ReadBytes(item.Caption);
    EXPECT_TRUE(CompareAnimations(before, after).Equal()) << item.Caption << ": " << CompareAnimations(before, after).Message;
    replaced += before != after;
  }
  EXPECT_GT(replaced, Batch.List().Count() / 2);
  EXPECT_GT(Batch.Total(), 0);
}

TEST_F(OptimizedFilesTest, ATestRunOnWorkersMeasuresWhatARunInOrderMeasures) {
  AddCorpus();
  Options.TwoPass = true;
  Batch.ProcessGifList(TGifMode::Test, Options, RealSeams(), 1);
  std::vector<std::vector<std::string>> inOrder;
  for (int i = 0; i < Batch.List().Count(); ++i) inOrder.push_back(Row(i));
  for (int i = 0; i < Batch.List().Count(); ++i) Batch.List().Item(i).SubItems.resize(1);
  Batch.ProcessGifList(TGifMode::Test, Options, RealSeams(), 3);
  for (int i = 0; i < Batch.List().Count(); ++i) EXPECT_EQ(Row(i), inOrder[size_t(i)]);
}

TEST_F(OptimizedFilesTest, AnEncodingThatLooksDifferentLeavesTheFileAsItWas) {
  TBytes source = VariedAnimations().front().Bytes;
  std::string path = AddFile("sprites.gif", source);
  TGifRunSeams seams = RealSeams();
  seams.Reduce = [](TGIFImage& image, TReduceSteps steps) {
    ReduceForList(image, steps);
    TGIFSubImage& frame = image.Frame(image.FrameCount() / 2);
    uint8_t& pixel = frame.RowStart(frame.FrameHeight() / 2)[frame.FrameWidth() / 2];
    pixel = uint8_t((pixel + 1) % frame.ActiveTable().EntryCount());
  };
  Batch.ProcessGifList(TGifMode::Optimize, Options, seams);
  EXPECT_EQ(ReadBytes(path), source);
  ASSERT_EQ(Row(0).size(), 5u);
  EXPECT_EQ(Row(0)[4].rfind("Not replaced: ", 0), 0u) << Row(0)[4];
  EXPECT_EQ(Batch.Total(), 0);
}

}  // namespace
}  // namespace corvane::test
