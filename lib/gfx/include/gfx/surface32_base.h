#pragma once
#include "gfx/rect.h"
#include "gfx/surface.h"
#include "gfx/surface32_operations.h"

class Surface32;

// The 32-bit family's interface: Surface's ten operations, then PresentDC and Reserved, then
// the 26 drawing operations. This class has no storage: Lock fails with RC_LOCK_UNSUPPORTED.
class Surface32Base : public Surface {
 public:
  using Surface::Surface;

  uint32_t* Lock() override;
  int32_t ByteSize() override;
  int32_t FamilyCode() override;

  virtual HDC PresentDC() = 0;
  virtual void Reserved() = 0;

  SURFACE32_DRAWING_OPERATIONS(= 0)
};
