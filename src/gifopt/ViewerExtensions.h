#pragma once
// Leaves an image with only the control and loop extensions that viewers follow, so that the
// optimizer, which reads a frame's first control extension, sees what viewers see; and moves
// the loop extension where the writer must put it.

namespace corvane {

class TGIFImage;
class TGIFSubImage;

// A frame with several control extensions keeps one, equal to the last of them; of several
// loop extensions in the image the last one stays.
void KeepViewerExtensions(TGIFImage& image);

// Moves the frame's loop extensions to the end of the first frame's extensions.
void MoveLoopExtensionsToFirstFrame(TGIFSubImage& frame);

}  // namespace corvane
