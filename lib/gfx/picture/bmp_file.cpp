#include "gfx/bmp_file.h"

#include "file/disk_file.h"
#include "file/mem_file.h"
#include "picture/bmp_header.h"
#include "picture/bmp_rows.h"

namespace {

// Read moves what the platform gives in one transfer; this keeps asking until count bytes are
// in or the file has no more. *got tells how many arrived.
ResultCode ReadUpTo(DiskFile& file, uint8_t* buffer, uint32_t count, uint32_t* got) {
  *got = 0;
  while (*got < count) {
    const auto before = static_cast<uint32_t>(file.GetFilePosition());
    if (ResultCode rc = file.Read(buffer + *got, count - *got)) return rc;
    const uint32_t moved = static_cast<uint32_t>(file.GetFilePosition()) - before;
    if (moved == 0) break;
    *got += moved;
  }
  return RC_OK;
}

ResultCode OpenAndParse(DiskFile& file, const char* path, BmpLayout* layout) {
  if (ResultCode rc = file.OpenRead(path)) return rc;
  const uint32_t fileBytes = file.GetSize();
  if (fileBytes == INVALID_FILE_SIZE) return RC_IO_FAILED;
  uint8_t head[kBmpLongestHeaders];
  uint32_t got = 0;
  if (ResultCode rc = ReadUpTo(file, head, sizeof head, &got)) return rc;
  return ParseBmpHeaders(head, got, fileBytes, layout);
}

}  // namespace

ResultCode ReadBmpInfo(const char* path, BmpInfo* info) {
  if (!info) return RC_NULL_ARGUMENT;
  DiskFile file;
  BmpLayout layout{};
  if (ResultCode rc = OpenAndParse(file, path, &layout)) return rc;
  *info = layout.info;
  return RC_OK;
}

ResultCode LoadBmp(const char* path, Surface* surface) {
  DiskFile file;
  BmpLayout layout{};
  if (ResultCode rc = OpenAndParse(file, path, &layout)) return rc;
  if (ResultCode rc = CheckBmpTarget(layout.info, surface)) return rc;
  // DiskFile seeks to 31-bit offsets only.
  if (layout.pixelOffset > INT32_MAX) return RC_BMP_UNSUPPORTED;
  if (ResultCode rc = file.Seek(static_cast<int32_t>(layout.pixelOffset))) return rc;
  MemFile rows;
  rows.Allocate(layout.PixelBytes());
  if (!rows.GetBuffer()) return RC_NO_MEMORY;
  uint32_t got = 0;
  if (ResultCode rc = ReadUpTo(file, rows.GetBuffer(), layout.PixelBytes(), &got)) return rc;
  // The file shrank since its size was taken.
  if (got < layout.PixelBytes()) return RC_TRUNCATED;
  return CopyBmpRowsIn(layout, rows.GetBuffer(), surface);
}

ResultCode SaveBmp(const char* path, Surface* surface, int32_t bitsPerPixel, BmpRows rows) {
  MemFile file;
  if (ResultCode rc = EncodeBmp(surface, bitsPerPixel, rows, &file)) return rc;
  return file.Save(path, file.GetCapacity());
}
