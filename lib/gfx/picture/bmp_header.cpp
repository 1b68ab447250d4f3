#include "picture/bmp_header.h"

#include <cstring>

#include "gfx/pixel_type.h"

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kMaskBytes = 12;
constexpr uint32_t kUncompressed = 0;  // BI_RGB
constexpr uint32_t kBitFields = 3;     // BI_BITFIELDS
constexpr uint32_t kAlphaBitFields = 6;
constexpr uint16_t kMagic = 0x4D42;  // "BM"
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dpi

uint32_t Read32(const uint8_t* at) {
  return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}
uint16_t Read16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

void Write32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}
void Write16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

// A file too short to hold the whole magic is judged by what it has.
bool MagicMatches(const uint8_t* head, uint32_t headBytes) {
  return (headBytes < 1 || head[0] == 'B') && (headBytes < 2 || head[1] == 'M');
}

// The info headers of Windows' own versions 1 to 5; 12 and 64 are OS/2's, which we do not read.
bool IsWindowsInfoHeader(uint32_t bytes) {
  return bytes == 40 || bytes == 52 || bytes == 56 || bytes == 108 || bytes == 124;
}
bool IsOtherInfoHeader(uint32_t bytes) { return bytes == 12 || bytes == 64; }

int64_t RowBytes(int32_t width, int32_t bitsPerPixel) {
  return (int64_t{width} * bitsPerPixel + 31) / 32 * 4;
}

// Bit fields are accepted when they only restate the uncompressed 32-bit layout.
bool IsPlainLayout(const uint8_t* masks) {
  return Read32(masks) == 0x00FF0000 && Read32(masks + 4) == 0x0000FF00 &&
         Read32(masks + 8) == 0x000000FF;
}

// The dimensions shared by reader and writer: every picture must fit a surface.
ResultCode CheckDimensions(int32_t width, int32_t rows) {
  if (width <= 0 || rows <= 0 || !IsStorableBlock(int64_t{width} * 4, rows))
    return RC_BAD_DIMENSIONS;
  return RC_OK;
}

}  // namespace

ResultCode ParseBmpHeaders(const uint8_t* head, uint32_t headBytes, uint32_t fileBytes,
                           BmpLayout* layout) {
  if (!MagicMatches(head, headBytes)) return RC_NOT_BMP;
  if (headBytes < kFileHeaderBytes + 4) return RC_TRUNCATED;
  const uint32_t infoBytes = Read32(head + kFileHeaderBytes);
  if (IsOtherInfoHeader(infoBytes)) return RC_BMP_UNSUPPORTED;
  if (!IsWindowsInfoHeader(infoBytes)) return RC_NOT_BMP;
  if (headBytes < kFileHeaderBytes + infoBytes) return RC_TRUNCATED;

  const uint8_t* info = head + kFileHeaderBytes;
  const auto width = static_cast<int32_t>(Read32(info + 4));
  const auto height = static_cast<int32_t>(Read32(info + 8));
  const uint16_t planes = Read16(info + 12);
  const uint16_t bits = Read16(info + 14);
  const uint32_t compression = Read32(info + 16);
  if (planes != 1) return RC_NOT_BMP;
  if (bits != 24 && bits != 32) return RC_BMP_UNSUPPORTED;

  uint32_t headersEnd = kFileHeaderBytes + infoBytes;
  if (compression == kBitFields || compression == kAlphaBitFields) {
    if (bits != 32) return RC_BMP_UNSUPPORTED;
    // The version 1 header keeps its masks after it; the later ones inside.
    if (infoBytes == kInfoHeaderBytes) headersEnd += kMaskBytes;
    if (headBytes < headersEnd) return RC_TRUNCATED;
    if (!IsPlainLayout(info + kInfoHeaderBytes)) return RC_BMP_UNSUPPORTED;
  } else if (compression != kUncompressed) {
    return RC_BMP_UNSUPPORTED;
  }

  // INT32_MIN rows has no positive count.
  const int32_t rows = height == INT32_MIN ? 0 : height < 0 ? -height : height;
  if (ResultCode rc = CheckDimensions(width, rows)) return rc;
  const int64_t rowBytes = RowBytes(width, bits);
  const uint32_t pixelOffset = Read32(head + 10);
  if (pixelOffset < headersEnd) return RC_NOT_BMP;
  if (int64_t{pixelOffset} + rowBytes * rows > fileBytes) return RC_TRUNCATED;

  layout->info = {width, rows, bits, height < 0 ? BmpRows::kTopDown : BmpRows::kBottomUp};
  layout->pixelOffset = pixelOffset;
  layout->rowBytes = static_cast<uint32_t>(rowBytes);
  return RC_OK;
}

ResultCode PlanBmp(int32_t width, int32_t height, int32_t bitsPerPixel, BmpRows rows,
                   BmpLayout* layout) {
  if (bitsPerPixel != 24 && bitsPerPixel != 32) return RC_BMP_UNSUPPORTED;
  if (ResultCode rc = CheckDimensions(width, height)) return rc;
  const int64_t rowBytes = RowBytes(width, bitsPerPixel);
  if (rowBytes * height > INT32_MAX - kBmpWrittenHeaders) return RC_BAD_DIMENSIONS;
  layout->info = {width, height, bitsPerPixel, rows};
  layout->pixelOffset = kBmpWrittenHeaders;
  layout->rowBytes = static_cast<uint32_t>(rowBytes);
  return RC_OK;
}

void WriteBmpHeaders(const BmpLayout& layout, uint8_t* out) {
  const BmpInfo& info = layout.info;
  std::memset(out, 0, kBmpWrittenHeaders);
  Write16(out, kMagic);
  Write32(out + 2, layout.pixelOffset + layout.PixelBytes());
  Write32(out + 10, layout.pixelOffset);
  uint8_t* header = out + kFileHeaderBytes;
  Write32(header, kInfoHeaderBytes);
  Write32(header + 4, static_cast<uint32_t>(info.width));
  Write32(header + 8, static_cast<uint32_t>(info.rows == BmpRows::kTopDown ? -info.height
                                                                            : info.height));
  Write16(header + 12, 1);
  Write16(header + 14, static_cast<uint16_t>(info.bitsPerPixel));
  Write32(header + 16, kUncompressed);
  Write32(header + 20, layout.PixelBytes());
  Write32(header + 24, kPixelsPerMetre);
  Write32(header + 28, kPixelsPerMetre);
}
