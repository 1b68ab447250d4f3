// The smallest program on the library: a picture dissolves into a window in 16 steps.
//   first [picture.bmp]   an 800 x 600 BMP file, day.bmp when none is named
#include "gfx/bmp_file.h"
#include "gfx/display.h"
#include "gfx/surface32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  HWND window = CreateWindowA("STATIC", "First", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                              nullptr, instance, nullptr);
  Display display;
  const DisplayDesc desc{kDisplayDescSize, 0, 0, 800, 600, 32, WindowToDesc(window)};
  if (display.Open(&desc) != RC_OK) return 1;
  Surface32* picture = display.CreateSurface32(Display::kHeapKind);
  if (!picture || picture->Create(800, 600) != RC_OK ||
      LoadBmp(*commandLine ? commandLine : "day.bmp", picture) != RC_OK)
    return 1;
  Surface32* screen = display.GetPrimarySurface();
  for (int32_t level = 0; level < 16; ++level) {  // each step copies one pixel in 16
    screen->BltDissolve(0, 0, picture, nullptr, level);
    display.Present(nullptr);
    Sleep(60);
  }
  Sleep(1500);
  return 0;
}
