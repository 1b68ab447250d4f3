#pragma once
#include "platform/win32.h"

// What a surface needs of the display that owns it: the window whose device context its DIB
// section is made against. The display implements it, so the surfaces know nothing else of the
// display and neither includes the other.
class SurfaceOwner {
 public:
  virtual HWND SurfaceWindow() = 0;

 protected:
  ~SurfaceOwner() = default;
};
