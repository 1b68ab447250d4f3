// Program entry: the unattended run or the usage when the command line asks for them;
// otherwise one instance at a time, a hidden owner window, the settings dialog, exit 0.
#include <objbase.h>

#include "app/logic/command_line.h"
#include "app/logic/messages.h"
#include "app/logic/silent_run.h"
#include "app/win32/main_window.h"
#include "app/win32/settings_dialog.h"
#include "app/win32/startup_display.h"
#include "app/win32/win32_host.h"
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

int ShowUsage(const CommandLine& line) {
  char text[2048];
  ComposeUsage(line, text, sizeof text);
  const bool wrong = line.error != CommandLineError::kNone;
  MessageBoxA(nullptr, text, wrong ? kCaptionError : kCaptionUsage,
              wrong ? MB_ICONERROR : MB_ICONINFORMATION);
  return wrong ? kExitBadCommandLine : kExitDone;
}

// No window of ours, so a dialog open in another instance neither stops this run nor is
// stopped by it.
int RunWithoutWindows(const CommandLine& line, bool valid) {
  // Not even the system's own error boxes may appear.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  if (!valid) return kExitBadCommandLine;
  if (line.showUsage) return kExitDone;
  Win32Host host;
  return RunSilently(host, line);
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
  CommandLine line;
  const bool valid = ParseCommandLine(GetCommandLineA(), line) != 0;
  if (line.silent) return RunWithoutWindows(line, valid);
  if (!valid || line.showUsage) return ShowUsage(line);

  Win32Host host;
  Selection preselection;
  if (!SelectionFromCommandLine(host, line, preselection)) {
    MessageBoxA(nullptr, kMessageFolderNotFound, kCaptionError, MB_ICONERROR);
    return kExitBadFolder;
  }

  RegisterMainWindowClass(instance);
  if (IsAnotherInstanceRunning()) return 0;
  HWND mainWindow = CreateMainWindow(instance);
  if (mainWindow == nullptr) return 0;
  if (!HasEnoughColours(mainWindow)) return 0;

  // Nothing in the tool draws, so a display that failed to open does not stop it.
  StartDisplay(mainWindow, 800, 600);

  const ComApartment apartment;
  RunSettingsDialog(instance, mainWindow, host, preselection);
  DestroyWindow(mainWindow);
  RunMessageLoop();
  return 0;
}
