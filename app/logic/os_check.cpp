#include "app/logic/os_check.h"

#include "app/logic/app_state.h"
#include "app/logic/messages.h"
#include "app/logic/system_host.h"

namespace {

void Warn(SystemHost& host, HWND owner, const char* text) {
  host.ShowMessageBox(owner, text, kCaptionWarning, MB_OK | MB_ICONWARNING);
}

}  // namespace

int32_t CheckOperatingSystem(SystemHost& host, HWND owner) {
  OsVersion version;
  if (!host.QueryOsVersion(version)) return 1;

  switch (version.platformId) {
    case VER_PLATFORM_WIN32s:
      Warn(host, owner, kMessageWin31Unsupported);
      return 1;
    case VER_PLATFORM_WIN32_WINDOWS:
      if (version.minorVersion == 0) Warn(host, owner, kMessageWin95Unsupported);
      g_profileFolderFlag = 0;
      return 1;
    case VER_PLATFORM_WIN32_NT:
      // Only 2000 and XP keep profiles under Documents and Settings.
      if (version.majorVersion == 5) {
        g_profileFolderFlag = 1;
      } else {
        Warn(host, owner, kMessageNtUnsupported);
      }
      return 1;
    default:
      host.ShowMessageBox(owner, kMessageUnknownOs, kCaptionWarning, MB_OK | MB_ICONERROR);
      return 0;
  }
}
