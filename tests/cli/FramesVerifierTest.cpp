// The pictures the program shows for an animation, against the optimizer verifier's
// composition as browsers show it: for the samples and for generated animations, played in
// process and written by 'corvane frames'. Where the composition is opaque the colours are
// equal; where it is transparent the program shows its fill colour. Only files that both
// read alike take part: every frame has pixels (the program ends a pass at one without),
// has at most one control extension (browsers follow the last, the program its first for
// transparency) and disposes with 0 to 3 (browsers and the program differ on 4 to 7).

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "AnimationCorpus.h"
#include "gif/GIFImage.h"
#include "gifrender/GIFImageDrawing.h"
#include "gifrender/GIFPlayback.h"
#include "gifopt/AnimationComposer.h"
#include "platform/FileUtils.h"

namespace corvane {

namespace {

using test::TBytes;
using test::TCorpusFile;

// The colour of picture pixel (x, y) as 0x00BBGGRR.
using TPictureColors = std::vector<TColor>;

std::unique_ptr<TGIFImage> LoadGif(const TBytes& bytes) {
  auto image = std::make_unique<TGIFImage>();
  TMemoryStream stream(bytes);
  image->LoadFromStream(stream);
  return image;
}

bool ShownAlike(const TGIFImage& image) {
  if (image.Empty() || image.Width() == 0 || image.Height() == 0) return false;
  for (int i = 0; i < image.FrameCount(); ++i) {
    const TGIFSubImage& frame = image.Frame(i);
    if (frame.IsBlank()) return false;
    int controls = 0;
    for (int j = 0; j < frame.Extensions().MemberCount(); ++j)
      if (auto* control = dynamic_cast<const TGIFGraphicControlExtension*>(&frame.Extensions().Extension(j))) {
        if (++controls > 1 || control->Disposal() > 3) return false;
      }
  }
  return true;
}

TPictureColors ColorsOf(const TBitmap& bitmap) {
  TPictureColors colors;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) colors.push_back(bitmap.PixelColor(x, y));
  return colors;
}

std::vector<TPictureColors> PlayedInProcess(TGIFImage& image) {
  std::vector<TPictureColors> pictures;
  PlayOnce(image, [&](const TBitmap& picture, int, int64_t) { pictures.push_back(ColorsOf(picture)); });
  return pictures;
}

TPictureColors ReadPng(const std::filesystem::path& file, int width, int height) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  TPictureColors colors;
  if (!png_image_begin_read_from_file(&png, file.c_str())) return colors;
  png.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
  bool read = int(png.width) == width && int(png.height) == height &&
              png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr);
  png_image_free(&png);
  if (!read) return colors;
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) colors.push_back(MakeColor(rgb[i], rgb[i + 1], rgb[i + 2]));
  return colors;
}

// Runs the program on the file and reads the pictures it wrote, in the order of their names.
std::vector<TPictureColors> WrittenByTheProgram(const TBytes& bytes, int width, int height) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("corvane-frames-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  WriteFileAtomically(dir / "in.gif", bytes);
  std::string command = std::string(CORVANE_PROGRAM) + " frames " + (dir / "in.gif").string() + " " +
                        (dir / "out").string() + " >/dev/null";
  std::vector<TPictureColors> pictures;
  if (std::system(command.c_str()) == 0) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "out")) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) pictures.push_back(ReadPng(file, width, height));
  }
  std::filesystem::remove_all(dir);
  return pictures;
}

void ExpectComposedAlike(TGIFImage& image, const std::vector<TPictureColors>& ours, const std::string& name) {
  TAnimationComposer composer(image);
  TColor fill = PaintFillColor(image);
  size_t picture = 0;
  while (composer.NextFrame()) {
    composer.DrawFrame();
    ASSERT_LT(picture, ours.size()) << name << ": the program shows fewer pictures";
    const TPictureColors& shown = ours[picture];
    ASSERT_EQ(shown.size(), composer.Screen().size()) << name << " picture " << picture;
    int differences = 0;
    for (size_t p = 0; p < shown.size(); ++p) {
      TRGBA composed = composer.Screen()[p];
      TColor expected = (composed & kOpaque) == kOpaque ? TColor(composed & 0xFFFFFF) : fill;
      if (shown[p] != expected && ++differences == 1)
        ADD_FAILURE() << name << " picture " << picture << " at " << p % size_t(composer.Width()) << ","
                      << p / size_t(composer.Width()) << ": " << std::hex << shown[p] << " instead of " << expected;
    }
    ++picture;
  }
  EXPECT_EQ(picture, ours.size()) << name << ": the program shows more pictures";
}

std::vector<TCorpusFile> Samples() {
  std::vector<TCorpusFile> samples;
  for (const auto& entry : std::filesystem::directory_iterator(CORVANE_SAMPLES_DIR))
    if (entry.path().extension() == ".gif")
      samples.push_back({entry.path().filename().string(), ReadWholeFile(entry.path())});
  return samples;
}

// Plays every file that both read alike and answers how many did.
int CompareAll(const std::vector<TCorpusFile>& files, bool throughTheProgram, int most = INT32_MAX) {
  int compared = 0;
  for (const TCorpusFile& file : files) {
    if (compared == most) break;
    std::unique_ptr<TGIFImage> image = LoadGif(file.Bytes);
    if (!ShownAlike(*image)) continue;
    std::vector<TPictureColors> ours = throughTheProgram
                                           ? WrittenByTheProgram(file.Bytes, image->Width(), image->Height())
                                           : PlayedInProcess(*image);
    ExpectComposedAlike(*image, ours, file.Name);
    ++compared;
  }
  return compared;
}

}  // namespace

TEST(FramesAgainstTheVerifier, SamplesAreShownAsBrowsersShowThem) {
  EXPECT_EQ(CompareAll(Samples(), false), 4);
  EXPECT_EQ(CompareAll(Samples(), true), 4);
}

TEST(FramesAgainstTheVerifier, GeneratedAnimationsAreShownAsBrowsersShowThem) {
  std::vector<TCorpusFile> pairs = test::DisposalPairCorpus();
  EXPECT_GT(CompareAll(pairs, false), 1500);
  EXPECT_GT(CompareAll(test::RandomCorpus(1500, 20240601), false), 150);
  // Through the program, every twentieth of the disposal pairs.
  std::vector<TCorpusFile> some;
  for (size_t i = 0; i < pairs.size(); i += 20) some.push_back(pairs[i]);
  EXPECT_GT(CompareAll(some, true, 60), 50);
}

}  // namespace corvane
