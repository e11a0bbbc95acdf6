#pragma once
// The size texts of the JPEG tab's labels.

#include <cstdint>
#include <string>

namespace corvane {

// The decimal digits of n (never negative) with "," between groups of three: 1,234,567.
std::string GroupDigits(int64_t n);

// "1,025 Bytes (1 KB)": the grouped byte count and " Bytes ", and above 1024 bytes the
// whole kilobytes in brackets.
std::string FormatByteSize(int64_t n);

}  // namespace corvane
