#pragma once
#include "platform/win32.h"

class SystemHost;

// Runs the settings dialog (resource IDD_SETTINGS) modally, owned by `owner`, until the user
// ends it. The dialog's messages and the commands it runs go through `host`.
INT_PTR RunSettingsDialog(HINSTANCE instance, HWND owner, SystemHost& host);
