#pragma once
// Test hooks of the substitute window system (gdi.cpp). A window is an in-memory buffer of
// 32-bit pixels 0x00RRGGBB into which BitBlt copies, so tests can read back what was drawn.
#include <cstdint>

#include "win32_subst.h"

namespace subst {

// A window of that size whose pixels start at 0; bitsPerPixel is what GetDeviceCaps reports.
// Handles fit 32 bits, as real window handles do.
HWND CreateTestWindow(int32_t width, int32_t height, int32_t bitsPerPixel = 32);
void DestroyTestWindow(HWND window);

// The pixel at (x, y); 0 outside the window or for an unknown window.
uint32_t WindowPixel(HWND window, int32_t x, int32_t y);

// The rectangle BeginPaint will report next (empty after each BeginPaint).
void SetInvalidRect(HWND window, const RECT& rect);

// GDI objects handed out and not yet given back.
struct GdiObjectCounts {
  int32_t windowDCs;  // GetDC and BeginPaint, until ReleaseDC or EndPaint
  int32_t memoryDCs;  // CreateCompatibleDC, until DeleteDC
  int32_t bitmaps;    // CreateDIBSection, until DeleteObject
};
GdiObjectCounts OutstandingGdiObjects();

}  // namespace subst
