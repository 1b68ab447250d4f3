#pragma once
#include "surface/dib_store.h"
#include "gfx/surface32.h"

// A 32-bit drawing surface in a DIB section: the kind the display presents from.
class DibSurface32 : public Surface32, public DibStore {
 public:
  static constexpr int32_t kFamilyCode = 15;

  using Surface32::Surface32;

  ~DibSurface32() override;
  ResultCode Create(int32_t width, int32_t height) override;
  ResultCode Release() override;
  uint32_t* Lock() override;
  HDC GetDeviceContext() override;
  int32_t ByteSize() override;
  int32_t FamilyCode() override;
  HDC PresentDC() override;
  void Reserved() override;
};
