#pragma once
#include <string>
#include <vector>

#include "draw_call.h"

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

// The blit clip, step by step, in exact arithmetic.
struct RefClip {
  int64_t x, y, left, top, right, bottom, x2, y2;
};
void RefClipBlit(RefClip& c, int64_t destWidth, int64_t destHeight, int64_t sourceWidth,
                 int64_t sourceHeight);
void RefClipBlit2(RefClip& c, int64_t destWidth, int64_t destHeight, int64_t sourceWidth,
                  int64_t sourceHeight, int64_t source2Width, int64_t source2Height);

// Runs the call on the images as the rules describe it, writing "L<name>"/"U<name>" to the
// log for every Lock and Unlock, and returns the result code.
ResultCode RunReference(const DrawCall& call, std::vector<RefImage>& images,
                        std::vector<std::string>& log);
