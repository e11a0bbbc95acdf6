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
  options.push_back({{"-o", "--output"}, true});
  options.push_back({{"--output-dir"}, true});
  ParsedArgs parsed = Parse(args, options);
  return RunGifList(parsed, TGifMode::Optimize, out, err, parsed.Has("--yes") ? AlreadyConfirmed : Confirmed);
}

}  // namespace

extern const Command kOptimizeCommand{
    "optimize", "replace GIF files by their optimized encoding where it is smaller",
    "Usage: corvane optimize [--two-pass] [--deep] [--backup DIR] [--yes] [--no-verify]\n"
    "                        [--preserve-time] [-o OUT | --output-dir DIR] [-j N]\n"
    "                        [--max-memory MB] [--json] [-q] [--files-from LIST [-0]]\n"
    "                        [--keep-comments] [--keep-extensions] FILE|FOLDER|-...\n\n"
    "Optimizes every file and replaces it when the new encoding is strictly smaller; prints\n"
    "the rows and the closing line as 'corvane test' does, with the outcomes 'replaced',\n"
    "'kept: not smaller', 'not replaced: looks different (...)', 'not replaced: ' and why,\n"
    "or 'failed: ' and the reason. A file is replaced as a whole or not at all, keeps its\n"
    "permissions and, where the system allows, its owner and group. Before a file is\n"
    "replaced, its new encoding is composed as viewers show it and compared with the file;\n"
    "one that would look different is left as it is, as is a file that changed while the\n"
    "run worked on it. A file that cannot be read, backed up or replaced gets the reason in\n"
    "its row and the run goes on. On a terminal the run asks for confirmation first;\n"
    "elsewhere it needs --yes. Ctrl-C stops the run: the file under work and those after it\n"
    "are not replaced.\n\n"
    "With -o or --output-dir no input is changed and nothing is asked: each output gets the\n"
    "smaller encoding ('written') or else the input's own bytes ('kept'), written whole or\n"
    "not at all; an existing output is replaced. '-' reads one file from standard input and,\n"
    "without -o, writes it to standard output; the rows then go to the error output.\n\n"
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
    "  -o, --output OUT write the one input file's result to OUT ('-': standard output)\n"
    "  --output-dir DIR write the results below DIR, made when missing: a file found in a\n"
    "                   folder given at the path below that folder, any other at its path\n"
    "                   as given (an absolute one without its leading /); DIR may not lie in\n"
    "                   a folder given, and a file in DIR is not read ('not written')\n"
    "  -j, --jobs N     work on N files at once (default: the number of cores); rows stay in\n"
    "                   order, and the run ends as with -j 1\n"
    "  --max-memory MB  megabytes of frame pixels the files under work may hold at once\n"
    "                   (default 4096); a file that needs more fails with a message naming them\n"
    "  --json           one JSON object a line for each file, then one with the total\n"
    "  -q, --quiet      only the rows of files that failed or were not replaced, and the\n"
    "                   closing line\n"
    "  --files-from LIST\n"
    "                   also the files named in LIST, one a line ('-': standard input), read\n"
    "                   as the run goes, so that any number of files can be given\n"
    "  -0               the names in LIST end with a NUL byte, as find -print0 writes them\n"
    "  --keep-comments  keep comment blocks where they stand\n"
    "  --keep-extensions\n"
    "                   keep application blocks (loop, XMP, ICC and others) where they stand\n\n"
    "By default comments, plain-text blocks and application blocks other than the loop\n"
    "extension are dropped, and the loop extension stays on the first frame of an animation\n"
    "only; the keep options keep their blocks at every level, --deep included.\n\n"
    "Exit status: 0 when every file was measured and replaced (or written) where smaller,\n"
    "1 when a file or folder failed, or a file was left because it would look different,\n"
    "changed or could not be written, 2 for a usage error, 130 when stopped.\n",
    &RunOptimize};

}  // namespace corvane::cli
