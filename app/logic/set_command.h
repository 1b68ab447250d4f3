#pragma once
#include "platform/win32.h"

class SystemHost;

// The Set command's flow: the checks, the question and the messages; its paths come from
// set_paths.h and its write from safe_write.h. It writes the selected title's install information file from g_selection and
// g_profileFolderFlag, asking (owned by `owner`) before an existing file is replaced.
void RunSetCommand(SystemHost& host, HWND owner);
