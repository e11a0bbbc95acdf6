#pragma once
// The colour depth of the display the pictures are shown on, read once at start-up by the
// programs and settable so that tests can run as a 256-colour display. A headless run
// counts as a 24-bit display.

namespace corvane {

// Bits per pixel times planes of the screen.
int DisplayBitsPerPixel();
void SetDisplayBitsPerPixel(int bits);

}  // namespace corvane
