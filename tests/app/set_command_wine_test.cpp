// The operating-system check and the Set command on the real system under Wine, which reports
// the Windows version named by ZV_WINE_VERSION: the warning that version gets, and the
// information file written where it keeps it (only 2000 and XP in the profile), then replaced.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/logic/app_state.h"
#include "app/logic/messages.h"
#include "app/logic/os_check.h"
#include "app/logic/set_command.h"
#include "app/win32/win32_host.h"
#include "temp/temp_dir.h"

// Shows nothing: keeps the last text and answers yes.
struct QuietHost : Win32Host {
  int ShowMessageBox(HWND, const char* text, const char*, UINT type) override {
    last = text;
    return (type & MB_YESNO) == MB_YESNO ? IDYES : IDOK;
  }
  std::string last;
};

struct Version { const char* name; const char* warning; bool profile; };
const Version kVersions[] = {{"win95", kMessageWin95Unsupported, 0}, {"win98", "", 0}, {"winme", "", 0},
                             {"nt40", kMessageNtUnsupported, 0}, {"win2k", "", 1}, {"winxp", "", 1},
                             {"win7", kMessageNtUnsupported, 0}, {"win10", kMessageNtUnsupported, 0}};

TEST(UnderWine, TheReportedVersionDecidesTheWarningAndWhereTheFileGoes) {
  const char* reported = std::getenv("ZV_WINE_VERSION");
  const Version* v = nullptr;
  for (const Version& each : kVersions) v = reported && each.name == std::string(reported) ? &each : v;
  ASSERT_NE(v, nullptr) << "ZV_WINE_VERSION names none of the versions";
  QuietHost host;
  EXPECT_EQ(CheckOperatingSystem(host, nullptr), 1);
  EXPECT_EQ(host.last, v->warning);
  ASSERT_EQ(g_profileFolderFlag, v->profile ? 1 : 0);

  char windows[MAX_PATH], user[256];
  DWORD userSize = sizeof user;
  ASSERT_TRUE(GetWindowsDirectoryA(windows, MAX_PATH) && GetUserNameA(user, &userSize));
  const std::string home = std::string(windows, 3) + "Documents and Settings\\" + user;
  const std::string file = (v->profile ? home + "\\Application Data\\Vorn" : windows) + "\\quil.ifo";
  for (const std::string folder : {"C:\\ゲーム\\Quillane\\", "E:\\X\\"}) {  // a new file, then replaced
    g_selection = Selection{2, 0, {}};
    folder.copy(g_selection.gameFolder, kPathBufferSize - 1);
    RunSetCommand(host, nullptr);
    EXPECT_EQ(host.last, kMessageSetDone);
    EXPECT_EQ(ReadWholeFile(file), folder + "\r\n0 1 2 ");
  }
  EXPECT_TRUE(DeleteFileA(file.c_str()));
  // The profile's folders, deepest first: only those left empty go.
  for (std::string folder : {home + "\\Local Settings\\Temp", home + "\\Application Data\\Vorn"})
    for (; folder.size() > 3; folder.resize(folder.rfind('\\'))) RemoveDirectoryA(folder.c_str());
}
