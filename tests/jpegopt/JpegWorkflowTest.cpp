#include "jpegopt/JpegWorkflow.h"

#include <gtest/gtest.h>

#include "jpegopt/SizeText.h"
#include "platform/FileUtils.h"
#include "platform/Stream.h"
#include "platform/Synchronize.h"
#include "support/JpegBytes.h"
#include "support/PhotoPicture.h"

namespace corvane {

namespace {

using test::JpegBytes;

class JpegTab : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterJPEGFormat();
    RegisterFileFormat("bmp", "Bitmap", [] { return std::make_unique<TBitmap>(); });
    dir = test::ScratchDirectory("jpegtab");
    photo.SaveToFile(dir / "photo.bmp");
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  TJpegWorkflow& Tab() {
    if (!tab)
      tab = std::make_unique<TJpegWorkflow>(
          TJpegWorkflowSeam{[this](const std::string& text) { messages.push_back(text); },
                            [this](const std::string& message) { errors.push_back(message); }},
          dir);
    return *tab;
  }
  std::vector<uint8_t> Temporary() { return ReadWholeFile(dir / "Tmp.jpg"); }

  std::filesystem::path dir;
  test::PhotoBitmap photo{64, 48, 5};
  std::unique_ptr<TJpegWorkflow> tab;
  std::vector<std::string> messages, errors;
};

}  // namespace

TEST_F(JpegTab, OpeningSetsTheSliderTo40AndShowsAResultAtQuality60) {
  Tab().Open(dir / "photo.bmp");
  const TJpegTabState& s = Tab().State();
  EXPECT_EQ(s.Edit2, "40");
  EXPECT_EQ(s.TrackBarPosition, 40);
  EXPECT_EQ(Temporary(), JpegBytes(photo, 60));
  EXPECT_EQ(s.LBSrcFN, "photo.bmp");
  int64_t source = int64_t(std::filesystem::file_size(dir / "photo.bmp"));
  EXPECT_EQ(s.SrcSize, FormatByteSize(source));
  EXPECT_EQ(Tab().ResultSize(), int64_t(Temporary().size()));
  EXPECT_EQ(s.CurrentSize, FormatByteSize(Tab().ResultSize()));
  EXPECT_EQ(s.SavedSize, FormatByteSize(source - Tab().ResultSize()));
  EXPECT_TRUE(s.RadioButton2 && s.RadioButton3 && !s.RadioButton1 && !s.RadioButton4);
  EXPECT_TRUE(s.AdjustmentControlsEnabled && s.TrackBarEnabled());
  EXPECT_EQ(s.Cursor, TCursor::crDefault);
  EXPECT_FALSE(Tab().SourceJustOpened());
  EXPECT_EQ(Tab().Image3().Graphic()->ClassName(), "TJPEGImage");
  EXPECT_TRUE(messages.empty() && errors.empty());
}

TEST_F(JpegTab, SliderAndEditDriveTheQuality) {
  Tab().Open(dir / "photo.bmp");
  Tab().RxSlider1Change(0);
  EXPECT_EQ(Tab().State().Edit2, "0");
  EXPECT_EQ(Temporary(), JpegBytes(photo, 100));
  Tab().RxSlider1Change(100);
  EXPECT_EQ(Temporary(), JpegBytes(photo, 1));  // quality 0 is coded as 1
  Tab().Edit2Change("25");
  EXPECT_EQ(Tab().State().TrackBarPosition, 25);
  EXPECT_EQ(Temporary(), JpegBytes(photo, 75));

  Tab().Edit2Change("abc");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(ErrorReportText(errors[0]), "'abc' is not a valid integer value.");
  Tab().Edit2Change("");
  EXPECT_EQ(errors.back(), "'' is not a valid integer value");
  Tab().Edit2Change("150");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Sorry, \"150\" is not a integer between 0 and 100 ");
  EXPECT_EQ(Tab().State().TrackBarPosition, 25);
  EXPECT_EQ(Tab().State().Edit2, "25") << "the value in force comes back";
  EXPECT_EQ(Temporary(), JpegBytes(photo, 75));
}

TEST_F(JpegTab, PixelFormatKeepsTheFileAndGreyscaleMakesItSingleComponent) {
  Tab().Open(dir / "photo.bmp");
  Tab().RadioButtonClick(1);
  std::vector<uint8_t> eightBit = Temporary();
  Tab().RadioButtonClick(2);
  EXPECT_EQ(Temporary(), eightBit);
  Tab().RadioButtonClick(4);
  EXPECT_EQ(Temporary(), JpegBytes(photo, 60, true));
  EXPECT_TRUE(static_cast<const TJPEGImage*>(Tab().Image3().Graphic())->Data().Grey);
  Tab().Open(dir / "photo.bmp");  // a new source shows its own settings again
  EXPECT_TRUE(Tab().State().RadioButton3);
}

TEST_F(JpegTab, AResultLargerThanTheSourceSavesNothing) {
  WriteFileAtomically(dir / "small.jpg", JpegBytes(photo, 5));
  Tab().Open(dir / "small.jpg");
  EXPECT_EQ(Tab().State().SavedSize, "0");
  EXPECT_EQ(Tab().State().LBSrcFN, "small.jpg");
}

TEST_F(JpegTab, SaveAppendsTheFilterExtensionUnlessTheNameHasAJpegOne) {
  Tab().Open(dir / "photo.bmp");
  EXPECT_EQ(Tab().SaveDialogFileName(), "photo");
  std::string base = (dir / "photo").string();
  EXPECT_EQ(Tab().Save(base, 2), std::filesystem::path(base + ".jpeg"));
  EXPECT_EQ(Tab().Save(base + ".JPG", 1), std::filesystem::path(base + ".JPG.jpg"));
  EXPECT_EQ(Tab().Save(base + ".jpeg", 1), std::filesystem::path(base + ".jpeg"));
  EXPECT_EQ(Tab().Save(base + ".png", 3), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(base + ".png"));
  EXPECT_EQ(ReadWholeFile(base + ".JPG.jpg"), Temporary());

  Tab().Clear();
  EXPECT_EQ(Tab().Save(base + ".x", 1), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(base + ".x.jpg"));
  EXPECT_EQ(Tab().State().SrcSize, " ");
  EXPECT_FALSE(Tab().State().AdjustmentControlsEnabled);
  Tab().TabActivated();
  EXPECT_FALSE(Tab().State().AdjustmentControlsEnabled);
}

TEST_F(JpegTab, IncrementalDisplayAppliesFromTheNextResult) {
  Tab().Open(dir / "photo.bmp");
  Tab().SetIncrementalDisplay(true);
  EXPECT_FALSE(Tab().State().Image3IncrementalDisplay);
  Tab().RxSlider1Change(10);
  EXPECT_TRUE(Tab().State().Image3IncrementalDisplay);
}

TEST_F(JpegTab, AnUnreadableFileKeepsThePictureOpenBefore) {
  Tab().Open(dir / "photo.bmp");
  WriteFileAtomically(dir / "broken.jpg", std::vector<uint8_t>{0xFF, 0xD8, 0xFF});
  Tab().Open(dir / "broken.jpg");
  Tab().Open(dir / "missing.bmp");
  Tab().Open(dir / "notes.txt");
  EXPECT_EQ(messages, std::vector<std::string>(3, "Sorry, it is not a correct file format!!"));
  EXPECT_EQ(Tab().State().LBSrcFN, "photo.bmp");
  Tab().RadioButtonClick(4);
  EXPECT_EQ(Temporary(), JpegBytes(photo, 60, true));
}

TEST_F(JpegTab, AFailedRecompressionLeavesTheValueControlsDisabled) {
  std::filesystem::path notADirectory = dir / "plain-file";
  WriteFileAtomically(notADirectory, std::vector<uint8_t>{1});
  TJpegWorkflow tab(TJpegWorkflowSeam{[this](const std::string& text) { messages.push_back(text); },
                                      [this](const std::string& message) { errors.push_back(message); }},
                    notADirectory);
  tab.Open(dir / "photo.bmp");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Cannot create file " + (notADirectory / "Tmp.jpg").string() + ": Not a directory");
  EXPECT_FALSE(tab.State().TrackBarEnabled());
  EXPECT_TRUE(tab.State().AdjustmentControlsEnabled);
  EXPECT_EQ(tab.State().Cursor, TCursor::crAppStart);
  EXPECT_TRUE(tab.SourceJustOpened());
}

TEST_F(JpegTab, TheSeamHearsWhenAResultIsMadeAndWhenAPaneChanges) {
  std::vector<std::string> heard;
  auto note = [&](const std::string& text) { heard.push_back(text); };
  tab = std::make_unique<TJpegWorkflow>(
      TJpegWorkflowSeam{note, note,
                        [&] {
                          bool busy = !tab->State().TrackBarEnabled() && tab->State().Cursor == TCursor::crAppStart;
                          heard.push_back(busy ? "busy" : "not busy");
                        },
                        [&](int pane) { heard.push_back("pane " + std::to_string(pane)); }},
      dir);
  Tab().Open(dir / "notes.txt");
  Tab().RxSlider1Change(10);  // nothing open: refused before the controls go off
  Tab().Open(dir / "photo.bmp");
  Tab().RxSlider1Change(10);
  Tab().Clear();
  EXPECT_EQ(heard, (std::vector<std::string>{"Sorry, it is not a correct file format!!", "No picture is open",
                                             "pane 2", "busy", "pane 3", "busy", "pane 3", "pane 2", "pane 3"}));
}

// Results made on a worker: the queue of the user-interface thread hands them over, and a
// setting changed meanwhile drops the older ones.
TEST_F(JpegTab, InTheBackgroundOnlyTheLatestSettingsResultShows) {
  int results = 0, stateChanges = 0;
  tab = std::make_unique<TJpegWorkflow>(
      TJpegWorkflowSeam{[this](const std::string& text) { messages.push_back(text); },
                        [this](const std::string& message) { errors.push_back(message); }, {},
                        [&](int pane) { results += pane == 3; }, [&] { ++stateChanges; }},
      dir);
  Tab().RecompressInBackground();
  Tab().Open(dir / "photo.bmp");
  EXPECT_TRUE(Tab().Recompressing());
  EXPECT_FALSE(Tab().State().TrackBarEnabled()) << "the first result sets the value controls";
  Tab().WaitForResult();
  EXPECT_EQ(Tab().State().Edit2, "40");
  EXPECT_EQ(Temporary(), JpegBytes(photo, 60));

  results = stateChanges = 0;
  for (int position = 41; position <= 50; ++position) Tab().RxSlider1Change(position);
  EXPECT_TRUE(Tab().State().TrackBarEnabled());
  EXPECT_EQ(Tab().State().Cursor, TCursor::crAppStart);
  Tab().WaitForResult();
  EXPECT_EQ(results, 1);
  EXPECT_EQ(stateChanges, 1);
  EXPECT_EQ(Tab().State().Cursor, TCursor::crDefault);
  EXPECT_EQ(Temporary(), JpegBytes(photo, 50));
  EXPECT_EQ(Tab().ResultSize(), int64_t(Temporary().size()));
  EXPECT_EQ(Tab().State().CurrentSize, FormatByteSize(Tab().ResultSize()));

  // Pictures are read on a worker too: the tab stays as it is until one arrives, and a
  // later Open drops the one asked for before.
  test::PhotoBitmap small(20, 10);
  small.SaveToFile(dir / "small.bmp");
  Tab().Open(dir / "missing.bmp");
  Tab().Open(dir / "small.bmp");
  EXPECT_EQ(Tab().State().LBSrcFN, "photo.bmp");
  Tab().WaitForResult();
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Tab().State().LBSrcFN, "small.bmp");
  EXPECT_EQ(Tab().Image2().Width(), 20);
  EXPECT_EQ(Temporary(), JpegBytes(small, 60));
  Tab().Open(dir / "missing.bmp");
  Tab().WaitForResult();
  EXPECT_EQ(messages, std::vector<std::string>{"Sorry, it is not a correct file format!!"});
  EXPECT_EQ(Tab().State().LBSrcFN, "small.bmp");

  Tab().RadioButtonClick(4);
  Tab().Open(dir / "photo.bmp");
  Tab().Clear();  // what arrives now is dropped
  EXPECT_FALSE(Tab().Recompressing());
  EXPECT_EQ(Tab().State().Cursor, TCursor::crDefault);
  Tab().RxSlider1Change(70);
  tab.reset();  // waits for the worker; nothing reaches the gone workflow
  while (CheckSynchronize(50)) {
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(JpegTab, AFailedResultInTheBackgroundLeavesTheValueControlsDisabled) {
  std::filesystem::path notADirectory = dir / "plain-file";
  WriteFileAtomically(notADirectory, std::vector<uint8_t>{1});
  TJpegWorkflow tab(TJpegWorkflowSeam{[this](const std::string& text) { messages.push_back(text); },
                                      [this](const std::string& message) { errors.push_back(message); }},
                    notADirectory);
  tab.RecompressInBackground();
  tab.Open(dir / "photo.bmp");
  tab.WaitForResult();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Cannot create file " + (notADirectory / "Tmp.jpg").string() + ": Not a directory");
  EXPECT_FALSE(tab.State().TrackBarEnabled());
  EXPECT_EQ(tab.State().Cursor, TCursor::crAppStart);
}

TEST(SizeTexts, GroupAndFormatByteCounts) {
  EXPECT_EQ(GroupDigits(0), "0");
  EXPECT_EQ(GroupDigits(999), "999");
  EXPECT_EQ(GroupDigits(1000), "1,000");
  EXPECT_EQ(GroupDigits(123456), "123,456");
  EXPECT_EQ(GroupDigits(1234567), "1,234,567");
  EXPECT_EQ(FormatByteSize(0), "0 Bytes ");
  EXPECT_EQ(FormatByteSize(1024), "1,024 Bytes ");
  EXPECT_EQ(FormatByteSize(1025), "1,025 Bytes (1 KB)");
  EXPECT_EQ(FormatByteSize(2000000), "2,000,000 Bytes (1,953 KB)");
}

TEST(FileNames, ExtensionsAndErrorReportTexts) {
  EXPECT_EQ(StripExtension("photo.JPG"), "photo");
  EXPECT_EQ(StripExtension("archive.tar.gz"), "archive.tar");
  EXPECT_EQ(StripExtension("dir.d/photo"), "dir.d/photo");
  EXPECT_EQ(StripExtension("photo"), "photo");
  EXPECT_EQ(ExtensionOf("a/photo.jpeg"), ".jpeg");
  EXPECT_EQ(ErrorReportText("Disk full"), "Disk full.");
  EXPECT_EQ(ErrorReportText("Done."), "Done.");
  EXPECT_EQ(ErrorReportText("Why?"), "Why?.");
  EXPECT_EQ(ErrorReportText("Oops!"), "Oops!");
}

}  // namespace corvane
