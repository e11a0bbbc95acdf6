#pragma once
// The commands of the corvane program. Each command lives in a file of its own and is
// listed in Commands.cpp.

#include <iosfwd>
#include <span>
#include <string>
#include <vector>

namespace corvane::cli {

struct Command {
  const char* Name;
  const char* Summary;  // one line for the program's help
  const char* Help;     // the command's own --help text
  // Runs with the arguments after the command name; answers the exit status.
  int (*Run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

std::span<const Command> Commands();

}  // namespace corvane::cli
