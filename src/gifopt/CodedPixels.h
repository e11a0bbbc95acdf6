#pragma once
// Whether a file's images are read by the model as viewers read them: the model fills the
// pixels that an image's coded data never reaches, where viewers leave the screen beneath
// them showing, and blocks that viewers skip by their sub-blocks must end where the model
// ends them.

#include <cstdint>
#include <span>
#include <string>

namespace corvane {

class TGIFImage;

// image: the file as the model read it. Empty when every image of the file lies where the
// model placed its frames and its data sets every pixel; otherwise what differs.
std::string FindPixelsReadUnlikeViewers(std::span<const uint8_t> file, const TGIFImage& image);

}  // namespace corvane
