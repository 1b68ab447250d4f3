#pragma once
// A window to present into and read back: a real top-level window under Windows (shown, or
// hidden), natively the substitute's pixel-buffer window.
#include <cstdint>
#include <vector>

#include "gfx/display_desc.h"
#include "platform/win32.h"

class TestWindow {
 public:
  enum class Shown { kYes, kNo };

  TestWindow(int32_t width, int32_t height, Shown shown = Shown::kYes);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND handle() const { return handle_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

  // The window's pixels as 0x00RRGGBB, row by row.
  std::vector<uint32_t> Capture() const;
  // Makes rect the only area that the next BeginPaint reports.
  void InvalidateOnly(const RECT& rect);
  // Ends the window early; its handle then names no window.
  void Destroy();

 private:
  HWND handle_ = nullptr;
  int32_t width_;
  int32_t height_;
};

// A descriptor for a display of width x height on window (reserved fields non-zero, to show
// that they are copied).
inline DisplayDesc DescFor(HWND window, int32_t width, int32_t height) {
  DisplayDesc desc{};
  desc.size = kDisplayDescSize;
  desc.reserved1 = 0x1111;
  desc.reserved2 = 0x2222;
  desc.width = width;
  desc.height = height;
  desc.bitDepth = 24;
  desc.window = WindowToDesc(window);
  return desc;
}
