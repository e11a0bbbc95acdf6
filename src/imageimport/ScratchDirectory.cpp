#include "ScratchDirectory.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/Exceptions.h"

namespace corvane {

TScratchDirectory::TScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "corvane-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw EFCreateError(pattern);
  FPath = pattern;
}

TScratchDirectory::~TScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

}  // namespace corvane
