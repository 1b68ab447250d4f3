#pragma once
#include <vector>

#include "gfx/surface32.h"

// A Surface32 whose pixels live in a vector with a pitch of the test's choosing. Lock can be
// made to fail, and the Locks not yet unlocked are counted.
class TestSurface32 : public Surface32 {
 public:
  TestSurface32(int32_t width, int32_t height, int32_t pitch) : Surface32(nullptr) {
    ownerSerial_ = 1;
    pixelType_ = kPixelType32;
    width_ = width;
    height_ = height;
    pitch_ = pitch;
    // Never empty, so that Lock of a 0 x 0 surface still gives an address.
    pixels_.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height) + 1, 0);
  }

  uint32_t* Lock() override {
    if (lockError_ == RC_OK) return ++depth_, pixels_.data();
    lastError_ = lockError_;
    return nullptr;
  }
  ResultCode Unlock() override {
    --depth_;
    return Surface32::Unlock();
  }
  HDC PresentDC() override { return nullptr; }
  void Reserved() override {}

  // Until called again, Lock fails with code unless it is RC_OK.
  void FailLocksWith(ResultCode code) { lockError_ = code; }
  int32_t LockDepth() const { return depth_; }
  std::vector<uint32_t>& Pixels() { return pixels_; }
  uint32_t& At(int32_t x, int32_t y) { return pixels_[static_cast<size_t>(y * pitch_ + x)]; }

 private:
  int32_t depth_ = 0;
  ResultCode lockError_ = RC_OK;
  std::vector<uint32_t> pixels_;
};
