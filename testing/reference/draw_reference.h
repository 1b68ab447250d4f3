#pragma once
#include <string>
#include <vector>

#include "reference/draw_call.h"

// A plain model of a surface: the same pixel words as the library's surface, padding included.
struct RefImage {
  std::string name;
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;
  std::vector<uint32_t> pixels;
  ResultCode lockError = RC_OK;  // Lock fails with this when not RC_OK

  uint32_t& At(int64_t x, int64_t y) { return pixels[static_cast<size_t>(y * pitch + x)]; }
};

// The caller's Rect clamped to a surface of that size, or the whole surface for null.
Rect RefResolveRect(const Rect* rect, int32_t width, int32_t height);

// A blit's destination point, source Rect and mask point clipped step by step in exact
// arithmetic; the call must have its source (and mask).
struct RefClip {
  int64_t x, y, left, top, right, bottom, x2, y2;
};
RefClip RefClipOf(const DrawCall& call, const std::vector<RefImage>& images);

// Runs the call on the images as the rules describe it, writing "L<name>"/"U<name>" to the
// log for every Lock and Unlock, and returns the result code.
ResultCode RunReference(const DrawCall& call, std::vector<RefImage>& images,
                        std::vector<std::string>& log);
