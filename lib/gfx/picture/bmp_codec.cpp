#include "gfx/bmp_codec.h"

#include "file/mem_file.h"
#include "gfx/surface.h"
#include "picture/bmp_header.h"
#include "picture/bmp_rows.h"

namespace {

ResultCode ParseBuffer(const uint8_t* bytes, uint32_t size, BmpLayout* layout) {
  if (!bytes && size != 0) return RC_NULL_ARGUMENT;
  return ParseBmpHeaders(bytes, size < kBmpLongestHeaders ? size : kBmpLongestHeaders, size,
                         layout);
}

}  // namespace

ResultCode DecodeBmpInfo(const uint8_t* bytes, uint32_t size, BmpInfo* info) {
  if (!info) return RC_NULL_ARGUMENT;
  BmpLayout layout{};
  if (ResultCode rc = ParseBuffer(bytes, size, &layout)) return rc;
  *info = layout.info;
  return RC_OK;
}

ResultCode DecodeBmp(const uint8_t* bytes, uint32_t size, Surface* surface) {
  BmpLayout layout{};
  if (ResultCode rc = ParseBuffer(bytes, size, &layout)) return rc;
  if (ResultCode rc = CheckBmpTarget(layout.info, surface)) return rc;
  return CopyBmpRowsIn(layout, bytes + layout.pixelOffset, surface);
}

ResultCode EncodeBmp(Surface* surface, int32_t bitsPerPixel, BmpRows rows, MemFile* out) {
  if (!surface || !out) return RC_NULL_ARGUMENT;
  BmpLayout layout{};
  if (ResultCode rc = PlanBmp(surface->Width(), surface->Height(), bitsPerPixel, rows, &layout))
    return rc;
  const uint32_t fileBytes = layout.pixelOffset + layout.PixelBytes();
  out->Allocate(fileBytes);
  if (!out->GetBuffer()) return RC_NO_MEMORY;
  WriteBmpHeaders(layout, out->GetBuffer());
  return CopyBmpRowsOut(layout, surface, out->GetBuffer() + layout.pixelOffset);
}
