#include <array>

#include "Command.h"

namespace corvane::cli {

extern const Command kInfoCommand;
extern const Command kResaveCommand;

std::span<const Command> Commands() {
  static const std::array commands{kInfoCommand, kResaveCommand};
  return commands;
}

}  // namespace corvane::cli
