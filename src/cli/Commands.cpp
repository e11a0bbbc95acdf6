#include <array>

#include "Command.h"

namespace corvane::cli {

extern const Command kInfoCommand;
extern const Command kResaveCommand;
extern const Command kJpegCommand;

std::span<const Command> Commands() {
  static const std::array commands{kInfoCommand, kResaveCommand, kJpegCommand};
  return commands;
}

}  // namespace corvane::cli
