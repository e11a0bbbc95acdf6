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
  options.push_back({{"--preserve-time"}});
  ParsedArgs parsed = Parse(args, options);
  return RunGifList(parsed, true, out, err, parsed.Has("--yes") ? AlreadyConfirmed : Confirmed);
}

}  // namespace

extern const Command kOptimizeCommand{
    "optimize", "replace GIF files by their optimized encoding where it is smaller",
    "Usage: corvane optimize [--two-pass] [--deep] [--backup DIR] [--yes] [--no-verify]\n"
    "                        [--preserve-time] [-j N] [--max-memory MB] [--json]\n"
    "                        [--keep-comments] [--keep-extensions] FILE|FOLDER...\n\n"
    "Optimizes every file and replaces it when the new encoding is strictly smaller; prints\n"
    "the rows and the total as 'corvane test' does. A file is replaced as a whole or not at\n"
    "all, keeps its permissions and, where the system allows, its owner and group. Before a\n"
    "file is replaced, its new encoding is composed as viewers show it and compared with\n"
    "the file; one that would look different is left as it is and its row says why, as is\n"
    "a file that changed while the run worked on it. A file that cannot be read, backed up\n"
    "or replaced gets the reason in its row and the run goes on. On a terminal the run asks\n"
    "for confirmation first; elsewhere it needs --yes. Ctrl-C stops the run: the file under\n"
    "work and those after it are not replaced.\n\n"
    "Options:\n"
    "  --two-pass       also try each animation without masking unchanged pixels; keep the\n"
    "                   smaller\n"
    "  --deep           also encode each file anew from the pictures it shows, frame by\n"
    "                   frame; smaller, slower; keep the smallest\n"
    "  --backup DIR     first copy every file read, as it was, to DIR (which must exist),\n"
    "                   below it the path as given (an absolute one without its leading /);\n"
    "                   an earlier copy with other bytes is kept and the new one takes the\n"
    "                   name 'NAME (2).gif', and so on, which its row tells; DIR may not be\n"
    "                   a listed file's folder\n"
    "  -y, --yes        do not ask for confirmation\n"
    "  --no-verify      replace files without comparing what they show\n"
    "  --preserve-time  a replaced file keeps its modification time\n"
    "  -j, --jobs N     work on N files at once (default: the number of cores); rows stay in\n"
    "                   order, and the run ends as with -j 1\n"
    "  --max-memory MB  megabytes of frame pixels the files under work may hold at once\n"
    "                   (default 4096); a file that needs more fails with a message naming them\n"
    "  --json           one JSON object a line for each file, then one with the total\n"
    "  --keep-comments  keep comment blocks where they stand\n"
    "  --keep-extensions\n"
    "                   keep application blocks (loop, XMP, ICC and others) where they stand\n\n"
    "By default comments, plain-text blocks and application blocks other than the loop\n"
    "extension are dropped, and the loop extension stays on the first frame of an animation\n"
    "only; the keep options keep their blocks at every level, --deep included.\n\n"
    "Exit status: 0 when every file was measured and replaced where smaller, 1 when a file\n"
    "or folder failed, or a file was left because it would look different or changed,\n"
    "2 for a usage error, 130 when stopped.\n",
    &RunOptimize};

}  // namespace corvane::cli
