#include "app/logic/os_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/logic/app_state.h"
#include "host/recorded_messages.h"

namespace {

struct OsRow {
  const char* name;
  DWORD platform, major, minor;
  int32_t flagBefore;
  const char* message;  // nullptr: none
  int32_t flagAfter;
  int32_t result;
};

// The Wine test checks each version from a clear flag; here the flag is set before, where that
// matters, and the platforms Wine cannot report.
const OsRow kRows[] = {
    {"win31", 0, 3, 10, 1, kWin31Warning, 1, 1},
    {"win95", 1, 4, 0, 1, kWin95Warning, 0, 1},
    {"win98", 1, 4, 10, 1, nullptr, 0, 1},
    {"winme", 1, 4, 90, 1, nullptr, 0, 1},
    {"nt40", 2, 4, 0, 1, kNtWarning, 1, 1},
    {"win10", 2, 10, 0, 1, kNtWarning, 1, 1},
    {"ce", 3, 5, 0, 1, kUnknownOs, 1, 0},
    {"unknown", 0xFFFFFFFF, 0, 0, 0, kUnknownOs, 0, 0},
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
    ExpectMessages(host.messages, row.message ? std::vector<std::string>{row.message}
                                              : std::vector<std::string>{});
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
