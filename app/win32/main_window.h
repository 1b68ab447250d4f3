#pragma once
#include "platform/win32.h"

// The hidden main window: the dialog's owner, and how a second instance finds the first.
inline constexpr char kMainWindowClass[] = "hoep";
inline constexpr char kMainWindowName[] = "いやん";

void RegisterMainWindowClass(HINSTANCE instance);

// True when another instance's main window exists.
bool IsAnotherInstanceRunning();

// Creates the main window without showing it; null on failure.
HWND CreateMainWindow(HINSTANCE instance);
