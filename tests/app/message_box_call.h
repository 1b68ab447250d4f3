#pragma once
#include <string>

#include "platform/win32.h"

// One message box as the code under test asked for it.
struct MessageBoxCall {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};
