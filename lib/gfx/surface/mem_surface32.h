#pragma once
#include "surface/pixel_store.h"
#include "gfx/surface32.h"

// A 32-bit drawing surface in a heap block. It cannot be presented.
class MemSurface32 : public Surface32, public PixelStore {
 public:
  static constexpr int32_t kFamilyCode = 15;

  using Surface32::Surface32;

  ~MemSurface32() override;
  ResultCode Create(int32_t width, int32_t height) override;
  ResultCode Release() override;
  uint32_t* Lock() override;
  int32_t ByteSize() override;
  int32_t FamilyCode() override;
  HDC PresentDC() override;
  void Reserved() override;
};
