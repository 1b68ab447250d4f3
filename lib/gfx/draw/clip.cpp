#include <limits>

#include "draw/clip_area.h"
#include "gfx/surface32.h"

namespace {

// A coordinate below 0 becomes 0, and the two tied to it move by the same amount.
void LiftToZero(int64_t& coordinate, int64_t& tied, int64_t& alsoTied) {
  if (coordinate >= 0) return;
  tied -= coordinate;
  alsoTied -= coordinate;
  coordinate = 0;
}

// Cuts the span from edge to end, placed at start, so that it ends by limit.
void CutToFit(int64_t start, int64_t edge, int64_t& end, int64_t limit) {
  if (start + (end - edge) > limit) end = edge + (limit - start);
}

void StoreArea(const BlitArea& area, int32_t& x, int32_t& y, Rect& rect) {
  x = ClampToInt32(area.x);
  y = ClampToInt32(area.y);
  rect.left = ClampToInt32(area.left);
  rect.top = ClampToInt32(area.top);
  rect.right = ClampToInt32(area.right);
  rect.bottom = ClampToInt32(area.bottom);
}

}  // namespace

SurfaceSize SizeOf(const Surface32& surface) { return {surface.Width(), surface.Height()}; }

BlitArea AreaOf(int32_t x, int32_t y, const Rect& rect, int32_t x2, int32_t y2) {
  BlitArea area;
  area.x = x;
  area.y = y;
  area.left = rect.left;
  area.top = rect.top;
  area.right = rect.right;
  area.bottom = rect.bottom;
  area.x2 = x2;
  area.y2 = y2;
  return area;
}

int32_t ClampToInt32(int64_t value) {
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value < kMin ? kMin : value > kMax ? kMax : value);
}

void ClipBlitArea(BlitArea& a, SurfaceSize dest, SurfaceSize source, const SurfaceSize* second) {
  LiftToZero(a.y, a.top, a.y2);
  CutToFit(a.y, a.top, a.bottom, dest.height);
  LiftToZero(a.x, a.left, a.x2);
  CutToFit(a.x, a.left, a.right, dest.width);
  LiftToZero(a.top, a.y, a.y2);
  if (a.bottom > source.height) a.bottom = source.height;
  LiftToZero(a.left, a.x, a.x2);
  if (a.right > source.width) a.right = source.width;
  if (second == nullptr) return;

  LiftToZero(a.y2, a.top, a.y);
  CutToFit(a.y2, a.top, a.bottom, second->height);
  LiftToZero(a.x2, a.left, a.x);
  CutToFit(a.x2, a.left, a.right, second->width);
}

Rect& Surface32::ClampToSurface(Rect& rect) const {
  if (rect.left < 0) rect.left = 0;
  if (rect.top < 0) rect.top = 0;
  if (rect.right > width_) rect.right = width_;
  if (rect.bottom > height_) rect.bottom = height_;
  return rect;
}

Rect& Surface32::ResolveRect(Rect& out, const Rect* rect) const {
  if (rect == nullptr) {
    out = Rect{0, 0, width_, height_};
    return out;
  }
  out = *rect;
  return ClampToSurface(out);
}

void Surface32::ResolveSourceRect(Rect& out, const Rect* rect, const Surface32* source) const {
  out = rect != nullptr ? *rect : Rect{0, 0, source->Width(), source->Height()};
}

void Surface32::ClipBlit(int32_t& x, int32_t& y, const Surface32* source,
                         Rect& sourceRect) const {
  BlitArea area = AreaOf(x, y, sourceRect, 0, 0);
  ClipBlitArea(area, SizeOf(*this), SizeOf(*source), nullptr);
  StoreArea(area, x, y, sourceRect);
}

void Surface32::ClipBlit2(int32_t& x, int32_t& y, const Surface32* source, Rect& sourceRect,
                          const Surface32* source2, int32_t& x2, int32_t& y2) const {
  BlitArea area = AreaOf(x, y, sourceRect, x2, y2);
  const SurfaceSize second = SizeOf(*source2);
  ClipBlitArea(area, SizeOf(*this), SizeOf(*source), &second);
  StoreArea(area, x, y, sourceRect);
  x2 = ClampToInt32(area.x2);
  y2 = ClampToInt32(area.y2);
}
