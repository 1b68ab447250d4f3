#include "surface/dib_surface.h"

DibSurface::~DibSurface() = default;

ResultCode DibSurface::Create(int32_t width, int32_t height) {
  return CreateInSection(*this, width, height);
}

ResultCode DibSurface::Release() {
  DestroySection();
  return Surface::Release();
}

uint32_t* DibSurface::Lock() { return LockPixels(Bits()); }

HDC DibSurface::GetDeviceContext() { return MemoryDC(); }

int32_t DibSurface::ByteSize() { return StorageBytes(); }

int32_t DibSurface::FamilyCode() { return kFamilyCode; }
