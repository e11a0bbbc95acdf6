#pragma once
// TScratchDirectory: a private directory (mode 0700) under the system's temporary
// directory, removed with everything in it when the object goes.

#include <filesystem>

namespace corvane {

class TScratchDirectory {
 public:
  // EFCreateError when no directory can be made.
  TScratchDirectory();
  ~TScratchDirectory();
  TScratchDirectory(const TScratchDirectory&) = delete;
  TScratchDirectory& operator=(const TScratchDirectory&) = delete;

  const std::filesystem::path& Path() const { return FPath; }

 private:
  std::filesystem::path FPath;
};

}  // namespace corvane
