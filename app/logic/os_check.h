#pragma once
#include <cstdint>

#include "platform/win32.h"

class SystemHost;

// Identifies the running Windows version, warns (owned by `owner`) on unsupported ones and
// sets g_profileFolderFlag. Returns 1, or 0 when the platform cannot be identified.
int32_t CheckOperatingSystem(SystemHost& host, HWND owner);
