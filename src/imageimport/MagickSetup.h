#pragma once
// Prepares ImageMagick, once per process, so that it can only run the coders the picture
// readers name: a policy in a private directory (through MAGICK_CONFIGURE_PATH) denies
// every other coder, every delegate program, every filter and indirect "@file" names,
// and resource limits cap the size and memory of a picture.

namespace corvane {

// EInvalidGraphic when the policy did not take effect; then nothing is read with ImageMagick.
void EnsureMagickReady();

}  // namespace corvane
