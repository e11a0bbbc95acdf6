// corvane info: what a GIF file holds, block by block.

#include <cstdio>
#include <ostream>

#include "ArgParser.h"
#include "Command.h"
#include "GifLoader.h"

namespace corvane::cli {

namespace {

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value & 0xFF);
  return text;
}

void PrintTable(std::ostream& out, const char* indent, const char* name, const TGIFColorMap& table, bool colors) {
  if (table.EntryCount() == 0) {
    out << indent << name << ": none\n";
    return;
  }
  out << indent << name << ": " << table.EntryCount() << " entries, stored as " << (1 << table.TableDepth())
      << (table.UsageOrdered() ? ", usage-ordered" : "") << "\n";
  if (!colors) return;
  for (int i = 0; i < table.EntryCount(); ++i) {
    const uint8_t* rgb = table.Entries() + 3 * i;
    char text[16];
    std::snprintf(text, sizeof text, " %02x%02x%02x", rgb[0], rgb[1], rgb[2]);
    out << (i % 8 == 0 ? std::string(indent) + "  " : "") << text << (i % 8 == 7 || i + 1 == table.EntryCount() ? "\n" : "");
  }
}

void PrintLines(std::ostream& out, const char* kind, const std::vector<std::string>& lines) {
  out << "    " << kind << ": " << lines.size() << (lines.size() == 1 ? " line" : " lines") << "\n";
  for (const std::string& line : lines) out << "      \"" << line << "\"\n";
}

void PrintExtension(std::ostream& out, const TGIFExtension& extension) {
  if (const auto* control = dynamic_cast<const TGIFGraphicControlExtension*>(&extension)) {
    out << "    graphic control: disposal " << int(control->Disposal()) << ", delay " << control->DelayTime()
        << ", transparency " << (control->Transparent() ? "on" : "off") << ", transparent index "
        << int(control->TransparentIndex()) << ", user input " << (control->UserInput() ? "on" : "off")
        << ", flags " << Hex2(control->ControlFlags()) << "\n";
  } else if (const auto* loop = dynamic_cast<const TGIFAppExtNSLoop*>(&extension)) {
    out << "    loop (" << loop->IdentifierText() << "): repeat count " << loop->FRepeatCount
        << (loop->FRepeatCount == 0 ? " (forever)" : "");
    if (loop->FBufferHint != 0) out << ", buffer size " << loop->FBufferHint;
    out << "\n";
  } else if (const auto* app = dynamic_cast<const TGIFUnknownAppExtension*>(&extension)) {
    size_t bytes = 0;
    for (const auto& block : app->FRawBlocks) bytes += block->FLength;
    out << "    application " << app->IdentifierText() << ": " << app->FRawBlocks.size() << " sub-blocks, " << bytes
        << " bytes\n";
  } else if (const auto* comment = dynamic_cast<const TGIFCommentExtension*>(&extension)) {
    PrintLines(out, "comment", comment->FTextLines);
  } else if (const auto* text = dynamic_cast<const TGIFTextExtension*>(&extension)) {
    out << "    plain text: grid " << text->GridLeft << "," << text->GridTop << " " << text->GridWidth << " x "
        << text->GridHeight << ", cell " << int(text->CellWidth) << " x " << int(text->CellHeight) << ", colours "
        << int(text->TextColorIndex) << " on " << int(text->TextBackIndex) << "\n";
    PrintLines(out, "text", text->FTextLines);
  }
}

void PrintFrame(std::ostream& out, int index, const TGIFSubImage& frame, bool colors) {
  out << "  frame " << index + 1 << ": at " << frame.FrameLeft() << "," << frame.FrameTop() << ", "
      << frame.FrameWidth() << " x " << frame.FrameHeight() << ", flags " << Hex2(frame.FrameFlags()) << ", "
      << (frame.IsInterlaced() ? "interlaced" : "not interlaced") << (frame.IsBlank() ? ", no pixels" : "") << "\n";
  PrintTable(out, "    ", "local table", frame.LocalTable(), colors);
  for (int i = 0; i < frame.Extensions().MemberCount(); ++i) PrintExtension(out, frame.Extensions().Extension(i));
}

void PrintImage(std::ostream& out, const TGIFImage& image, bool colors) {
  const TGIFHeader& header = image.Header();
  TGifRevision revision = image.FileRevision();
  out << "  version: " << std::string(header.FVersionRead.begin(), header.FVersionRead.end()) << " (written as "
      << (revision == rev89a ? "89a" : revision == rev87a ? "87a" : "none: no frames") << ")\n";
  out << "  logical screen: " << header.CanvasWidth << " x " << header.CanvasHeight << ", flags "
      << Hex2(header.ScreenFlags) << ", background index " << int(header.BackdropIndex) << ", aspect "
      << int(header.PixelAspect) << "\n";
  PrintTable(out, "  ", "global table", header.GlobalTable(), colors);
  out << "  frames: " << image.FrameCount() << "\n";
  for (int i = 0; i < image.FrameCount(); ++i) PrintFrame(out, i, image.Frame(i), colors);
}

int RunInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ParsedArgs parsed = Parse(args, {{{"--colors"}}});
  if (parsed.Positional().empty()) throw UsageError("no GIF file given");
  bool colors = parsed.Has("--colors");
  int status = 0;
  for (const std::string& file : parsed.Positional()) {
    out << file << "\n";
    TGIFImage image;
    std::vector<std::string> warnings;
    try {
      LoadGifFile(image, file, warnings);
      PrintImage(out, image, colors);
    } catch (const std::exception& e) {
      out << "  error: " << e.what() << "\n";
      err << "corvane info: " << file << ": " << e.what() << "\n";
      status = 1;
    }
    for (const std::string& warning : warnings) out << "  warning: " << warning << "\n";
  }
  return status;
}

}  // namespace

extern const Command kInfoCommand{
    "info", "show what GIF files hold: screen, colour tables, frames and their extensions",
    "Usage: corvane info [--colors] FILE...\n\n"
    "Shows for each GIF file its version, the logical screen, the global colour table and every\n"
    "frame with its position, size, flags, local colour table and extensions, then the warnings\n"
    "of the reader. A file that cannot be read shows its error and the others are still shown.\n\n"
    "Options:\n"
    "  --colors   list the entries of the colour tables\n\n"
    "Exit status: 0 when every file was read, 1 when one failed, 2 for a usage error.\n",
    &RunInfo};

}  // namespace corvane::cli
