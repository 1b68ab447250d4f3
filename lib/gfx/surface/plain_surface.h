#pragma once
#include "surface/pixel_store.h"
#include "gfx/surface.h"

// The plain family's heap surface: basic operations only.
class PlainSurface : public Surface, public PixelStore {
 public:
  static constexpr int32_t kFamilyCode = 24;

  using Surface::Surface;

  ~PlainSurface() override;
  ResultCode Create(int32_t width, int32_t height) override;
  ResultCode Release() override;
  uint32_t* Lock() override;
  int32_t ByteSize() override;
  int32_t FamilyCode() override;
};
