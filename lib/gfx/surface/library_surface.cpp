#include <typeinfo>

#include "gfx/surface32.h"
#include "surface/dib_surface32.h"
#include "surface/mem_surface32.h"

// A subclass may replace any operation, so only the exact classes count.
bool Surface32::IsLibrarySurface() const {
  const std::type_info& type = typeid(*this);
  return type == typeid(MemSurface32) || type == typeid(DibSurface32);
}
