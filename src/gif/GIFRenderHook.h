#pragma once
// The hand-over of GIF images to the library that draws and plays them. The codec neither
// draws nor runs painters: an image passes drawing requests to the hook the renderer
// installs, and holds what the renderer keeps of it and of its frames only to drop that
// when what it shows changes. Without a hook an image draws nothing and has no painters.

#include <memory>

#include "platform/Graphic.h"

namespace corvane {

class TCanvas;
class TGIFImage;
class TGIFSubImage;

// What the renderer keeps of an image: its still picture.
class TGIFImageDrawing {
 public:
  virtual ~TGIFImageDrawing() = default;
};

// What the renderer keeps of a frame: its rendered bitmap, transparency mask and palette.
class TGIFFrameDrawing {
 public:
  virtual ~TGIFFrameDrawing() = default;
  virtual void DropBitmap() = 0;
  virtual void DropMask() = 0;
  // Forgets the frame's palette; answers whether a bitmap drawn with one was dropped.
  virtual bool DropPalette() = 0;
  // A copied frame shows the source's rendered bitmap; target keeps its other drawings
  // and is made when it is none.
  virtual void CopyBitmapTo(std::unique_ptr<TGIFFrameDrawing>& target) const = 0;
};

class TGIFRenderHook {
 public:
  virtual ~TGIFRenderHook() = default;
  virtual void Draw(TGIFImage& image, TCanvas& canvas, const TRect& rect) = 0;
  virtual TPalette Palette(TGIFImage& image) = 0;
  // Copy into a bitmap target; false for any other target.
  virtual bool CopyTo(TGIFImage& image, TPersistent& target) = 0;
  virtual bool CopyTo(TGIFSubImage& frame, TPersistent& target) = 0;
  // Stops the active painter and drops the still picture.
  virtual void DropStillPicture(TGIFImage& image) = 0;
  // Drops a still picture made with another palette than the image's; answers whether
  // there was one.
  virtual bool DropStillOfOtherPalette(TGIFImage& image) = 0;
  // Stops every painter, waiting until no threaded one is left, and drops the still picture.
  virtual void StopAllPainters(TGIFImage& image) = 0;
  // The image goes away: its painters let go of it.
  virtual void ForgetImage(TGIFImage& image) = 0;
};

// The renderer installs its hook once, before images are drawn.
void InstallGIFRenderHook(TGIFRenderHook& hook);
// None until the renderer is installed.
TGIFRenderHook* GIFRenderHook();

}  // namespace corvane
