// The Win32 file calls beneath the library and the tool: the same cases run against the real
// API under Wine and against the native substitute, which must keep the same rules.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"
#include "temp/temp_dir.h"

namespace {

bool Opens(const std::string& path, DWORD access, DWORD disposition) {
  HANDLE h = CreateFileA(path.c_str(), access, 0, nullptr, disposition, 0, nullptr);
  return h != INVALID_HANDLE_VALUE && CloseHandle(h);
}

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

TEST(PlatformFiles, DispositionsAndFolders) {
  TempDir dir;
  const std::string a = dir.Path("a.txt"), folder = dir.Path("表"), nested = dir.Path("表\\示");
  EXPECT_FALSE(Opens(a, GENERIC_WRITE, TRUNCATE_EXISTING));
  EXPECT_TRUE(Opens(a, GENERIC_WRITE, CREATE_NEW));
  EXPECT_FALSE(Opens(a, GENERIC_WRITE, CREATE_NEW));
  WriteWholeFile(a, "abc");
  EXPECT_TRUE(Opens(a, GENERIC_WRITE, TRUNCATE_EXISTING));
  EXPECT_EQ(ReadWholeFile(a), "");
  EXPECT_FALSE(Opens(dir.path(), GENERIC_READ, OPEN_EXISTING));  // a folder is not a file
  EXPECT_FALSE(Opens(dir.Path(std::string(300, 'x')), GENERIC_WRITE, CREATE_ALWAYS));

  EXPECT_FALSE(CreateDirectoryA(nested.c_str(), nullptr));  // no parent yet
  EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(folder.c_str(), nullptr));
  EXPECT_TRUE(CreateDirectoryA(nested.c_str(), nullptr));
  EXPECT_EQ(Attributes(nested) & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(DeleteFileA(nested.c_str()));
  EXPECT_EQ(Attributes(a) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(Attributes(dir.Path("none")), INVALID_FILE_ATTRIBUTES);
}

TEST(PlatformFiles, MovesAndDeletesRespectHeldFilesAndTargets) {
  TempDir dir;
  const std::string a = dir.Path("a.txt"), b = dir.Path("b.txt");
  WriteWholeFile(a, "new");
  WriteWholeFile(b, "old");
  EXPECT_FALSE(MoveFileExA(a.c_str(), b.c_str(), MOVEFILE_WRITE_THROUGH));
  HANDLE h = CreateFileA(b.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFileA(b.c_str()));
  EXPECT_FALSE(MoveFileExA(b.c_str(), dir.Path("c.txt").c_str(), 0));
  EXPECT_FALSE(MoveFileExA(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(ReadWholeFile(b), "old");
  EXPECT_TRUE(MoveFileExA(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(ReadWholeFile(b), "new");
  EXPECT_TRUE(DeleteFileA(b.c_str()));
  EXPECT_FALSE(DeleteFileA(b.c_str()));
  EXPECT_EQ(Attributes(a) & Attributes(b), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
