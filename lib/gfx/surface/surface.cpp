#include "gfx/surface.h"

#include "surface/dib_store.h"
#include "surface/pixel_store.h"

Surface::Surface(SurfaceOwner* owner) : owner_(owner) {}

Surface::~Surface() = default;

// The registration check and geometry; also the last step of every derived Create.
ResultCode Surface::Create(int32_t width, int32_t height) {
  if (ownerSerial_ == kUnregistered) return RC_BAD_FORMAT;
  width_ = width;
  reserved_ = 0;
  height_ = height;
  return RC_OK;
}

ResultCode Surface::Release() {
  pixelType_ = 0;
  flags_ = 0;
  reserved_ = 0;
  width_ = 0;
  pitch_ = 0;
  height_ = 0;
  lastError_ = RC_OK;
  return RC_OK;
}

ResultCode Surface::Unlock() { return RC_OK; }

HDC Surface::GetDeviceContext() { return nullptr; }

ResultCode Surface::ReleaseDeviceContext() { return RC_OK; }

void Surface::ClearStateFlag() { flags_ &= ~kStateFlag; }

uint32_t* Surface::LockPixels(void* pixels) {
  if (!pixels) lastError_ = RC_NO_PIXELS;
  return static_cast<uint32_t*>(pixels);
}

HWND Surface::OwnerWindow() const { return owner_ ? owner_->SurfaceWindow() : nullptr; }

template <typename TakeStorage>
ResultCode Surface::CreateWith(int32_t width, int32_t height, int64_t pitch, uint32_t flags,
                               TakeStorage takeStorage) {
  if (ownerSerial_ == kUnregistered) return RC_BAD_FORMAT;
  if (width <= 0 || !IsStorableBlock(pitch * 4, height)) return RC_BAD_LENGTH;
  const ResultCode result = takeStorage(static_cast<int32_t>(pitch));
  if (result != RC_OK) return result;
  Surface::Create(width, height);
  flags_ = flags;
  pixelType_ = kPixelType32;
  pitch_ = static_cast<int32_t>(pitch);
  return RC_OK;
}

ResultCode Surface::CreateOnHeap(PixelStore& store, int32_t width, int32_t height) {
  return CreateWith(width, height, width, kFlagsHeap,
                    [&](int32_t pitch) { return store.Allocate(kPixelType32, pitch, height); });
}

ResultCode Surface::CreateInSection(DibStore& store, int32_t width, int32_t height) {
  return CreateWith(width, height, DibPitch(width), kFlagsDib, [&](int32_t pitch) {
    return store.CreateSectionForWindow(OwnerWindow(), kPixelType32, pitch, height);
  });
}
