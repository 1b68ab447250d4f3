#pragma once
#include <vector>

#include "gfx/surface32.h"

// A Surface32 whose pixels live in a vector with a pitch of the test's choosing. Lock can be
// made to fail, and the Locks not yet unlocked are counted.
class TestSurface32 : public Surface32 {
 public:
  // One word more, so that Lock of a 0 x 0 surface still gives an address.
  TestSurface32(int32_t width, int32_t height, int32_t pitch)
      : Surface32(nullptr), pixels_(size_t(pitch) * size_t(height) + 1) {
    ownerSerial_ = 1;  // as if a display had registered it
    pixelType_ = kPixelType32;
    width_ = width, height_ = height, pitch_ = pitch;
  }
  uint32_t* Lock() override {
    if (lockError_ == RC_OK) return ++depth_, pixels_.data();
    lastError_ = lockError_;
    return nullptr;
  }
  ResultCode Unlock() override { return --depth_, Surface32::Unlock(); }
  HDC PresentDC() override { return nullptr; }
  void Reserved() override {}

  // Until called again, Lock fails with code unless it is RC_OK.
  void FailLocksWith(ResultCode code) { lockError_ = code; }
  int32_t LockDepth() const { return depth_; }
  std::vector<uint32_t>& Pixels() { return pixels_; }
  uint32_t& At(int32_t x, int32_t y) { return pixels_[size_t(y * pitch_ + x)]; }

 private:
  std::vector<uint32_t> pixels_;
  ResultCode lockError_ = RC_OK;
  int32_t depth_ = 0;
};
