#pragma once
// Leaves every frame with only the control extension that viewers follow, and moves a loop
// extension where the writer must put it.

namespace corvane {

class TGIFImage;
class TGIFSubImage;

// A frame with several control extensions keeps one, equal to the last of them. Loop
// extensions stay.
void KeepViewerExtensions(TGIFImage& image);

// Moves the frame's loop extension to the end of the first frame's extensions, unless the
// image has several.
void MoveLoopExtensionsToFirstFrame(TGIFSubImage& frame);

}  // namespace corvane
