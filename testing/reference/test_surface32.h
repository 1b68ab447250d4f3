#pragma once
#include <string>
#include <vector>

#include "gfx/surface32.h"

// A Surface32 whose pixels live in a vector with a pitch of the test's choosing. Lock can be
// made to fail, and every Lock and Unlock is written to a shared log as "L<name>"/"U<name>".
class TestSurface32 : public Surface32 {
 public:
  TestSurface32(int32_t width, int32_t height, int32_t pitch, std::string name = "d",
                std::vector<std::string>* log = nullptr)
      : Surface32(nullptr), name_(std::move(name)), log_(log) {
    ownerSerial_ = 1;
    pixelType_ = 5;
    width_ = width;
    height_ = height;
    pitch_ = pitch;
    // Never empty, so that Lock of a 0 x 0 surface still gives an address.
    pixels_.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height) + 1, 0);
  }

  uint32_t* Lock() override {
    Record("L");
    if (lockError_ != RC_OK) {
      lastError_ = lockError_;
      return nullptr;
    }
    return pixels_.data();
  }
  ResultCode Unlock() override {
    Record("U");
    return Surface32::Unlock();
  }
  HDC PresentDC() override { return nullptr; }
  void Reserved() override {}

  void FailLocksWith(ResultCode code) { lockError_ = code; }
  void LogTo(std::vector<std::string>* log) { log_ = log; }
  std::vector<uint32_t>& Pixels() { return pixels_; }
  uint32_t& At(int32_t x, int32_t y) { return pixels_[static_cast<size_t>(y * pitch_ + x)]; }
  void Fill(uint32_t value) { pixels_.assign(pixels_.size(), value); }

 private:
  void Record(const char* what) {
    if (log_ != nullptr) log_->push_back(what + name_);
  }

  std::string name_;
  std::vector<std::string>* log_;
  ResultCode lockError_ = RC_OK;
  std::vector<uint32_t> pixels_;
};
