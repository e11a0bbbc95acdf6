// The pictures the samples show, composed by the painter, against ImageMagick's coalesce of
// the same file: equal wherever ImageMagick's picture is opaque, and the fill colour wherever
// it is transparent. Generated animations are cases of tests/data/gif/.

#include <Magick++.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "RenderTestSupport.h"
#include "platform/FileUtils.h"

namespace corvane {

namespace {

using namespace test;

std::vector<Magick::Image> Coalesced(const TBytes& file) {
  static const bool initialised = [] {
    Magick::InitializeMagick(nullptr);
    return true;
  }();
  (void)initialised;
  std::vector<Magick::Image> frames, pictures;
  Magick::readImages(&frames, Magick::Blob(file.data(), file.size()));
  Magick::coalesceImages(&pictures, frames.begin(), frames.end());
  return pictures;
}

void ExpectSamePictures(const TBytes& file, const std::string& name) {
  TLoaded loaded = Load(file);
  ASSERT_EQ(loaded.Error, "") << name;
  TGIFImage& image = *loaded.Image;
  image.DrawFlags &= uint16_t(~dfLoop);
  TColor fill = PaintFillColor(image);
  TPlayRecorder recorder;
  std::vector<TShownPicture> ours = recorder.Play(image, fill);
  if (ours.empty()) {  // a still picture is drawn without a painter
    auto target = FilledBitmap(image.Width(), image.Height(), fill);
    image.Draw(target->Canvas(), Bounds(0, 0, image.Width(), image.Height()));
    ours.push_back({0, 0, Colors(*target)});
  }
  std::vector<Magick::Image> theirs = Coalesced(file);
  ASSERT_EQ(ours.size(), theirs.size()) << name;
  int width = image.Width(), height = image.Height();
  for (size_t i = 0; i < ours.size(); ++i) {
    std::vector<uint8_t> rgba(size_t(width) * height * 4);
    theirs[i].write(0, 0, size_t(width), size_t(height), "RGBA", Magick::CharPixel, rgba.data());
    int differences = 0;
    for (size_t p = 0; p < ours[i].Pixels.size(); ++p) {
      const uint8_t* q = &rgba[4 * p];
      TColor expected = q[3] == 255 ? MakeColor(q[0], q[1], q[2]) : fill;
      if (ours[i].Pixels[p] != expected && ++differences <= 3)
        ADD_FAILURE() << name << " picture " << i << " pixel " << p % size_t(width) << "," << p / size_t(width)
                      << ": " << std::hex << ours[i].Pixels[p] << " instead of " << expected;
    }
    EXPECT_EQ(differences, 0) << name << " picture " << i;
  }
}

}  // namespace

TEST(CoalescePeer, TheSamplesComposeAlike) {
  for (const auto& entry : std::filesystem::directory_iterator(CORVANE_SAMPLES_DIR)) {
    if (entry.path().extension() != ".gif") continue;
    ExpectSamePictures(ReadWholeFile(entry.path()), entry.path().filename().string());
  }
}

}  // namespace corvane
