// corvane test: the Test run, which measures how small every file would get.

#include "Command.h"
#include "GifListCommand.h"

namespace corvane::cli {

namespace {

bool NoConfirmation(std::ostream&) { return true; }

int RunTest(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunGifList(Parse(args, GifListOptions()), false, out, err, NoConfirmation);
}

}  // namespace

extern const Command kTestCommand{
    "test", "measure how small GIF files would get, changing nothing",
    "Usage: corvane test [--two-pass] [--deep] [-j N] [--max-memory MB] [--json]\n"
    "                    [--keep-comments] [--keep-extensions] FILE|FOLDER...\n\n"
    "Optimizes every file in memory and prints a row for it as the GIF tab's list shows it:\n"
    "the file name, its size, the optimized size (or the error that stopped the file) and\n"
    "the reduction; then \"Total saved :  N bytes\" for the files that would get smaller.\n"
    "Folders are searched for *.gif files, recursively. A file that cannot be read, or a\n"
    "folder that cannot be searched, gets the reason in its row and the run goes on.\n"
    "Nothing is written. Ctrl-C stops the run at the file under work.\n\n"
    "Options:\n"
    "  --two-pass   also try each animation without masking unchanged pixels; keep the smaller\n"
    "  --deep       also encode each file anew from the pictures it shows, frame by frame;\n"
    "               smaller, slower; keep the smallest\n"
    "  -j, --jobs N work on N files at once (default: the number of cores); rows stay in order\n"
    "  --max-memory MB\n"
    "               megabytes of frame pixels the files under work may hold at once (default\n"
    "               4096); a file that needs more fails with a message naming the sizes\n"
    "  --json       one JSON object a line for each file, then one with the total\n"
    "  --keep-comments\n"
    "               keep comment blocks where they stand\n"
    "  --keep-extensions\n"
    "               keep application blocks (loop, XMP, ICC and others) where they stand\n\n"
    "By default comments, plain-text blocks and application blocks other than the loop\n"
    "extension are dropped, and the loop extension stays on the first frame of an animation\n"
    "only; the keep options keep their blocks at every level, --deep included.\n\n"
    "Exit status: 0 when every file was measured, 1 when a file or folder failed, 2 for a\n"
    "usage error, 130 when stopped.\n",
    &RunTest};

}  // namespace corvane::cli
