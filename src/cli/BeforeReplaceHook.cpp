#include "BeforeReplaceHook.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace corvane::cli {

std::function<void(const std::string& path)> BeforeReplaceHook() {
  const char* program = std::getenv("CORVANE_TEST_BEFORE_REPLACE");
  if (!program || !*program) return {};
  return [program = std::string(program)](const std::string& path) {
    std::string name = program, argument = path;
    char* argv[] = {name.data(), argument.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, name.c_str(), nullptr, nullptr, argv, environ) != 0) return;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
  };
}

}  // namespace corvane::cli
