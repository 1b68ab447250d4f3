#include "draw/draw_frame.h"

namespace {
constexpr uint32_t kHalfWeights = 0x7F7F7F;
}

ResultCode Surface32::BltBlendLevel(int32_t x, int32_t y, Surface32* source,
                                    const Rect* sourceRect, int32_t level) {
  const uint32_t grey = static_cast<uint32_t>(level) & 0xFF;
  return BltBlendColor(x, y, source, sourceRect, grey * 0x010101);
}

ResultCode Surface32::BltBlendColor(int32_t x, int32_t y, Surface32* source,
                                    const Rect* sourceRect, uint32_t weights) {
  return DrawBlit(*this, x, y, source, sourceRect, &RowKernels::blend, WeightsArgs(weights));
}

ResultCode Surface32::BltBlendHalf(int32_t x, int32_t y, Surface32* source,
                                   const Rect* sourceRect) {
  return BltBlendColor(x, y, source, sourceRect, kHalfWeights);
}
