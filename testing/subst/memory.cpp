// Global memory, the library's heap blocks and byte strings. GlobalAlloc here only ever hands
// out fixed blocks, which is all the library asks for; GMEM_ZEROINIT is honoured.
#include <cstdlib>
#include <cstring>

#include "fault_hooks.h"
#include "platform/heap.h"
#include "win32_subst.h"

HGLOBAL GlobalAlloc(UINT flags, size_t bytes) {
  if (subst::FaultDue(subst::Fault::kGlobalAlloc)) return nullptr;
  // Like Win32, a request for zero bytes still yields a distinct block.
  size_t size = bytes == 0 ? 1 : bytes;
  return (flags & GMEM_ZEROINIT) ? std::calloc(1, size) : std::malloc(size);
}

HGLOBAL GlobalFree(HGLOBAL block) {
  std::free(block);
  return nullptr;
}

int lstrlenA(LPCSTR text) {
  return text ? static_cast<int>(std::strlen(text)) : 0;
}

void* AllocateHeapBlock(size_t bytes) {
  if (subst::FaultDue(subst::Fault::kHeapAlloc)) return nullptr;
  return std::malloc(bytes);
}

void FreeHeapBlock(void* block) { std::free(block); }
