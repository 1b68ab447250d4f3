#pragma once
#include "platform/win32.h"

class SystemHost;
struct Selection;

// Runs the settings dialog (resource IDD_SETTINGS) modally, owned by `owner`, until the user
// ends it, opening with the title, mode and game folder of `preselection` chosen. The dialog's
// messages and the commands it runs go through `host`.
INT_PTR RunSettingsDialog(HINSTANCE instance, HWND owner, SystemHost& host,
                          const Selection& preselection);
