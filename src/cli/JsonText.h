#pragma once
// Text as a JSON string. File names are bytes, not always UTF-8: a byte that is not part
// of a valid UTF-8 sequence is written as the escape \udcXX (XX its value), the lone
// surrogate that Python's "surrogateescape" decoding gives it, so that every line stays
// valid JSON and the name can still be told apart and restored.

#include <string>

namespace corvane::cli {

std::string JsonString(const std::string& text);

}  // namespace corvane::cli
