#include "app/logic/path_validation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/fake_host.h"

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// "C:\" followed by `length - 3` letters.
std::string DrivePathOfLength(size_t length) { return "C:\\" + std::string(length - 3, 'a'); }

std::vector<std::string> FoldersMadeFor(const std::string& path, int32_t* result = nullptr) {
  FakeHost host;
  host.foldersOnDisk = false;
  const int32_t made = CreateFolderChain(host, path.c_str());
  if (result) *result = made;
  std::vector<std::string> paths;
  for (const FolderCall& call : host.folders) paths.push_back(call.path);
  return paths;
}

}  // namespace

TEST(ValidatePath, AcceptsAbsoluteDrivePaths) {
  for (const char* path : {"C:\\", "z:\\", "C:\\A\\B\\", "D:\\Games\\Tarnwick\\", "C:\\a b.c\\d-e_f",
                           "\"C:\\A\\\"", "\"C:\\\"", "C:\\tab\there", "C:\\a\\'(){}[]=+&%$#!~`@^"}) {
    EXPECT_EQ(ValidatePath(path), 1) << path;
  }
}

TEST(ValidatePath, RefusesMalformedDrivePrefix) {
  for (const char* path : {"", "C", "C:", "C:A", "1:\\A", "CC:\\", "C;\\", "C:/", "\\\\srv\\x",
                           "\"C:\\A", "C:\\A\"x", "\"\"", "\"C:\""}) {
    EXPECT_EQ(ValidatePath(path), 0) << path;
  }
  EXPECT_EQ(ValidatePath(nullptr), 0);
}

TEST(ValidatePath, RefusesEachForbiddenCharacterAndDoubledBackslash) {
  for (char c : std::string("\"*,/:;<>?|")) {
    EXPECT_EQ(ValidatePath((std::string("C:\\A") + c + "B\\").c_str()), 0) << c;
    EXPECT_EQ(ValidatePath((std::string("C:\\") + c).c_str()), 0) << c;
  }
  EXPECT_EQ(ValidatePath("C:\\A\\\\B"), 0);
  // A doubled backslash right after the drive would make the root a folder to create.
  EXPECT_EQ(ValidatePath("C:\\\\"), 0);
  EXPECT_EQ(ValidatePath("C:\\\\A"), 0);
  EXPECT_EQ(ValidatePath("\"C:\\\\A\""), 0);
  EXPECT_EQ(ValidatePath("\"C:\\A\\\\\""), 0);
}

TEST(ValidatePath, ExaminesShiftJisByteByByte) {
  EXPECT_EQ(ValidatePath("C:\\ゲーム\\設定\\"), 1);
  EXPECT_EQ(ValidatePath("C:\\\x80\xA0\xFD\xFE\xFF"), 1);
  // 表 is 0x95 0x5C and ポ is 0x83 0x7C: their trail bytes count as '\' and '|'.
  EXPECT_EQ(ValidatePath("C:\\表\\"), 0);
  EXPECT_EQ(ValidatePath("C:\\表A"), 1);
  EXPECT_EQ(ValidatePath("C:\\ポ"), 0);
}

TEST(ValidatePath, LimitsUnquotedTo259AndQuotedTo260Bytes) {
  EXPECT_EQ(ValidatePath(DrivePathOfLength(259).c_str()), 1);
  EXPECT_EQ(ValidatePath(DrivePathOfLength(260).c_str()), 0);
  EXPECT_EQ(ValidatePath(DrivePathOfLength(600).c_str()), 0);
  EXPECT_EQ(ValidatePath(Quoted(DrivePathOfLength(258)).c_str()), 1);
  EXPECT_EQ(ValidatePath(Quoted(DrivePathOfLength(259)).c_str()), 0);
}

TEST(CreateFolderChain, CreatesEachPrefixShortestFirstButNeverTheRoot) {
  EXPECT_EQ(FoldersMadeFor("C:\\A\\B\\"), (std::vector<std::string>{"C:\\A", "C:\\A\\B"}));
  EXPECT_EQ(FoldersMadeFor("C:\\A\\B"), (std::vector<std::string>{"C:\\A"}));
  int32_t result = 0;
  EXPECT_TRUE(FoldersMadeFor("C:\\", &result).empty());
  EXPECT_EQ(result, 1);
  EXPECT_EQ(FoldersMadeFor("\"C:\\A\\\""), (std::vector<std::string>{"C:\\A"}));
  EXPECT_EQ(FoldersMadeFor("\"D:\\A\\B\""), (std::vector<std::string>{"D:\\A"}));
  // The trail byte 0x5C of 表 splits the name, as a backslash would.
  EXPECT_EQ(FoldersMadeFor("C:\\表A\\"), (std::vector<std::string>{"C:\\\x95", "C:\\表A"}));
}

TEST(CreateFolderChain, CreatesNothingForAnInvalidPath) {
  for (const char* path : {"C:\\A\\\\B\\", "C:\\A*B\\", "1:\\A\\", "C:A\\"}) {
    int32_t result = 1;
    EXPECT_TRUE(FoldersMadeFor(path, &result).empty()) << path;
    EXPECT_EQ(result, 0) << path;
  }
}

TEST(CreateFolderChain, PassesInheritableDefaultSecurity) {
  FakeHost host;
  host.foldersOnDisk = false;
  ASSERT_EQ(CreateFolderChain(host, "C:\\A\\B\\"), 1);
  ASSERT_EQ(host.folders.size(), 2u);
  for (const FolderCall& call : host.folders) {
    EXPECT_EQ(call.security.nLength, sizeof(SECURITY_ATTRIBUTES));
    EXPECT_EQ(call.security.lpSecurityDescriptor, nullptr);
    EXPECT_EQ(call.security.bInheritHandle, TRUE);
  }
#if defined(_WIN32) && !defined(_WIN64)
  EXPECT_EQ(host.folders[0].security.nLength, 12u);
#endif
}

TEST(CreateFolderChain, HandlesTheLongestPathsItAccepts) {
  const std::string deep = "C:\\" + std::string(100, 'a') + "\\" + std::string(100, 'b') + "\\" +
                           std::string(52, 'c') + "\\";
  ASSERT_EQ(deep.size() + 2, 260u);
  const std::vector<std::string> made = FoldersMadeFor(Quoted(deep));
  ASSERT_EQ(made.size(), 3u);
  EXPECT_EQ(made[2], deep.substr(0, deep.size() - 1));
  EXPECT_EQ(FoldersMadeFor(deep).size(), 3u);
}
