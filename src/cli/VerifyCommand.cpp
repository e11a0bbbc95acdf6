// corvane verify: whether two GIF files show the same animation in viewers.

#include <ostream>

#include "ArgParser.h"
#include "Command.h"
#include "GifLoader.h"
#include "gifopt/AnimationVerifier.h"
#include "platform/Exceptions.h"
#include "platform/FileUtils.h"

namespace corvane::cli {

namespace {

int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ParsedArgs parsed = Parse(args, {{{"--max-memory"}, true}});
  if (parsed.Positional().size() != 2) throw UsageError("expected the original and the optimized file");
  std::vector<uint8_t> original, optimized;
  try {
    original = ReadWholeFile(parsed.Positional()[0]);
    optimized = ReadWholeFile(parsed.Positional()[1]);
  } catch (const EFOpenError& e) {
    err << "corvane verify: " << e.what() << "\n";
    return 2;
  }
  TGIFRunBudget budget(MemoryBudgetOption(parsed));
  TAnimationDifference difference = CompareAnimations(original, optimized);
  if (difference.Kind == TAnimationDifference::TKind::Unreadable) {
    err << "corvane verify: " << difference.Message << "\n";
    return 2;
  }
  if (!difference.Equal()) {
    out << difference.Message << "\n";
    return 1;
  }
  out << "equal\n";
  return 0;
}

}  // namespace

extern const Command kVerifyCommand{
    "verify", "tell whether two GIF files show the same animation",
    "Usage: corvane verify [--max-memory MB] ORIGINAL OPTIMIZED\n\n"
    "Composes both files as web browsers and image viewers show them (disposal, transparency,\n"
    "display times and loop count) and compares the pictures. Prints \"equal\", or the first\n"
    "difference: the picture and pixel with both colours, a display time, the number of\n"
    "pictures or the loop count.\n\n"
    "Options:\n"
    "  --max-memory MB  megabytes of pixels both files may take, their frames and the\n"
    "                   pictures composed (default 4096); more fails naming the sizes\n\n"
    "Exit status: 0 when equal, 1 when they differ, 2 when a file cannot be read or for a\n"
    "usage error.\n",
    &RunVerify};

}  // namespace corvane::cli
