#pragma once
// TGIFImage: one GIF file in memory, the picture class of GIF files. It owns the header
// (logical screen and global colour table) and the frames; each frame owns its extensions,
// local colour table and pixels. This header brings in the whole model.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "gif/ExtensionRegistry.h"
#include "gif/FramePixels.h"
#include "gif/GIFAppExtensions.h"
#include "gif/GIFColorMap.h"
#include "gif/GIFException.h"
#include "gif/GIFExtensions.h"
#include "gif/GIFHeader.h"
#include "gif/GIFLimits.h"
#include "gif/GIFMemoryBudget.h"
#include "gif/GIFList.h"
#include "gif/GIFSubImage.h"
#include "gif/GIFTypes.h"
#include "platform/Clock.h"
#include "platform/Graphic.h"

namespace corvane {

class TGIFImageDrawing;
class TGIFPainter;

using TGIFPaintEvent = std::function<void(TGIFPainter& sender)>;

// Drawing options of an image.
enum TGIFDrawFlag : uint16_t {
  dfThreaded = 0x0001,
  dfTransparent = 0x0002,
  dfAnimate = 0x0004,
  dfLoop = 0x0008,
  dfLoopForever = 0x0010,
  dfCheckCanvas = 0x0020,
  dfDirect = 0x0040,
  dfClearOnLoop = 0x0080,
  dfTile = 0x0100,
  dfDither = 0x0200,
  dfDitherOnPaletteDisplay = 0x0400,
};

// The values every new image starts with.
struct TGIFImageDefaults {
  uint16_t DrawFlags = dfThreaded | dfTransparent | dfAnimate | dfLoop | dfDither | dfDitherOnPaletteDisplay;
  uint8_t PixelCoding = pcLZW;
  uint8_t PainterPriority = 3;
  int32_t PlaybackPercent = 100;
  TColor DrawFillColor = clNone;
};
inline constexpr TGIFImageDefaults kGIFImageDefaults{};

class TGIFImage final : public TGraphic {
 public:
  TGIFImage();
  ~TGIFImage() override;
  TGIFImage(const TGIFImage&) = delete;
  TGIFImage& operator=(const TGIFImage&) = delete;

  std::string ClassName() const override { return "TGIFImage"; }
  std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TGIFImage>(); }
  // From another image: a copy that shares nothing with it. PixelCoding and FPlaybackPercent
  // keep this image's values; the warning and progress handlers are none afterwards.
  void CopyFrom(const TPersistent& source) override;
  // A bitmap receives the still bitmap (an empty one for an empty image); any other target
  // is refused.
  void CopyTo(TPersistent& target) const override;

  int Width() const override { return FHeaderBlock->CanvasWidth; }
  int Height() const override { return FHeaderBlock->CanvasHeight; }
  // Both raise "Invalid image dimensions" outside 0 to 65535.
  void SetWidth(int value) override;
  // Raises "Image height too small for contained frames" below a frame's bottom edge.
  void SetHeight(int value) override;
  bool Empty() const override { return FFrameList->MemberCount() == 0; }
  // Through the render hook: draws the first frame, or with dfAnimate plays the animation:
  // into the still bitmap, which is then drawn here and on every later call, or with
  // dfDirect straight onto the canvas. A threaded animation is drawn on the user-interface
  // thread only.
  void Draw(TCanvas& canvas, const TRect& rect) override;
  // An image equals only itself.
  bool Equals(TGraphic& other) override { return &other == this; }
  // Through the render hook: the still bitmap's palette, else the web palette when
  // dithering, else the global table's, else the first frame's. Without a hook the palette
  // set.
  TPalette Palette() override;
  // Replaces the image's palette; a still bitmap made with another palette is dropped.
  void SetPalette(TPalette palette) override;
  // The palette set or, once asked for, the one the renderer chose.
  const TPalette& ScreenPalette() const { return FScreenPalette; }
  // Keeps the palette the renderer chose, without dropping any drawing.
  void KeepScreenPalette(TPalette palette) { FScreenPalette = std::move(palette); }

  // Reads a whole file from the stream's position. On an error the stream is set back, the
  // header and the frames read completely stay, and the exception passes on.
  void LoadFromStream(TStream& stream) override;
  // Writes a whole file; raises "Unsupported GIF version" for an image without frames.
  void SaveToStream(TStream& stream) override;

  // Deletes the frames, clears the global table and the logical screen size; BackdropIndex
  // and PixelAspect stay.
  void DiscardContents();
  // Takes ownership of a frame made for this image and answers its index; "Object type not
  // supported for operation" for a frame of another image.
  int AppendFrame(std::unique_ptr<TGIFSubImage> frame);
  // The lowest version that can hold the frames; revNone without frames.
  TGifRevision FileRevision() const;
  // Over the global table and the local tables of frames with pixels: a blank frame's table
  // is not written, so it shapes neither the screen descriptor nor other frames' code size.
  // Found once per save, where every frame without a table asks for it.
  int DeepestBitDepth() const;
  int DeepestResolution() const;
  TColor ScreenBackgroundColor() const;

  // Calls FWarningHandler when one is set.
  virtual void ReportWarning(const TPersistent* sender, TGIFWarningSeverity severity, const std::string& message) const;
  using TGraphic::Changed;
  using TGraphic::Progress;

  TGIFHeader& Header() { return *FHeaderBlock; }
  const TGIFHeader& Header() const { return *FHeaderBlock; }
  TGIFImageList& Frames() { return *FFrameList; }
  const TGIFImageList& Frames() const { return *FFrameList; }
  TGIFSubImage& Frame(int index) { return FFrameList->Frame(index); }
  const TGIFSubImage& Frame(int index) const { return Frames().Frame(index); }
  int FrameCount() const { return FFrameList->MemberCount(); }
  // Pixel bytes held by all frames made for this image.
  int64_t PixelBytes() const { return FPixelBytes; }
  // The pixels of the frames, and the screen-sized pictures drawn of the image, are reserved
  // through the account as well (none: no budget beyond the pixel limits). A new image takes
  // the thread's account. Set while the image holds no pixels; the account outlives them.
  void SetBudgetAccount(TGIFBudgetAccount* account);
  TGIFBudgetAccount* BudgetAccount() const { return FBudgetAccount; }

  // The running animation painters. The list may only be read or changed under its lock,
  // which a thread may take more than once.
  [[nodiscard]] std::unique_lock<std::recursive_mutex> LockPainterList() {
    return std::unique_lock(FPainterListLock);
  }
  std::vector<TGIFPainter*>& PainterList() { return FPainterList; }

  // "Image too large to draw" for a logical screen larger than a bitmap may be.
  void CheckDrawableSize() const;
  // What the renderer keeps of the image; none before it draws.
  std::unique_ptr<TGIFImageDrawing>& Drawing() { return FDrawing; }
  // Through the render hook: stops the active painter and frees the still bitmap.
  void DropStillBitmap();
  // Through the render hook: stops every painter and waits until no threaded one is left,
  // then drops the still bitmap; on the user-interface thread. Whatever rewrites frames
  // calls this first.
  void StopAllPainters();

  TGIFWarningEvent FWarningHandler;
  uint8_t PixelCoding = kGIFImageDefaults.PixelCoding;

  // Drawing and animation options and state, used by the renderer and its painters.
  uint16_t DrawFlags = kGIFImageDefaults.DrawFlags;
  TGIFPainter* FActivePainter = nullptr;
  uint8_t FPainterPriority = kGIFImageDefaults.PainterPriority;
  int32_t FPlaybackPercent = kGIFImageDefaults.PlaybackPercent;
  TColor FDrawFillColor = kGIFImageDefaults.DrawFillColor;
  TGIFPaintEvent OnPaintStart, OnPaintFrame, OnPaintAfter, OnPaintLoop, OnPaintEnd;
  // The clock of non-threaded painters; none for the real one. Threaded painters always
  // wait in real time.
  TClock* FPaintClock = nullptr;

 private:
  friend class TGIFSubImage;
  // Pixel memory bookkeeping of the frames; ReservePixelBytes raises beyond the limits.
  void ReservePixelBytes(int64_t bytes, int width, int height);
  void ReturnPixelBytes(int64_t bytes);
  void CopyFromImage(const TGIFImage& source);

  std::unique_ptr<TGIFImageList> FFrameList;
  std::unique_ptr<TGIFHeader> FHeaderBlock;
  TPalette FScreenPalette;
  std::recursive_mutex FPainterListLock;
  std::vector<TGIFPainter*> FPainterList;
  int64_t FPixelBytes = 0;
  TGIFBudgetAccount* FBudgetAccount = ThreadBudgetAccount();
  std::unique_ptr<TGIFImageDrawing> FDrawing;
  // DeepestBitDepth while a save runs; 0 otherwise.
  int FSaveDepth = 0;
};

// Registers TGIFImage in the picture registry under "GIF" with "GIF Image". Safe to call
// more than once.
void RegisterGIFFormat();

}  // namespace corvane
