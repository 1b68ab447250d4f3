#pragma once
// The one way into the platform: the real Win32 API in the Windows builds, and natively a
// small substitute with the same names that keeps the rules the library relies on.
#ifdef _WIN32
#include <windows.h>
#else
#include "subst/win32_subst.h"
#endif
