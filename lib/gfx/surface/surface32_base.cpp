#include "gfx/surface32_base.h"

// The abstract 32-bit classes own no pixels.
uint32_t* Surface32Base::Lock() {
  lastError_ = RC_LOCK_UNSUPPORTED;
  return nullptr;
}

int32_t Surface32Base::ByteSize() { return 0; }

int32_t Surface32Base::FamilyCode() { return 0; }
