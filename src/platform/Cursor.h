#pragma once
// The screen cursors a window model asks its window to show while it works.

#include <cstdint>

namespace corvane {

enum class TCursor : uint8_t { crDefault, crHourGlass, crAppStart, crHandPoint };

}  // namespace corvane
