// Native only: drive paths of the substitute land under a folder the test chooses.
#include <gtest/gtest.h>

#include <string>

#include "platform/subst/file_hooks.h"
#include "platform/win32.h"
#include "temp_dir.h"

namespace {

class DriveRootTest : public ::testing::Test {
 protected:
  void SetUp() override { subst::SetDriveRoot(dir_.path().c_str()); }
  void TearDown() override { subst::SetDriveRoot(nullptr); }
  TempDir dir_;
};

TEST_F(DriveRootTest, DriveLetterBecomesAnUpperCaseFolder) {
  ASSERT_TRUE(CreateDirectoryA("c:\\", nullptr));
  ASSERT_TRUE(CreateDirectoryA("C:\\表", nullptr));
  HANDLE h = CreateFileA("c:\\表\\tw.ifo", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  EXPECT_TRUE(PathExists(dir_.path() + "/C/\x95\x5C/tw.ifo"));
  EXPECT_EQ(GetFileAttributesA("C:"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("C:\\表\\tw.ifo"), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(GetFileAttributesA("D:\\"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DriveRootTest, WithoutRootDrivePathsNameNothing) {
  ASSERT_TRUE(CreateDirectoryA("C:\\", nullptr));
  subst::SetDriveRoot(nullptr);
  EXPECT_EQ(GetFileAttributesA("C:\\"), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(CreateDirectoryA("C:\\x", nullptr));
  EXPECT_EQ(CreateFileA("C:\\x.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
}

}  // namespace
