#pragma once
// Installs the drawing and playing of GIF images into the codec's render hook. Programs
// that draw GIF images call it once before they do; the functions of this library that
// draw call it themselves.

namespace corvane {

// Safe to call more than once and from any thread.
void InstallGIFRenderer();

}  // namespace corvane
