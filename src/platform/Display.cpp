#include "Display.h"

#include <atomic>

namespace corvane {

namespace {
std::atomic<int> displayBits{24};
}

int DisplayBitsPerPixel() { return displayBits.load(); }

void SetDisplayBitsPerPixel(int bits) { displayBits.store(bits); }

}  // namespace corvane
