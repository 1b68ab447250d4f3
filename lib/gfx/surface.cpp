#include "gfx/surface.h"

Surface::Surface(DisplayBase* owner) : owner_(owner) {}

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
