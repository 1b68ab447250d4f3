// Native only: drive paths of the substitute land under a folder the test chooses.
#include <gtest/gtest.h>

#include "subst/file_hooks.h"
#include "platform/win32.h"
#include "temp/temp_dir.h"

TEST(DriveRoot, DriveLetterBecomesAnUpperCaseFolderUnderTheRoot) {
  TempDir dir;
  subst::SetDriveRoot(dir.path().c_str());
  ASSERT_TRUE(CreateDirectoryA("c:\\", nullptr));
  ASSERT_TRUE(CreateDirectoryA("C:\\表", nullptr));
  HANDLE h = CreateFileA("c:\\表\\tw.ifo", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_TRUE(PathExists(dir.path() + "/C/\x95\x5C/tw.ifo"));
  EXPECT_EQ(GetFileAttributesA("C:\\表\\tw.ifo"), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(GetFileAttributesA("D:\\"), INVALID_FILE_ATTRIBUTES);
  subst::SetDriveRoot(nullptr);
  EXPECT_EQ(GetFileAttributesA("C:\\"), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(CreateDirectoryA("C:\\x", nullptr));
}

TEST(DriveRoot, DotDotStopsAtTheDriveRoot) {
  TempDir dir;
  const std::string root = dir.Path("root");
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
  subst::SetDriveRoot(root.c_str());
  ASSERT_TRUE(CreateDirectoryA("C:\\", nullptr));
  EXPECT_TRUE(CreateDirectoryA("C:\\..\\..\\up\\", nullptr));
  EXPECT_TRUE(CreateDirectoryA("C:\\a\\.\\..\\b", nullptr));
  EXPECT_TRUE(PathExists(root + "/C/up"));
  EXPECT_TRUE(PathExists(root + "/C/b"));
  EXPECT_FALSE(PathExists(dir.Path("up")));
  EXPECT_EQ(GetFileAttributesA("C:\\b\\..\\..\\.."), FILE_ATTRIBUTE_DIRECTORY);
  subst::SetDriveRoot(nullptr);
}
