#pragma once
#include <cstdint>

#include "gfx/rect.h"

class Surface32;

// A blit's destination point, source Rect and second-source point, clipped in 64 bits: with
// 32-bit coordinates every step is exact, so extreme points and Rects cannot overflow. Whenever
// the clipped width (height) is positive, every column (row) value lies inside its surface.
struct BlitArea {
  int64_t x = 0;
  int64_t y = 0;
  int64_t left = 0;
  int64_t top = 0;
  int64_t right = 0;
  int64_t bottom = 0;
  int64_t x2 = 0;
  int64_t y2 = 0;

  int64_t Width() const { return right - left; }
  int64_t Height() const { return bottom - top; }
};

struct SurfaceSize {
  int64_t width;
  int64_t height;
};

SurfaceSize SizeOf(const Surface32& surface);
BlitArea AreaOf(int32_t x, int32_t y, const Rect& rect, int32_t x2, int32_t y2);

// Clips the point and the Rect against the destination, then the Rect against the source;
// x2 and y2 move with the destination point. With a second source, then clips x2 and y2 against
// it and moves the other two along.
void ClipBlitArea(BlitArea& area, SurfaceSize dest, SurfaceSize source,
                  const SurfaceSize* second);

// Saturates to the 32-bit range; only values of an empty clipped dimension can need it.
int32_t ClampToInt32(int64_t value);
