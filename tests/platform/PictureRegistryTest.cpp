#include "platform/PictureRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/FileUtils.h"
#include "platform/Stream.h"

namespace corvane {

TEST(PictureRegistry, FindsFormatsWithoutRegardToCaseOrDot) {
  RegisterFileFormat("BMPTEST", "Test Bitmap", [] { return std::make_unique<TBitmap>(); });
  ASSERT_TRUE(FindFileFormat(".bmptest"));
  EXPECT_EQ(FindFileFormat("BmpTest")->Description, "Test Bitmap");
  UnregisterFileFormat("bmptest");
  EXPECT_FALSE(FindFileFormat("bmptest"));
}

TEST(Picture, LoadsByExtensionAndKeepsItsPictureOnFailure) {
  RegisterFileFormat("bmptest", "Test Bitmap", [] { return std::make_unique<TBitmap>(); });
  auto dir = std::filesystem::temp_directory_path();
  TBitmap bitmap(3, 2);
  bitmap.SaveToFile(dir / "corvane-pic.bmptest");
  WriteFileAtomically(dir / "corvane-bad.bmptest", std::vector<uint8_t>{'B', 'M', 0});

  TPicture picture;
  picture.LoadFromFile(dir / "corvane-pic.bmptest");
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_THROW(picture.LoadFromFile(dir / "corvane-bad.bmptest"), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(dir / "corvane-pic.unknownext"), EInvalidGraphic);
  EXPECT_EQ(picture.Height(), 2);

  UnregisterFileFormat("bmptest");
  std::filesystem::remove(dir / "corvane-pic.bmptest");
  std::filesystem::remove(dir / "corvane-bad.bmptest");
}

namespace {

// A bitmap that reports progress while it loads, as decoders of large pictures do.
class TReportingBitmap : public TBitmap {
 public:
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TReportingBitmap>(); }
  void LoadFromStream(TStream& stream) override {
    Progress(this, TProgressStage::psStarting, 0, false, {}, "Loading...");
    TBitmap::LoadFromStream(stream);
    Progress(this, TProgressStage::psEnding, 100, true, Bounds(0, 0, Width(), Height()), "Loading...");
  }
};

}  // namespace

TEST(Picture, PassesOnTheProgressOfALoadAndTheChangesOfWhatItHolds) {
  RegisterFileFormat("progresstest", "Test", [] { return std::make_unique<TReportingBitmap>(); });
  auto file = std::filesystem::temp_directory_path() / "corvane-progress.progresstest";
  TBitmap(4, 3).SaveToFile(file);

  TPicture picture;
  std::vector<int> percents;
  TPersistent* reporter = nullptr;
  int changes = 0;
  picture.OnProgress = [&](TPersistent* sender, TProgressStage, uint8_t percent, bool, const TRect&,
                           const std::string&) {
    percents.push_back(percent);
    reporter = sender;
  };
  picture.OnChange = [&] { ++changes; };
  picture.LoadFromFile(file);
  EXPECT_EQ(percents, (std::vector<int>{0, 100}));
  EXPECT_EQ(reporter, picture.Graphic());
  EXPECT_EQ(changes, 1);

  static_cast<TBitmap*>(picture.Graphic())->SetSize(8, 8);
  EXPECT_EQ(changes, 2);
  TBitmap other(2, 2);
  picture.SetGraphic(&other);
  other.SetSize(5, 5);  // the holder keeps a copy, so the original's changes do not count
  picture.Clear();
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(picture.Width(), 0);

  UnregisterFileFormat("progresstest");
  std::filesystem::remove(file);
}

}  // namespace corvane
