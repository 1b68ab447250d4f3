#pragma once
#include "gfx/surface32_base.h"

// Implements the 26 drawing operations on top of Lock, Unlock, Width, Height and Pitch.
// The clip operations are called on the destination surface; they never fail and only adjust
// their in/out arguments.
class Surface32 : public Surface32Base {
 public:
  using Surface32Base::Surface32Base;

  SURFACE32_DRAWING_OPERATIONS(override)

  // True for an object of exactly one of the library's own classes (MemSurface32,
  // DibSurface32), whose BltDissolve, Lock and Unlock are Surface32's and their stores': for
  // two of them a run of dissolve levels may be drawn in one pass without a visible difference.
  bool IsLibrarySurface() const;

  // Clipping: left, top, right, bottom clamped to this surface (in this order).
  Rect& ClampToSurface(Rect& rect) const;
  // The caller's Rect clamped to this surface, or the whole surface for null.
  Rect& ResolveRect(Rect& out, const Rect* rect) const;
  // The caller's Rect unchanged, or the whole source for null.
  void ResolveSourceRect(Rect& out, const Rect* rect, const Surface32* source) const;
  // Clips the destination point and the source Rect together against both surfaces.
  void ClipBlit(int32_t& x, int32_t& y, const Surface32* source, Rect& sourceRect) const;
  // The same with a second source whose point moves with the destination point.
  void ClipBlit2(int32_t& x, int32_t& y, const Surface32* source, Rect& sourceRect,
                 const Surface32* source2, int32_t& x2, int32_t& y2) const;
};
