#include "picture/bmp_rows.h"

#include <cstring>

#include "gfx/surface.h"

namespace {

// A stored row's index, counted from the first in the file, for a surface row.
int32_t StoredRow(const BmpInfo& info, int32_t y) {
  return info.rows == BmpRows::kTopDown ? y : info.height - 1 - y;
}

// Stored bytes are blue, green, red and, at 32 bits, one unused byte.
void UnpackRow(const uint8_t* in, int32_t bytesPerPixel, int32_t width, uint32_t* out) {
  for (int32_t x = 0; x < width; ++x, in += bytesPerPixel)
    out[x] = in[0] | (in[1] << 8) | (static_cast<uint32_t>(in[2]) << 16);
}

void PackRow(const uint32_t* in, int32_t bytesPerPixel, int32_t width, uint8_t* out) {
  for (int32_t x = 0; x < width; ++x, out += bytesPerPixel) {
    out[0] = static_cast<uint8_t>(in[x]);
    out[1] = static_cast<uint8_t>(in[x] >> 8);
    out[2] = static_cast<uint8_t>(in[x] >> 16);
    if (bytesPerPixel == 4) out[3] = 0;
  }
}

}  // namespace

ResultCode CheckBmpTarget(const BmpInfo& info, Surface* surface) {
  if (!surface) return RC_NULL_ARGUMENT;
  if (surface->Width() != info.width || surface->Height() != info.height) return RC_SIZE_MISMATCH;
  return RC_OK;
}

ResultCode CopyBmpRowsIn(const BmpLayout& layout, const uint8_t* rows, Surface* surface) {
  uint32_t* pixels = surface->Lock();
  if (!pixels) return surface->LastError();
  const BmpInfo& info = layout.info;
  for (int32_t y = 0; y < info.height; ++y) {
    const uint8_t* stored = rows + size_t{layout.rowBytes} * StoredRow(info, y);
    UnpackRow(stored, info.bitsPerPixel / 8, info.width, pixels + size_t(y) * surface->Pitch());
  }
  return surface->Unlock();
}

ResultCode CopyBmpRowsOut(const BmpLayout& layout, Surface* surface, uint8_t* rows) {
  const uint32_t* pixels = surface->Lock();
  if (!pixels) return surface->LastError();
  const BmpInfo& info = layout.info;
  for (int32_t y = 0; y < info.height; ++y) {
    uint8_t* stored = rows + size_t{layout.rowBytes} * StoredRow(info, y);
    std::memset(stored, 0, layout.rowBytes);  // the padding
    PackRow(pixels + size_t(y) * surface->Pitch(), info.bitsPerPixel / 8, info.width, stored);
  }
  return surface->Unlock();
}
