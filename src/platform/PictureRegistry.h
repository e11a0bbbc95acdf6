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

// Holds one picture of any registered class and passes on its notifications, so that a
// picture control can repaint while a file loads and whenever the picture changes.
class TPicture {
 public:
  TPicture() = default;
  // The held picture's events refer to this holder.
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  // Loads the file with the class registered for its extension; EInvalidGraphic when
  // there is none. On any error the picture keeps what it held.
  void LoadFromFile(const std::filesystem::path& fileName);

  TGraphic* Graphic() { return FGraphic.get(); }
  const TGraphic* Graphic() const { return FGraphic.get(); }
  // Holds a copy of graphic, or nothing.
  void SetGraphic(const TGraphic* graphic);
  // Holds graphic itself, or nothing.
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  void Clear();
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // Fired when the held picture changes or another one (or none) is held.
  std::function<void()> OnChange;
  // Progress of the held picture and of a picture being loaded into this holder; the
  // sender is the picture that reports.
  TProgressEvent OnProgress;

 private:
  void Hold(std::unique_ptr<TGraphic> graphic);
  void ForwardProgress(TGraphic& graphic);

  std::unique_ptr<TGraphic> FGraphic;
};

}  // namespace corvane
