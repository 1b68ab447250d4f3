#include "gfx/display.h"

#include <climits>
#include <new>

#include "surface/dib_surface.h"
#include "surface/dib_surface32.h"
#include "surface/mem_surface32.h"
#include "surface/plain_surface.h"

namespace {

// BitBlt extent of an edge pair; saturated so that an extreme Rect cannot overflow.
int Extent(int32_t from, int32_t to) {
  const int64_t extent = static_cast<int64_t>(to) - from;
  return static_cast<int>(extent > INT_MAX ? INT_MAX : extent < INT_MIN ? INT_MIN : extent);
}

bool IsDibKind(int32_t kind) { return kind == 1 || kind == 2; }

}  // namespace

Display::Display() = default;

// The surfaces go with DisplayBase; unlike Close, the window's context is released too.
Display::~Display() = default;

ResultCode Display::Open(const DisplayDesc* desc) {
  if (!desc) return RC_NULL_ARGUMENT;
  if (desc->size != kDisplayDescSize) return RC_BAD_FORMAT;
  desc_ = *desc;
  pixelType_ = kPixelType32;
  hdc_.Take(WindowFromDesc(desc_));  // not tested here: Present reports a missing context
  bitsPerPixel_ = kBitsPerPixel;
  primary_ = CreateSurface32(kDibKind);
  if (!primary_) return RC_NO_SURFACE;
  return primary_->Create(desc_.width, desc_.height);
}

ResultCode Display::Close() {
  DestroyAllSurfaces();
  primary_ = nullptr;
  hdc_.Reset();
  desc_ = DisplayDesc{};
  return RC_OK;
}

DisplayDesc* Display::GetDesc() { return &desc_; }

template <typename S>
S* Display::Register(S* surface) {
  if (surface && AddSurface(surface) != RC_OK) {
    delete surface;
    return nullptr;
  }
  return surface;
}

Surface* Display::CreateSurface(int32_t kind) {
  if (kind == kHeapKind) return Register(new (std::nothrow) PlainSurface(this));
  if (IsDibKind(kind)) return Register(new (std::nothrow) DibSurface(this));
  return nullptr;
}

Surface32* Display::CreateSurface32(int32_t kind) {
  if (kind == kHeapKind) return Register(new (std::nothrow) MemSurface32(this));
  if (IsDibKind(kind)) return Register(new (std::nothrow) DibSurface32(this));
  return nullptr;
}

// BitBlt clips to both contexts, so the Rect is used as given.
ResultCode Display::Present(const Rect* rect) {
  if (!hdc_.Get()) return RC_NO_DC;
  if (!primary_) return RC_NO_SURFACE;
  const Rect area = rect ? *rect : Rect{0, 0, desc_.width, desc_.height};
  BitBlt(hdc_.Get(), area.left, area.top, Extent(area.left, area.right),
         Extent(area.top, area.bottom), primary_->PresentDC(), area.left, area.top, SRCCOPY);
  return RC_OK;
}

HWND Display::SurfaceWindow() { return WindowFromDesc(desc_); }

ResultCode Display::Paint() {
  const HWND window = WindowFromDesc(desc_);
  PAINTSTRUCT paint{};  // an empty paint rectangle when BeginPaint fails
  const HDC paintDC = BeginPaint(window, &paint);
  const Rect invalid{paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                     paint.rcPaint.bottom};
  const ResultCode result = Present(&invalid);
  if (paintDC) EndPaint(window, &paint);
  return result;
}
