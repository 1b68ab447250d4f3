#pragma once
#include <cstdint>

#include "common/result_code.h"
#include "gfx/bmp_codec.h"

// Where the parts of a BMP file lie, once its headers have been checked against the file size.
struct BmpLayout {
  BmpInfo info;
  uint32_t pixelOffset;
  uint32_t rowBytes;  // padded to 4
  uint32_t PixelBytes() const { return rowBytes * static_cast<uint32_t>(info.height); }
};

// The file header, the longest info header and three colour masks: all a reader needs to see.
inline constexpr uint32_t kBmpLongestHeaders = 14 + 124 + 12;
// What the writer puts before the rows: the file header and a 40-byte info header.
inline constexpr uint32_t kBmpWrittenHeaders = 14 + 40;

// head holds the first headBytes of a file of fileBytes bytes.
ResultCode ParseBmpHeaders(const uint8_t* head, uint32_t headBytes, uint32_t fileBytes,
                           BmpLayout* layout);
// A layout the writer can produce, or RC_BAD_DIMENSIONS when its file would not fit 31 bits.
ResultCode PlanBmp(int32_t width, int32_t height, int32_t bitsPerPixel, BmpRows rows,
                   BmpLayout* layout);
// Writes kBmpWrittenHeaders bytes.
void WriteBmpHeaders(const BmpLayout& layout, uint8_t* out);
