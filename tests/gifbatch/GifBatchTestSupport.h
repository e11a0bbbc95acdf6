#pragma once
// Files and a stand-in optimizer for the pipeline tests. The files are written by the
// project's own writer, which reproduces them byte for byte, so a pass that leaves an
// image alone yields the file's size and a pass that adds or drops a comment a size
// known in advance.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "gifbatch/GifBatch.h"

namespace corvane::test {

using TBytes = std::vector<uint8_t>;

// An animation of the given frames, each 8 × 8 of its own colour, under a two-entry
// global table; with a comment in front of the first frame when comment is not empty.
TBytes Animation(int frames, const std::string& comment = "");
// The bytes of the image as the writer stores them.
TBytes Encode(TGIFImage& image);
void AddComment(TGIFImage& image, const std::string& text);
// Fits the optimizer seam, whatever the steps.
void DropComments(TGIFImage& image, TReduceSteps steps = 0);

TBytes ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const TBytes& bytes);

// A fresh directory per test, removed afterwards, and the seams of a run that record
// what they are told.
class TGifBatchTest : public ::testing::Test {
 protected:
  TGifBatchTest();
  ~TGifBatchTest() override;

  // Writes the bytes to Dir / name and lists the file.
  std::string AddFile(const std::string& name, const TBytes& bytes);
  std::vector<std::string> Row(int index) const { return Batch.List().Item(index).SubItems; }
  // The passes leave each image alone unless Pass says otherwise.
  TGifRunSeams Seams();
  void Run(TGifMode mode, int jobs = 1) { Batch.ProcessGifList(mode, Options, Seams(), jobs); }

  std::filesystem::path Dir;
  TGifBatch Batch;
  TGifOptions Options;
  std::function<void(TGIFImage& image, TReduceSteps steps)> Pass;
  TGifEncodingCheck Check;
  std::function<void()> Messages;

  std::mutex Lock;  // the passes may run on several workers
  std::vector<int> Steps;
  std::vector<int> Ended;
  std::vector<TGifFileEnding> Endings;
  int MessageRuns = 0;
};

}  // namespace corvane::test
