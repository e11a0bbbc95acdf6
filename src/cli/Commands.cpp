#include <array>

#include "Command.h"

namespace corvane::cli {

extern const Command kInfoCommand;
extern const Command kResaveCommand;
extern const Command kJpegCommand;
extern const Command kFramesCommand;

std::span<const Command> Commands() {
  static const std::array commands{kInfoCommand, kResaveCommand, kJpegCommand, kFramesCommand};
  return commands;
}

}  // namespace corvane::cli
