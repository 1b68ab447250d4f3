#include "app/os_check.h"

#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "fake_host.h"

namespace {

HWND const kDialog = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));

struct OsRow {
  const char* name;
  DWORD platform, major, minor;
  int32_t flagBefore;
  const char* message;  // nullptr: none
  UINT type;
  int32_t flagAfter;
  int32_t result;
};

// The warnings, spelled out here as the user sees them.
const OsRow kRows[] = {
    {"win31", 0, 3, 10, 1, "Windows 3.1は動作保証外です！", MB_OK | MB_ICONWARNING, 1, 1},
    {"win95", 1, 4, 0, 1, "Windows95は動作保証外です！", MB_OK | MB_ICONWARNING, 0, 1},
    {"win98", 1, 4, 10, 1, nullptr, 0, 0, 1},
    {"winme", 1, 4, 90, 1, nullptr, 0, 0, 1},
    {"nt40", 2, 4, 0, 1, "Windows NTは動作保証外です！", MB_OK | MB_ICONWARNING, 1, 1},
    {"nt40-fresh", 2, 4, 0, 0, "Windows NTは動作保証外です！", MB_OK | MB_ICONWARNING, 0, 1},
    {"win2k", 2, 5, 0, 0, nullptr, 0, 1, 1},
    {"winxp", 2, 5, 1, 0, nullptr, 0, 1, 1},
    {"win7", 2, 6, 1, 0, "Windows NTは動作保証外です！", MB_OK | MB_ICONWARNING, 0, 1},
    {"win10", 2, 10, 0, 1, "Windows NTは動作保証外です！", MB_OK | MB_ICONWARNING, 1, 1},
    {"ce", 3, 5, 0, 1, "OSが判別できません！", MB_OK | MB_ICONERROR, 1, 0},
    {"unknown", 0xFFFFFFFF, 0, 0, 0, "OSが判別できません！", MB_OK | MB_ICONERROR, 0, 0},
};

}  // namespace

TEST(CheckOperatingSystem, WarnsAndSetsTheFlagPerPlatform) {
  for (const OsRow& row : kRows) {
    SCOPED_TRACE(row.name);
    FakeHost host;
    host.version = {row.platform, row.major, row.minor};
    g_profileFolderFlag = row.flagBefore;

    EXPECT_EQ(CheckOperatingSystem(host, kDialog), row.result);
    EXPECT_EQ(g_profileFolderFlag, row.flagAfter);
    if (row.message == nullptr) {
      EXPECT_TRUE(host.messages.empty());
      continue;
    }
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].owner, kDialog);
    EXPECT_EQ(host.messages[0].text, row.message);
    EXPECT_EQ(host.messages[0].caption, "警告");
    EXPECT_EQ(host.messages[0].type, row.type);
  }
  g_profileFolderFlag = 0;
}

TEST(CheckOperatingSystem, UnknownVersionIsSilentAndKeepsTheFlag) {
  for (int32_t flag : {0, 1}) {
    FakeHost host;
    host.versionKnown = false;
    g_profileFolderFlag = flag;
    EXPECT_EQ(CheckOperatingSystem(host, kDialog), 1);
    EXPECT_EQ(g_profileFolderFlag, flag);
    EXPECT_TRUE(host.messages.empty());
  }
  g_profileFolderFlag = 0;
}
