#pragma once
#include "surface/stored_surface.h"

// The plain family's DIB-section surface: basic operations only.
class DibSurface final : public InSection<Surface, 24> {
 public:
  using InSection::InSection;
};
