// corvane jpeg: turns pictures into JPEG files as the JPG Optimizer tab does, with what a
// command-line tool offers besides: several inputs, coding choices and metadata kept.

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <system_error>

#include "ArgParser.h"
#include "Command.h"
#include "GifLoader.h"
#include "imageimport/PictureFormats.h"
#include "imageimport/PictureMetadata.h"
#include "jpegopt/JpegWorkflow.h"
#include "jpegopt/SizeText.h"
#include "platform/FileUtils.h"
#include "platform/Stream.h"

namespace corvane::cli {

namespace {

namespace fs = std::filesystem;

constexpr int kTabQuality = 60;

struct TJpegChoices {
  int Quality = kTabQuality;
  bool Grey = false;
  bool EightBit = false;
  bool OptimizeCoding = false;
  bool Progressive = false;
  bool KeepMetadata = false;
  bool SkipLarger = false;
  bool Force = false;
};

// A picture that cannot be made into its output: the message says why.
class EJpegInput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error) && !error;
}

TJpegChoices ChoicesOf(const ParsedArgs& parsed) {
  if (parsed.Has("-c") && parsed.Has("-q")) throw UsageError("-c and -q exclude each other");
  TJpegChoices choices;
  if (auto c = parsed.IntValue("-c", 0, 100)) choices.Quality = 100 - int(*c);
  if (auto q = parsed.IntValue("-q", 0, 100)) choices.Quality = int(*q);
  choices.Grey = parsed.Has("--grey");
  choices.EightBit = parsed.Has("--8bit");
  choices.OptimizeCoding = parsed.Has("--optimize-coding");
  choices.Progressive = parsed.Has("--progressive");
  choices.KeepMetadata = parsed.Has("--keep-metadata");
  choices.SkipLarger = parsed.Has("--skip-larger");
  choices.Force = parsed.Has("--force");
  return choices;
}

// The output of each input: -o for the only one, else INPUT.jpg in --output-dir or beside it.
std::vector<fs::path> OutputsOf(const ParsedArgs& parsed) {
  const std::vector<std::string>& inputs = parsed.Positional();
  if (inputs.empty()) throw UsageError("expects INPUT pictures");
  std::optional<std::string> output = parsed.Value("-o"), directory = parsed.Value("--output-dir");
  if (output && directory) throw UsageError("-o and --output-dir exclude each other");
  if (output && inputs.size() > 1) throw UsageError("-o names the output of one INPUT; use --output-dir for several");
  std::error_code error;
  if (directory && !fs::is_directory(*directory, error)) throw UsageError("no folder " + *directory);
  std::vector<fs::path> outputs;
  for (const std::string& input : inputs) {
    if (output)
      outputs.emplace_back(*output);
    else if (directory)
      outputs.push_back(fs::path(*directory) / (StripExtension(FileNamePart(input)) + ".jpg"));
    else
      outputs.emplace_back(StripExtension(input) + ".jpg");
  }
  return outputs;
}

// The output may take the place neither of an input nor of an earlier output of the run.
void CheckOutputPlace(const fs::path& output, const std::vector<std::string>& inputs,
                      const std::vector<fs::path>& written, bool force) {
  for (const std::string& input : inputs)
    if (SameFile(input, output))
      throw EJpegInput("the result would replace the input file " + input + "; name another with -o");
  for (const fs::path& earlier : written)
    if (SameFile(earlier, output)) throw EJpegInput(output.string() + " was written for an earlier input");
  std::error_code error;
  if (!force && fs::exists(fs::symlink_status(output, error)))
    throw EJpegInput(output.string() + " exists; pass --force to replace it");
}

// What is known of an input before it is drawn. Opening it tells the system's reason when it
// cannot be read.
struct TSourceFile {
  int64_t Size = 0;
  bool Jpeg = false;
};

TSourceFile InspectSource(const fs::path& input) {
  TFileStream file(input, TFileMode::OpenRead);
  uint8_t start[3] = {};
  const int64_t read = file.Read(start, sizeof start);
  return {file.Size(), LooksLikeJpeg({start, size_t(read)})};
}

std::unique_ptr<TBitmap> DrawnPicture(const fs::path& input) {
  try {
    return DrawPictureFile(input);
  } catch (const std::exception& e) {
    throw EJpegInput("Sorry, it is not a correct file format!!\n" + ErrorReportText(e.what()));
  }
}

std::vector<uint8_t> Encode(const TBitmap& pixels, const TJpegChoices& choices, TPictureMetadata metadata) {
  TJPEGImage jpeg;
  // The settings before the bitmap: changing them discards an assigned picture.
  jpeg.SetGreyMode(choices.Grey);
  if (choices.EightBit) jpeg.SetColourDepth(TJPEGPixelFormat::Depth8);
  jpeg.SaveQuality = uint8_t(choices.Quality);
  jpeg.WriteProgressive = choices.Progressive;
  jpeg.OptimizeCoding = choices.OptimizeCoding;
  jpeg.Metadata = std::move(metadata);
  jpeg.CopyFrom(pixels);
  TMemoryStream out;
  jpeg.SaveToStream(out);
  return out.TakeBytes();
}

void Write(const fs::path& output, std::span<const uint8_t> bytes, bool force) {
  if (force)
    WriteFileAtomically(output, bytes);
  else if (!WriteNewFile(output, bytes))
    throw EJpegInput(output.string() + " exists; pass --force to replace it");
}

// Makes the output of one input and prints its sizes.
void MakeJpeg(const fs::path& input, const fs::path& output, const TJpegChoices& choices, std::ostream& out,
              std::ostream& err) {
  const TSourceFile source = InspectSource(input);
  std::unique_ptr<TBitmap> pixels = DrawnPicture(input);
  TPictureMetadata metadata;
  if (choices.KeepMetadata) metadata = ReadPictureMetadata(ReadWholeFile(input));
  if (metadata.Exif.size() > kMaxJpegExifBytes)
    err << "corvane jpeg: " << input.string() << ": its EXIF block of " << metadata.Exif.size()
        << " bytes does not fit in a JPEG marker and is left out\n";
  const std::vector<uint8_t> result = Encode(*pixels, choices, std::move(metadata));
  const int64_t saved = source.Size - int64_t(result.size());
  const bool larger = saved < 0 && source.Jpeg;
  const bool keepSource = larger && choices.SkipLarger;
  Write(output, keepSource ? ReadWholeFile(input) : result, choices.Force);
  out << "Size  : " << FormatByteSize(source.Size) << "\n"
      << "Current size : " << FormatByteSize(int64_t(result.size())) << "\n"
      << "Saved  size : " << (saved > 0 ? FormatByteSize(saved) : "0") << "\n"
      << "Written: " << output.string() << "\n";
  if (keepSource)
    out << "Larger than the source: written with the source's bytes\n";
  else if (larger)
    out << "Larger than the source by " << -saved << " bytes; --skip-larger keeps the source's bytes\n";
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ParsedArgs parsed = Parse(args, {{{"-c", "--compress"}, true},
                                   {{"-q", "--quality"}, true},
                                   {{"--grey", "--gray"}, false},
                                   {{"--8bit"}, false},
                                   {{"-o", "--output"}, true},
                                   {{"--output-dir"}, true},
                                   {{"--force", "-f"}, false},
                                   {{"--optimize-coding"}, false},
                                   {{"--progressive"}, false},
                                   {{"--keep-metadata"}, false},
                                   {{"--skip-larger"}, false},
                                   {{"--max-memory"}, true}});
  const TJpegChoices choices = ChoicesOf(parsed);
  const std::vector<fs::path> outputs = OutputsOf(parsed);
  const std::vector<std::string>& inputs = parsed.Positional();
  TGIFRunBudget budget(MemoryBudgetOption(parsed));
  RegisterAllPictureFormats();
  std::vector<fs::path> written;
  bool failed = false;
  for (size_t i = 0; i < inputs.size(); ++i) {
    try {
      CheckOutputPlace(outputs[i], inputs, written, choices.Force);
      MakeJpeg(inputs[i], outputs[i], choices, out, err);
      written.push_back(outputs[i]);
    } catch (const std::exception& e) {
      err << "corvane jpeg: " << ErrorReportText(e.what()) << "\n";
      failed = true;
    }
  }
  return failed ? 1 : 0;
}

}  // namespace

extern const Command kJpegCommand = {
    "jpeg", "recompress pictures of any supported type as JPEG files",
    "Usage: corvane jpeg [OPTIONS] INPUT...\n\n"
    "Opens each INPUT (JPEG, PNG, TIFF, BMP, PCX, Targa, Photoshop and the other picture types of\n"
    "the JPG Optimizer tab), recompresses it and writes a JPEG file, by default INPUT with the\n"
    "extension .jpg; with the default choices its bytes are those the tab saves. Prints the\n"
    "source size, the result size and the bytes saved. An existing file is never replaced\n"
    "without --force, nor ever an input file; an input that fails is told and the others go on.\n\n"
    "  -c, --compress N    compression 0 to 100 (default 40): quality 100 - N\n"
    "  -q, --quality N     JPEG quality 0 to 100 (default 60)\n"
    "  --grey              write a greyscale JPEG\n"
    "  --8bit              the 8-bit pixel format (the file is the same as with 24 bits)\n"
    "  -o, --output OUT    the file to write, for one INPUT only\n"
    "  --output-dir DIR    write each result into the folder DIR, named INPUT.jpg\n"
    "  -f, --force         replace an output file that exists\n"
    "  --optimize-coding   Huffman tables made for the picture: smaller, the same pixels\n"
    "  --progressive       a progressive JPEG (its tables are always made for the picture)\n"
    "  --keep-metadata     copy the ICC profile, the EXIF block and the comments of a JPEG\n"
    "                      or PNG source (PNG: iCCP, eXIf, and text chunks keyed Comment);\n"
    "                      the default keeps none of them\n"
    "  --skip-larger       when the result of a JPEG source is larger than it, write the\n"
    "                      source's bytes instead; without it such a result is written and told\n"
    "  --max-memory MB     megabytes a picture may take in the copies the conversion keeps\n"
    "                      (default 4096); a larger one fails naming the sizes\n\n"
    "Exit status: 0 when every output was written, 1 when an input failed, 2 for a usage error.\n",
    &Run};

}  // namespace corvane::cli
