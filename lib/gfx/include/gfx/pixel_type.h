#pragma once
#include <cstdint>

// Pixel type codes accepted by the pixel stores. Every surface of the system uses type 5.
using PixelType = int32_t;

inline constexpr PixelType kPixelType32 = 5;

inline bool IsValidPixelType(PixelType type) { return type >= 1 && type <= 6; }

// Bytes per pixel of a heap block (types 1..6), 0 for an invalid type.
inline int32_t BytesPerPixel(PixelType type) {
  static constexpr int32_t kBytes[] = {0, 1, 2, 2, 3, 4, 4};
  return IsValidPixelType(type) ? kBytes[type] : 0;
}

// Bits per pixel of a DIB section (types 1..6), 0 for an invalid type.
inline int32_t BitsPerPixel(PixelType type) { return BytesPerPixel(type) * 8; }

// Pixel storage must be non-empty and no larger than ByteSize can report (INT32_MAX bytes):
// a block of that size is the only one whose byte count cannot wrap in 32-bit arithmetic.
inline bool IsStorableBlock(int64_t rowBytes, int64_t rows) {
  return rowBytes > 0 && rows > 0 && rowBytes <= INT32_MAX / rows;
}
