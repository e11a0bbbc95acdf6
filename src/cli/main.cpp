// corvane: the command-line program.

#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "ArgParser.h"
#include "Command.h"
#include "platform/AllocatorTuning.h"

namespace {

using corvane::cli::Command;

void PrintProgramHelp(std::ostream& out) {
  out << "Usage: corvane COMMAND [OPTIONS] ARGS...\n\n"
         "Makes GIF files smaller without changing how they look, and turns pictures into JPEG files.\n\n"
         "Commands:\n";
  for (const Command& c : corvane::cli::Commands()) out << "  " << c.Name << std::string(10 - std::strlen(c.Name), ' ') << c.Summary << "\n";
  out << "\nRun 'corvane COMMAND --help' for the options of a command, 'corvane --version' for the version.\n"
         "Exit status: as each command's help tells; 2 for a usage error.\n";
}

}  // namespace

int main(int argc, char** argv) {
  corvane::KeepLargeBlocksForReuse();
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintProgramHelp(std::cout);
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    std::cout << "corvane " CORVANE_VERSION "\n";
    return 0;
  }
  for (const Command& c : corvane::cli::Commands()) {
    if (args[0] != c.Name) continue;
    std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const std::string& a : rest) {
      if (a == "--") break;
      if (a == "--help" || a == "-h") {
        std::cout << c.Help;
        return 0;
      }
    }
    try {
      return c.Run(rest, std::cout, std::cerr);
    } catch (const corvane::cli::UsageError& e) {
      std::cerr << "corvane " << c.Name << ": " << e.what() << " (see 'corvane " << c.Name << " --help')\n";
      return 2;
    } catch (const std::exception& e) {
      std::cerr << "corvane " << c.Name << ": " << e.what() << "\n";
      return 1;
    }
  }
  std::cerr << "corvane: unknown command '" << args[0] << "' (see 'corvane --help')\n";
  return 2;
}
