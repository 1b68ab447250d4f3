// The Set command from the dialog: the file each title and mode writes, where each Windows
// version sends it, the warnings, the overwrite question and the failures a user can meet.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>

#include "tool_fixture.h"
#include "ui_probe.h"

namespace {

const char kDone[] = "インストール情報ファイルを設定しました";
const char kAskOverwrite[] = "既にインストール情報ファイルが存在します\n上書きしますか？";
const char kWriteFailed[] = "インストール情報ファイルを書き込めませんでした！";

struct Title {
  int radio;
  const char* fileName;
  const char* standardList;
  const char* allList;
};

const Title kTitles[] = {
    {kTarnwickRadio, "tw.ifo", "0 1 ", "0 1 10 "},
    {kOxbellowRadio, "ox.ifo", "0 1 2 ", "0 1 2 10 "},
    {kQuillaneRadio, "quil.ifo", "0 1 2 ", "0 1 2 10 11 "},
};

struct WindowsVersion {
  const char* name;
  const char* warning;  // null: no warning
  bool profile;         // the file goes into the user's profile
};

void PrintTo(const WindowsVersion& version, std::ostream* out) { *out << version.name; }

std::string InformationFolder(bool profile) {
  return profile ? ProfileDirectory() + "\\Application Data\\Vorn" : WindowsDirectory();
}

std::string FileAt(const std::string& path) {
  bool exists = false;
  const std::string bytes = ReadFileBytes(path, exists);
  return exists ? bytes : "<missing>";
}

class SetTest : public ToolTest {
 protected:
  // Opens the tool with a game folder chosen and waits until nothing is pending.
  void StartWithFolder(const std::wstring& folder) {
    ASSERT_NO_FATAL_FAILURE(StartTool());
    ASSERT_NO_FATAL_FAILURE(ChooseFolder(folder));
  }
  void SetAndExpectDone() {
    Click(kSetButton);
    ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("完了", kDone, IDOK));
  }
};

TEST_F(SetTest, WithoutAFolderNothingIsWritten) {
  ASSERT_NO_FATAL_FAILURE(StartTool());
  Click(kSetButton);
  ASSERT_NO_FATAL_FAILURE(
      AnswerMessageBox("エラー", "インストール先が設定されていません！", IDOK));
  ExpectNoMessageBox();
  for (const Title& title : kTitles) {
    EXPECT_FALSE(Exists(WindowsDirectory() + "\\" + title.fileName)) << title.fileName;
  }
  EXPECT_FALSE(Exists(ProfileDirectory()));
}

class SetOnWindowsVersionTest : public SetTest,
                                public ::testing::WithParamInterface<WindowsVersion> {};

// Every title in both modes, the second mode answering the overwrite question.
TEST_P(SetOnWindowsVersionTest, WritesEachTitleInEachModeWhereTheVersionWantsIt) {
  const WindowsVersion& version = GetParam();
  ASSERT_TRUE(MakeFolders(L"C:\\ゲーム\\表"));
  ASSERT_NO_FATAL_FAILURE(UseWindowsVersion(version.name));
  ASSERT_NO_FATAL_FAILURE(StartTool(false));
  if (version.warning != nullptr) {
    ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("警告", version.warning, IDOK));
  }
  dialog_ = WaitForDialog(tool_.id(), kToolCaption);
  ASSERT_NE(dialog_, nullptr);
  ExpectNoMessageBox();
  ASSERT_NO_FATAL_FAILURE(ChooseFolder(L"C:\\ゲーム\\表"));

  const std::string folder = InformationFolder(version.profile);
  for (const Title& title : kTitles) {
    SCOPED_TRACE(title.fileName);
    const std::string path = folder + "\\" + title.fileName;
    Choose(title.radio);
    Choose(kStandardRadio);
    ASSERT_NO_FATAL_FAILURE(SetAndExpectDone());
    EXPECT_EQ(FileAt(path), std::string("C:\\ゲーム\\表\\\r\n") + title.standardList);

    Choose(kAllRadio);
    Click(kSetButton);
    ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("情報ファイルの上書き", kAskOverwrite, IDYES));
    ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("完了", kDone, IDOK));
    EXPECT_EQ(FileAt(path), std::string("C:\\ゲーム\\表\\\r\n") + title.allList);
    EXPECT_FALSE(Exists(path + ".tmp"));
  }
  if (version.profile) {
    EXPECT_TRUE(Exists(ProfileDirectory() + "\\Local Settings\\Temp"));
    EXPECT_FALSE(Exists(WindowsDirectory() + "\\tw.ifo"));
  } else {
    EXPECT_FALSE(Exists(ProfileDirectory()));
  }
  Click(kExitButton);
  ExpectExitCode0();
}

const WindowsVersion kVersions[] = {
    {"win98", nullptr, false},
    {"winxp", nullptr, true},
    {"win2k", nullptr, true},
    {"win95", "Windows95は動作保証外です！", false},
    {"nt40", "Windows NTは動作保証外です！", false},
    {"win10", "Windows NTは動作保証外です！", false},
    {"win31", "Windows 3.1は動作保証外です！", false},
};

INSTANTIATE_TEST_SUITE_P(Versions, SetOnWindowsVersionTest, ::testing::ValuesIn(kVersions),
                         [](const auto& version) { return std::string(version.param.name); });

TEST_F(SetTest, DecliningTheOverwriteLeavesTheFirstFile) {
  ASSERT_TRUE(MakeFolders(L"C:\\Games\\One"));
  ASSERT_NO_FATAL_FAILURE(StartWithFolder(L"C:\\Games\\One"));
  ASSERT_NO_FATAL_FAILURE(SetAndExpectDone());
  const std::string path = WindowsDirectory() + "\\tw.ifo";
  const std::string first = "C:\\Games\\One\\\r\n0 1 ";
  ASSERT_EQ(FileAt(path), first);

  ASSERT_NO_FATAL_FAILURE(ChooseFolder(L"C:\\Games"));
  Click(kSetButton);
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("情報ファイルの上書き", kAskOverwrite, IDNO));
  ExpectNoMessageBox();
  EXPECT_EQ(FileAt(path), first);

  Click(kSetButton);
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("情報ファイルの上書き", kAskOverwrite, IDYES));
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("完了", kDone, IDOK));
  EXPECT_EQ(FileAt(path), "C:\\Games\\\r\n0 1 ");
}

TEST_F(SetTest, AFileHeldByAnotherProgramIsReportedAndKept) {
  const std::string path = WindowsDirectory() + "\\ox.ifo";
  const std::vector<std::string> before = FolderListing(WindowsDirectory());
  ASSERT_NO_FATAL_FAILURE(WriteFileBytes(path, "old contents"));
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  ASSERT_TRUE(MakeFolders(L"C:\\Games"));
  ASSERT_NO_FATAL_FAILURE(StartWithFolder(L"C:\\Games"));
  Choose(kOxbellowRadio);
  Click(kSetButton);
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("情報ファイルの上書き", kAskOverwrite, IDYES));
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("エラー", kWriteFailed, IDOK));
  ExpectNoMessageBox();
  CloseHandle(held);

  EXPECT_EQ(FileAt(path), "old contents");
  std::vector<std::string> after = FolderListing(WindowsDirectory());
  std::vector<std::string> expected = before;
  expected.push_back("ox.ifo");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(after, expected) << "a temporary file was left behind";
}

TEST_F(SetTest, AFileWhereTheProfileFolderMustBeIsReported) {
  ASSERT_NO_FATAL_FAILURE(UseWindowsVersion("winxp"));
  const std::string applicationData = ProfileDirectory() + "\\Application Data";
  const std::wstring applicationDataW(applicationData.begin(), applicationData.end());
  ASSERT_TRUE(MakeFolders(applicationDataW));
  ASSERT_NO_FATAL_FAILURE(WriteFileBytes(applicationData + "\\Vorn", "not a folder"));

  ASSERT_TRUE(MakeFolders(L"C:\\Games"));
  ASSERT_NO_FATAL_FAILURE(StartWithFolder(L"C:\\Games"));
  Click(kSetButton);
  ASSERT_NO_FATAL_FAILURE(AnswerMessageBox("エラー", kWriteFailed, IDOK));
  ExpectNoMessageBox();
  EXPECT_EQ(FileAt(applicationData + "\\Vorn"), "not a folder");
  EXPECT_EQ(FolderListing(applicationData), std::vector<std::string>{"Vorn"});
}

}  // namespace
