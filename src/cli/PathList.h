#pragma once
// The paths of a list file, one a line or separated by NUL bytes, read as they are needed
// so that a list of millions of paths takes no more memory than one path.

#include <cstdio>
#include <string>

namespace corvane::cli {

class TPathList {
 public:
  // "-" reads standard input. EFOpenError with the system's reason when the file cannot
  // be opened.
  TPathList(const std::string& name, char separator);
  ~TPathList();
  TPathList(const TPathList&) = delete;
  TPathList& operator=(const TPathList&) = delete;

  // The next path, skipping empty ones; false at the end. EFOpenError when reading fails.
  bool Next(std::string& path);

 private:
  std::string FName;
  std::FILE* FFile;
  char FSeparator;
};

}  // namespace corvane::cli
