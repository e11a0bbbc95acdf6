#pragma once
// Loading GIF files for the commands, with the reader's warnings collected as text, and the
// memory budget they work within.

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "ArgParser.h"
#include "gif/GIFCodec.h"

namespace corvane::cli {

// Loads the file into image. Each warning of the reader is appended to warnings as
// "sender: message", also when loading fails with an exception.
void LoadGifFile(TGIFImage& image, const std::filesystem::path& file, std::vector<std::string>& warnings);

// LoadGifFile with each warning written to err as "corvane COMMAND: FILE: warning: ...".
void LoadGifFileWarningTo(TGIFImage& image, const std::string& file, std::ostream& err, const std::string& command);

// The bytes of --max-memory MB, or the default budget.
int64_t MemoryBudgetOption(const ParsedArgs& parsed);

}  // namespace corvane::cli
