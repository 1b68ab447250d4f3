#pragma once
#include <cstddef>
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

  const Rect* RectOrNull() const { return hasRect ? &rect : nullptr; }
};

ResultCode CallLibrary(const DrawCall& call, Surface32* const* surfaces);

// The bits of random cases: from a seeded generator (the differential test) or fuzz input.
class CaseBits {
 public:
  virtual ~CaseBits() = default;
  virtual uint32_t Bits() = 0;
  int32_t Range(int32_t low, int32_t high) {
    const uint64_t span = static_cast<uint64_t>(int64_t{high} - low) + 1;
    return static_cast<int32_t>(low + static_cast<int64_t>(Bits() % span));
  }
  bool Percent(int percent) { return Range(0, 99) < percent; }
  template <typename T, size_t N>
  T Pick(const T (&values)[N]) {
    return values[Bits() % N];
  }
};

// One random case: three surfaces of random kinds, sizes and pixels (test surfaces of any pitch
// whose Locks may fail, a display's heap and DIB surfaces, some without pixels), and a random
// operation on them, often with one surface in two roles, through the library on the kernel
// path in use and through the reference model. "" when they agree on the result and every pixel
// word (row padding included) and the test surfaces are left unlocked; else what differed.
std::string RunRandomCase(CaseBits& bits);
