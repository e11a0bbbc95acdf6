#include "StandardStreamFiles.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <fstream>
#include <ostream>

#include "platform/Exceptions.h"

namespace corvane::cli {

namespace {

constexpr size_t kChunkBytes = 1 << 16;

// Copies standard input into the file; sizes are 32-bit signed counts, as for any file.
void CopyStandardInput(const std::string& file) {
  std::ofstream copy(file, std::ios::binary);
  char chunk[kChunkBytes];
  int64_t total = 0;
  for (;;) {
    ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EFOpenError("-", SystemReason(errno));
    if (n == 0) break;
    total += n;
    if (total > INT32_MAX) throw EFOpenError("-", SystemReason(EFBIG));
    copy.write(chunk, n);
  }
  if (!copy.flush()) throw EFCreateError(file, SystemReason(errno));
}

}  // namespace

TStandardStreamFiles::TStandardStreamFiles(bool input, bool output) {
  if (!input && !output) return;
  FScratch.emplace();
  if (output) FOutput = (FScratch->Path() / "standard-output.gif").string();
  if (!input) return;
  FInput = (FScratch->Path() / "standard-input.gif").string();
  CopyStandardInput(FInput);
}

void TStandardStreamFiles::CopyOutput(std::ostream& out) const {
  if (FOutput.empty()) return;
  std::ifstream written(FOutput, std::ios::binary);
  if (written && written.peek() != std::ifstream::traits_type::eof()) out << written.rdbuf();
  out << std::flush;
}

}  // namespace corvane::cli
