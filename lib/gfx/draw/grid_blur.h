#pragma once
#include <cstdint>

#include "draw/draw_frame.h"

// BlurFrom's values over the working Rect from a source that is not the destination, by
// running sums over the sampled grid: each pixel costs the same whatever the radius. reach is
// the radius rounded down to a multiple of step. Returns false, having written nothing, when
// its working memory cannot be had.
bool BlurWithRunningSums(const PixelRows& dest, const PixelRows& source, const Rect& work,
                         int64_t reach, int64_t step);
