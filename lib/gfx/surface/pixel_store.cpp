#include "surface/pixel_store.h"

#include <cstddef>

#include "platform/heap.h"

// The pixels start on a cache line, so that on a surface whose rows are whole lines no vector
// of the row kernels straddles two. One that does costs two accesses: on large surfaces that
// made the 16-pixel kernels slower than the 8-pixel ones.
constexpr uintptr_t kLineBytes = 64;

// An invalid type (RC_NO_MEMORY) or an unusable size (RC_BAD_LENGTH) keeps the current block;
// otherwise the current block goes first, so a failed allocation (RC_NO_MEMORY) leaves no block
// at all.
ResultCode PixelStore::Allocate(PixelType type, int32_t width, int32_t height) {
  if (!IsValidPixelType(type)) return RC_NO_MEMORY;
  const int64_t rowBytes = static_cast<int64_t>(width) * BytesPerPixel(type);
  if (width <= 0 || !IsStorableBlock(rowBytes, height)) return RC_BAD_LENGTH;
  Free();
  block_ = AllocateHeapBlock(static_cast<size_t>(rowBytes * height) + kLineBytes - 1);
  if (!block_) return RC_NO_MEMORY;
  const uintptr_t address = reinterpret_cast<uintptr_t>(block_);
  pixels_ = static_cast<std::byte*>(block_) + (-address & (kLineBytes - 1));
  return RC_OK;
}

ResultCode PixelStore::Free() {
  FreeHeapBlock(block_);
  block_ = pixels_ = nullptr;
  return RC_OK;
}

void* PixelStore::Pixels() { return pixels_; }

PixelStore::~PixelStore() { Free(); }
