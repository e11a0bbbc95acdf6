// corvane test: the Test run, which measures how small every file would get.

#include "Command.h"
#include "GifListCommand.h"

namespace corvane::cli {

namespace {

bool NoConfirmation(std::ostream&) { return true; }

int RunTest(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunGifList(Parse(args, GifListOptions()), TGifMode::Test, out, err, NoConfirmation);
}

}  // namespace

extern const Command kTestCommand{
    "test", "measure how small GIF files would get, changing nothing",
    "Usage: corvane test [--two-pass] [--deep] [-j N] [--max-memory MB] [--json] [-q]\n"
    "                    [--files-from LIST [-0]] [--keep-comments] [--keep-extensions]\n"
    "                    FILE|FOLDER|-...\n\n"
    "Optimizes every file in memory and prints a row for it: the path as given, its size,\n"
    "the optimized size, the reduction and the outcome ('can shrink', 'not smaller' or\n"
    "'failed: ' and the reason); on a terminal a header line first; then a closing line\n"
    "with the bytes and share that would be saved and the number of files. Folders are\n"
    "searched for *.gif files, recursively; '-' reads one file from standard input. A file\n"
    "that cannot be read, or a folder that cannot be searched, gets the reason in its row\n"
    "and the run goes on. Nothing is written. On a terminal the error output shows the files\n"
    "done. Ctrl-C stops the run at the file under work.\n\n"
    "Options:\n"
    "  --two-pass   also try each animation without masking unchanged pixels; keep the smaller\n"
    "  --deep       also encode each file anew from the pictures it shows, frame by frame;\n"
    "               smaller, slower; keep the smallest\n"
    "  -j, --jobs N work on N files at once (default: the number of cores); rows stay in order\n"
    "  --max-memory MB\n"
    "               megabytes of frame pixels the files under work may hold at once (default\n"
    "               4096); a file that needs more fails with a message naming the sizes\n"
    "  --json       one JSON object a line for each file, then one with the total\n"
    "  -q, --quiet  only the rows of files that failed, and the closing line\n"
    "  --files-from LIST\n"
    "               also the files named in LIST, one a line ('-': standard input), read as\n"
    "               the run goes, so that any number of files can be given\n"
    "  -0           the names in LIST end with a NUL byte, as find -print0 writes them\n"
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
