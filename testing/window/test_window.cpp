#include "window/test_window.h"

#include <cstring>

#ifdef _WIN32

namespace {

constexpr char kClassName[] = "zv_gfx_test_window";

// No background brush, so nothing but the test paints the window.
void RegisterTestClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  registered = RegisterClassA(&windowClass) != 0;
}

}  // namespace

TestWindow::TestWindow(int32_t width, int32_t height, Shown shown)
    : width_(width), height_(height) {
  RegisterTestClass();
  handle_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, width, height,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  // Shown without activation, the window stays out of the window manager's hands (Wine would
  // otherwise wait for one on destruction).
  if (shown == Shown::kYes) ShowWindow(handle_, SW_SHOWNOACTIVATE);
}

TestWindow::~TestWindow() { Destroy(); }

void TestWindow::Destroy() {
  if (handle_) DestroyWindow(handle_);
  handle_ = nullptr;
}

// Copied from the window's DC into a top-down 32-bit section of our own.
std::vector<uint32_t> TestWindow::Capture() const {
  std::vector<uint32_t> pixels(static_cast<size_t>(width_) * height_);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC windowDC = GetDC(handle_);
  HDC memoryDC = CreateCompatibleDC(windowDC);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(memoryDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memoryDC, section);
  if (BitBlt(memoryDC, 0, 0, width_, height_, windowDC, 0, 0, SRCCOPY)) {
    GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
  }
  SelectObject(memoryDC, previous);
  DeleteObject(section);
  DeleteDC(memoryDC);
  ReleaseDC(handle_, windowDC);
  for (uint32_t& pixel : pixels) pixel &= 0x00FFFFFF;
  return pixels;
}

void TestWindow::InvalidateOnly(const RECT& rect) {
  ValidateRect(handle_, nullptr);
  InvalidateRect(handle_, &rect, FALSE);
}

#else

#include "subst/window_hooks.h"

TestWindow::TestWindow(int32_t width, int32_t height, Shown)
    : handle_(subst::CreateTestWindow(width, height)), width_(width), height_(height) {}

TestWindow::~TestWindow() { Destroy(); }

void TestWindow::Destroy() {
  if (handle_) subst::DestroyTestWindow(handle_);
  handle_ = nullptr;
}

std::vector<uint32_t> TestWindow::Capture() const {
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(width_) * height_);
  for (int32_t y = 0; y < height_; ++y) {
    for (int32_t x = 0; x < width_; ++x) pixels.push_back(subst::WindowPixel(handle_, x, y));
  }
  return pixels;
}

void TestWindow::InvalidateOnly(const RECT& rect) { subst::SetInvalidRect(handle_, rect); }

#endif
