#pragma once
// Loading GIF files for the commands, with the reader's warnings collected as text.

#include <filesystem>
#include <string>
#include <vector>

#include "gif/GIFImage.h"

namespace corvane::cli {

// Loads the file into image. Each warning of the reader is appended to warnings as
// "sender: message", also when loading fails with an exception.
void LoadGifFile(TGIFImage& image, const std::filesystem::path& file, std::vector<std::string>& warnings);

}  // namespace corvane::cli
