// The GIF regression folder tests/data/gif/: each <case>.gif against its <case>.txt, which
// tells the load's warnings, the loop count, every frame's picture and time as browsers
// compose it, when the program's own player shows its pictures, and those pictures where they
// differ (the folder's README has the form). The file must show the same once written again
// and once optimized. With CORVANE_WRITE_GIF_DATA set the runner writes each .txt from what
// the program shows instead of comparing.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "OptimizeTestSupport.h"
#include "gifopt/AnimationComposer.h"
#include "gifopt/AnimationVerifier.h"
#include "gifopt/DeepOptimize.h"
#include "gifrender/GIFPlayback.h"
#include "platform/Display.h"
#include "platform/FileUtils.h"
#include "support/GiflibReader.h"

namespace corvane::test {
namespace {

namespace fs = std::filesystem;

const fs::path kDataDir = CORVANE_GIF_DATA_DIR;
// What the player shows where nothing covers the screen; no case uses the colour.
constexpr TColor kPage = MakeColor(1, 254, 3);

struct TFrameText {
  int Index = 0;
  std::string Timing;  // empty for the player's frames
  std::vector<TRGBA> Pixels;
  int64_t At = 0;  // the player's milliseconds since its first picture
  friend bool operator==(const TFrameText& a, const TFrameText& b) { return a.Index == b.Index && a.Pixels == b.Pixels; }
};

// One character a pixel: '.' transparent, letters for the common colours, the rest in turn.
class TLegend {
 public:
  char For(TRGBA color) {
    auto [at, added] = FChars.try_emplace(color, '?');
    if (!added) return at->second;
    static const std::map<TRGBA, char> kNamed = {{0, '.'},          {0xFF000000, 'k'}, {0xFFFFFFFF, 'W'},
                                                 {0xFF0000FF, 'R'}, {0xFF00FF00, 'G'}, {0xFFFF0000, 'B'},
                                                 {0xFF00FFFF, 'Y'}, {0xFFFFFF00, 'C'}, {0xFFFF00FF, 'M'}};
    static const std::string kOthers = "abcdefghijlmnopqrstuvwxyz0123456789ADEFHIJKLNOPQSTUVXZ";
    auto named = kNamed.find(color);
    if (named != kNamed.end()) return at->second = named->second;
    if (FNext == kOthers.size()) throw std::runtime_error("too many colours to write as letters");
    return at->second = kOthers[FNext++];
  }
  std::string Lines() const {
    std::string text;
    char line[32];
    for (auto [color, c] : FChars) {
      std::snprintf(line, sizeof line, "colour %c %02X%02X%02X\n", c, unsigned(color & 0xFF),
                    unsigned((color >> 8) & 0xFF), unsigned((color >> 16) & 0xFF));
      text += color == 0 ? "colour . transparent\n" : line;
    }
    return text;
  }

 private:
  std::map<TRGBA, char> FChars;
  size_t FNext = 0;
};

std::vector<TFrameText> ComposedFrames(const TGIFImage& image) {
  std::vector<TFrameText> frames;
  TAnimationComposer composer(image);
  while (composer.NextFrame()) {
    composer.DrawFrame();
    int index = composer.FrameIndex();
    std::string timing = " delay " + std::to_string(FrameDelay(image.Frame(index))) + " time " +
                         std::to_string(composer.FrameTime());
    frames.push_back({index, timing, composer.Screen()});
  }
  return frames;
}

std::vector<TFrameText> PlayedFrames(TGIFImage& image) {
  std::vector<TFrameText> frames;
  image.FDrawFillColor = kPage;
  PlayOnce(image, [&](const TBitmap& picture, int frame, int64_t at) {
    std::vector<TRGBA> pixels;
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) {
        TColor c = picture.PixelColor(x, y);
        pixels.push_back(c == kPage ? 0 : kOpaque | c);
      }
    frames.push_back({frame, "", std::move(pixels), at});
  });
  return frames;
}

// What a file shows, in the form of the .txt files.
std::string Describe(const TBytes& file) {
  TLoaded loaded = Load(file);
  if (!loaded.Error.empty()) return "refused " + loaded.Error + "\n";
  TGIFImage& image = *loaded.Image;
  std::string head = "screen " + std::to_string(image.Width()) + " x " + std::to_string(image.Height()) + "\n";
  for (const std::string& warning : loaded.Warnings) head += "warning " + warning + "\n";
  int loop = ViewerLoopCount(image);
  head += "loop " + (loop == kPlaysOnce ? "once" : loop == 0 ? "forever" : std::to_string(loop)) + "\n";
  std::vector<TFrameText> composed = ComposedFrames(image), played;
  std::string playerRefusal;
  try {
    played = PlayedFrames(image);
  } catch (const GIFException& e) {
    playerRefusal = "player refuses " + std::string(e.what()) + "\n";
  }
  TLegend legend;
  auto pictures = [&](const std::vector<TFrameText>& frames) {
    std::string text;
    for (const TFrameText& frame : frames) {
      text += "frame " + std::to_string(frame.Index) + frame.Timing + "\n";
      for (size_t p = 0; p < frame.Pixels.size(); ++p)
        text += std::string(1, legend.For(frame.Pixels[p])) + ((p + 1) % size_t(image.Width()) ? "" : "\n");
    }
    return text;
  };
  std::string body = pictures(composed);
  if (playerRefusal.empty()) {
    body += "player shows at";
    for (const TFrameText& frame : played) body += " " + std::to_string(frame.At);
    body += " ms\n";
    if (played != composed) body += "player\n" + pictures(played);
  }
  return head + legend.Lines() + body + playerRefusal;
}

std::string WithoutWarnings(const std::string& text) {
  std::istringstream lines(text);
  std::string line, kept;
  while (std::getline(lines, line))
    if (!line.starts_with("warning ")) kept += line + "\n";
  return kept;
}

TEST(GifDataFolder, EveryCaseShowsItsPicturesAlsoWrittenAgainAndOptimized) {
  const int displayBits = DisplayBitsPerPixel();
  SetDisplayBitsPerPixel(24);  // the player dithers on palette displays
  const bool write = std::getenv("CORVANE_WRITE_GIF_DATA") != nullptr;
  std::ifstream notes(kDataDir / "notes.txt");
  std::set<std::string> noted;
  for (std::string line; std::getline(notes, line);) noted.insert(line.substr(0, line.find(' ')));
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(kDataDir)) {
    if (entry.path().extension() != ".gif") continue;
    ++cases;
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_TRUE(noted.contains(entry.path().filename().string())) << "no line in notes.txt";
    const TBytes file = ReadWholeFile(entry.path());
    const std::string shown = Describe(file);
    fs::path expectedPath = fs::path(entry.path()).replace_extension(".txt");
    if (write) std::ofstream(expectedPath) << shown;
    std::ostringstream expected;
    expected << std::ifstream(expectedPath).rdbuf();
    EXPECT_EQ(shown, expected.str());
    TLoaded loaded = Load(file);
    if (!loaded.Error.empty()) continue;
    const TBytes written = Save(*loaded.Image);
    EXPECT_EQ(WithoutWarnings(Describe(written)), WithoutWarnings(shown)) << "written again";
    // Written again and optimized at every level, the file shows what browsers showed, which
    // the verifier checks where it can compose the original as they do; giflib reads every output.
    std::vector<TBytes> outputs = {written, Optimize(file, kMainPassSteps), Optimize(file, kFirstPassSteps)};
    if (std::optional<TBytes> deep = DeepEncodeUnchecked(*loaded.Image)) outputs.push_back(*deep);
    for (const TBytes& output : outputs) {
      TAnimationDifference difference = CompareAnimations(file, output);
      if (!difference.Message.starts_with("The first file cannot be compared")) {
        EXPECT_EQ(difference.Message, "");
      }
      EXPECT_NO_THROW(DecodeWithGiflib(output));
    }
  }
  SetDisplayBitsPerPixel(displayBits);
  EXPECT_GE(cases, 10);
}

}  // namespace
}  // namespace corvane::test
