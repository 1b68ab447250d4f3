#pragma once
#include <cstdint>

#include "common/result_code.h"
#include "gfx/display_desc.h"
#include "gfx/rect.h"

class Surface;
class Surface32;

// Serial of the next display constructed: the first display gets 1; serials are never reused.
extern int32_t displaySerialCounter;

// The part of a display that does not depend on the window system: its serial, the primary
// surface and the table of every surface it owns (30 slots at first, growing by 10).
class DisplayBase {
 public:
  static constexpr int32_t kInitialTableSlots = 30;
  static constexpr int32_t kTableGrowth = 10;

  DisplayBase();

  // Virtual operations, in table order.
  virtual ~DisplayBase();
  virtual ResultCode Open(const DisplayDesc* desc) = 0;
  virtual ResultCode Close() = 0;
  virtual DisplayDesc* GetDesc() = 0;
  virtual int32_t GetPixelType();
  virtual Surface* CreateSurface(int32_t kind) = 0;
  virtual Surface32* CreateSurface32(int32_t kind) = 0;
  virtual ResultCode DestroySurface(Surface* surface);
  virtual ResultCode DestroyAllSurfaces();
  virtual Surface32* GetPrimarySurface();
  virtual ResultCode Present(const Rect* rect) = 0;
  virtual ResultCode PresentAll();

  ResultCode AddSurface(Surface* surface);
  ResultCode GrowSurfaceTable();

  DisplayBase(const DisplayBase&) = delete;
  DisplayBase& operator=(const DisplayBase&) = delete;

  int32_t Serial() const { return serial_; }
  int32_t SurfaceCount() const { return surfaceCount_; }
  int32_t TableCapacity() const { return tableCapacity_; }
  // The surface in a table slot, or null for a free slot or an index outside the table.
  Surface* SurfaceAt(int32_t slot) const;

 protected:
  int32_t serial_;
  Surface32* primary_ = nullptr;
  int32_t pixelType_ = 0;
  int32_t surfaceCount_ = 0;
  int32_t tableCapacity_ = 0;
  Surface** surfaces_ = nullptr;
};
