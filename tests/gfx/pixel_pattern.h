#pragma once
// Position-dependent pixel patterns: a copy from the wrong place, row or pitch shows up as a
// mismatch at the first pixel it touches.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "gfx/rect.h"
#include "gfx/surface.h"

inline uint32_t PatternPixel(int32_t x, int32_t y, uint32_t seed) {
  return (seed * 0x9E3779B1u + static_cast<uint32_t>(x) * 0x10F01u +
          static_cast<uint32_t>(y) * 0x3A0107u) &
         0x00FFFFFFu;
}

// Writes the pattern over the surface's width x height through Lock, row by row with pitch.
inline void FillPattern(Surface& surface, uint32_t seed) {
  uint32_t* pixels = surface.Lock();
  for (int32_t y = 0; pixels && y < surface.Height(); ++y) {
    for (int32_t x = 0; x < surface.Width(); ++x) {
      pixels[static_cast<size_t>(y) * surface.Pitch() + x] = PatternPixel(x, y, seed);
    }
  }
  surface.Unlock();
}

inline bool Contains(const Rect& rect, int32_t x, int32_t y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// A rect of a window expected to show the pattern of a seed.
struct PatternLayer {
  Rect rect;
  uint32_t seed;
};

// The first pixel of a captured window that is not what the layers say (later layers on top of
// earlier ones, pattern `background` elsewhere), described; "" when every pixel matches.
inline std::string FirstMismatch(const std::vector<uint32_t>& pixels, int32_t width,
                                 uint32_t background, std::initializer_list<PatternLayer> layers) {
  for (size_t i = 0; i < pixels.size(); ++i) {
    const int32_t x = static_cast<int32_t>(i % static_cast<size_t>(width));
    const int32_t y = static_cast<int32_t>(i / static_cast<size_t>(width));
    uint32_t seed = background;
    for (const PatternLayer& layer : layers) {
      if (Contains(layer.rect, x, y)) seed = layer.seed;
    }
    if (pixels[i] != PatternPixel(x, y, seed)) {
      return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
             std::to_string(pixels[i]) + ", expected pattern " + std::to_string(seed);
    }
  }
  return "";
}
