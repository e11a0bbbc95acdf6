#pragma once
// How web browsers and image viewers read the timing, disposal, transparency and looping of
// an animation. The optimizer keeps to these rules so that what they show stays the same,
// and the animation composer shows frames by them.

#include <cstdint>

namespace corvane {

class TGIFAppExtNSLoop;
class TGIFGraphicControlExtension;
class TGIFImage;
class TGIFSubImage;

// What happens to a frame's place on the screen once its time is up.
enum class TDisposalEffect : uint8_t {
  Keep,     // disposal 0, 1 and 5 to 7: the frame stays
  Clear,    // disposal 2: its rectangle becomes transparent
  Restore,  // disposal 3 and 4: the screen goes back to what it was before the frame
};

TDisposalEffect DisposalEffect(uint8_t disposal);

// The control extension that viewers apply to a frame: the last one in front of its image.
// None when the frame has none.
const TGIFGraphicControlExtension* ViewerControlBlock(const TGIFSubImage& frame);
TDisposalEffect FrameDisposalEffect(const TGIFSubImage& frame);
// Whether the frame's pixels stay on the screen in every viewer: it has no control block or
// disposal 0 or 1. Viewers differ on 4 to 7.
bool StaysOnScreen(const TGIFSubImage& frame);

// Browsers show a frame with a delay of 0 or 1 hundredths for 10 hundredths; other viewers
// take such delays as they are.
inline constexpr int kShortestDelay = 10;
constexpr int DisplayTime(uint16_t delay) { return delay <= 1 ? kShortestDelay : delay; }
constexpr bool DelayReadsAlike(uint16_t delay) { return delay > 1; }
// The delay of the frame's control block (0 without one), in hundredths of a second.
uint16_t FrameDelay(const TGIFSubImage& frame);
// The display time of a frame as browsers show it, in hundredths of a second.
int FrameDisplayTime(const TGIFSubImage& frame);

// Viewers differ on which of several loop extensions they follow, so such files keep all of
// them where they are.
bool HasSeveralLoopExtensions(const TGIFImage& image);
bool HoldsLoopExtension(const TGIFSubImage& frame);
// The loop extension this program follows: the last one in the file. None when there is none.
const TGIFAppExtNSLoop* ViewerLoopExtension(const TGIFImage& image);
// Its repeat count (0: forever), or -1 for an animation that plays once.
inline constexpr int kPlaysOnce = -1;
int ViewerLoopCount(const TGIFImage& image);

// The screen browsers show: they widen the logical screen to hold a first frame that passes
// its right or bottom edge, where other viewers cut the frame at the edge.
struct TScreenSize {
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TScreenSize&, const TScreenSize&) = default;
};
TScreenSize BrowserScreen(const TGIFImage& image);
// Whether frame i passes the logical screen's edge and so widens the screen browsers show.
bool WidensBrowserScreen(const TGIFImage& image, int i);

}  // namespace corvane
