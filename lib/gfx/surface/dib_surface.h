#pragma once
#include "surface/dib_store.h"
#include "gfx/surface.h"

// The plain family's DIB-section surface: basic operations only.
class DibSurface : public Surface, public DibStore {
 public:
  static constexpr int32_t kFamilyCode = 24;

  using Surface::Surface;

  ~DibSurface() override;
  ResultCode Create(int32_t width, int32_t height) override;
  ResultCode Release() override;
  uint32_t* Lock() override;
  HDC GetDeviceContext() override;
  int32_t ByteSize() override;
  int32_t FamilyCode() override;
};
