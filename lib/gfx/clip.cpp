#include <limits>

#include "gfx/clip_area.h"
#include "gfx/surface32.h"

namespace {

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

void StoreArea(const BlitArea& area, int32_t& x, int32_t& y, Rect& rect) {
  x = ClampToInt32(area.x);
  y = ClampToInt32(area.y);
  rect.left = ClampToInt32(area.left);
  rect.top = ClampToInt32(area.top);
  rect.right = ClampToInt32(area.right);
  rect.bottom = ClampToInt32(area.bottom);
}

}  // namespace

int32_t ClampToInt32(int64_t value) {
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value < kMin ? kMin : value > kMax ? kMax : value);
}

void ClipBlitArea(BlitArea& a, SurfaceSize dest, SurfaceSize source, const SurfaceSize* second) {
  if (a.y < 0) {
    a.top -= a.y;
    a.y2 -= a.y;
    a.y = 0;
  }
  if (a.y + a.Height() > dest.height) a.bottom = a.top + (dest.height - a.y);
  if (a.x < 0) {
    a.left -= a.x;
    a.x2 -= a.x;
    a.x = 0;
  }
  if (a.x + a.Width() > dest.width) a.right = a.left + (dest.width - a.x);
  if (a.top < 0) {
    a.y -= a.top;
    a.y2 -= a.top;
    a.top = 0;
  }
  if (a.bottom > source.height) a.bottom = source.height;
  if (a.left < 0) {
    a.x -= a.left;
    a.x2 -= a.left;
    a.left = 0;
  }
  if (a.right > source.width) a.right = source.width;
  if (second == nullptr) return;

  if (a.y2 < 0) {
    a.top -= a.y2;
    a.y -= a.y2;
    a.y2 = 0;
  }
  if (a.y2 + a.Height() > second->height) a.bottom = a.top + (second->height - a.y2);
  if (a.x2 < 0) {
    a.left -= a.x2;
    a.x -= a.x2;
    a.x2 = 0;
  }
  if (a.x2 + a.Width() > second->width) a.right = a.left + (second->width - a.x2);
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
