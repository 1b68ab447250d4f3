#include "draw/draw_frame.h"

namespace {
// Each row's checkerboard starts on the other foot.
constexpr RowPattern kCheckerboardRows{0, 1, false};
}  // namespace

ResultCode Surface32::Blt(int32_t x, int32_t y, Surface32* source, const Rect* sourceRect) {
  return DrawBlit(*this, x, y, source, sourceRect, &RowKernels::copy, KernelArgs{});
}

ResultCode Surface32::BltKeyed(int32_t x, int32_t y, Surface32* source, const Rect* sourceRect,
                               uint32_t key) {
  return DrawBlit(*this, x, y, source, sourceRect, &RowKernels::copyKeyed, ColourArgs(key));
}

ResultCode Surface32::BltKeyedMesh(int32_t x, int32_t y, Surface32* source,
                                   const Rect* sourceRect, uint32_t key) {
  return DrawBlit(*this, x, y, source, sourceRect, &RowKernels::copyKeyedMesh, ColourArgs(key),
                  kCheckerboardRows);
}

ResultCode Surface32::BltKeyedBlend(int32_t x, int32_t y, Surface32* source,
                                    const Rect* sourceRect, uint32_t key, uint32_t weights) {
  return DrawBlit(*this, x, y, source, sourceRect, &RowKernels::blendKeyed,
                  WeightsArgs(weights, ColourArgs(key)));
}

ResultCode Surface32::BltMesh(int32_t x, int32_t y, Surface32* source, const Rect* sourceRect) {
  return DrawBlit(*this, x, y, source, sourceRect, &RowKernels::copyMesh, KernelArgs{},
                  kCheckerboardRows);
}
