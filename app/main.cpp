// Program entry: one instance at a time, a hidden owner window, the settings dialog, exit 0.
#include <objbase.h>

#include "app/main_window.h"
#include "app/messages.h"
#include "app/settings_dialog.h"
#include "app/startup_display.h"
#include "app/win32_host.h"
#include "platform/win32.h"

namespace {

// The folder browser needs a single-threaded COM apartment on the GUI thread. CoInitialize
// makes one too, and unlike CoInitializeEx it exists on Windows 95 without the DCOM update.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (initialised_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

// Below 16 bits per pixel the user is told why the tool will not run.
bool HasEnoughColours(HWND mainWindow) {
  HDC context = GetDC(mainWindow);
  const int bitsPerPixel = GetDeviceCaps(context, BITSPIXEL);
  if (bitsPerPixel < 16) {
    MessageBoxA(mainWindow, kMessageLowColourDepth, kCaptionError, MB_ICONERROR);
  }
  ReleaseDC(mainWindow, context);
  return bitsPerPixel >= 16;
}

// GetMessageA's -1 (a failure) ends the loop as the quit message does; the exit code is 0
// either way, never the wParam of whatever message came last.
void RunMessageLoop() {
  MSG message = {};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RegisterMainWindowClass(instance);
  if (IsAnotherInstanceRunning()) return 0;
  HWND mainWindow = CreateMainWindow(instance);
  if (mainWindow == nullptr) return 0;
  if (!HasEnoughColours(mainWindow)) return 0;

  // Nothing in the tool draws, so a display that failed to open does not stop it.
  StartDisplay(mainWindow, 800, 600);

  const ComApartment apartment;
  Win32Host host;
  RunSettingsDialog(instance, mainWindow, host);
  DestroyWindow(mainWindow);
  RunMessageLoop();
  return 0;
}
