// corvane jpeg: turns a picture into a JPEG file the way the JPG Optimizer tab does.

#include <filesystem>
#include <ostream>
#include <system_error>

#include "ArgParser.h"
#include "Command.h"
#include "GifFiles.h"
#include "imageimport/PictureFormats.h"
#include "jpegopt/JpegWorkflow.h"
#include "platform/FileUtils.h"

namespace corvane::cli {

namespace {

namespace fs = std::filesystem;

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error) && !error;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ParsedArgs parsed = Parse(args, {{{"-c", "--compress"}, true},
                                   {{"-q", "--quality"}, true},
                                   {{"--grey", "--gray"}, false},
                                   {{"--8bit"}, false},
                                   {{"-o", "--output"}, true},
                                   {{"--force", "-f"}, false},
                                   {{"--max-memory"}, true}});
  if (parsed.Positional().size() != 1) throw UsageError("expects one INPUT picture");
  if (parsed.Has("-c") && parsed.Has("-q")) throw UsageError("-c and -q exclude each other");
  int compress = 40;
  if (auto c = parsed.IntValue("-c", 0, 100)) compress = int(*c);
  if (auto q = parsed.IntValue("-q", 0, 100)) compress = 100 - int(*q);
  fs::path input = parsed.Positional()[0];
  fs::path output = parsed.Value("-o").value_or(StripExtension(input.string()) + ".jpg");
  if (SameFile(input, output)) {
    err << "corvane jpeg: the result would replace the input file " << input.string() << "; name another with -o\n";
    return 1;
  }
  std::error_code error;
  if (!parsed.Has("--force") && fs::exists(fs::symlink_status(output, error))) {
    err << "corvane jpeg: " << output.string() << " exists; pass --force to replace it\n";
    return 1;
  }

  TGIFRunBudget budget(MemoryBudgetOption(parsed));
  RegisterAllPictureFormats();
  bool failed = false;
  auto report = [&](const std::string& text) {
    err << "corvane jpeg: " << ErrorReportText(text) << "\n";
    failed = true;
  };
  std::string refusal;
  auto showMessage = [&](const std::string& text) { report(refusal.empty() ? text : text + "\n" + refusal); };
  TJpegWorkflowSeam seam{showMessage, report};
  seam.OpenRefused = [&](const std::string& reason) { refusal = reason; };
  TJpegWorkflow tab(seam, AppDir());
  tab.Open(input);
  if (failed) return 1;
  bool greyAsked = parsed.Has("--grey"), eightBitAsked = parsed.Has("--8bit");
  if (greyAsked) tab.CheckRadioButton(4);
  if (eightBitAsked) tab.CheckRadioButton(1);
  if (greyAsked || eightBitAsked || compress != tab.State().TrackBarPosition) tab.RecompressJpeg(100 - compress);
  if (failed) return 1;
  tab.SaveResultTo(output);

  const TJpegTabState& s = tab.State();
  out << "Size  : " << s.SrcSize << "\n"
      << "Current size : " << s.CurrentSize << "\n"
      << "Saved  size : " << s.SavedSize << "\n"
      << "Written: " << output.string() << "\n";
  return 0;
}

}  // namespace

extern const Command kJpegCommand = {
    "jpeg", "recompress a picture of any supported type as a JPEG file",
    "Usage: corvane jpeg INPUT [-c COMPRESS | -q QUALITY] [--grey] [--8bit] [-o OUT] [--force]\n"
    "                    [--max-memory MB]\n\n"
    "Opens INPUT (JPEG, PNG, TIFF, BMP, PCX, Targa, Photoshop and the other picture types of\n"
    "the JPG Optimizer tab), recompresses it and writes OUT. Prints the source size, the\n"
    "result size and the bytes saved.\n\n"
    "  -c, --compress N   compression 0 to 100 (default 40): quality 100 - N\n"
    "  -q, --quality N    JPEG quality 0 to 100 (default 60)\n"
    "  --grey             write a greyscale JPEG\n"
    "  --8bit             the 8-bit pixel format (the file is the same as with 24 bits)\n"
    "  -o, --output OUT   the file to write (default: INPUT with the extension .jpg);\n"
    "                     never the input file itself\n"
    "  -f, --force        replace OUT when it exists\n"
    "  --max-memory MB    megabytes the picture may take in the copies the conversion keeps\n"
    "                     (default 4096); a larger one fails naming the sizes\n",
    &Run};

}  // namespace corvane::cli
