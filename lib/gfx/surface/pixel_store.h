#pragma once
#include <cstdint>

#include "common/result_code.h"
#include "gfx/pixel_type.h"

// Pixel storage in a plain heap block; the second base of the heap surfaces. It owns the block.
class PixelStore {
 public:
  PixelStore() = default;

  // Virtual operations, in table order: the destructor comes last here.
  virtual ResultCode Allocate(PixelType type, int32_t width, int32_t height);
  virtual ResultCode Free();
  virtual void* Pixels();
  virtual ~PixelStore();

  PixelStore(const PixelStore&) = delete;
  PixelStore& operator=(const PixelStore&) = delete;

 private:
  void* block_ = nullptr;   // as the heap handed it out
  void* pixels_ = nullptr;  // its first cache-line boundary
};
