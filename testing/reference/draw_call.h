#pragma once
#include <string>

#include "gfx/surface32.h"

// One drawing operation with all its arguments, so that the same call can be made on the
// library and on the reference model. Surfaces are indices into the caller's list; -1 is null.
enum class DrawOp {
  FillRect, FrameRect, MaskOrColor, ClearRect, ScreenColor, MultiplyColor, GrayAverage,
  GrayWeighted, Mosaic, BlurFrom, Blt, BltKeyed, BltKeyedMesh, BltKeyedBlend, BltMesh,
  BltDissolveRange, BltDissolve, BltMaskOr, BltClear, BltMultiply, BltBlendLevel,
  BltBlendColor, BltBlendHalf, BltMaskBlend, BltMaskMultiply, BltMaskKey, Count
};

struct DrawCall {
  DrawOp op = DrawOp::FillRect;
  int dest = 0;
  int source = -1;
  int mask = -1;
  bool hasRect = false;
  Rect rect{};
  int32_t x = 0;
  int32_t y = 0;
  int32_t maskX = 0;
  int32_t maskY = 0;
  uint32_t colour = 0;   // colour, key or weights
  uint32_t weights = 0;  // BltKeyedBlend
  // Mosaic: size, step, origin x, origin y. BlurFrom: radius, step. BltDissolve, BltBlendLevel:
  // level. BltDissolveRange: first, end.
  int32_t n[4] = {0, 0, 0, 0};

  const Rect* RectOrNull() const { return hasRect ? &rect : nullptr; }
  std::string Describe() const;
};

const char* DrawOpName(DrawOp op);
bool IsBlit(DrawOp op);
bool IsMaskBlit(DrawOp op);

ResultCode CallLibrary(const DrawCall& call, Surface32* const* surfaces);
