#include "PictureRegistry.h"

#include <algorithm>
#include <mutex>

#include "Exceptions.h"
#include "FileUtils.h"

namespace corvane {

namespace {

struct Registry {
  std::mutex Lock;
  std::vector<TFileFormat> Formats;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

std::string NormalExtension(std::string extension) {
  if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return extension;
}

}  // namespace

void RegisterFileFormat(const std::string& extension, const std::string& description, TGraphicFactory create) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.Lock);
  std::string ext = NormalExtension(extension);
  std::erase_if(r.Formats, [&](const TFileFormat& f) { return f.Extension == ext; });
  r.Formats.push_back({ext, description, std::move(create)});
}

void UnregisterFileFormat(const std::string& extension) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.Lock);
  std::string ext = NormalExtension(extension);
  std::erase_if(r.Formats, [&](const TFileFormat& f) { return f.Extension == ext; });
}

std::optional<TFileFormat> FindFileFormat(const std::string& extension) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.Lock);
  std::string ext = NormalExtension(extension);
  for (const TFileFormat& f : r.Formats)
    if (f.Extension == ext) return f;
  return std::nullopt;
}

std::vector<TFileFormat> RegisteredFileFormats() {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.Lock);
  return r.Formats;
}

void TPicture::LoadFromFile(const std::filesystem::path& fileName) {
  std::string ext = fileName.extension().string();
  std::optional<TFileFormat> format = FindFileFormat(ext);
  if (!format) throw EInvalidGraphic("Unknown picture file extension (" + ext + ")");
  // Some readers open the file by its name.
  RequireRegularFile(fileName);
  std::unique_ptr<TGraphic> graphic = format->Create();
  ForwardProgress(*graphic);
  graphic->LoadFromFile(fileName);
  Hold(std::move(graphic));
}

void TPicture::SetGraphic(const TGraphic* graphic) {
  std::unique_ptr<TGraphic> copy = graphic ? graphic->Clone() : nullptr;
  if (copy) ForwardProgress(*copy);
  Hold(std::move(copy));
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
  if (graphic) ForwardProgress(*graphic);
  Hold(std::move(graphic));
}

void TPicture::Clear() { Hold(nullptr); }

void TPicture::Hold(std::unique_ptr<TGraphic> graphic) {
  FGraphic = std::move(graphic);
  if (FGraphic)
    FGraphic->OnChange = [this](TGraphic&) {
      if (OnChange) OnChange();
    };
  if (OnChange) OnChange();
}

void TPicture::ForwardProgress(TGraphic& graphic) {
  graphic.OnProgress = [this](TPersistent* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                              const TRect& rect, const std::string& message) {
    if (OnProgress) OnProgress(sender, stage, percentDone, redrawNow, rect, message);
  };
}

}  // namespace corvane
