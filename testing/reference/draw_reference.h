#pragma once
#include <vector>

#include "reference/draw_call.h"

// A plain model of a surface: the same pixel words as the library's surface, padding included.
struct RefImage {
  int32_t width = 0, height = 0, pitch = 0;
  std::vector<uint32_t> pixels;
  ResultCode lockError = RC_OK;  // Lock fails with this when not RC_OK

  uint32_t& At(int64_t x, int64_t y) { return pixels[static_cast<size_t>(y * pitch + x)]; }
  uint32_t At(int64_t x, int64_t y) const { return pixels[static_cast<size_t>(y * pitch + x)]; }
};

// Runs the call on the images as the rules say and returns the result code.
ResultCode RunReference(const DrawCall& call, std::vector<RefImage>& images);
