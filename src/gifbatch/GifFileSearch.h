#pragma once
// The files a list of command-line paths stands for.

#include <string>
#include <vector>

namespace corvane {

// In the given order: each path that is not a folder as it is (a file that is not a GIF
// file or does not exist is listed too and fails when it is read), and for each folder
// the files anywhere below it whose extension is ".gif" in any case, sorted by path. Such
// entries below folders that are not regular files go to skipped, when given, instead.
std::vector<std::string> ListGifFiles(const std::vector<std::string>& paths,
                                      std::vector<std::string>* skipped = nullptr);

}  // namespace corvane
