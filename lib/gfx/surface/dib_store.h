#pragma once
#include <cstdint>

#include "common/result_code.h"
#include "gfx/pixel_type.h"
#include "platform/win32.h"

// Pixel storage in a top-down DIB section, selected into its own memory device context for its
// whole life so that the context is always ready to be a BitBlt source. The second base of the
// DIB surfaces; it owns the context and the section.
class DibStore {
 public:
  DibStore() = default;

  // Virtual operations, in table order: the destructor comes last here.
  virtual ResultCode CreateSection(HDC reference, PixelType type, int32_t width, int32_t height);
  virtual ResultCode DestroySection();
  virtual void* Bits();
  virtual HDC MemoryDC();
  virtual ~DibStore();

  // CreateSection against the device context of a window, held only for the call:
  // RC_GET_DC_FAILED when the window's context is not available.
  ResultCode CreateSectionForWindow(HWND window, PixelType type, int32_t width, int32_t height);

  DibStore(const DibStore&) = delete;
  DibStore& operator=(const DibStore&) = delete;

 private:
  HDC memoryDC_ = nullptr;
  HBITMAP section_ = nullptr;
  HGDIOBJ previousObject_ = nullptr;
  void* bits_ = nullptr;
};

// Row length in pixels of a DIB surface: the width rounded up to a multiple of 8.
inline int64_t DibPitch(int32_t width) {
  return static_cast<int64_t>(width) / 8 * 8 + (width % 8 != 0 ? 8 : 0);
}
