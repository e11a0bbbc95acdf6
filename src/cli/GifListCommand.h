#pragma once
// What the test and optimize commands share: the files named on the command line or in a
// list file put on the list, the run over it with its options, and the rows and total
// printed.

#include <iosfwd>
#include <string>
#include <vector>

#include "ArgParser.h"
#include "gifbatch/GifRunSettings.h"

namespace corvane::cli {

// The options both commands take.
std::vector<OptionRule> GifListOptions();

// Runs the files named by parsed's positional arguments (folders are searched for *.gif)
// and by its list file. confirm is asked before an Optimize run that replaces files, when
// there are any; false starts nothing. Answers the exit status: 0 when every file was
// measured (and replaced or written where asked), 1 when a file failed or was not
// replaced, 130 after an abort.
int RunGifList(const ParsedArgs& parsed, TGifMode mode, std::ostream& out, std::ostream& err,
               bool (*confirm)(std::ostream& err));

}  // namespace corvane::cli
