#pragma once
// The files a list of paths given by the user stands for: the one folder search of the
// command line and the GUI.
//
// Hidden files are taken only when named explicitly: below a folder, files and folders
// whose name starts with '.' are left out (a hidden folder is not searched), as file
// managers and shells leave them out; a hidden file or folder given as a path is taken.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace corvane {

// Told of a folder whose entries cannot be listed, with the message naming it and the
// system's reason.
using TFolderError = std::function<void(const std::string& folder, const std::string& message)>;

// In the given order: each path that is not a folder as it is (a file that is not a GIF
// file or does not exist is listed too and fails when it is read), and for each folder
// the files anywhere below it whose extension is ".gif" in any case, sorted by path,
// hidden ones left out.
// A folder that cannot be read is told to folderError and the search goes on. Such entries
// below folders that are not regular files go to skipped, when given, instead.
// Whether the name of path ends in ".gif", in any case.
bool HasGifExtension(const std::filesystem::path& path);

std::vector<std::string> ListGifFiles(const std::vector<std::string>& paths, const TFolderError& folderError = {},
                                      std::vector<std::string>* skipped = nullptr);

}  // namespace corvane
