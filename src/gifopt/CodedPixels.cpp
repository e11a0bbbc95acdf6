#include "CodedPixels.h"

#include <cctype>
#include <vector>

#include "gif/GIFCodec.h"
#include "gif/GIFStreamIO.h"

namespace corvane {

namespace {

constexpr int kHeaderBytes = 13;
// The signature, the screen's width and height, then its flags.
constexpr int kScreenFlagsAt = 10;
constexpr int kPrefixTolerated = 4;
// The descriptor after its separator: left, top, width, height, then the frame's flags.
constexpr int kDescriptorBytes = TGIFSubImage::kDescriptorBytes - 1;
constexpr int kDescriptorFlagsAt = 8;

void SkipSubBlocks(TStream& stream) {
  uint8_t length;
  while (ReadByte(stream, length) && length != 0) SkipBytes(stream, length);
}

// A colour table of sizeBits holds 2^(sizeBits + 1) entries of red, green, blue.
void SkipColorTable(TStream& stream, int sizeBits) { SkipBytes(stream, 3 * int64_t(TableEntries(sizeBits))); }

// Skips the minimum code size and the sub-blocks of an image's data.
void SkipImageData(TStream& stream) {
  SkipBytes(stream, 1);
  SkipSubBlocks(stream);
}

bool IsSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= 3 && std::toupper(bytes[0]) == 'G' && std::toupper(bytes[1]) == 'I' &&
         std::toupper(bytes[2]) == 'F';
}

}  // namespace

std::string FindPixelsReadUnlikeViewers(std::span<const uint8_t> file, const TGIFImage& image) {
  TMemoryStream stream(std::vector<uint8_t>(file.begin(), file.end()));
  uint8_t header[kHeaderBytes];
  if (!IsSignature(file)) stream.SetPosition(kPrefixTolerated);
  if (stream.Read(header, kHeaderBytes) != kHeaderBytes) return "Premature end of data";
  const uint8_t screenFlags = header[kScreenFlagsAt];
  if (screenFlags & TGIFHeader::kGlobalTable) SkipColorTable(stream, screenFlags & TGIFHeader::kTableSizeMask);
  int frame = 0;
  uint8_t next;
  while (ReadByte(stream, next) && next != TGIFTrailer::kTrailer) {
    if (next == 0) continue;
    if (next == TGIFExtension::kIntroducer) {
      SkipBytes(stream, 1);
      SkipSubBlocks(stream);
      continue;
    }
    if (next != TGIFSubImage::kSeparator) break;
    uint8_t descriptor[kDescriptorBytes];
    if (stream.Read(descriptor, kDescriptorBytes) != kDescriptorBytes) return "Premature end of data";
    while (frame < image.FrameCount() && image.Frame(frame).IsBlank()) ++frame;
    const TRect place = Bounds(GetLE16(&descriptor[0]), GetLE16(&descriptor[2]), GetLE16(&descriptor[4]),
                               GetLE16(&descriptor[6]));
    if (frame == image.FrameCount()) return "Viewers find image " + std::to_string(frame) + " elsewhere in the file";
    // The model keeps the rows that the data reaches.
    const TRect kept = image.Frame(frame).BoundsRect();
    const bool cut = kept.Left == place.Left && kept.Top == place.Top && kept.Right == place.Right &&
                     kept.Bottom < place.Bottom;
    if (kept != place && !cut) return "Viewers find image " + std::to_string(frame) + " elsewhere in the file";
    const uint8_t frameFlags = descriptor[kDescriptorFlagsAt];
    if (frameFlags & TGIFSubImage::kLocalTable) SkipColorTable(stream, frameFlags & TGIFSubImage::kTableSizeMask);
    if (cut || !image.Frame(frame).DataSetEveryPixel())
      return "The data of image " + std::to_string(frame) + " ends before its last pixel";
    SkipImageData(stream);
    ++frame;
  }
  return {};
}

}  // namespace corvane
