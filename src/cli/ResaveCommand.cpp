// corvane resave: loads a GIF file and writes it again as it was read, without optimizing.

#include <ostream>

#include "ArgParser.h"
#include "Command.h"
#include "GifLoader.h"
#include "platform/FileUtils.h"

namespace corvane::cli {

namespace {

int RunResave(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ParsedArgs parsed = Parse(args, {});
  if (parsed.Positional().size() != 2) throw UsageError("expected an input and an output file");
  const std::string& input = parsed.Positional()[0];
  const std::string& output = parsed.Positional()[1];
  TGIFImage image;
  LoadGifFileWarningTo(image, input, err, "resave");
  TMemoryStream stream;
  image.SaveToStream(stream);
  WriteFileAtomically(output, stream.Bytes());
  out << input << " -> " << output << ": " << std::filesystem::file_size(input) << " -> " << stream.Size()
      << " bytes\n";
  return 0;
}

}  // namespace

extern const Command kResaveCommand{
    "resave", "load a GIF file and write it again, without optimizing",
    "Usage: corvane resave IN OUT\n\n"
    "Reads the GIF file IN and writes what was read to OUT: the colour tables, frames and\n"
    "extensions as they are, the pixels coded again. OUT is replaced as a whole or not at all.\n"
    "The reader's warnings go to the error output.\n\n"
    "Exit status: 0 when OUT was written, 1 on an error, 2 for a usage error.\n",
    &RunResave};

}  // namespace corvane::cli
