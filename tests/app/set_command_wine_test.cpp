// The operating-system check and the Set command against the real system under Wine, which
// reports the Windows version named by ZV_WINE_VERSION. Only the message boxes are recorded
// and answered instead of shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "app/logic/app_state.h"
#include "app/logic/os_check.h"
#include "app/logic/set_command.h"
#include "app/win32/win32_host.h"
#include "host/recorded_messages.h"
#include "temp/temp_dir.h"

namespace {

struct VersionCase {
  const char* name;
  DWORD platform, major, minor;
  const char* warning;  // nullptr: none
  int32_t flag;
};

const VersionCase kVersions[] = {
    {"win95", 1, 4, 0, kWin95Warning, 0},
    {"win98", 1, 4, 10, nullptr, 0},
    {"winme", 1, 4, 90, nullptr, 0},
    {"nt40", 2, 4, 0, kNtWarning, 0},
    {"win2k", 2, 5, 0, nullptr, 1},
    {"winxp", 2, 5, 1, nullptr, 1},
    {"win7", 2, 6, 1, kNtWarning, 0},
    {"win10", 2, 6, 2, kNtWarning, 0},
};

class RecordingHost : public Win32Host {
 public:
  int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override {
    messages.push_back({owner, text, caption, type});
    return (type & MB_YESNO) == MB_YESNO ? answer : IDOK;
  }

  int answer = IDYES;
  std::vector<MessageBoxCall> messages;
};

const VersionCase* ReportedVersion() {
  const char* name = std::getenv("ZV_WINE_VERSION");
  if (name == nullptr) return nullptr;
  for (const VersionCase& version : kVersions)
    if (std::strcmp(version.name, name) == 0) return &version;
  return nullptr;
}

std::set<std::string> Listing(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.insert(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

// Removes, deepest first, the folders of the list that did not exist when it was made.
class FolderCleanup {
 public:
  explicit FolderCleanup(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders)
      if (!PathExists(folder)) created_.push_back(folder);
  }
  ~FolderCleanup() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) RemoveDirectoryA(it->c_str());
  }

 private:
  std::vector<std::string> created_;
};

std::string WindowsDirectory() {
  char buffer[MAX_PATH];
  const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  return std::string(buffer, length);
}

std::string UserName() {
  char buffer[256];
  DWORD size = sizeof(buffer);
  return GetUserNameA(buffer, &size) ? std::string(buffer) : std::string();
}

void Select(int32_t title, int32_t mode, const char* folder) {
  g_selection = Selection();
  g_selection.titleIndex = title;
  g_selection.installMode = mode;
  std::strcpy(g_selection.gameFolder, folder);
}

}  // namespace

TEST(UnderWine, OsCheckFollowsTheReportedVersion) {
  const VersionCase* expected = ReportedVersion();
  ASSERT_NE(expected, nullptr) << "ZV_WINE_VERSION must name one of the versions above";

  RecordingHost host;
  OsVersion version;
  ASSERT_TRUE(host.QueryOsVersion(version));
  EXPECT_EQ(version.platformId, expected->platform);
  EXPECT_EQ(version.majorVersion, expected->major);
  EXPECT_EQ(version.minorVersion, expected->minor);

  g_profileFolderFlag = 0;
  EXPECT_EQ(CheckOperatingSystem(host, kDialog), 1);
  EXPECT_EQ(g_profileFolderFlag, expected->flag);
  ExpectMessages(host.messages, expected->warning ? std::vector<std::string>{expected->warning}
                                                  : std::vector<std::string>{});
}

TEST(UnderWine, SetCommandWritesWhereTheVersionSaysAndReplacesSafely) {
  const VersionCase* expected = ReportedVersion();
  ASSERT_NE(expected, nullptr);
  RecordingHost host;
  g_profileFolderFlag = 0;
  CheckOperatingSystem(host, kDialog);
  ASSERT_EQ(g_profileFolderFlag, expected->flag);

  const std::string windows = WindowsDirectory();
  const std::string user = windows.substr(0, 3) + "Documents and Settings\\" + UserName();
  const std::string folder = expected->flag ? user + "\\Application Data\\Vorn" : windows;
  const std::string file = folder + "\\quil.ifo";
  FolderCleanup cleanup(expected->flag ? std::vector<std::string>{
      windows.substr(0, 3) + "Documents and Settings", user, user + "\\Application Data", folder,
      user + "\\Local Settings", user + "\\Local Settings\\Temp"} : std::vector<std::string>{});
  DeleteFileA(file.c_str());
  std::set<std::string> expectedNames = Listing(folder);
  expectedNames.insert("quil.ifo");

  // A new file.
  Select(2, 1, "C:\\ゲーム\\Quillane\\");
  host.messages.clear();
  RunSetCommand(host, kDialog);
  ExpectMessages(host.messages, {kDone});
  EXPECT_EQ(ReadWholeFile(file), "C:\\ゲーム\\Quillane\\\r\n0 1 2 10 11 ");
  EXPECT_EQ(Listing(folder), expectedNames);
  if (expected->flag) {
    EXPECT_TRUE(PathExists(user + "\\Local Settings\\Temp"));
  }
  EXPECT_FALSE(PathExists(expected->flag ? windows + "\\quil.ifo"
                                          : user + "\\Application Data\\Vorn\\quil.ifo"));

  // Declined, then accepted.
  Select(2, 0, "E:\\X\\");
  host.messages.clear();
  host.answer = IDNO;
  RunSetCommand(host, kDialog);
  ExpectMessages(host.messages, {kAsk});
  EXPECT_EQ(ReadWholeFile(file), "C:\\ゲーム\\Quillane\\\r\n0 1 2 10 11 ");

  host.messages.clear();
  host.answer = IDYES;
  RunSetCommand(host, kDialog);
  ExpectMessages(host.messages, {kAsk, kDone});
  EXPECT_EQ(ReadWholeFile(file), "E:\\X\\\r\n0 1 2 ");
  EXPECT_EQ(Listing(folder), expectedNames);

  // The old file held open by another opener cannot be replaced: it stays whole.
  HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Select(2, 0, "F:\\Y\\");
  host.messages.clear();
  RunSetCommand(host, kDialog);
  CloseHandle(held);
  ExpectMessages(host.messages, {kAsk, kFailed});
  EXPECT_EQ(ReadWholeFile(file), "E:\\X\\\r\n0 1 2 ");
  EXPECT_EQ(Listing(folder), expectedNames);

  EXPECT_TRUE(DeleteFileA(file.c_str()));
}
