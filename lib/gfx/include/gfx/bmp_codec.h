#pragma once
#include <cstdint>

#include "common/result_code.h"

class MemFile;
class Surface;

enum class BmpRows : int32_t { kBottomUp, kTopDown };

// What a BMP file holds, as far as a caller needs to know before reading its pixels.
struct BmpInfo {
  int32_t width;
  int32_t height;        // rows, positive whatever their order in the file
  int32_t bitsPerPixel;  // 24 or 32
  BmpRows rows;
};

// Uncompressed 24- and 32-bit BMP pictures in memory, both row orders. A 32-bit file's fourth
// byte is not alpha: it is dropped on reading and written as 0. Every header is checked before
// a pixel moves, and no byte past size is read. The codes: RC_NOT_BMP, RC_BMP_UNSUPPORTED,
// RC_TRUNCATED, RC_BAD_DIMENSIONS, RC_SIZE_MISMATCH, RC_NULL_ARGUMENT, and a failed Lock's own.
ResultCode DecodeBmpInfo(const uint8_t* bytes, uint32_t size, BmpInfo* info);
// The surface must already have the picture's width and height.
ResultCode DecodeBmp(const uint8_t* bytes, uint32_t size, Surface* surface);
// The whole buffer of out becomes the file's bytes (its capacity is the file's size).
ResultCode EncodeBmp(Surface* surface, int32_t bitsPerPixel, BmpRows rows, MemFile* out);
