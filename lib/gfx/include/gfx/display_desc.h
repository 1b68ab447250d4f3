#pragma once
#include <cstdint>

#include "platform/win32.h"

// The descriptor given to Display::Open: seven 32-bit fields, 28 bytes in every build. The
// window handle is kept as its 32-bit value: window handles carry 32 significant bits on win64
// too, and are restored by sign extension as Windows does (LongToHandle).
struct DisplayDesc {
  int32_t size;
  int32_t reserved1;
  int32_t reserved2;
  int32_t width;
  int32_t height;
  int32_t bitDepth;
  uint32_t window;
};
static_assert(sizeof(DisplayDesc) == 28, "DisplayDesc is seven 32-bit fields");

inline constexpr int32_t kDisplayDescSize = 28;

inline uint32_t WindowToDesc(HWND window) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
}
inline HWND WindowFromDesc(const DisplayDesc& desc) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(desc.window)));
}
