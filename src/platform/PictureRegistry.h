#pragma once
// The process-wide registry of picture classes by file extension, and TPicture, a holder
// that loads a file through it.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Graphic.h"

namespace corvane {

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

struct TFileFormat {
  std::string Extension;  // without the dot, compared without regard to case
  std::string Description;
  TGraphicFactory Create;
};

// Registers (or replaces) the class for an extension.
void RegisterFileFormat(const std::string& extension, const std::string& description, TGraphicFactory create);
void UnregisterFileFormat(const std::string& extension);
// The format registered for the extension (with or without its dot), if any.
std::optional<TFileFormat> FindFileFormat(const std::string& extension);
std::vector<TFileFormat> RegisteredFileFormats();

// Holds one picture of any registered class.
class TPicture {
 public:
  // Loads the file with the class registered for its extension; EInvalidGraphic when
  // there is none. On any error the picture keeps what it held.
  void LoadFromFile(const std::filesystem::path& fileName);

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Holds a copy of graphic, or nothing.
  void SetGraphic(const TGraphic* graphic);
  void Clear() { FGraphic.reset(); }
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

 private:
  std::unique_ptr<TGraphic> FGraphic;
};

}  // namespace corvane
