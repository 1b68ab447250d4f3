#pragma once
#include "platform/win32.h"

// A window's device context from GetDC, released with ReleaseDC when it goes or is replaced.
class WindowDC {
 public:
  WindowDC() = default;
  explicit WindowDC(HWND window) { Take(window); }
  ~WindowDC() { Reset(); }

  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  // Releases the context held, if any, then takes the window's (null when unavailable).
  void Take(HWND window) {
    Reset();
    window_ = window;
    dc_ = GetDC(window);
  }
  void Reset() {
    if (dc_) ReleaseDC(window_, dc_);
    dc_ = nullptr;
    window_ = nullptr;
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};
