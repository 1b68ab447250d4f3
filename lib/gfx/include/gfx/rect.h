#pragma once
#include <cstdint>

// Pixels of columns left..right-1 and rows top..bottom-1. An inverted Rect holds no pixel and
// is never reordered. Operations take a Rect by pointer; null means the whole surface.
struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
