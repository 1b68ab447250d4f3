#include "app/win32/startup_display.h"

#include <new>

#include "gfx/display.h"

Display* g_display = nullptr;

namespace {
constexpr int32_t kStartupBitDepth = 24;
}

int32_t StartDisplay(HWND window, int32_t width, int32_t height) {
  if (!window || width <= 0 || height <= 0) return 0;
  DisplayDesc desc{};
  desc.size = kDisplayDescSize;
  desc.width = width;
  desc.height = height;
  desc.bitDepth = kStartupBitDepth;
  desc.window = WindowToDesc(window);
  g_display = new (std::nothrow) Display();
  if (!g_display) return 0;
  g_display->Open(&desc);
  return 1;
}
