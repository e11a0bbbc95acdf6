#pragma once
// TGraphic: the base of every picture class, with change and progress notifications.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "Palette.h"
#include "Persistent.h"
#include "Types.h"

namespace corvane {

class TCanvas;
class TStream;

enum class TProgressStage : uint8_t { psStarting = 0, psRunning = 1, psEnding = 2 };

using TProgressEvent = std::function<void(TPersistent* sender, TProgressStage stage, uint8_t percentDone,
                                          bool redrawNow, const TRect& rect, const std::string& message)>;

class TGraphic : public TPersistent {
 public:
  std::string ClassName() const override { return "TGraphic"; }

  // A new, empty object of the same class.
  virtual std::unique_ptr<TGraphic> NewInstance() const = 0;
  // A new object of the same class that copies this one.
  std::unique_ptr<TGraphic> Clone() const;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual void SetHeight(int value) = 0;
  virtual bool Empty() const = 0;

  // Draws the picture stretched into rect of the canvas.
  virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;

  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  virtual void LoadFromFile(const std::filesystem::path& fileName);
  // Writes the file atomically: it holds the old content or the whole new one.
  virtual void SaveToFile(const std::filesystem::path& fileName);

  virtual TPalette Palette() { return nullptr; }
  virtual void SetPalette(TPalette) {}

  // Pictures are equal when their saved forms are equal.
  virtual bool Equals(TGraphic& other);

  std::function<void(TGraphic& sender)> OnChange;
  TProgressEvent OnProgress;

  bool PaletteModified = false;

 protected:
  // Fires OnChange.
  virtual void Changed();
  void Progress(TPersistent* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                const TRect& rect, const std::string& message);
};

}  // namespace corvane
