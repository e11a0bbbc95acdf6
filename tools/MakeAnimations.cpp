// make_animations DIR: writes the generated animations that the optimizer benchmark and
// tests run on into DIR, to try the commands on.

#include <cstdio>
#include <exception>
#include <filesystem>

#include "platform/FileUtils.h"
#include "support/VariedAnimations.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: make_animations DIR\n");
    return 2;
  }
  try {
    for (const corvane::test::TGeneratedGif& gif : corvane::test::VariedAnimations())
      corvane::WriteFileAtomically(std::filesystem::path(argv[1]) / gif.Name, gif.Bytes);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_animations: %s\n", e.what());
    return 1;
  }
  return 0;
}
