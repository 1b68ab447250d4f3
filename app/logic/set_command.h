#pragma once
#include "platform/win32.h"

class SystemHost;

// The Set command: writes the selected title's install information file from g_selection and
// g_profileFolderFlag, asking (owned by `owner`) before an existing file is replaced.
void RunSetCommand(SystemHost& host, HWND owner);
