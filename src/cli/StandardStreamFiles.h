#pragma once
// A GIF file read from standard input or written to standard output goes through a file
// in a private temporary folder, so that the run reads and writes it as any other file.

#include <iosfwd>
#include <optional>
#include <string>

#include "imageimport/ScratchDirectory.h"

namespace corvane::cli {

class TStandardStreamFiles {
 public:
  // input: standard input is copied into the input file now; EFOpenError when it cannot
  // be read or holds more than a GIF file may.
  TStandardStreamFiles(bool input, bool output);

  // Empty when not asked for.
  const std::string& InputPath() const { return FInput; }
  const std::string& OutputPath() const { return FOutput; }
  // The output file, when the run wrote it, onto out.
  void CopyOutput(std::ostream& out) const;

 private:
  std::optional<TScratchDirectory> FScratch;
  std::string FInput, FOutput;
};

}  // namespace corvane::cli
