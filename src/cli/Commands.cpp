#include <array>

#include "Command.h"

namespace corvane::cli {

extern const Command kJpegCommand;

std::span<const Command> Commands() {
  static const std::array<Command, 1> commands{kJpegCommand};
  return commands;
}

}  // namespace corvane::cli
