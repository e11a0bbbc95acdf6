#pragma once
// What the test and optimize commands share: the files named on the command line put on
// a list, the run over it with its options, and the rows and total printed.

#include <iosfwd>
#include <string>
#include <vector>

#include "ArgParser.h"

namespace corvane::cli {

// The options both commands take.
std::vector<OptionRule> GifListOptions();

// Runs the list of files named by parsed's positional arguments (folders are searched
// for *.gif). confirm is asked, with the list's length, before an Optimize run of a
// list that is not empty; false starts nothing. Answers the exit status: 0 when every
// file was measured (and replaced where smaller), 1 when a file failed or was not
// replaced, 130 after an abort.
int RunGifList(const ParsedArgs& parsed, bool optimize, std::ostream& out, std::ostream& err,
               bool (*confirm)(std::ostream& err));

}  // namespace corvane::cli
