#include <array>

#include "Command.h"

namespace corvane::cli {

extern const Command kInfoCommand;
extern const Command kResaveCommand;
extern const Command kJpegCommand;
extern const Command kTestCommand;
extern const Command kOptimizeCommand;
extern const Command kVerifyCommand;
extern const Command kFramesCommand;

std::span<const Command> Commands() {
  static const std::array commands{kInfoCommand, kResaveCommand, kJpegCommand, kTestCommand, kOptimizeCommand, kVerifyCommand,
                                   kFramesCommand};
  return commands;
}

}  // namespace corvane::cli
