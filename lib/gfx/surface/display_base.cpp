#include "gfx/display_base.h"

#include <cstddef>

#include "gfx/surface32.h"
#include "platform/heap.h"

int32_t displaySerialCounter = 1;

DisplayBase::DisplayBase() : serial_(displaySerialCounter++) {}

DisplayBase::~DisplayBase() { DisplayBase::DestroyAllSurfaces(); }

int32_t DisplayBase::GetPixelType() { return pixelType_; }

ResultCode DisplayBase::DestroySurface(Surface* surface) {
  if (!surface) return RC_NO_MEMORY;
  for (int32_t slot = 0; surfaces_ && slot < tableCapacity_; ++slot) {
    if (surfaces_[slot] != surface) continue;
    // The primary is a second reference to a table entry: it must not outlive it.
    if (surface == primary_) primary_ = nullptr;
    delete surface;
    surfaces_[slot] = nullptr;
    --surfaceCount_;
    return RC_OK;
  }
  return RC_NOT_FOUND;
}

ResultCode DisplayBase::DestroyAllSurfaces() {
  for (int32_t slot = 0; surfaces_ && slot < tableCapacity_; ++slot) {
    delete surfaces_[slot];
    surfaces_[slot] = nullptr;
  }
  FreeHeapBlock(surfaces_);
  surfaces_ = nullptr;
  surfaceCount_ = 0;
  tableCapacity_ = 0;
  primary_ = nullptr;
  return RC_OK;
}

Surface32* DisplayBase::GetPrimarySurface() { return primary_; }

ResultCode DisplayBase::PresentAll() { return Present(nullptr); }

ResultCode DisplayBase::AddSurface(Surface* surface) {
  if (!surface) return RC_NO_MEMORY;
  if (!surfaces_ || surfaceCount_ == tableCapacity_) GrowSurfaceTable();
  for (int32_t slot = 0; surfaces_ && slot < tableCapacity_; ++slot) {
    if (surfaces_[slot]) continue;
    surfaces_[slot] = surface;
    ++surfaceCount_;
    surface->StampOwnerSerial(serial_);
    return RC_OK;
  }
  return RC_FAILED;
}

ResultCode DisplayBase::GrowSurfaceTable() {
  const int32_t capacity = surfaces_ ? tableCapacity_ + kTableGrowth : kInitialTableSlots;
  auto** grown = static_cast<Surface**>(
      AllocateHeapBlock(static_cast<size_t>(capacity) * sizeof(Surface*)));
  if (!grown) return RC_NO_MEMORY;
  for (int32_t slot = 0; slot < capacity; ++slot)
    grown[slot] = surfaces_ && slot < tableCapacity_ ? surfaces_[slot] : nullptr;
  if (!surfaces_) surfaceCount_ = 0;
  FreeHeapBlock(surfaces_);
  surfaces_ = grown;
  tableCapacity_ = capacity;
  return RC_OK;
}

Surface* DisplayBase::SurfaceAt(int32_t slot) const {
  if (!surfaces_ || slot < 0 || slot >= tableCapacity_) return nullptr;
  return surfaces_[slot];
}
