// The Win32 file calls the library and the tool rely on. The same cases run against the real
// API under Wine and against the native substitute, which must keep the same rules.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"
#include "temp_dir.h"

namespace {

class PlatformFilesTest : public ::testing::Test {
 protected:
  HANDLE Open(const std::string& path, DWORD access, DWORD disposition) {
    return CreateFileA(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
  }
  bool Opens(const std::string& path, DWORD access, DWORD disposition) {
    HANDLE h = Open(path, access, disposition);
    return h != INVALID_HANDLE_VALUE && CloseHandle(h);
  }
  bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  TempDir dir_;
  std::string a_ = dir_.Path("a.txt");
  std::string b_ = dir_.Path("b.txt");
};

TEST_F(PlatformFilesTest, DispositionsCreateTruncateOrRequire) {
  EXPECT_FALSE(Opens(a_, GENERIC_WRITE, TRUNCATE_EXISTING));
  EXPECT_FALSE(Opens(a_, GENERIC_READ, OPEN_EXISTING));
  EXPECT_FALSE(PathExists(a_));
  EXPECT_TRUE(Opens(a_, GENERIC_WRITE, CREATE_NEW));
  EXPECT_FALSE(Opens(a_, GENERIC_WRITE, CREATE_NEW));
  WriteWholeFile(a_, "abc");
  EXPECT_TRUE(Opens(a_, GENERIC_READ, OPEN_ALWAYS));
  EXPECT_EQ(ReadWholeFile(a_), "abc");
  EXPECT_TRUE(Opens(a_, GENERIC_WRITE, TRUNCATE_EXISTING));
  EXPECT_EQ(ReadWholeFile(a_), "");
  EXPECT_FALSE(Opens(dir_.path(), GENERIC_READ, OPEN_EXISTING));  // a folder is not a file
  EXPECT_FALSE(Opens(dir_.Path(std::string(300, 'x')), GENERIC_WRITE, CREATE_ALWAYS));
}

TEST_F(PlatformFilesTest, PointerAndSizeFollowTheOpenFile) {
  HANDLE h = Open(a_, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD moved = 0;
  ASSERT_TRUE(WriteFile(h, "0123456789", 10, &moved, nullptr));
  EXPECT_EQ(moved, 10u);
  EXPECT_EQ(GetFileSize(h, nullptr), 10u);
  EXPECT_EQ(SetFilePointer(h, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(SetFilePointer(h, -3, nullptr, FILE_END), 7u);
  char out[8] = {};
  ASSERT_TRUE(ReadFile(h, out, 5, &moved, nullptr));
  EXPECT_EQ(moved, 3u);
  EXPECT_STREQ(out, "789");
  EXPECT_EQ(SetFilePointer(h, 12, nullptr, FILE_BEGIN), 12u);
  ASSERT_TRUE(WriteFile(h, "!", 1, &moved, nullptr));
  EXPECT_EQ(GetFileSize(h, nullptr), 13u);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(ReadWholeFile(a_), std::string("0123456789\0\0!", 13));
}

TEST_F(PlatformFilesTest, FileHeldOpenCanBeNeitherOpenedNorDeletedNorMoved) {
  WriteWholeFile(a_, "held");
  WriteWholeFile(b_, "other");
  HANDLE h = Open(a_, GENERIC_READ, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(Opens(a_, GENERIC_READ, OPEN_EXISTING));
  EXPECT_FALSE(Opens(a_, GENERIC_WRITE, CREATE_ALWAYS));
  EXPECT_FALSE(DeleteFileA(a_.c_str()));
  EXPECT_FALSE(MoveFileExA(a_.c_str(), dir_.Path("c.txt").c_str(), 0));
  EXPECT_FALSE(MoveFileExA(b_.c_str(), a_.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(ReadWholeFile(a_), "held");
  EXPECT_EQ(ReadWholeFile(b_), "other");
  EXPECT_TRUE(DeleteFileA(a_.c_str()));
  EXPECT_FALSE(DeleteFileA(a_.c_str()));
  EXPECT_FALSE(PathExists(a_));
}

TEST_F(PlatformFilesTest, MoveReplacesOnlyWhenAsked) {
  WriteWholeFile(a_, "new");
  WriteWholeFile(b_, "old");
  EXPECT_FALSE(MoveFileExA(a_.c_str(), b_.c_str(), MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(ReadWholeFile(b_), "old");
  EXPECT_TRUE(MoveFileExA(a_.c_str(), b_.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_FALSE(PathExists(a_));
  EXPECT_EQ(ReadWholeFile(b_), "new");
  EXPECT_FALSE(MoveFileExA(a_.c_str(), b_.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_TRUE(MoveFileExA(b_.c_str(), a_.c_str(), 0));
  EXPECT_EQ(ReadWholeFile(a_), "new");
}

TEST_F(PlatformFilesTest, FoldersAndAttributes) {
  const std::string folder = dir_.Path("表");  // 0x95 0x5C
  const std::string nested = dir_.Path("表\\示");
  EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(CreateDirectoryA(nested.c_str(), nullptr));  // no parent yet
  EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_TRUE(CreateDirectoryA(nested.c_str(), nullptr));
  EXPECT_TRUE(IsFolder(nested));
  EXPECT_FALSE(DeleteFileA(nested.c_str()));

  const std::string file = dir_.Path("表\\示\\ソ.txt");
  EXPECT_TRUE(Opens(file, GENERIC_WRITE, CREATE_NEW));
  EXPECT_TRUE(IsFile(file));
  EXPECT_FALSE(CreateDirectoryA(file.c_str(), nullptr));
  WriteWholeFile(file, "x");
  EXPECT_EQ(ReadWholeFile(file), "x");
}

TEST_F(PlatformFilesTest, HandlesAllowOnlyTheirAccess) {
  WriteWholeFile(a_, "abc");
  char byte = 0;
  DWORD moved = 7;
  HANDLE h = Open(a_, GENERIC_READ, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WriteFile(h, "z", 1, &moved, nullptr));
  EXPECT_EQ(moved, 0u);
  EXPECT_TRUE(CloseHandle(h));
  h = Open(a_, GENERIC_WRITE, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ReadFile(h, &byte, 1, &moved, nullptr));
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(ReadWholeFile(a_), "abc");
}

}  // namespace
