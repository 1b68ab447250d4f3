#include "surface/plain_surface.h"

PlainSurface::~PlainSurface() = default;

ResultCode PlainSurface::Create(int32_t width, int32_t height) {
  return CreateOnHeap(*this, width, height);
}

ResultCode PlainSurface::Release() {
  Surface::Release();
  return Free();
}

uint32_t* PlainSurface::Lock() { return LockPixels(Pixels()); }

int32_t PlainSurface::ByteSize() { return StorageBytes(); }

int32_t PlainSurface::FamilyCode() { return kFamilyCode; }
