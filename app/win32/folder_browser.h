#pragma once
#include "platform/win32.h"

// Lets the user pick a file-system folder with the system folder browser. `buffer` holds
// kPathBufferSize bytes; it receives the chosen path, or the empty string when the user
// cancelled or picked something that has no file-system path. Returns `buffer`.
char* ChooseFolder(HWND owner, char* buffer, const char* prompt);
