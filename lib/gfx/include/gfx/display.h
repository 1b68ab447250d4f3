#pragma once
#include "gfx/display_base.h"
#include "gfx/surface_owner.h"
#include "platform/window_dc.h"

// A display bound to one window through GDI: its device context for presenting, and a primary
// DIB-section surface of the display area that Present copies from with BitBlt. Its surfaces
// make their DIB sections against the window of its descriptor.
class Display : public DisplayBase, public SurfaceOwner {
 public:
  static constexpr int32_t kBitsPerPixel = 32;
  static constexpr int32_t kHeapKind = 0;
  static constexpr int32_t kDibKind = 1;

  Display();

  // Virtual operations, in table order.
  ~Display() override;
  ResultCode Open(const DisplayDesc* desc) override;
  ResultCode Close() override;
  DisplayDesc* GetDesc() override;
  Surface* CreateSurface(int32_t kind) override;
  Surface32* CreateSurface32(int32_t kind) override;
  ResultCode Present(const Rect* rect) override;
  virtual ResultCode Paint();

  HWND SurfaceWindow() override;

  HDC DeviceContext() const { return hdc_.Get(); }
  int32_t GetBitsPerPixel() const { return bitsPerPixel_; }

 private:
  // Registers a new surface, or deletes it when no slot can be had.
  template <typename S>
  S* Register(S* surface);

  DisplayDesc desc_{};
  WindowDC hdc_;
  int32_t bitsPerPixel_ = 0;
};
