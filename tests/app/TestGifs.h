#pragma once
// GIF files for the window tests, made with the test GIF builder.

#include <QString>
#include <cstdint>
#include <vector>

namespace corvane::test {

using TBytes = std::vector<uint8_t>;

// Two colours under a global table of 256 entries, and a comment: the optimizer shrinks it.
TBytes SloppyGif(int width = 16, int height = 16);
// Already as small as the optimizer makes it: optimizing it again saves nothing.
TBytes TightGif();
// Frames of one colour each, from colour 1 on, that loop forever with the given delay in
// hundredths of a second.
TBytes AnimatedGif(int frames, int width, int height, int delay);

void WriteFile(const QString& path, const TBytes& bytes);
TBytes ReadFile(const QString& path);

}  // namespace corvane::test
