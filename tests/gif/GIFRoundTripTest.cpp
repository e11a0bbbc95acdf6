// Every GIF the tests build or ship is loaded and saved; an independent decoder reads the
// saved file back to the same screen, tables, frame geometry and pixels, and saving again
// gives the same bytes.

#include <gtest/gtest.h>

#include <filesystem>

#include "GifTestSupport.h"
#include "platform/FileUtils.h"
#include "support/GiflibReader.h"

namespace corvane::test {
namespace {

std::vector<TGiflibColor> PaddedTable(const TGIFColorMap& table) {
  std::vector<TGiflibColor> colors;
  if (table.EntryCount() == 0) return colors;
  colors.resize(size_t(1) << table.TableDepth());
  for (int i = 0; i < table.EntryCount(); ++i)
    colors[size_t(i)] = {table.Entries()[3 * i], table.Entries()[3 * i + 1], table.Entries()[3 * i + 2]};
  return colors;
}

void ExpectRoundTrip(const TBytes& file, const std::string& name) {
  SCOPED_TRACE(name);
  TLoaded loaded = Load(file);
  ASSERT_EQ(loaded.Error, "");
  TGIFImage& image = *loaded.Image;
  TBytes saved = Save(image);
  EXPECT_EQ(Save(image), saved) << "saving twice";

  TGiflibImage decoded = DecodeWithGiflib(saved);
  EXPECT_EQ(decoded.Width, image.Width());
  EXPECT_EQ(decoded.Height, image.Height());
  EXPECT_EQ(decoded.GlobalTable, PaddedTable(image.Header().GlobalTable()));
  std::vector<TGIFSubImage*> frames;
  for (int i = 0; i < image.FrameCount(); ++i)
    if (!image.Frame(i).IsBlank()) frames.push_back(&image.Frame(i));
  ASSERT_EQ(decoded.Frames.size(), frames.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    const TGIFSubImage& frame = *frames[i];
    const TGiflibFrame& theirs = decoded.Frames[i];
    EXPECT_EQ(theirs.Left, frame.FrameLeft());
    EXPECT_EQ(theirs.Top, frame.FrameTop());
    EXPECT_EQ(theirs.Width, frame.FrameWidth());
    EXPECT_EQ(theirs.Height, frame.FrameHeight());
    EXPECT_EQ(theirs.Interlaced, frame.IsInterlaced());
    EXPECT_EQ(theirs.LocalTable, PaddedTable(frame.LocalTable()));
    EXPECT_TRUE(theirs.Pixels == TBytes(frame.PixelData(), frame.PixelData() + frame.PixelDataSize()));
    if (const TGIFGraphicControlExtension* control = frame.ControlBlock()) {
      EXPECT_EQ(theirs.DisposalMode, control->Disposal());
      EXPECT_EQ(theirs.DelayTime, control->DelayTime());
      EXPECT_EQ(theirs.TransparentIndex, control->Transparent() ? control->TransparentIndex() : -1);
    }
  }
  TLoaded again = Load(saved);
  ASSERT_EQ(again.Error, "");
  EXPECT_EQ(Save(*again.Image), saved) << "the saved file reads back to the same image";
}

TEST(GIFRoundTrip, Samples) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(CORVANE_SAMPLES_DIR)) {
    if (entry.path().extension() != ".gif") continue;
    ExpectRoundTrip(ReadWholeFile(entry.path()), entry.path().filename().string());
    ++count;
  }
  EXPECT_GE(count, 4);
}

TEST(GIFRoundTrip, InterlacedFramesOfEveryShortHeight) {
  for (int height = 1; height <= 9; ++height) {
    TGifBuilder gif(7, height);
    gif.GlobalTable(3).Image(0, 0, 7, height, Ramp(size_t(7 * height), 8), 3, 0, true);
    ExpectRoundTrip(gif.Trailer().Data(), "height " + std::to_string(height));
  }
}

TEST(GIFRoundTrip, CodeSizesAndLocalTables) {
  for (int bits = 1; bits <= 8; ++bits) {
    TGifBuilder gif(40, 30, "GIF87a");
    gif.GlobalTable(bits).Image(0, 0, 40, 30, Ramp(1200, 1 << bits), std::max(bits, 2));
    gif.Image(5, 6, 17, 9, Ramp(153, 1 << bits), std::max(bits, 2), bits);
    gif.Image(39, 29, 1, 1, {0}, 2);
    ExpectRoundTrip(gif.Trailer().Data(), "bits " + std::to_string(bits));
  }
}

TEST(GIFRoundTrip, AnimationWithEveryKindOfExtension) {
  TGifBuilder gif(64, 48);
  gif.GlobalTable(4).ScreenBytes(3, 49).Loop(0).Comment({"first", std::string(300, 'x')});
  gif.Application("XMP DataXMP", {TBytes(255, 'a'), TBytes(17, 'b')});
  for (int f = 0; f < 5; ++f) {
    gif.Control(f % 4, 5 * f, f % 2 ? 2 * f : -1);
    if (f == 3) gif.PlainText({"caption"});
    gif.Image(f * 3, f * 2, 40, 30, Ramp(1200, 16), 4, f == 2 ? 5 : 0, f == 4);
  }
  gif.Comment({"after the last image"});
  ExpectRoundTrip(gif.Trailer().Data(), "animation");
}

TEST(GIFRoundTrip, ImagesBuiltInMemory) {
  TGIFImage image;
  AddGreys(image.Header().GlobalTable(), 5);
  AddFrame(image, 0, 0, 300, 200, Ramp(60000, 5));
  TGIFSubImage& single = AddFrame(image, 10, 10, 200, 100, TBytes(20000, 1));
  AddExtension<TGIFGraphicControlExtension>(single).SetTransparent(true);
  TGIFSubImage& wide = AddFrame(image, 0, 0, 4096, 2, Ramp(8192, 3));
  AddGreys(wide.LocalTable(), 3);
  ExpectRoundTrip(Save(image), "in memory");
}

// A blank frame is written as its extensions only; its local table must not leave a trace in
// the screen descriptor either, or the file read back would save differently.
TEST(GIFRoundTrip, ABlankFrameWithALocalTableSavesAsItReadsBack) {
  TGIFImage image;
  image.Header().CanvasWidth = 8;
  AddExtension<TGIFCommentExtension>(AddFrame(image, 0, 0, 0, 0)).FTextLines = {"kept"};
  AddGreys(AddFrame(image, 0, 0, 0, 0).LocalTable(), 2);
  TBytes saved = Save(image);
  TLoaded again = Load(saved);
  ASSERT_EQ(again.Error, "");
  EXPECT_EQ(Save(*again.Image), saved);
}

}  // namespace
}  // namespace corvane::test
