#pragma once
// How the process's allocator treats the large buffers pictures need: called once by each
// program before it starts work.

namespace corvane {

// Keeps freed blocks of up to tens of megabytes in the heap for the next screen or frame
// instead of handing them back to the system at once.
void KeepLargeBlocksForReuse();

}  // namespace corvane
