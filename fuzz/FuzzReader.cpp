// Fuzz target of one picture reader of our own, the one registered for the extension
// CORVANE_FUZZ_EXTENSION names at build time; the input is the whole file. Its seeds
// are the conformance files of that format.

#include "ImportFuzzing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  corvane::fuzz::LimitImportPixelsForFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  corvane::fuzz::LoadAndDraw(CORVANE_FUZZ_EXTENSION, data, size);
  return 0;
}
