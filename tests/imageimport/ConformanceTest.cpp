// The conformance walk: every picture of tests/data/import/ against the pixels beside it
// (see make-data.py there), PngSuite against its expected pixels and bmpsuite against
// the expected pictures of tests/data/import/bmpsuite/, the suites read in place.

#include <gtest/gtest.h>
#include <png.h>

#include <fstream>
#include <sstream>

#include "ImportTestSupport.h"
#include "imageimport/ImportedPicture.h"
#include "platform/Exceptions.h"

namespace corvane {

namespace {

namespace fs = std::filesystem;

const fs::path kDataDir = CORVANE_IMPORT_DATA_DIR;
const fs::path kSuitesDir = CORVANE_TESTIMAGES_DIR;

// Straight RGBA samples, 8 bits each, row after row.
struct TExpected {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Rgba;
};

TExpected ReadExpectedPng(const fs::path& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) throw std::runtime_error("unreadable " + file.string());
  image.format = PNG_FORMAT_RGBA;
  TExpected expected{int(image.width), int(image.height), std::vector<uint8_t>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, expected.Rgba.data(), 0, nullptr))
    throw std::runtime_error("unreadable " + file.string());
  return expected;
}

// PngSuite's expected pixels: a JSON array of r, g, b, a values, 16-bit ones scaled
// to 8 bits.
std::vector<uint8_t> ReadJsonSamples(const fs::path& file, bool sixteenBit) {
  std::ifstream in(file);
  std::vector<uint8_t> samples;
  int value = 0;
  char c;
  while (in >> c)
    if (c >= '0' && c <= '9') {
      in.unget();
      in >> value;
      samples.push_back(uint8_t(sixteenBit ? (value * 255 + 32767) / 65535 : value));
    }
  return samples;
}

// "" when the picture opens and shows the samples composed onto white within tolerance;
// otherwise what went wrong.
std::string Compare(const fs::path& input, int width, int height, const std::vector<uint8_t>& rgba, int tolerance) {
  std::unique_ptr<TBitmap> bitmap;
  try {
    bitmap = test::OpenPicture(input);
  } catch (const std::exception& e) {
    return std::string("refused: ") + e.what();
  }
  if (bitmap->Width() != width || bitmap->Height() != height)
    return "size " + std::to_string(bitmap->Width()) + " x " + std::to_string(bitmap->Height()) + ", expected " +
           std::to_string(width) + " x " + std::to_string(height);
  if (rgba.size() != size_t(width) * size_t(height) * 4) return "expected pixels of the wrong count";
  int wrong = 0;
  std::string first;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
      TColor got = bitmap->PixelColor(x, y);
      int shown[3] = {RedOf(got), GreenOf(got), BlueOf(got)};
      for (int c = 0; c < 3; ++c)
        if (std::abs(shown[c] - OntoWhite(p[c], p[3])) > tolerance) {
          if (wrong++ == 0)
            first = "(" + std::to_string(x) + ", " + std::to_string(y) + ") channel " + std::to_string(c) + " is " +
                    std::to_string(shown[c]) + ", expected " + std::to_string(OntoWhite(p[c], p[3]));
          break;
        }
    }
  return wrong ? std::to_string(wrong) + " pixels differ, first " + first : "";
}

std::string ExpectRefused(const fs::path& input) {
  try {
    test::OpenPicture(input);
  } catch (const EInvalidGraphic& e) {
    return std::string(e.what()).empty() ? "refused without a reason" : "";
  } catch (const std::exception& e) {
    return std::string("refused with an error of the wrong kind: ") + e.what();
  }
  return "opened, expected a refusal";
}

// Walks one folder's notes.txt: "<input> <tolerance or 'refused'> <note>". inputs is
// where the inputs are, the folder itself unless they are a shared suite's.
void WalkNotes(const fs::path& folder, const fs::path& inputs, std::vector<std::string>& failures) {
  std::ifstream notes(folder / "notes.txt");
  ASSERT_TRUE(notes) << folder;
  std::string line;
  while (std::getline(notes, line)) {
    std::istringstream fields(line);
    std::string name, tolerance;
    if (!(fields >> name >> tolerance)) continue;
    std::string failure;
    if (tolerance == "refused") {
      failure = ExpectRefused(inputs / name);
    } else {
      TExpected expected = ReadExpectedPng(folder / (name + ".png"));
      failure = Compare(inputs / name, expected.Width, expected.Height, expected.Rgba, std::stoi(tolerance));
    }
    if (!failure.empty()) failures.push_back(folder.filename().string() + "/" + name + ": " + failure);
  }
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace

TEST(Conformance, EveryDataFolderPictureShowsItsExpectedPixels) {
  std::vector<std::string> failures;
  int folders = 0;
  for (const auto& entry : fs::directory_iterator(kDataDir)) {
    if (!entry.is_directory() || entry.path().filename() == "bmpsuite") continue;
    WalkNotes(entry.path(), entry.path(), failures);
    ++folders;
  }
  EXPECT_GT(folders, 5);
  EXPECT_TRUE(failures.empty()) << Joined(failures);
}

TEST(Conformance, PngSuiteShowsItsSamplesAndRefusesItsCorruptFiles) {
  fs::path suite = kSuitesDir / "pngsuite";
  if (!fs::is_directory(suite)) GTEST_SKIP() << "no PngSuite at " << suite;
  std::vector<std::string> failures;
  for (const auto& entry : fs::directory_iterator(suite / "png")) {
    std::string stem = entry.path().stem().string();
    std::string failure;
    if (stem[0] == 'x') {
      failure = ExpectRefused(entry.path());
    } else {
      // 16-bit samples are compared with their 8-bit rounding, which may differ by one;
      // the name tells the depth, and some 16-bit files come with the samples scaled.
      bool wide = stem.substr(6, 2) == "16", scaled = fs::exists(suite / "json" / (stem + "_to8.json"));
      std::vector<uint8_t> rgba =
          ReadJsonSamples(suite / "json" / (stem + (scaled ? "_to8" : "") + ".json"), wide && !scaled);
      TExpected size;
      png_image image{};
      image.version = PNG_IMAGE_VERSION;
      if (png_image_begin_read_from_file(&image, entry.path().c_str())) size = {int(image.width), int(image.height), {}};
      png_image_free(&image);
      failure = Compare(entry.path(), size.Width, size.Height, rgba, wide ? 1 : 0);
    }
    if (!failure.empty()) failures.push_back(entry.path().filename().string() + ": " + failure);
  }
  EXPECT_TRUE(failures.empty()) << Joined(failures);
}

TEST(Conformance, BmpSuiteShowsTheGoodFilesAndSurvivesTheBadOnes) {
  fs::path suite = kSuitesDir / "bmpsuite";
  if (!fs::is_directory(suite)) GTEST_SKIP() << "no bmpsuite at " << suite;
  std::vector<std::string> failures;
  WalkNotes(kDataDir / "bmpsuite", suite, failures);
  // The rest, which neither independent decoder reads, must open or be refused cleanly.
  for (const char* group : {"q", "b"})
    for (const auto& entry : fs::directory_iterator(suite / group)) {
      fs::path name = fs::path(group) / entry.path().filename();
      if (fs::exists(kDataDir / "bmpsuite" / (name.string() + ".png"))) continue;
      try {
        if (test::OpenPicture(entry.path())->Width() <= 0) failures.push_back(name.string() + ": no pixels");
      } catch (const EInvalidGraphic&) {
      }
    }
  EXPECT_TRUE(failures.empty()) << Joined(failures);
}

}  // namespace corvane
