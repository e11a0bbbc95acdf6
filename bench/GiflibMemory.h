#pragma once
// giflib input and output functions over memory, for running the peer on the same bytes.

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace corvane {

struct TGiflibMemory {
  const std::vector<uint8_t>* In = nullptr;
  size_t Position = 0;
  std::vector<uint8_t> Out;
};

inline int ReadGiflibMemory(GifFileType* gif, GifByteType* buffer, int count) {
  auto* memory = static_cast<TGiflibMemory*>(gif->UserData);
  size_t n = std::min(size_t(count), memory->In->size() - memory->Position);
  std::memcpy(buffer, memory->In->data() + memory->Position, n);
  memory->Position += n;
  return int(n);
}

inline int WriteGiflibMemory(GifFileType* gif, const GifByteType* buffer, int count) {
  auto* memory = static_cast<TGiflibMemory*>(gif->UserData);
  memory->Out.insert(memory->Out.end(), buffer, buffer + count);
  return count;
}

}  // namespace corvane
