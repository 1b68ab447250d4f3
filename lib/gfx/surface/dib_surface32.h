#pragma once
#include "gfx/surface32.h"
#include "surface/stored_surface.h"

// A 32-bit drawing surface in a DIB section: the kind the display presents from.
class DibSurface32 : public InSection<Surface32, 15> {
 public:
  using InSection::InSection;

  HDC PresentDC() override { return this->MemoryDC(); }
  void Reserved() override {}
};
