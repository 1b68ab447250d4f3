#pragma once
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "gfx/surface32.h"

// One drawing operation with all its arguments, so that the same call can be made on the
// library and on the reference model. Surfaces are indices into the caller's list; -1 is null.
// clang-format off
enum class DrawOp {
  FillRect, FrameRect, MaskOrColor, ClearRect, ScreenColor, MultiplyColor, GrayAverage,
  GrayWeighted, Mosaic, BlurFrom, Blt, BltKeyed, BltKeyedMesh, BltKeyedBlend, BltMesh,
  BltDissolveRange, BltDissolve, BltMaskOr, BltClear, BltMultiply, BltBlendLevel,
  BltBlendColor, BltBlendHalf, BltMaskBlend, BltMaskMultiply, BltMaskKey, Count
};
// clang-format on
inline bool IsBlit(DrawOp op) { return op >= DrawOp::Blt; }
inline bool IsMaskBlit(DrawOp op) { return op >= DrawOp::BltMaskBlend; }

struct DrawCall {
  DrawOp op = DrawOp::FillRect;
  int dest = 0, source = -1, mask = -1;
  bool hasRect = false;
  Rect rect{};  // the source's in a blit, else the destination's
  int32_t x = 0, y = 0, maskX = 0, maskY = 0;
  uint32_t colour = 0;   // colour, key or weights
  uint32_t weights = 0;  // BltKeyedBlend
  // Mosaic: size, step, origin x, origin y. BlurFrom: radius, step. BltDissolve, BltBlendLevel:
  // level. BltDissolveRange: first, end.
  int32_t n[4] = {0, 0, 0, 0};
};

ResultCode CallLibrary(const DrawCall& call, Surface32* const* surfaces);

// A plain model of a surface: the same pixel words as the library's surface, padding included.
struct RefImage {
  int32_t width = 0, height = 0, pitch = 0;
  std::vector<uint32_t> pixels;
  ResultCode lockError = RC_OK;  // Lock fails with this when not RC_OK
  uint32_t& At(int64_t x, int64_t y) { return pixels[static_cast<size_t>(y * pitch + x)]; }
};

// The new value of destination pixel d, from source pixel s and mask pixel m at row i and
// column j of an area whose first destination column is x (the rect operations see 0, 0, 0).
uint32_t ReferencePixel(const DrawCall& call, uint32_t s, uint32_t m, uint32_t d, int64_t i,
                        int64_t j, int64_t x);
// Runs the call on the images as the rules say (draw_reference.cpp) and returns the result code.
ResultCode RunReference(const DrawCall& call, std::vector<RefImage>& images);
// A blit's area, clipped in exact arithmetic: destination point x, y; source Rect left, top,
// right, bottom; mask point x, y. The call must have its source (and mask).
std::array<int64_t, 8> ClipArea(const DrawCall& call, std::vector<RefImage>& images);

// The bits of random cases: from a seeded generator (the differential test) or fuzz input.
using CaseBits = std::function<uint32_t()>;
inline int32_t Range(CaseBits& bits, int32_t low, int32_t high) {
  return static_cast<int32_t>(low + static_cast<int64_t>(bits() % (uint64_t(int64_t{high} - low) + 1)));
}
inline bool Percent(CaseBits& bits, int percent) { return Range(bits, 0, 99) < percent; }

// One random case: three surfaces of random kinds, sizes and pixels (test surfaces of any pitch
// whose Locks may fail, a display's heap and DIB surfaces, some without pixels) and a random
// operation on them, often with one surface in two roles, through the library on the kernel
// path in use and through the reference model. "" when they agree on the result and every pixel
// word (row padding included) and the test surfaces are left unlocked; else what differed.
std::string RunRandomCase(CaseBits& bits);
