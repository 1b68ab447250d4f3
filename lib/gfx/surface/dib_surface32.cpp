#include "surface/dib_surface32.h"

DibSurface32::~DibSurface32() = default;

ResultCode DibSurface32::Create(int32_t width, int32_t height) {
  return CreateInSection(*this, width, height);
}

ResultCode DibSurface32::Release() {
  DestroySection();
  return Surface::Release();
}

uint32_t* DibSurface32::Lock() { return LockPixels(Bits()); }

HDC DibSurface32::GetDeviceContext() { return MemoryDC(); }

int32_t DibSurface32::ByteSize() { return StorageBytes(); }

int32_t DibSurface32::FamilyCode() { return kFamilyCode; }

HDC DibSurface32::PresentDC() { return MemoryDC(); }

void DibSurface32::Reserved() {}
