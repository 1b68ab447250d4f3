#include "surface/dib_store.h"

#include "platform/window_dc.h"

namespace {

// Room for the largest colour table, zeroed, so that a palette-indexed section never reads
// past the header.
struct SectionInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

constexpr LONG kPixelsPerMetre = 2834;  // 72 dpi

SectionInfo TopDownSectionInfo(PixelType type, int32_t width, int32_t height) {
  SectionInfo info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // rows stored top-down, row 0 first
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(BitsPerPixel(type));
  info.header.biCompression = BI_RGB;
  info.header.biXPelsPerMeter = kPixelsPerMetre;
  info.header.biYPelsPerMeter = kPixelsPerMetre;
  return info;
}

// Bytes of one row as a DIB section stores it: padded to a 32-bit boundary.
int64_t SectionRowBytes(PixelType type, int32_t width) {
  return (static_cast<int64_t>(width) * BitsPerPixel(type) + 31) / 32 * 4;
}

}  // namespace

// Checks come before anything is taken, and any failure gives back what the call took, so a
// failed call leaves the store empty (an earlier section is released once the arguments pass).
ResultCode DibStore::CreateSection(HDC reference, PixelType type, int32_t width, int32_t height) {
  if (!IsValidPixelType(type)) return RC_NO_MEMORY;
  if (width <= 0 || !IsStorableBlock(SectionRowBytes(type, width), height)) return RC_BAD_LENGTH;
  DestroySection();

  HDC memoryDC = CreateCompatibleDC(reference);
  if (!memoryDC) return RC_NO_DC;
  const SectionInfo info = TopDownSectionInfo(type, width, height);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(memoryDC, reinterpret_cast<const BITMAPINFO*>(&info),
                                     DIB_PAL_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = section ? SelectObject(memoryDC, section) : nullptr;
  if (!previous) {
    if (section) DeleteObject(section);
    DeleteDC(memoryDC);
    return RC_DIB_FAILED;
  }
  memoryDC_ = memoryDC;
  section_ = section;
  previousObject_ = previous;
  bits_ = bits;
  return RC_OK;
}

ResultCode DibStore::DestroySection() {
  if (!memoryDC_) return RC_OK;
  // Hands the section back so it can be deleted; should that fail, deleting the context
  // first frees the section all the same.
  SelectObject(memoryDC_, previousObject_);
  DeleteDC(memoryDC_);
  DeleteObject(section_);
  memoryDC_ = nullptr;
  section_ = nullptr;
  previousObject_ = nullptr;
  bits_ = nullptr;
  return RC_OK;
}

void* DibStore::Bits() { return bits_; }

HDC DibStore::MemoryDC() { return memoryDC_; }

DibStore::~DibStore() { DestroySection(); }

ResultCode DibStore::CreateSectionForWindow(HWND window, PixelType type, int32_t width,
                                            int32_t height) {
  WindowDC reference(window);
  if (!reference.Get()) return RC_GET_DC_FAILED;
  return CreateSection(reference.Get(), type, width, height);
}
