#include "SizeText.h"

namespace corvane {

std::string GroupDigits(int64_t n) {
  std::string digits = std::to_string(n);
  for (int i = int(digits.size()) - 3; i > 0; i -= 3) digits.insert(size_t(i), ",");
  return digits;
}

std::string FormatByteSize(int64_t n) {
  std::string text = GroupDigits(n) + " Bytes ";
  if (n > 1024) text += "(" + GroupDigits(n / 1024) + " KB)";
  return text;
}

}  // namespace corvane
