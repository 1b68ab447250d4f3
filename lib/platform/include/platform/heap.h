#pragma once
// The ordinary heap for the library's own blocks (memory-file buffers, pixel blocks, the
// display's surface table). Natively it goes through the substitute, where tests can make it
// fail; the Windows builds use the C heap directly.
#include <cstddef>
#include <cstdlib>

#ifdef _WIN32
inline void* AllocateHeapBlock(size_t bytes) { return std::malloc(bytes); }
inline void FreeHeapBlock(void* block) { std::free(block); }
#else
void* AllocateHeapBlock(size_t bytes);  // uninitialised; null on failure
void FreeHeapBlock(void* block);
#endif
