#pragma once
#include <cstdint>

#include "common/result_code.h"
#include "gfx/pixel_type.h"
#include "gfx/surface_owner.h"
#include "platform/win32.h"

class DibStore;
class PixelStore;

// A rectangle of 32-bit pixels (0x00RRGGBB) owned by a display. Pixel (x, y) is word
// y * Pitch() + x from the address Lock returns. Storage comes from a second base class,
// PixelStore (heap) or DibStore (DIB section), in the concrete classes.
class Surface {
 public:
  // Storage flags set by Create, and the state bit that ClearStateFlag clears.
  static constexpr uint32_t kFlagsHeap = 0x1;
  static constexpr uint32_t kFlagsDib = 0x1002;
  static constexpr uint32_t kStateFlag = 0x01000000;
  static constexpr int32_t kUnregistered = -1;

  explicit Surface(SurfaceOwner* owner);

  // Virtual operations, in table order.
  virtual ~Surface();
  virtual ResultCode Create(int32_t width, int32_t height);
  virtual ResultCode Release();
  virtual uint32_t* Lock() = 0;
  virtual ResultCode Unlock();
  virtual HDC GetDeviceContext();
  virtual ResultCode ReleaseDeviceContext();
  virtual int32_t ByteSize() = 0;
  virtual int32_t FamilyCode() = 0;
  virtual void ClearStateFlag();

  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int32_t OwnerSerial() const { return ownerSerial_; }
  // Set by the display that registers the surface; Create refuses an unregistered surface.
  void StampOwnerSerial(int32_t serial) { ownerSerial_ = serial; }
  SurfaceOwner* Owner() const { return owner_; }
  PixelType GetPixelType() const { return pixelType_; }
  uint32_t Flags() const { return flags_; }
  int32_t Width() const { return width_; }
  int32_t Pitch() const { return pitch_; }
  int32_t Height() const { return height_; }
  ResultCode LastError() const { return lastError_; }

 protected:
  // The Create of the storage-backed classes: heap block (pitch = width, flags 1) or DIB
  // section (pitch rounded up to 8, flags 0x1002). An unregistered surface (RC_BAD_FORMAT) or an
  // unusable size (RC_BAD_LENGTH) changes nothing; a failed store keeps the earlier geometry.
  ResultCode CreateOnHeap(PixelStore& store, int32_t width, int32_t height);
  ResultCode CreateInSection(DibStore& store, int32_t width, int32_t height);

  // Lock of the storage-backed classes: the store's address, or null with RC_NO_PIXELS.
  uint32_t* LockPixels(void* pixels);

  // The owner's window: the reference for DIB sections.
  HWND OwnerWindow() const;

  // Bytes of pixel storage: height x pitch x 4.
  int32_t StorageBytes() const { return height_ * pitch_ * 4; }

  int32_t ownerSerial_ = kUnregistered;
  SurfaceOwner* owner_;
  PixelType pixelType_ = 0;
  uint32_t flags_ = 0;
  int32_t reserved_ = 0;
  int32_t width_ = 0;
  int32_t pitch_ = 0;
  int32_t height_ = 0;
  ResultCode lastError_ = RC_OK;

 private:
  template <typename TakeStorage>
  ResultCode CreateWith(int32_t width, int32_t height, int64_t pitch, uint32_t flags,
                        TakeStorage takeStorage);
};
