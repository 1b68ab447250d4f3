#pragma once
#include <cstdint>

#include "draw/draw_frame.h"

// BlurFrom's value at (x, y): the mean of the source pixels at offsets that are multiples of
// step and at most reach from (x, y) in each direction, inside the working Rect, each channel
// truncated. The sums are 64-bit, so a window may hold any number of samples.
uint32_t WindowAverage(const PixelRows& source, const Rect& work, int64_t x, int64_t y,
                       int64_t reach, int64_t step);

// BlurFrom by the direct method: every pixel of the working Rect in order, rows top to bottom,
// each from its whole window. Right also when source and dest are the same pixels.
void BlurDirect(const PixelRows& dest, const PixelRows& source, const Rect& work, int64_t reach,
                int64_t step);
