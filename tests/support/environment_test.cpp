// Guards the harness itself: every Shift-JIS test is meaningless if literals are not compiled
// as code page 932 or if Wine does not run with the Japanese ANSI code page.
#include <gtest/gtest.h>

#include <string>

#include "temp/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#endif

TEST(Environment, LiteralsAreShiftJis) {
  const std::string text = "設定";
  EXPECT_EQ(text, std::string("\x90\xDD\x92\xE8"));
}

#ifdef _WIN32
TEST(Environment, AnsiCodePageIsJapanese) { EXPECT_EQ(GetACP(), 932u); }
#endif

TEST(Environment, TempDirIsFreshAndRemoved) {
  std::string kept;
  {
    TempDir dir;
    kept = dir.path();
    ASSERT_TRUE(PathExists(kept));
    WriteWholeFile(dir.Path("sub.txt"), "abc");
    EXPECT_EQ(ReadWholeFile(dir.Path("sub.txt")), "abc");
  }
  EXPECT_FALSE(PathExists(kept));
}
