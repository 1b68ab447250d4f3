#pragma once
#include "gfx/surface.h"
#include "surface/dib_store.h"
#include "surface/pixel_store.h"

// The storage half of the concrete surface classes, written once for both families: Base is
// Surface or Surface32, the second base the heap block or the DIB section. These override only
// operations their Base declares, so the table order stays the Base's.

template <typename Base, int32_t kFamily>
class OnHeap : public Base, public PixelStore {
 public:
  static constexpr int32_t kFamilyCode = kFamily;

  using Base::Base;

  ResultCode Create(int32_t width, int32_t height) override {
    return this->CreateOnHeap(*this, width, height);
  }
  ResultCode Release() override {
    Surface::Release();
    return Free();
  }
  uint32_t* Lock() override { return this->LockPixels(Pixels()); }
  int32_t ByteSize() override { return this->StorageBytes(); }
  int32_t FamilyCode() override { return kFamily; }
};

template <typename Base, int32_t kFamily>
class InSection : public Base, public DibStore {
 public:
  static constexpr int32_t kFamilyCode = kFamily;

  using Base::Base;

  ResultCode Create(int32_t width, int32_t height) override {
    return this->CreateInSection(*this, width, height);
  }
  ResultCode Release() override {
    DestroySection();
    return Surface::Release();
  }
  uint32_t* Lock() override { return this->LockPixels(Bits()); }
  HDC GetDeviceContext() override { return MemoryDC(); }
  int32_t ByteSize() override { return this->StorageBytes(); }
  int32_t FamilyCode() override { return kFamily; }
};
