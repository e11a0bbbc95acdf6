// corvane optimize: the Optimize run, which replaces every file whose optimized encoding
// is strictly smaller.

#include <unistd.h>

#include <iostream>
#include <string>

#include "Command.h"
#include "GifListCommand.h"

namespace corvane::cli {

namespace {

bool AskOnTerminal(std::ostream& err) {
  err << "Are you sure that you want to Optimize all the GIF files ?\n"
         "If you do not setup backup directory , the files will be modified!\n"
         "[y/N] "
      << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

bool Confirmed(std::ostream& err) {
  if (::isatty(STDIN_FILENO) != 1) throw UsageError("not replacing files without confirmation: pass --yes");
  return AskOnTerminal(err);
}

bool AlreadyConfirmed(std::ostream&) { return true; }

int RunOptimize(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<OptionRule> options = GifListOptions();
  options.push_back({{"--backup"}, true});
  options.push_back({{"--yes", "-y"}});
  options.push_back({{"--no-verify"}});
  ParsedArgs parsed = Parse(args, options);
  return RunGifList(parsed, true, out, err, parsed.Has("--yes") ? AlreadyConfirmed : Confirmed);
}

}  // namespace

extern const Command kOptimizeCommand{
    "optimize", "replace GIF files by their optimized encoding where it is smaller",
    "Usage: corvane optimize [--two-pass] [--backup DIR] [--yes] [--no-verify] [-j N] [--json]\n"
    "                        [--max-memory MB] FILE|FOLDER...\n\n"
    "Optimizes every file and replaces it when the new encoding is strictly smaller; prints\n"
    "the rows and the total as 'corvane test' does. A file is replaced as a whole or not at\n"
    "all. Before a file is replaced, its new encoding is composed as viewers show it and\n"
    "compared with the file; one that would look different is left as it is and its row\n"
    "says why. On a terminal the run asks for confirmation first; elsewhere it needs --yes.\n"
    "Ctrl-C stops the run: the file under work is not replaced.\n\n"
    "Options:\n"
    "  --two-pass     also try each animation without masking unchanged pixels; keep the smaller\n"
    "  --backup DIR   first copy every file read, as it was, to DIR (which must exist); a\n"
    "                 later file of the same name replaces the earlier copy\n"
    "  -y, --yes      do not ask for confirmation\n"
    "  --no-verify    replace files without comparing what they show\n"
    "  -j, --jobs N   work on N files at once (default: the number of cores); rows stay in order\n"
    "  --max-memory MB\n"
    "                 megabytes of frame pixels the files under work may hold at once\n"
    "                 (default 4096); a file that needs more fails with a message naming them\n"
    "  --json         one JSON object a line for each file, then one with the total\n\n"
    "Exit status: 0 when every file was measured and replaced where smaller, 1 when a file\n"
    "failed or was left because it would look different, or a file cannot be opened or\n"
    "written, 2 for a usage error, 130 when stopped.\n",
    &RunOptimize};

}  // namespace corvane::cli
