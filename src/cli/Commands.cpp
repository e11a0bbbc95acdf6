#include <array>

#include "Command.h"

namespace corvane::cli {

std::span<const Command> Commands() {
  static const std::array<Command, 0> commands{};
  return commands;
}

}  // namespace corvane::cli
