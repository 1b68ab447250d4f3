#pragma once
#include <cstdint>

#include "platform/win32.h"

class Display;

// The one Display of the process, made at start-up and never released; null before.
extern Display* g_display;

// Creates the display for the hidden main window and opens it at width x height. Returns 1, or
// 0 for a null window or a non-positive size (nothing is created then). Open's own result is
// not looked at: nothing in the tool draws, so a display without a primary surface is harmless.
int32_t StartDisplay(HWND window, int32_t width, int32_t height);
