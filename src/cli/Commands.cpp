#include <array>

#include "Command.h"

namespace corvane::cli {

extern const Command kInfoCommand;
extern const Command kResaveCommand;
extern const Command kJpegCommand;
extern const Command kTestCommand;
extern const Command kOptimizeCommand;
extern const Command kVerifyCommand;

std::span<const Command> Commands() {
  static const std::array commands{kInfoCommand, kResaveCommand, kJpegCommand, kTestCommand, kOptimizeCommand, kVerifyCommand};
  return commands;
}

}  // namespace corvane::cli
