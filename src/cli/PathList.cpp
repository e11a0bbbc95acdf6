#include "PathList.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "platform/Exceptions.h"

namespace corvane::cli {

TPathList::TPathList(const std::string& name, char separator)
    : FName(name), FFile(name == "-" ? stdin : std::fopen(name.c_str(), "rb")), FSeparator(separator) {
  if (!FFile) throw EFOpenError(name, SystemReason(errno));
  struct stat status {};
  if (::fstat(::fileno(FFile), &status) == 0 && S_ISDIR(status.st_mode)) {
    if (FFile != stdin) std::fclose(FFile);
    throw EFOpenError(name, SystemReason(EISDIR));
  }
}

TPathList::~TPathList() {
  if (FFile != stdin) std::fclose(FFile);
}

bool TPathList::Next(std::string& path) {
  char* line = nullptr;
  size_t capacity = 0;
  ssize_t length;
  while ((length = ::getdelim(&line, &capacity, FSeparator, FFile)) >= 0) {
    if (length > 0 && line[length - 1] == FSeparator) --length;
    if (length > 0) break;
  }
  int error = errno;
  if (length > 0) path.assign(line, size_t(length));
  std::free(line);
  if (length < 0 && std::ferror(FFile)) throw EFOpenError(FName, SystemReason(error));
  return length > 0;
}

}  // namespace corvane::cli
