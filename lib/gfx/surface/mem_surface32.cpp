#include "surface/mem_surface32.h"

MemSurface32::~MemSurface32() = default;

ResultCode MemSurface32::Create(int32_t width, int32_t height) {
  return CreateOnHeap(*this, width, height);
}

ResultCode MemSurface32::Release() {
  Surface::Release();
  return Free();
}

uint32_t* MemSurface32::Lock() { return LockPixels(Pixels()); }

int32_t MemSurface32::ByteSize() { return StorageBytes(); }

int32_t MemSurface32::FamilyCode() { return kFamilyCode; }

HDC MemSurface32::PresentDC() { return nullptr; }

void MemSurface32::Reserved() {}
