#include "draw/draw_frame.h"

ResultCode Surface32::BltMaskOr(int32_t x, int32_t y, Surface32* source,
                                const Rect* sourceRect) {
  return DrawBlit(*this, x, y, source, sourceRect, &RowKernels::maskOr, KernelArgs{});
}

ResultCode Surface32::BltClear(int32_t x, int32_t y, Surface32* source, const Rect* sourceRect) {
  return DrawBlit(*this, x, y, source, sourceRect, &RowKernels::clear, KernelArgs{});
}

ResultCode Surface32::BltMultiply(int32_t x, int32_t y, Surface32* source,
                                  const Rect* sourceRect) {
  return DrawBlit(*this, x, y, source, sourceRect, &RowKernels::multiply, KernelArgs{});
}
