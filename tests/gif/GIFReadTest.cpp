// Reading GIF files: signatures, block structure, every kind of extension, and the warnings
// and errors for irregular data.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "GifTestSupport.h"

namespace corvane::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A 4 × 2 screen with a 4-entry global table.
TGifBuilder Screen(const std::string& signature = "GIF89a") {
  TGifBuilder gif(4, 2, signature);
  gif.GlobalTable(2);
  return gif;
}

const TBytes kPixels = {0, 1, 2, 3, 3, 2, 1, 0};

TEST(GIFRead, SignatureCaseVersionAndPrefix) {
  for (const char* signature : {"gif89a", "GIF12x"}) {
    TLoaded loaded = Load(Screen(signature).Image(0, 0, 4, 2, kPixels, 2).Trailer().Data());
    ASSERT_EQ(loaded.Error, "") << signature;
    EXPECT_EQ(loaded.Image->FrameCount(), 1);
    TBytes saved = Save(*loaded.Image);
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 6), "GIF87a") << "the version is computed";
  }
  TBytes file = Screen().Image(0, 0, 4, 2, kPixels, 2).Trailer().Data();
  TBytes prefixed = {1, 2, 3, 4};
  prefixed.insert(prefixed.end(), file.begin(), file.end());
  EXPECT_EQ(Load(prefixed).Error, "");
  prefixed.insert(prefixed.begin(), 5);
  EXPECT_EQ(Load(prefixed).Error, "Invalid GIF signature");
}

TEST(GIFRead, MissingTrailerAndZeroBytesBetweenBlocks) {
  TLoaded loaded = Load(Screen().Image(0, 0, 4, 2, kPixels, 2).Data());
  EXPECT_EQ(loaded.Error, "");
  EXPECT_THAT(loaded.Warnings, IsEmpty());
  EXPECT_EQ(loaded.Image->FrameCount(), 1);

  loaded = Load(Screen().Byte(0).Byte(0).Image(0, 0, 4, 2, kPixels, 2).Bytes({0, 0, 0}).Trailer().Data());
  EXPECT_EQ(loaded.Error, "");
  EXPECT_THAT(loaded.Warnings, IsEmpty());
  EXPECT_EQ(loaded.Image->FrameCount(), 1);
  EXPECT_EQ(loaded.Image->Frame(0).PixelAt(3, 1), 0);
}

TEST(GIFRead, UnknownBlockEndsTheFramesWithWarnings) {
  TLoaded loaded = Load(Screen().Image(0, 0, 4, 2, kPixels, 2).Byte(0x2A).Image(0, 0, 4, 2, kPixels, 2).Data());
  EXPECT_EQ(loaded.Error, "");
  EXPECT_THAT(loaded.Warnings, ElementsAre("Unknown GIF block type", "Invalid Image trailer"));
  EXPECT_EQ(loaded.Image->FrameCount(), 1);
}

TEST(GIFRead, UnknownExtensionFailsAndRewinds) {
  TBytes file = Screen().Image(0, 0, 4, 2, kPixels, 2).Bytes({0x21, 0x02, 0}).Image(0, 0, 4, 2, kPixels, 2).Data();
  TLoaded loaded = Load(file);
  EXPECT_EQ(loaded.Error, "Unknown extension type");
  EXPECT_EQ(loaded.EndPosition, 0);
  EXPECT_EQ(loaded.Image->FrameCount(), 1) << "the frames read before stay";
}

TEST(GIFRead, ExtensionsAfterTheLastImageFormAFrameWithoutPixels) {
  TLoaded loaded = Load(Screen().Image(0, 0, 4, 2, kPixels, 2).Comment({"end"}).Trailer().Data());
  ASSERT_EQ(loaded.Image->FrameCount(), 2);
  TGIFSubImage& last = loaded.Image->Frame(1);
  EXPECT_TRUE(last.IsBlank());
  ASSERT_EQ(last.Extensions().MemberCount(), 1);
  TBytes saved = Save(*loaded.Image);
  const TBytes tail = {0x21, 0xFE, 3, 'e', 'n', 'd', 0, 0x3B};
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), saved.end() - long(tail.size())));
}

TEST(GIFRead, TextSubBlocksAreCutAtZeroAndSplitWhenWritten) {
  TLoaded loaded = Load(Screen().Bytes({0x21, 0xFE, 5, 'a', 'b', 0, 'c', 'd', 0}).Image(0, 0, 4, 2, kPixels, 2).Data());
  auto& comment = dynamic_cast<TGIFCommentExtension&>(loaded.Image->Frame(0).Extensions().Extension(0));
  EXPECT_THAT(comment.FTextLines, ElementsAre("ab"));

  comment.FTextLines = {std::string(300, 'x'), ""};
  TMemoryStream stream;
  comment.SaveToStream(stream);
  const TBytes& bytes = stream.Bytes();
  ASSERT_EQ(bytes.size(), 2 + 1 + 255 + 1 + 45 + 1);
  EXPECT_EQ(bytes[2], 255);
  EXPECT_EQ(bytes[258], 45);
  EXPECT_EQ(bytes.back(), 0);
}

TEST(GIFRead, ControlExtensionCutShort) {
  TLoaded loaded = Load(Screen().Bytes({0x21, 0xF9, 4, 0x05, 7}).Data());
  EXPECT_EQ(loaded.Error, "");
  EXPECT_THAT(loaded.Warnings, ElementsAre("Premature end of data"));
  ASSERT_EQ(loaded.Image->FrameCount(), 1);
  TGIFGraphicControlExtension* control = loaded.Image->Frame(0).ControlBlock();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->ControlFlags(), 0x05);
  // The flags are kept as read; the file ends before an image they could apply to.
  EXPECT_TRUE(loaded.Image->Frame(0).IsBlank());
}

TEST(GIFRead, ControlExtensionFillsTheFrameWithItsTransparentIndex) {
  // The data ends after 3 pixels: the frame keeps the row they start, the rest of it holding
  // the transparent index.
  TLoaded loaded = Load(Screen().Control(2, 10, 3).Image(0, 0, 4, 2, {1, 2, 0}, 2).Data());
  EXPECT_EQ(loaded.Error, "");
  TGIFSubImage& frame = loaded.Image->Frame(0);
  EXPECT_TRUE(frame.HasTransparency());
  EXPECT_EQ(frame.ControlBlock()->Disposal(), 2);
  EXPECT_EQ(frame.ControlBlock()->DelayTime(), 10);
  ASSERT_EQ(frame.BoundsRect(), (TRect{0, 0, 4, 1}));
  EXPECT_EQ(TBytes(frame.PixelData(), frame.PixelData() + 4), (TBytes{1, 2, 0, 3}));
}

TEST(GIFRead, ApplicationBlockSizes) {
  TLoaded loaded = Load(Screen().Application("ABCDEFGHIJ", {{1, 2}}).Image(0, 0, 4, 2, kPixels, 2).Data());
  ASSERT_EQ(loaded.Error, "");
  auto* app = dynamic_cast<TGIFUnknownAppExtension*>(&loaded.Image->Frame(0).Extensions().Extension(0));
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->FIdentBytes[10], 0);
  TBytes saved = Save(*loaded.Image);
  const TBytes written = {0x21, 0xFF, 11, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 0, 2, 1, 2, 0};
  EXPECT_NE(std::search(saved.begin(), saved.end(), written.begin(), written.end()), saved.end());

  EXPECT_EQ(Load(Screen().Application("ABCDEFGH", {}).Data()).Error, "Unsupported Application Extension block size");
}

TEST(GIFRead, LongApplicationIdentifierBlockIsKeptWhole) {
  TBytes extension = TGifBuilder(0, 0).Application("NETSCAPE2.0xyz", {{1, 5, 0}, {9, 9, 9}}).Data();
  extension.erase(extension.begin(), extension.begin() + 13);
  TLoaded loaded = Load(Screen().Bytes(extension).Image(0, 0, 4, 2, kPixels, 2).Trailer().Data());
  ASSERT_EQ(loaded.Error, "");
  auto* app = dynamic_cast<TGIFUnknownAppExtension*>(&loaded.Image->Frame(0).Extensions().Extension(0));
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->FRawBlocks.size(), 2u);
  TBytes saved = Save(*loaded.Image);
  EXPECT_NE(std::search(saved.begin(), saved.end(), extension.begin(), extension.end()), saved.end());
}

TEST(GIFRead, LoopingExtension) {
  TLoaded loaded = Load(Screen().Loop(5).Image(0, 0, 4, 2, kPixels, 2).Data());
  auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(&loaded.Image->Frame(0).Extensions().Extension(0));
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(loop->FRepeatCount, 5);
  TMemoryStream stream;
  loop->SaveToStream(stream);
  const TBytes expected = {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 5, 0, 0};
  EXPECT_EQ(stream.Bytes(), expected);

  loaded = Load(Screen().Application("ANIMEXTS1.0", {{1, 2, 0}, {2, 0, 1, 0, 0}}).Image(0, 0, 4, 2, kPixels, 2).Data());
  loop = dynamic_cast<TGIFAppExtNSLoop*>(&loaded.Image->Frame(0).Extensions().Extension(0));
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(loop->FRepeatCount, 2);
  EXPECT_EQ(loop->FBufferHint, 256u);
  EXPECT_EQ(loop->IdentifierText(), "ANIMEXTS1.0");

  EXPECT_EQ(Load(Screen().Application("NETSCAPE2.0", {{1, 5}}).Data()).Error, "Invalid GIF data");
}

TEST(GIFRead, PlainTextExtension) {
  TLoaded loaded = Load(Screen().PlainText({"Hi", "there"}).Image(0, 0, 4, 2, kPixels, 2).Data());
  auto* text = dynamic_cast<TGIFTextExtension*>(&loaded.Image->Frame(0).Extensions().Extension(0));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GridWidth, 80);
  EXPECT_EQ(text->CellHeight, 16);
  EXPECT_THAT(text->FTextLines, ElementsAre("Hi", "there"));
}

TEST(GIFRead, InvalidIntroducerInAnExtensionList) {
  // After the control block comes 0x2A: the list ends and the frame reads its descriptor there.
  TGifBuilder gif = Screen();
  gif.Control(1, 0).Byte(0x2A).Word(0).Word(0).Word(4).Word(2).Byte(0).Bytes(CodePixels(kPixels, 2));
  TLoaded loaded = Load(gif.Data());
  EXPECT_EQ(loaded.Error, "");
  EXPECT_THAT(loaded.Warnings, ElementsAre("Invalid extension introducer"));
  ASSERT_EQ(loaded.Image->FrameCount(), 1);
  EXPECT_EQ(loaded.Image->Frame(0).SeparatorByte(), 0x2A);
  EXPECT_EQ(loaded.Image->Frame(0).PixelAt(1, 0), 1);
  TBytes saved = Save(*loaded.Image);
  const TBytes descriptor = {0x2C, 0, 0, 0, 0, 4, 0, 2, 0, 0};
  EXPECT_NE(std::search(saved.begin(), saved.end(), descriptor.begin(), descriptor.end()), saved.end())
      << "written with the image separator";
}

TEST(GIFRead, ZeroSizedFrameTakesTheScreen) {
  TGifBuilder gif = Screen();
  gif.Descriptor(0, 0, 0, 2).Bytes(CodePixels(kPixels, 2));
  TLoaded loaded = Load(gif.Data());
  EXPECT_THAT(loaded.Warnings, ElementsAre("Image exceeds Logical Screen size"));
  EXPECT_EQ(loaded.Image->Frame(0).FrameWidth(), 4);
  EXPECT_EQ(loaded.Image->Frame(0).FrameHeight(), 2);
}

TEST(GIFRead, GlobalTableSortFlagIsNotTakenOver) {
  TBytes file = Screen().Image(0, 0, 4, 2, kPixels, 2).Data();
  file[10] |= 0x08;
  TLoaded loaded = Load(file);
  EXPECT_FALSE(loaded.Image->Header().GlobalTable().UsageOrdered());
  EXPECT_EQ(Save(*loaded.Image)[10] & 0x08, 0);
}

TEST(GIFRead, ProgressIsReportedWhileLoading) {
  TGIFImage image;
  std::vector<int> percents;
  image.OnProgress = [&](TPersistent*, TProgressStage, uint8_t percent, bool, const TRect&, const std::string& message) {
    EXPECT_EQ(message, "Loading...");
    percents.push_back(percent);
  };
  TMemoryStream stream(Screen().Image(0, 0, 4, 2, kPixels, 2).Image(0, 0, 4, 2, kPixels, 2).Data());
  image.LoadFromStream(stream);
  ASSERT_EQ(percents.size(), 4u);
  EXPECT_EQ(percents.front(), 0);
  EXPECT_EQ(percents.back(), 100);
}

}  // namespace
}  // namespace corvane::test
