#pragma once
#include "gfx/surface32.h"
#include "surface/stored_surface.h"

// A 32-bit drawing surface in a heap block. It cannot be presented.
class MemSurface32 : public OnHeap<Surface32, 15> {
 public:
  using OnHeap::OnHeap;

  HDC PresentDC() override { return nullptr; }
  void Reserved() override {}
};
