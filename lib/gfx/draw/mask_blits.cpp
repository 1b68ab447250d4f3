#include "draw/draw_frame.h"

ResultCode Surface32::BltMaskBlend(int32_t x, int32_t y, Surface32* source,
                                   const Rect* sourceRect, Surface32* mask, int32_t maskX,
                                   int32_t maskY) {
  return DrawMaskBlit(*this, x, y, source, sourceRect, mask, maskX, maskY,
                      &RowKernels::maskBlend, KernelArgs{});
}

ResultCode Surface32::BltMaskMultiply(int32_t x, int32_t y, Surface32* source,
                                      const Rect* sourceRect, Surface32* mask, int32_t maskX,
                                      int32_t maskY) {
  return DrawMaskBlit(*this, x, y, source, sourceRect, mask, maskX, maskY,
                      &RowKernels::maskMultiply, KernelArgs{});
}

ResultCode Surface32::BltMaskKey(int32_t x, int32_t y, Surface32* source,
                                 const Rect* sourceRect, Surface32* mask, int32_t maskX,
                                 int32_t maskY, uint32_t key) {
  KernelArgs args;
  args.maskKey = key;
  return DrawMaskBlit(*this, x, y, source, sourceRect, mask, maskX, maskY, &RowKernels::maskKey,
                      args);
}
