#include "JsonText.h"

#include <cstdint>
#include <cstdio>

namespace corvane::cli {

namespace {

constexpr unsigned kFirstPrintable = 0x20;
constexpr unsigned kEscapedByteBase = 0xDC00;

// The length of the valid UTF-8 sequence at text[at], or 0: no overlong forms, no
// surrogates, nothing above U+10FFFF.
size_t Utf8Length(const std::string& text, size_t at) {
  auto byte = [&](size_t i) { return at + i < text.size() ? uint8_t(text[at + i]) : uint8_t(0); };
  auto continuation = [&](size_t i) { return (byte(i) & 0xC0) == 0x80; };
  uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    uint8_t low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
    return byte(1) >= low && byte(1) <= high && continuation(2) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    uint8_t low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
    return byte(1) >= low && byte(1) <= high && continuation(2) && continuation(3) ? 4 : 0;
  }
  return 0;
}

void AppendEscape(std::string& out, unsigned code) {
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\u%04x", code);
  out += escape;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (size_t i = 0; i < text.size();) {
    uint8_t c = uint8_t(text[i]);
    size_t length = Utf8Length(text, i);
    if (length == 0) {
      AppendEscape(quoted, kEscapedByteBase + c);
      ++i;
      continue;
    }
    if (c == '"' || c == '\\')
      quoted += '\\';
    if (c < kFirstPrintable)
      AppendEscape(quoted, c);
    else
      quoted.append(text, i, length);
    i += length;
  }
  return quoted + "\"";
}

}  // namespace corvane::cli
