#pragma once
// Compares what two GIF files show in web browsers and image viewers: the pictures of their
// animations pixel by pixel with their display times, and their loop counts. Consecutive
// frames that leave the screen the same count as one picture; an animation of a single
// picture is a still, whose time and loop count do not matter.

#include <cstdint>
#include <span>
#include <string>

#include "gifopt/AnimationComposer.h"

namespace corvane {

struct TAnimationDifference {
  enum class TKind : uint8_t {
    None,          // the two files show the same
    Unreadable,    // a file cannot be read or composed (Message says which and why)
    Screen,        // the logical screens, or the screens browsers show, differ in size
    Pixel,         // picture Picture differs at X, Y: ColorA against ColorB
    Time,          // picture Picture is shown for TimeA against TimeB hundredths
    PictureCount,  // one animation ends after Picture pictures, the other goes on
    LoopCount,     // repeat counts LoopA against LoopB (-1: plays once, 0: forever)
  };

  TKind Kind = TKind::None;
  int Picture = 0;
  int FrameA = -1;  // the frames that first showed the picture
  int FrameB = -1;
  int X = 0;
  int Y = 0;
  TRGBA ColorA = 0;
  TRGBA ColorB = 0;
  int64_t TimeA = 0;
  int64_t TimeB = 0;
  int LoopA = kPlaysOnce;
  int LoopB = kPlaysOnce;
  std::string Message;  // the difference in words; empty when there is none

  bool Equal() const { return Kind == TKind::None; }
};

// Compares the animation of file a with that of file b.
TAnimationDifference CompareAnimations(std::span<const uint8_t> a, std::span<const uint8_t> b);

}  // namespace corvane
