#include "surface/pixel_store.h"

#include "platform/heap.h"

// An invalid type (RC_NO_MEMORY) or an unusable size (RC_BAD_LENGTH) keeps the current block;
// otherwise the current block goes first, so a failed allocation (RC_NO_MEMORY) leaves no block
// at all.
ResultCode PixelStore::Allocate(PixelType type, int32_t width, int32_t height) {
  if (!IsValidPixelType(type)) return RC_NO_MEMORY;
  const int64_t rowBytes = static_cast<int64_t>(width) * BytesPerPixel(type);
  if (width <= 0 || !IsStorableBlock(rowBytes, height)) return RC_BAD_LENGTH;
  Free();
  buffer_ = AllocateHeapBlock(static_cast<size_t>(rowBytes * height));
  return buffer_ ? RC_OK : RC_NO_MEMORY;
}

ResultCode PixelStore::Free() {
  FreeHeapBlock(buffer_);
  buffer_ = nullptr;
  return RC_OK;
}

void* PixelStore::Pixels() { return buffer_; }

PixelStore::~PixelStore() { Free(); }
