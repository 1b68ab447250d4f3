#pragma once
#include "surface/stored_surface.h"

// The plain family's heap surface: basic operations only.
class PlainSurface final : public OnHeap<Surface, 24> {
 public:
  using OnHeap::OnHeap;
};
